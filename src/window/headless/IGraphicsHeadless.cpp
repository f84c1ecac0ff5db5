#include "IGraphicsHeadless.h"

#include <climits>
#include <cstdlib>
#include <string>

#include "BundleImage.h"
#include "IControl.h"
#include "IPopupMenu.h"
#include "TextEntryFilter.h"
#include "lice_png.h"

namespace
{
std::string HomeFolder()
{
  const char* home = std::getenv("HOME");
  return home && home[0] ? home : "/tmp";
}
} // namespace

IGraphicsHeadless::IGraphicsHeadless(IPlugBase* plug, int width, int height, int refreshFPS)
  : IGraphics(plug, width, height, refreshFPS)
{
}

IGraphicsHeadless::~IGraphicsHeadless() = default;

bool IGraphicsHeadless::DrawScreen(IRECT* r)
{
  ++mDrawScreenCount;
  mLastScreenRect = r ? *r : IRECT();
  return true;
}

bool IGraphicsHeadless::Tick()
{
  IRECT dirty;
  if (!IsDirty(&dirty)) return false;
  Draw(&dirty);
  return true;
}

void IGraphicsHeadless::ForceEndUserEdit() {}

int IGraphicsHeadless::ShowMessageBox(const char*, const char*, int) { return mScript.messageBoxAnswer; }

IPopupMenu* IGraphicsHeadless::CreateIPopupMenu(IPopupMenu* menu, IRECT* area)
{
  if (!menu) return nullptr;
  ShownMenu shown;
  for (int i = 0; i < menu->GetNItems(); ++i)
  {
    WDL_String title;
    menu->GetItemTitle(i, &title);
    shown.titles.push_back(title.Get());
    shown.flags.push_back(menu->GetItem(i)->GetFlags());
  }
  shown.area = area ? *area : IRECT();
  mShownMenus.push_back(shown);
  if (mScript.menuChoices.empty()) return nullptr;
  const int choice = mScript.menuChoices.front();
  mScript.menuChoices.pop_front();
  const IPopupMenuItem* item = menu->GetItem(choice);
  if (!item || !item->GetEnabled() || item->GetIsSeparator()) return nullptr;
  menu->SetChosenItemIdx(choice);
  return menu;
}

void IGraphicsHeadless::CreateTextEntry(IControl* control, IText*, IRECT* area, const char* str, IParam* param)
{
  if (!control) return;
  ShownTextEntry shown;
  shown.control = control;
  shown.param = param;
  shown.area = area ? *area : IRECT();
  shown.initialText = str ? str : "";
  if (!mScript.typedTexts.empty())
  {
    // Typed one character at a time into an emptied field, as a user would.
    const std::string typed = mScript.typedTexts.front();
    mScript.typedTexts.pop_front();
    std::string field;
    for (char ch : typed)
    {
      std::string next = field + ch;
      if (TextEntryAccepts(param, param ? control->GetTextEntryLength() : 0, next.c_str())) field = next;
    }
    shown.confirmedText = field;
    shown.confirmed = true;
  }
  mShownTextEntries.push_back(shown);
  if (!shown.confirmed) return;
  if (param) SetFromStringAfterPrompt(control, param, shown.confirmedText.c_str());
  else control->TextFromTextEntry(shown.confirmedText.c_str());
}

void IGraphicsHeadless::HostPath(WDL_String* path)
{
  if (!path) return;
  char exe[4096];
  const char* got = realpath("/proc/self/exe", exe);
  std::string p = got ? got : "";
  const size_t slash = p.rfind('/');
  path->Set(slash == std::string::npos ? "" : p.substr(0, slash + 1).c_str());
}

void IGraphicsHeadless::PluginPath(WDL_String* path)
{
  if (!path) return;
  char bundle[4096];
  path->Set(LICE_GetBundlePath(bundle, sizeof(bundle)) ? bundle : "");
}

void IGraphicsHeadless::DesktopPath(WDL_String* path)
{
  if (path) path->Set((HomeFolder() + "/Desktop").c_str());
}

void IGraphicsHeadless::AppSupportPath(WDL_String* path, bool isSystem)
{
  if (path) path->Set(isSystem ? "/usr/share" : (HomeFolder() + "/.local/share").c_str());
}

void IGraphicsHeadless::SandboxSafeAppSupportPath(WDL_String* path) { AppSupportPath(path, false); }

void IGraphicsHeadless::PromptForFile(WDL_String* fileName, EFileAction, WDL_String*, const char*)
{
  if (!fileName) return;
  if (mScript.files.empty())
  {
    fileName->Set("");
    return;
  }
  fileName->Set(mScript.files.front().c_str());
  mScript.files.pop_front();
}

bool IGraphicsHeadless::PromptForColor(IColor*, const char*) { return false; }

bool IGraphicsHeadless::OpenURL(const char* url, const char*, const char*, const char*)
{
  mOpenedURLs.push_back(url ? url : "");
  return mScript.openURLSucceeds;
}

void* IGraphicsHeadless::OpenWindow(void*)
{
  mOpen = true;
  ++mOpenCount;
  return this;
}

void IGraphicsHeadless::CloseWindow() { mOpen = false; }

void* IGraphicsHeadless::GetWindow() { return mOpen ? this : nullptr; }

bool IGraphicsHeadless::GetTextFromClipboard(WDL_String* text)
{
  if (!text) return false;
  text->Set(mScript.clipboard.c_str());
  return !mScript.clipboard.empty();
}

LICE_IBitmap* IGraphicsHeadless::OSLoadBitmap(int, const char* name)
{
  ++mOSLoadCount;
  return LoadImageFromBundle(name);
}
