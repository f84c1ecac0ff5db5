#include "IPopupMenu.h"

#include <cstdio>

IPopupMenu::~IPopupMenu() { mMenuItems.DeleteAll(true); }

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item, int index)
{
  if (!item) return nullptr;
  if (index == -1) return mMenuItems.Add(item);
  return mMenuItems.Insert(index < 0 ? 0 : index, item);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int flags)
{
  return AddItem(new IPopupMenuItem(text, flags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu)
{
  return AddItem(new IPopupMenuItem(text, IPopupMenuItem::kNoFlags, submenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu) { return AddItem(text, -1, submenu); }

IPopupMenuItem* IPopupMenu::AddSeparator(int index)
{
  return AddItem(new IPopupMenuItem("", IPopupMenuItem::kSeparator), index);
}

void IPopupMenu::SetPrefix(int prefix)
{
  if (prefix >= 0 && prefix <= 3) mPrefix = prefix;
}

void IPopupMenu::GetItemTitle(int index, WDL_String* title) const
{
  const IPopupMenuItem* item = GetItem(index);
  if (!title) return;
  title->Set("");
  if (!item) return;
  static const char* const kFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};
  if (mPrefix > 0)
  {
    char number[32];
    std::snprintf(number, sizeof(number), kFormats[mPrefix], index + 1);
    title->Set(number);
  }
  title->Append(item->GetText());
}

bool IPopupMenu::CheckItem(int index, bool checked)
{
  IPopupMenuItem* item = GetItem(index);
  if (!item) return false;
  item->SetChecked(checked);
  return true;
}

void IPopupMenu::CheckItemAlone(int index)
{
  for (int i = 0; i < mMenuItems.GetSize(); ++i) mMenuItems.Get(i)->SetChecked(i == index);
}

bool IPopupMenu::IsItemChecked(int index) const
{
  const IPopupMenuItem* item = GetItem(index);
  return item && item->GetChecked();
}
