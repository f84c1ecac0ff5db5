#pragma once
// The format's virtual key codes (VirtualKeyCodes), which the SDK subset we
// compile does not carry; values as the format defines them.
namespace vst3keys
{
enum : int
{
  kBack = 1,
  kTab,
  kClear,
  kReturn,
  kPause,
  kEscape,
  kSpace,
  kNext,
  kEnd,
  kHome,
  kLeft,
  kUp,
  kRight,
  kDown,
  kPageUp,
  kPageDown,
  kSelect,
  kPrint,
  kEnter,
  kSnapshot,
  kInsert,
  kDelete,
  kHelp,
  kNumpad0,
  kNumpad9 = kNumpad0 + 9,
};
} // namespace vst3keys
