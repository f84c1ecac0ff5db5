#pragma once
#include <cstddef>

#include "IPopupMenuItem.h"
#include "WDL_PtrList.h"

// The platform-free model of a pop-up menu. The window layer shows it and
// stores the index of the item chosen. Items belong to the menu; submenus do not.
class IPopupMenu
{
public:
  IPopupMenu() = default;
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // index -1 or beyond the end appends; a negative index inserts at the front.
  IPopupMenuItem* AddItem(IPopupMenuItem* item, int index = -1);
  IPopupMenuItem* AddItem(const char* text, int index = -1, int flags = IPopupMenuItem::kNoFlags);
  IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* submenu);
  IPopupMenuItem* AddItem(const char* text, IPopupMenu* submenu);
  IPopupMenuItem* AddSeparator(int index = -1);

  // Null outside 0..count - 1.
  IPopupMenuItem* GetItem(int index) const { return mMenuItems.Get(index); }
  // The item must exist.
  const char* GetItemText(int index) const { return mMenuItems.Get(index)->GetText(); }
  int GetNItems() const { return mMenuItems.GetSize(); }

  // 0 none, 1 "1: ", 2 "01: ", 3 "001: "; other values are refused.
  void SetPrefix(int prefix);
  int GetPrefix() const { return mPrefix; }
  // The title with the numbering style in front, for the window layer.
  void GetItemTitle(int index, WDL_String* title) const;

  bool CheckItem(int index, bool checked);
  void CheckItemAlone(int index);
  bool IsItemChecked(int index) const;

  void SetMultiCheck(bool multiCheck) { mCanMultiCheck = multiCheck; }
  bool GetCanMultiCheck() const { return mCanMultiCheck; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }
  int GetChosenItemIdx() const { return mChosenItemIdx; }

private:
  int mPrefix = 0;
  int mChosenItemIdx = -1;
  bool mCanMultiCheck = false;
  WDL_PtrList<IPopupMenuItem> mMenuItems;
};
