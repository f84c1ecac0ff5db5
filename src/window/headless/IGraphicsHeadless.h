#pragma once
#include <deque>
#include <string>
#include <vector>

#include "IGraphics.h"

// The editor without a window system, for tests and tools that link the
// effect directly. It draws into the off-screen bitmap like any platform,
// counts what it was asked to put on screen, loads images as the platform
// does, and answers menus, text fields, file and message prompts from a
// script the caller fills beforehand. [UI thread]
class IGraphicsHeadless : public IGraphics
{
public:
  // What the next prompts answer; each answer is used once, in order.
  struct Script
  {
    // Item index chosen in each menu shown; -1 closes it without a choice.
    std::deque<int> menuChoices;
    // Text typed into each field opened (replacing what it shows), then
    // confirmed. Characters the field refuses are dropped as typed.
    std::deque<std::string> typedTexts;
    // Path chosen in each file prompt; empty cancels.
    std::deque<std::string> files;
    int messageBoxAnswer = 0;
    bool openURLSucceeds = false;
    std::string clipboard;
  };

  // A menu as it was shown.
  struct ShownMenu
  {
    std::vector<std::string> titles;
    std::vector<int> flags;
    IRECT area;
  };

  // A text field as it was opened, and the text it delivered.
  struct ShownTextEntry
  {
    IControl* control = nullptr;
    IParam* param = nullptr;
    IRECT area;
    std::string initialText;
    std::string confirmedText;
    bool confirmed = false;
  };

  IGraphicsHeadless(IPlugBase* plug, int width, int height, int refreshFPS = 0);
  ~IGraphicsHeadless() override;

  bool DrawScreen(IRECT* r) override;
  void ForceEndUserEdit() override;
  const char* GetGUIAPI() override { return "Headless"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* area, const char* str, IParam* param) override;
  void HostPath(WDL_String* path) override;
  void PluginPath(WDL_String* path) override;
  void DesktopPath(WDL_String* path) override;
  void AppSupportPath(WDL_String* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(WDL_String* path) override;
  void PromptForFile(WDL_String* fileName, EFileAction action = kFileOpen, WDL_String* dir = nullptr,
                     const char* extensions = "") override;
  bool PromptForColor(IColor* color, const char* prompt = "") override;
  bool OpenURL(const char* url, const char* windowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  // There is no window: opening hands back a token that stands for one.
  using IGraphics::OpenWindow;
  void* OpenWindow(void* parentWindow) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(WDL_String* text) override;
  void UpdateTooltips() override {}
  LICE_IBitmap* OSLoadBitmap(int id, const char* name) override;

  Script& GetScript() { return mScript; }
  int DrawScreenCount() const { return mDrawScreenCount; }
  const IRECT& LastScreenRect() const { return mLastScreenRect; }
  int OSLoadCount() const { return mOSLoadCount; }
  const std::vector<ShownMenu>& ShownMenus() const { return mShownMenus; }
  const std::vector<ShownTextEntry>& ShownTextEntries() const { return mShownTextEntries; }
  const std::vector<std::string>& OpenedURLs() const { return mOpenedURLs; }
  int OpenCount() const { return mOpenCount; }

  // One redraw as the window layer's timer does it: the union of the dirty
  // controls, drawn when there is any. True when something was drawn.
  bool Tick();

private:
  Script mScript;
  int mDrawScreenCount = 0;
  IRECT mLastScreenRect;
  int mOSLoadCount = 0;
  int mOpenCount = 0;
  bool mOpen = false;
  std::vector<ShownMenu> mShownMenus;
  std::vector<ShownTextEntry> mShownTextEntries;
  std::vector<std::string> mOpenedURLs;
};
