#pragma once
// What the IGraphicsX11 units share.
#include <chrono>

namespace x11detail
{
// The read-out stays this long after the gesture's last step.
constexpr long long kReadoutLingerMs = 700;
constexpr int kClipboardWaitMs = 300;
// A tooltip shows once the pointer has rested this long on a control.
constexpr long long kTooltipDelayMs = 600;

inline long long NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace x11detail
