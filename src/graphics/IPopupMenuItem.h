#pragma once
#include "WDL_String.h"

class IPopupMenu;

// One entry of a pop-up menu: a title, flag bits and an optional submenu
// that the item does not own.
class IPopupMenuItem
{
public:
  enum Flags
  {
    kNoFlags = 0,
    kDisabled = 1 << 0,
    kTitle = 1 << 1, // indented one level
    kChecked = 1 << 2,
    kSeparator = 1 << 3,
  };

  explicit IPopupMenuItem(const char* text, int flags = kNoFlags, IPopupMenu* submenu = nullptr);

  const char* GetText() const { return mText.Get(); }
  int GetFlags() const { return mFlags; }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  bool GetEnabled() const { return !(mFlags & kDisabled); }
  bool GetChecked() const { return (mFlags & kChecked) != 0; }
  bool GetIsTitle() const { return (mFlags & kTitle) != 0; }
  bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }
  void SetChecked(bool checked);

private:
  WDL_String mText;
  IPopupMenu* mSubmenu;
  int mFlags;
};
