#pragma once
#include <atomic>

#include "IGraphicsStructs.h"
#include "WDL_String.h"
#include "WDL_TypedBuf.h"

class IGraphics;
class IPlugBase;

// One rectangular element of the editor, bound to at most one parameter. It
// draws itself into the surface's bitmap when dirty and turns mouse gestures
// into normalised values that it pushes to the plug-in.
//
// Threads: the UI thread does everything; the audio thread, holding the
// plug-in's mutex, calls only SetValueFromPlug and SetAuxParamValueFromPlug.
// The value, the default value and the draw flags are therefore atomics, and
// the dirty and redraw flags share one word so that a change pushed from the
// audio thread while the UI thread cleans the control is never lost.
class IControl
{
public:
  struct AuxParam
  {
    double mValue = 0.0;
    int mParamIdx = -1;
    AuxParam() = default;
    explicit AuxParam(int idx) : mParamIdx(idx) {}
  };

  IControl(IPlugBase* plug, IRECT rect, int paramIdx = -1, int blendMethod = IChannelBlend::kBlendNone);

  // ---- Virtual operations, in slot order -------------------------------------------
  virtual ~IControl() = default;
  virtual void OnMouseDown(int x, int y, IMouseMod* mod);
  virtual void OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*mod*/) {}
  virtual void OnMouseDrag(int /*x*/, int /*y*/, int /*dX*/, int /*dY*/, IMouseMod* /*mod*/) {}
  virtual void OnMouseDblClick(int x, int y, IMouseMod* mod);
  virtual void OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* /*mod*/, int /*delta*/) {}
  virtual bool OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }
  virtual void OnMouseOver(int /*x*/, int /*y*/, IMouseMod* /*mod*/) {}
  virtual void OnMouseOut() {}
  virtual bool Draw(IGraphics* graphics) = 0;
  // [audio or UI thread, plug-in mutex held; no allocation]
  virtual void SetValueFromPlug(double value);
  virtual void SetValueFromUserInput(double value);
  virtual void TextFromTextEntry(const char* /*text*/) {}
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }
  virtual void SetDirty(bool pushParamToPlug = true);
  virtual void SetClean();
  virtual bool IsDirty();
  virtual void OnGUIIdle() {}
  // [audio or UI thread, plug-in mutex held; no allocation]
  virtual void SetAuxParamValueFromPlug(int auxParamIdx, double value);

  // ---- Non-virtual -------------------------------------------------------------------
  void PromptUserInput();
  void PromptUserInput(IRECT* r);
  void AddAuxParam(int paramIdx);
  AuxParam* GetAuxParam(int idx);
  int AuxParamIdx(int paramIdx);
  int NAuxParams() const { return mAuxParams.GetSize(); }
  void SetAllAuxParamsFromGUI();

  // Layout setters.
  void AttachValueDisplay(IControl* display) { mValDisplayControl = display; }
  void AttachNameDisplay(IControl* display) { mNameDisplayControl = display; }
  void SetToolTipText(const char* text) { mTooltip.Set(text ? text : ""); }
  void SetPromptDisabled(bool disabled) { mDisablePrompt = disabled; }
  void SetDoubleClickAsPress(bool asPress) { mDblAsSingleClick = asPress; }
  void SetMouseOverWhenGreyed(bool allow) { mMOWhenGreyed = allow; }
  void SetClampRange(double lo, double hi)
  {
    mClampLo = lo;
    mClampHi = hi;
  }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  void SetTargetRECT(IRECT r) { mTargetRECT = r; }
  void SetText(const IText* text) { mText = *text; }
  void SetBlendWeight(float weight) { mBlend.mWeight = weight; }

  // [UI thread] The mouse holds this control between press and release; values
  // from the plug-in wait until it lets go, so the host's echo of an edit never
  // pulls a knob back under the user's hand.
  void SetHeldByMouse(bool held);
  bool IsHeldByMouse() const { return mHeldByMouse.load(std::memory_order_relaxed); }

  // Accessors.
  int ParamIdx() const { return mParamIdx; }
  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  double GetDefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
  IRECT* GetRECT() { return &mRECT; }
  IRECT* GetTargetRECT() { return &mTargetRECT; }
  bool IsHidden() const { return mHide; }
  bool IsGrayed() const { return mGrayed; }
  bool GetMOWhenGrayed() const { return mMOWhenGreyed; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  bool IsPromptDisabled() const { return mDisablePrompt; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  IText* GetText() { return &mText; }
  const char* GetToolTip() const { return mTooltip.Get(); }
  const IChannelBlend* GetBlend() const { return &mBlend; }
  double GetClampLo() const { return mClampLo; }
  double GetClampHi() const { return mClampHi; }
  IPlugBase* GetPlug() const { return mPlug; }
  IGraphics* GetGUI() const;

protected:
  void SetValue(double v) { mValue.store(v, std::memory_order_relaxed); }
  void SetRedraw();

  int mTextEntryLength = 32;
  IText mText;
  IPlugBase* mPlug;
  IRECT mRECT, mTargetRECT;
  int mParamIdx;
  WDL_TypedBuf<AuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  double mClampLo = 0.0, mClampHi = 1.0;
  // Bit 0 dirty, bit 1 redraw; changed only by atomic read-modify-write.
  std::atomic<unsigned> mDrawFlags{1u};
  bool mHide = false;
  bool mGrayed = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGreyed = false;
  std::atomic<bool> mHeldByMouse{false};
  IChannelBlend mBlend;
  IControl* mValDisplayControl = nullptr;
  IControl* mNameDisplayControl = nullptr;
  WDL_String mTooltip;
};
