#pragma once
#include <memory>

#include "IGraphics.h"
#include "X11Input.h"

class X11Readout;
class X11Surface;
class X11TextEntry;
union _XEvent;

// The editor surface on X11 (Xlib, no toolkit). It draws off-screen without
// any display; OpenWindow makes its own connection and a child window inside
// the host's window, and CloseWindow takes both down again. Nothing here
// waits on or registers with anything: the format's view drives it from the
// host's run loop through OnWindowTimer and OnWindowEvents.
//
// Threads: [main thread] for everything but what IGraphics allows elsewhere.
class IGraphicsX11 : public IGraphics
{
public:
  IGraphicsX11(IPlugBase* plug, int width, int height, int refreshFPS = 0);
  ~IGraphicsX11() override;

  // ---- Platform operations ------------------------------------------------------------
  bool DrawScreen(IRECT* r) override;
  void ForceEndUserEdit() override;
  void Resize(int w, int h) override;
  const char* GetGUIAPI() override { return "X11 GUI"; }
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
  bool PromptForColor(IColor*, const char* = "") override { return false; }
  bool OpenURL(const char* url, const char* windowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  // parentWindow carries the host window's XID. Null when no window opened
  // (no display, a bad parent); nothing is left behind then.
  void* OpenWindow(void* parentWindow) override;
  using IGraphics::OpenWindow;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(WDL_String* text) override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  // Tooltips are looked up live under the pointer: nothing to register.
  void UpdateTooltips() override {}
  LICE_IBitmap* OSLoadBitmap(int id, const char* name) override;

  // ---- Driven by the view from the host's run loop --------------------------------
  int WindowEventFD() override;
  int WindowTimerMs() const override;
  // Drains X events, ends timed-out read-outs, redraws the dirty union.
  void OnWindowTimer() override;
  // Processes only what is already queued; never blocks.
  void OnWindowEvents() override;
  bool OnHostKeyDown(int key) override;
  bool SetWindowScale(double scale) override;
  double WindowScale() const override { return mScale; }

  // ---- For tests and tools --------------------------------------------------------------
  Display* GetDisplay() const { return mDisplay; }
  unsigned long GetXWindow() const { return mWindow; }
  bool UsesShm() const;
  // A shared-memory frame the server has not finished reading.
  bool ScreenBusy() const;
  bool TextEntryOpen() const { return mTextEntry != nullptr; }
  bool ConnectionLost() const { return mConnectionLost; }
  X11TextEntry* GetTextEntry() const { return mTextEntry.get(); }
  // Menus give up after this long without any event when they hold no grab.
  void SetMenuIdleTimeout(int ms) { mMenuIdleMs = ms; }
  // Window-sized scaled size in physical pixels.
  int ScaledWidth() const;
  int ScaledHeight() const;
  // Waits (bounded) until the last frame put on screen is complete.
  bool WaitForScreen(int timeoutMs);
  bool ReadoutVisible() const;
  bool TooltipVisible() const;
  unsigned long ReadoutWindow() const;

private:
  void TearDownWindow();
  void DrainEvents(bool alreadyQueuedOnly);
  void HandleEvent(_XEvent& ev);
  void HandleButton(const _XEvent& event, bool press);
  void HandleMotion(const _XEvent& event);
  void Redraw();
  void PutScreen(const IRECT& editorArea);
  void ShowReadoutFor(int paramIdx, int rootX, int rootY);
  void UpdateTooltip();
  void HideTooltip();
  void EndTextEntry(bool apply);
  void ApplyScaleToWindow();
  bool SwapDrawBitmap(bool toSurface);
  int ToEditor(int physical) const;

  Display* mDisplay = nullptr;
  unsigned long mParent = 0, mWindow = 0;
  int mScreen = 0;
  void* mVisual = nullptr; // Visual*
  int mDepth = 0;
  unsigned long mXembedInfo = 0, mClipboard = 0, mUtf8 = 0, mClipProp = 0; // atoms
  std::unique_ptr<X11Surface> mSurface;
  LICE_SysBitmap* mScaled = nullptr; // the screen image when scaled
  X11ModifierMasks mMasks;
  X11ClickCounter mClicks;
  std::unique_ptr<X11TextEntry> mTextEntry;
  std::unique_ptr<X11Readout> mReadout;
  long long mReadoutHideAtMs = 0;
  std::unique_ptr<X11Readout> mTooltip; // shown when tooltips are enabled
  int mTipControl = -1;
  long long mTipAtMs = 0;
  int mTipX = 0, mTipY = 0;
  IRECT mDamage;      // exposed editor area still to put on screen
  bool mMapped = false;
  bool mWindowGone = false; // the host destroyed its window first
  bool mConnectionLost = false; // the X server went away
  bool mInMenu = false;
  int mPrevX = 0, mPrevY = 0;
  int mMenuIdleMs = 10000;
  double mScale = 1.0;
  bool mLeftDown = false, mRightDown = false;
};
