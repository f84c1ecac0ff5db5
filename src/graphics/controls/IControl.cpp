#include "IControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ClassicNumbers.h"
#include "IGraphics.h"
#include "IPlugBase.h"
#include "ITextControl.h"

IControl::IControl(IPlugBase* plug, IRECT rect, int paramIdx, int blendMethod)
  : mPlug(plug), mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx), mBlend(blendMethod, 1.0f)
{
}

IGraphics* IControl::GetGUI() const { return mPlug ? dynamic_cast<IGraphics*>(mPlug->GetGUI()) : nullptr; }

void IControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* mod)
{
  if (mod && mod->R) PromptUserInput();
}

void IControl::OnMouseDblClick(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  const double def = GetDefaultValue();
  if (def >= 0.0)
  {
    SetValue(def);
    SetDirty(true);
  }
}

double IControl::Clamped(double v) const
{
  const double lo = GetClampLo();
  return v < lo ? lo : std::min(GetClampHi(), v);
}

void IControl::ClampValue()
{
  double v = GetValue();
  const double c = Clamped(v);
  // A failed exchange means the plug-in stored a value meanwhile, already clamped.
  if (c != v) mValue.compare_exchange_strong(v, c, std::memory_order_relaxed);
}

void IControl::SetValueFromPlug(double value)
{
  // A value that is not a number would show as the top of the range.
  if (!std::isfinite(value)) return;
  if (GetDefaultValue() < 0.0)
  {
    mDefaultValue.store(value, std::memory_order_relaxed);
    SetValue(value);
    return;
  }

  // The slot is written before the hold is checked so that a press arriving in
  // between still finds the value; the release reads it only through the
  // pending bit, whose release ordering publishes it.
  mPendingPlugValue.store(value, std::memory_order_relaxed);
  unsigned s = mHoldState.load(std::memory_order_acquire);
  while (s != 0u)
  {
    if (mHoldState.compare_exchange_weak(s, s | kPending, std::memory_order_release, std::memory_order_acquire))
      return;
  }
  // Acquire above: a release that applied an older value is ordered before this store.
  ApplyValueFromPlug(value);
}

void IControl::ApplyValueFromPlug(double value)
{
  if (value == GetValue()) return;
  SetValue(Clamped(value));
  // SetDirty (false) and the redraw flag as one change, published after the value.
  mDrawFlags.fetch_or(kDirty | kRedraw, std::memory_order_release);
}

void IControl::SetHeldByMouse(bool held)
{
  if (held)
  {
    mHoldState.fetch_or(kHeld, std::memory_order_relaxed);
    return;
  }
  if (!IsHeldByMouse()) return;

  // While releasing, the plug-in still only leaves values pending, so this
  // thread is the one writer of the value until the state returns to 0.
  unsigned s = mHoldState.exchange(kReleasing, std::memory_order_acquire);
  for (;;)
  {
    if (s & kPending) ApplyValueFromPlug(mPendingPlugValue.load(std::memory_order_relaxed));
    unsigned expected = kReleasing;
    if (mHoldState.compare_exchange_strong(expected, 0u, std::memory_order_release, std::memory_order_relaxed))
      return;
    s = mHoldState.exchange(kReleasing, std::memory_order_acquire);
  }
}

void IControl::SetValueFromUserInput(double value)
{
  if (!std::isfinite(value) || value == GetValue()) return;
  SetValue(value);
  SetDirty(true);
  SetRedraw();
}

void IControl::SetDirty(bool pushParamToPlug)
{
  ClampValue();
  mDrawFlags.fetch_or(kDirty, std::memory_order_relaxed);
  if (!pushParamToPlug || !mPlug || mParamIdx < 0) return;

  const double value = GetValue();
  mPlug->SetParameterFromGUI(mParamIdx, value);
  IParam* param = mPlug->GetParam(mParamIdx);
  if (!param) return;

  if (auto* display = dynamic_cast<ITextControl*>(mValDisplayControl))
  {
    // The parameter's texts read its value, which the audio thread writes under the mutex.
    char text[2 * 32 + 2];
    {
      WDL_MutexLock lock(&mPlug->GetMutex());
      ScopedClassicNumbers classic;
      char shown[IParam::kTextSize * 2];
      param->GetDisplayForHost(param->Value(), false, shown, sizeof(shown), true);
      std::snprintf(text, sizeof(text), "%.32s %.32s", shown, param->GetLabelForHost());
    }
    display->SetTextFromPlug(text);
  }
  if (auto* display = dynamic_cast<ITextControl*>(mNameDisplayControl))
    display->SetTextFromPlug(param->GetNameForHost());
}

void IControl::SetClean()
{
  unsigned old = mDrawFlags.load(std::memory_order_relaxed);
  // Relaxed suffices: the next IsDirty acquires through the release sequence
  // the plug-in's flag change heads.
  while (!mDrawFlags.compare_exchange_weak(old, (old & kRedraw) ? kDirty : 0u, std::memory_order_relaxed))
  {
  }
}

bool IControl::IsDirty() { return (mDrawFlags.load(std::memory_order_acquire) & kDirty) != 0; }

void IControl::Hide(bool hide)
{
  mHide = hide;
  SetRedraw();
  SetDirty(false);
}

void IControl::GrayOut(bool gray)
{
  mGrayed = gray;
  mBlend.mWeight = gray ? 0.25f : 1.0f;
  SetDirty(false);
}

void IControl::SetAuxParamValueFromPlug(int auxParamIdx, double value)
{
  AuxParam* aux = GetAuxParam(auxParamIdx);
  if (!aux || !std::isfinite(value) || aux->Value() == value) return;
  aux->StoreValue(value);
  ClampValue();
  mDrawFlags.fetch_or(kDirty | kRedraw, std::memory_order_release);
}

void IControl::PromptUserInput()
{
  if (mParamIdx < 0 || mDisablePrompt || !mPlug) return;
  IParam* param = mPlug->GetParam(mParamIdx);
  if (!param) return;
  IRECT r = mRECT;
  if (param->GetNDisplayTexts() == 0)
  {
    const int cx = static_cast<int>(static_cast<float>(mRECT.L + mRECT.R) * 0.5f);
    const int cy = static_cast<int>(static_cast<float>(mRECT.T + mRECT.B) * 0.5f);
    r = IRECT(cx - 20, cy - 8, cx + 20, cy + 8);
  }
  PromptUserInput(&r);
}

void IControl::PromptUserInput(IRECT* r)
{
  if (mParamIdx < 0 || mDisablePrompt || !mPlug || !r) return;
  IGraphics* graphics = GetGUI();
  IParam* param = mPlug->GetParam(mParamIdx);
  if (!graphics || !param) return;
  graphics->PromptUserInput(this, param, r);
  SetRedraw();
}

void IControl::AddAuxParam(int paramIdx) { mAuxParams.Add(AuxParam(paramIdx)); }

IControl::AuxParam* IControl::GetAuxParam(int idx)
{
  if (idx < 0 || idx >= mAuxParams.GetSize()) return nullptr;
  return mAuxParams.Get() + idx;
}

int IControl::AuxParamIdx(int paramIdx)
{
  for (int i = 0, n = mAuxParams.GetSize(); i < n; ++i)
    if (mAuxParams.Get()[i].mParamIdx == paramIdx) return i;
  return -1;
}

void IControl::SetAllAuxParamsFromGUI()
{
  if (!mPlug) return;
  for (int i = 0, n = mAuxParams.GetSize(); i < n; ++i)
  {
    const AuxParam& aux = mAuxParams.Get()[i];
    mPlug->SetParameterFromGUI(aux.mParamIdx, aux.Value());
  }
}
