#pragma once
#include <atomic>
#include <memory>

#include "IEditor.h"
#include "IGraphicsStructs.h"
#include "WDL_Mutex.h"
#include "WDL_PtrList.h"
#include "WDL_String.h"

class IControl;
class IParam;
class IPlugBase;
class IPopupMenu;
class LICE_IBitmap;
class LICE_MemBitmap;
class LICE_SysBitmap;

enum EFileAction
{
  kFileOpen = 0,
  kFileSave = 1
};

// The editor's drawing surface and control container: an off-screen bitmap the
// size of the editor, the ordered controls drawn into it, dirty bookkeeping,
// mouse and key routing, and bitmap and font caches. Everything that needs a
// window system is a virtual operation a platform class supplies.
//
// Threads: everything runs on the UI (host main) thread except
// SetParameterFromPlug, which the audio thread calls holding the plug-in's
// mutex; on that path only the controls' atomic value and draw flags change.
class IGraphics : public IEditor
{
public:
  IGraphics(IPlugBase* plug, int width, int height, int refreshFPS = 0);

  // ---- Platform operations, in slot order -------------------------------------
  virtual bool DrawScreen(IRECT* r) = 0;
  virtual bool MeasureIText(IText* text, char* str, IRECT* r);
  virtual void ForceEndUserEdit() = 0;
  virtual void Resize(int w, int h);
  bool WindowIsOpen() override;
  virtual const char* GetGUIAPI();
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // Modal: returns the menu holding the choice (its chosen index set), or null.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) = 0;
  virtual void CreateTextEntry(IControl* control, IText* text, IRECT* area, const char* str, IParam* param) = 0;
  virtual void HostPath(WDL_String* path) = 0;
  virtual void PluginPath(WDL_String* path) = 0;
  virtual void DesktopPath(WDL_String* path) = 0;
  virtual void AppSupportPath(WDL_String* path, bool isSystem = false) = 0;
  virtual void SandboxSafeAppSupportPath(WDL_String* path) = 0;
  virtual void PromptForFile(WDL_String* fileName, EFileAction action = kFileOpen, WDL_String* dir = nullptr,
                             const char* extensions = "") = 0;
  virtual bool PromptForColor(IColor* color, const char* prompt = "") = 0;
  virtual bool OpenURL(const char* url, const char* windowTitle = nullptr, const char* confirmMsg = nullptr,
                       const char* errMsgOnFailure = nullptr) = 0;
  void* OpenWindow(void* parentWindow) override = 0;
  void* OpenWindow(void* parentWindow, void* parentControl, short leftOffset = 0, short topOffset = 0) override;
  virtual void* AttachSubWindow(void* parentWindow);
  virtual void RemoveSubWindow();
  void CloseWindow() override = 0;
  virtual void* GetWindow() = 0;
  virtual bool GetTextFromClipboard(WDL_String* text) = 0;
  ~IGraphics() override;
  virtual void HideMouseCursor() {}
  virtual void ShowMouseCursor() {}
  virtual void UpdateTooltips() = 0;
  virtual LICE_IBitmap* OSLoadBitmap(int id, const char* name) = 0;

  // ---- Construction --------------------------------------------------------------
  void PrepDraw() override;
  void AttachBackground(int id, const char* name);
  void AttachPanelBackground(const IColor* color);
  // The graphics object owns the control from now on. Returns its index.
  int AttachControl(IControl* control);
  void AttachKeyCatcher(IControl* control);
  // Where the platform finds the editor's images (the plug-in bundle's identifier).
  void SetBundleID(const char* id);
  const char* GetBundleID() const { return mBundleID; }

  // ---- Bitmaps (process-wide cache keyed by resource id) ------------------------
  IBitmap LoadIBitmap(int id, const char* name, int nStates = 1, bool framesAreHorizontal = false);
  void RetainBitmap(IBitmap* bitmap);
  void ReleaseBitmap(IBitmap* bitmap);
  IBitmap ScaleBitmap(IBitmap* bitmap, int destW, int destH);
  IBitmap CropBitmap(IBitmap* bitmap, IRECT* r);

