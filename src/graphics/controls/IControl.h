#pragma once
#include <atomic>

#include "IGraphicsStructs.h"
#include "WDL_String.h"
#include "WDL_TypedBuf.h"

class IGraphics;
class IPlugBase;

// Which mouse movement turns a knob or slides a fader.
enum EDirection
{
  kVertical = 0,
  kHorizontal = 1
};

// One rectangular element of the editor, bound to at most one parameter. It
// draws itself into the surface's bitmap when dirty and turns mouse gestures
// into normalised values that it pushes to the plug-in.
//
// Threads: the UI thread does everything; the audio thread, holding the
// plug-in's mutex, calls only SetValueFromPlug and SetAuxParamValueFromPlug.
// What those two touch (the value, the default value, the clamp limits, the
// auxiliary values, the draw flags and the hold state) is atomic. The dirty
// and redraw flags share one word changed only by read-modify-write, so a
// value pushed while the UI thread cleans the control is never lost: the
// plug-in side sets both flags, and SetClean keeps the control dirty for one
// more redraw when it finds redraw set.
class IControl
{
public:
  struct AuxParam
  {
    // Written by the audio thread: use Value() and StoreValue().
    double mValue = 0.0;
    int mParamIdx = -1;
    AuxParam() = default;
    explicit AuxParam(int idx) : mParamIdx(idx) {}
    double Value() const
    {
      double v;
      __atomic_load(&mValue, &v, __ATOMIC_RELAXED);
      return v;
    }
    void StoreValue(double v) { __atomic_store(&mValue, &v, __ATOMIC_RELAXED); }
  };

  IControl(IPlugBase* plug, IRECT rect, int paramIdx = -1, int blendMethod = IChannelBlend::kBlendNone);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

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
  // [audio or UI thread, plug-in mutex held; lock-free, no allocation] While the
  // mouse holds the control the value waits for the release.
  virtual void SetValueFromPlug(double value);
  // [UI thread]
  virtual void SetValueFromUserInput(double value);
  virtual void TextFromTextEntry(const char* /*text*/) {}
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }
  // [UI thread] Clamps the value, marks the control dirty and, when asked,
  // hands the value to the plug-in and refreshes the attached displays.
  virtual void SetDirty(bool pushParamToPlug = true);
  virtual void SetClean();
  virtual bool IsDirty();
  virtual void OnGUIIdle() {}
  // [audio or UI thread, plug-in mutex held; lock-free, no allocation]
  virtual void SetAuxParamValueFromPlug(int auxParamIdx, double value);

  // ---- Non-virtual -------------------------------------------------------------------
  void PromptUserInput();
  void PromptUserInput(IRECT* r);
  // [UI thread, layout time only] The list may move, so nothing may be pushed
  // from the plug-in while it grows.
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
    mClampLo.store(lo, std::memory_order_relaxed);
    mClampHi.store(hi, std::memory_order_relaxed);
  }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  void SetTargetRECT(IRECT r) { mTargetRECT = r; }
  void SetText(const IText* text) { mText = *text; }
  void SetBlendWeight(float weight) { mBlend.mWeight = weight; }

  // [UI thread] The mouse holds this control between press and release; values
  // from the plug-in wait until it lets go, so the host's echo of an edit never
  // pulls a knob back under the user's hand. Letting go applies the latest
  // value that arrived meanwhile.
  void SetHeldByMouse(bool held);
  bool IsHeldByMouse() const { return (mHoldState.load(std::memory_order_relaxed) & kHeld) != 0; }

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
  double GetClampLo() const { return mClampLo.load(std::memory_order_relaxed); }
  double GetClampHi() const { return mClampHi.load(std::memory_order_relaxed); }
  IControl* GetValueDisplay() const { return mValDisplayControl; }
  IControl* GetNameDisplay() const { return mNameDisplayControl; }
  IPlugBase* GetPlug() const { return mPlug; }
  // The plug-in's editor surface, or null before AttachGraphics.
  IGraphics* GetGUI() const;

protected:
  // Draw flag bits.
  static constexpr unsigned kDirty = 1u, kRedraw = 2u;
  // Hold state bits: held by the mouse; being released; a plug-in value waits.
  static constexpr unsigned kHeld = 1u, kReleasing = 2u, kPending = 4u;

  void SetValue(double v) { mValue.store(v, std::memory_order_relaxed); }
  void SetRedraw() { mDrawFlags.fetch_or(kRedraw, std::memory_order_relaxed); }
  double Clamped(double v) const;
  // Clamps the stored value without overwriting a newer one from the plug-in.
  void ClampValue();
  // The plug-in's value shown as SetValueFromPlug does once nothing holds the control.
  void ApplyValueFromPlug(double value);

  int mTextEntryLength = 32;
  IText mText;
  IPlugBase* mPlug;
  IRECT mRECT, mTargetRECT;
  int mParamIdx;
  WDL_TypedBuf<AuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  std::atomic<double> mClampLo{0.0}, mClampHi{1.0};
  // Bit 0 dirty, bit 1 redraw; changed only by atomic read-modify-write.
  std::atomic<unsigned> mDrawFlags{kDirty};
  bool mHide = false;
  bool mGrayed = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGreyed = false;
  std::atomic<unsigned> mHoldState{0u};
  std::atomic<double> mPendingPlugValue{0.0};
  IChannelBlend mBlend;
  IControl* mValDisplayControl = nullptr;
  IControl* mNameDisplayControl = nullptr;
  WDL_String mTooltip;
};