  // ---- Drawing into the draw bitmap -------------------------------------------------
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend = nullptr);
  // Frames count from 1.
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int frame = 1, const IChannelBlend* blend = nullptr);
  bool DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle, int yOffsetZeroDeg = 0,
                         const IChannelBlend* blend = nullptr);
  bool DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                       const IChannelBlend* blend = nullptr);
  bool DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool ForcePixel(const IColor* color, int x, int y);
  bool DrawLine(const IColor* color, float x1, float y1, float x2, float y2, const IChannelBlend* blend = nullptr,
                bool antiAlias = false);
  bool DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawCircle(const IColor* color, float cx, float cy, float r, const IChannelBlend* blend = nullptr,
                  bool antiAlias = false);
  bool RoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius, bool antiAlias);
  bool FillRoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius, bool antiAlias);
  bool FillIRect(const IColor* color, IRECT* r, const IChannelBlend* blend = nullptr);
  bool FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend = nullptr,
                  bool antiAlias = false);
  bool FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                    const IChannelBlend* blend = nullptr);
  bool FillIConvexPolygon(const IColor* color, int* x, int* y, int npoints, const IChannelBlend* blend = nullptr);
  bool DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi);
  bool DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi);
  bool DrawRect(const IColor* color, IRECT* r);
  bool DrawVerticalLine(const IColor* color, IRECT* r, float x);
  bool DrawHorizontalLine(const IColor* color, IRECT* r, float y);
  // Angle in radians, 0 pointing up, clockwise positive.
  bool DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                      const IChannelBlend* blend = nullptr, bool antiAlias = false);
  IColor GetPoint(int x, int y);
  void* GetBits();

  // ---- Text -------------------------------------------------------------------------
  bool DrawIText(IText* text, char* str, IRECT* r, bool measure = false);
  LICE_CachedFont* CacheFont(IText* text);

  // ---- Redraw [UI thread] -----------------------------------------------------------
  // Widens r by every dirty control's rectangle; true when any was dirty.
  bool IsDirty(IRECT* r);
  bool Draw(IRECT* r);
  void SetStrictDrawing(bool strict);
  void SetAllControlsDirty();

  // ---- Values -----------------------------------------------------------------------
  // [audio or UI thread, plug-in mutex held; no allocation]
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override;
  void SetControlFromPlug(int controlIdx, double normalizedValue);
  // [UI thread]
  void SetParameterFromGUI(int paramIdx, double normalizedValue);
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  void AssignParamNameToolTips();
  void OnGUIIdle() override;

  // ---- Mouse and keys [UI thread] ---------------------------------------------------
  void OnMouseDown(int x, int y, IMouseMod* mod);
  void OnMouseUp(int x, int y, IMouseMod* mod);
  void OnMouseDrag(int x, int y, IMouseMod* mod);
  bool OnMouseDblClick(int x, int y, IMouseMod* mod);
  void OnMouseWheel(int x, int y, IMouseMod* mod, int delta);
  bool OnMouseOver(int x, int y, IMouseMod* mod);
  void OnMouseOut();
  bool OnKeyDown(int x, int y, int key);
  int GetMouseControlIdx(int x, int y, bool mouseOver = false);
  void ReleaseMouseCapture();
  int GetParamIdxForPTAutomation(int x, int y);
  int GetLastClickedParamForPTAutomation();

  // ---- Prompts [UI thread] ------------------------------------------------------------
  void PromptUserInput(IControl* control, IParam* param, IRECT* r);
  void SetFromStringAfterPrompt(IControl* control, IParam* param, const char* str);

  // ---- Settings and accessors -----------------------------------------------------------
  void SetMouseOverTracking(bool track) { mHandleMouseOver = track; }
  void SetTooltipsEnabled(bool enable) { mEnableTooltips = enable; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  bool StrictDrawing() const { return mStrict; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int FPS() const { return mFPS; }
  IPlugBase* GetPlug() const { return mPlug; }
  int NControls() const { return mControls.GetSize(); }
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  IControl* GetKeyCatcher() const { return mKeyCatcher; }
  int GetMouseCapture() const { return mMouseCapture.load(std::memory_order_relaxed); }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  LICE_SysBitmap* GetDrawBitmap() const { return mDrawBitmap; }
  const IRECT& GetDrawRECT() const { return mDrawRECT; }

protected:
  // Inserts under the plug-in's mutex: the audio thread may be reading the list.
  void InsertControl(int idx, IControl* control);
  // Top-most control that is shown, not greyed out (unless mouseOver allows
  // it) and hit; -1 for none.
  int HitTest(int x, int y, bool mouseOver = false);
  void SetCapture(int idx, int x, int y);
  // Every performed edit sits between a begin and an end of the same
  // parameter: at most one edit is open at a time, and only an open one ends.
  void BeginEdit(int paramIdx);
  void EndOpenEdit();

  WDL_Mutex mMutex;
  WDL_PtrList<IControl> mControls;
  IPlugBase* mPlug;
  IRECT mDrawRECT;
  bool mCursorHidden = false;
  int mHiddenMousePointX = -1, mHiddenMousePointY = -1;
  LICE_SysBitmap* mDrawBitmap = nullptr;
  LICE_MemBitmap* mTmpBitmap = nullptr;
  int mWidth, mHeight, mFPS;
  int mIdleTicks = 0;
  // The control it names is marked held (IControl::SetHeldByMouse); the audio
  // thread reads that flag, never this index.
  std::atomic<int> mMouseCapture{-1};
  int mMouseOver = -1;
  int mMouseX = 0, mMouseY = 0;
  int mLastClickedParam = -1;
  int mOpenEditParam = -1;
  bool mHandleMouseOver = false;
  bool mStrict = true;
  bool mEnableTooltips = false;
  bool mShowControlBounds = false;
  IControl* mKeyCatcher = nullptr;
  char mBundleID[128] = {};
};
