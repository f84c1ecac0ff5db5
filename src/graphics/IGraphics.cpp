#include "IGraphics.h"

#include <cstring>

#include "BitmapStorage.h"
#include "ClassicNumbers.h"
#include "IControl.h"
#include "IParam.h"
#include "IPlugBase.h"
#include "LICE_MemBitmap.h"
#include "LICE_SysBitmap.h"
#include "lice_blit.h"

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int refreshFPS)
  : mPlug(plug), mWidth(width), mHeight(height), mFPS(refreshFPS > 0 ? refreshFPS : 25)
{
}

IGraphics::~IGraphics()
{
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  mControls.DeleteAll(true);
  delete mDrawBitmap;
  delete mTmpBitmap;
}

// ---- Base forms of the platform operations -----------------------------------------

bool IGraphics::MeasureIText(IText* text, char* str, IRECT* r) { return DrawIText(text, str, r, true); }

void IGraphics::Resize(int w, int h)
{
  EndOpenEdit();
  {
    // process() walks the control list in SetParameterFromPlug with this mutex
    // held; deleting the controls under it keeps the audio thread off freed memory.
    WDL_MutexLock lock(mPlug ? &mPlug->GetMutex() : nullptr);
    mWidth = w;
    mHeight = h;
    ReleaseMouseCapture();
    mMouseOver = -1;
    mControls.DeleteAll(true);
    delete mDrawBitmap;
    delete mTmpBitmap;
    mDrawBitmap = nullptr;
    mTmpBitmap = nullptr;
    PrepDraw();
  }
  if (mPlug) mPlug->ResizeGraphics(w, h);
}

bool IGraphics::WindowIsOpen() { return GetWindow() != nullptr; }
const char* IGraphics::GetGUIAPI() { return ""; }
void* IGraphics::OpenWindow(void*, void*, short, short) { return nullptr; }
void* IGraphics::AttachSubWindow(void*) { return nullptr; }
void IGraphics::RemoveSubWindow() {}

// ---- Construction -----------------------------------------------------------------

void IGraphics::PrepDraw()
{
  delete mDrawBitmap;
  delete mTmpBitmap;
  mDrawBitmap = new LICE_SysBitmap(mWidth, mHeight);
  mTmpBitmap = new LICE_MemBitmap(0, 0, 4);
}

void IGraphics::InsertControl(int idx, IControl* control)
{
  // The audio thread may be walking the list (after a Resize the caller
  // attaches controls while the host processes).
  WDL_MutexLock lock(mPlug ? &mPlug->GetMutex() : nullptr);
  mControls.Insert(idx, control);
}

int IGraphics::AttachControl(IControl* control)
{
  if (!control) return -1;
  InsertControl(mControls.GetSize(), control);
  return mControls.GetSize() - 1;
}

void IGraphics::AttachKeyCatcher(IControl* control)
{
  if (control == mKeyCatcher) return;
  delete mKeyCatcher;
  mKeyCatcher = control;
}

void IGraphics::SetBundleID(const char* id)
{
  std::strncpy(mBundleID, id ? id : "", sizeof(mBundleID) - 1);
  mBundleID[sizeof(mBundleID) - 1] = 0;
}

// ---- Bitmaps ------------------------------------------------------------------------

IBitmap IGraphics::LoadIBitmap(int id, const char* name, int nStates, bool framesAreHorizontal)
{
  LICE_IBitmap* lb = nullptr;
  {
    // Find, load and add as one step so two editors never decode one image twice.
    WDL_MutexLock lock(&s_bitmapCache.Mutex());
    lb = s_bitmapCache.Find(id);
    if (!lb)
    {
      lb = OSLoadBitmap(id, name);
      s_bitmapCache.Add(lb, id);
    }
  }
  if (!lb) return IBitmap(nullptr, 0, 0, nStates, framesAreHorizontal);
  return IBitmap(lb, lb->getWidth(), lb->getHeight(), nStates, framesAreHorizontal);
}

void IGraphics::RetainBitmap(IBitmap* bitmap)
{
  if (bitmap && bitmap->mData) s_bitmapCache.Add(bitmap->mData, -1);
}

void IGraphics::ReleaseBitmap(IBitmap* bitmap)
{
  if (!bitmap || !bitmap->mData) return;
  if (s_bitmapCache.Remove(bitmap->mData)) bitmap->mData = nullptr;
}

IBitmap IGraphics::ScaleBitmap(IBitmap* bitmap, int destW, int destH)
{
  if (!bitmap || !bitmap->mData || destW <= 0 || destH <= 0) return IBitmap();
  LICE_MemBitmap* dest = new LICE_MemBitmap(destW, destH, 4);
  LICE_ScaledBlit(dest, bitmap->mData, 0, 0, destW, destH, 0.0f, 0.0f, static_cast<float>(bitmap->W),
                  static_cast<float>(bitmap->H), 1.0f, LICE_OP_COPY | LICE_MODE_FILTER_BILINEAR);
  s_bitmapCache.Add(dest, -1);
  return IBitmap(dest, destW, destH, bitmap->N, false);
}

IBitmap IGraphics::CropBitmap(IBitmap* bitmap, IRECT* r)
{
  if (!bitmap || !bitmap->mData || !r || r->W() <= 0 || r->H() <= 0) return IBitmap();
  LICE_MemBitmap* dest = new LICE_MemBitmap(r->W(), r->H(), 4);
  LICE_Blit(dest, bitmap->mData, 0, 0, r->L, r->T, r->W(), r->H(), 1.0f, LICE_OP_COPY);
  s_bitmapCache.Add(dest, -1);
  return IBitmap(dest, r->W(), r->H(), bitmap->N, false);
}

// ---- Redraw ---------------------------------------------------------------------------

bool IGraphics::IsDirty(IRECT* r)
{
  bool dirty = false;
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->IsDirty())
    {
      if (r) *r = r->Union(*c->GetRECT());
      dirty = true;
    }
  }
  return dirty;
}

bool IGraphics::Draw(IRECT* r)
{
  ScopedClassicNumbers classic; // captions and value displays format numbers
  const int n = mControls.GetSize();
  if (!n) return true;
  const IRECT area = r ? *r : IRECT();

  if (mStrict)
  {
    mDrawRECT = area;
    for (int i = 0; i < n; ++i)
    {
      IControl* c = mControls.Get(i);
      if (!c->IsHidden() && area.Intersects(*c->GetRECT())) c->Draw(this);
      c->SetClean();
    }
  }
  else if (mControls.Get(0)->IsDirty())
  {
    // The background repaints everything it covers, so every control goes on top.
    mDrawRECT = *mControls.Get(0)->GetRECT();
    for (int i = 0; i < n; ++i)
    {
      IControl* c = mControls.Get(i);
      if (i > 0 && c->IsHidden()) continue;
      c->Draw(this);
      c->SetClean();
    }
  }
  else
  {
    for (int j = 1; j < n; ++j)
    {
      IControl* dirty = mControls.Get(j);
      if (!dirty->IsDirty()) continue;
      if (!dirty->IsHidden())
      {
        mDrawRECT = *dirty->GetRECT();
        for (int k = 0; k < n; ++k)
        {
          IControl* c = mControls.Get(k);
          if (!c->IsHidden() && (k == j || c->GetRECT()->Intersects(mDrawRECT))) c->Draw(this);
        }
      }
      dirty->SetClean();
    }
  }
  IRECT screen = area;
  return DrawScreen(&screen);
}

void IGraphics::SetStrictDrawing(bool strict)
{
  mStrict = strict;
  SetAllControlsDirty();
}

void IGraphics::SetAllControlsDirty()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->SetDirty(false);
}

// ---- Values ------------------------------------------------------------------------------

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized)
{
  if (!normalized)
  {
    const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->GetNormalized(value);
  }
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx) c->SetValueFromPlug(value);
    const int aux = c->AuxParamIdx(paramIdx);
    if (aux >= 0) c->SetAuxParamValueFromPlug(aux, value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue)
{
  if (IControl* c = mControls.Get(controlIdx)) c->SetValueFromPlug(normalizedValue);
}

void IGraphics::SetParameterFromGUI(int paramIdx, double normalizedValue)
{
  ScopedClassicNumbers classic; // captions and value displays format numbers
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx) c->SetValueFromUserInput(normalizedValue);
  }
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized)
{
  if (!normalized)
  {
    const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    lo = param->GetNormalized(lo);
    hi = param->GetNormalized(hi);
  }
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx) c->SetClampRange(lo, hi);
  }
}

void IGraphics::HideControl(int paramIdx, bool hide)
{
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->Hide(hide);
}

void IGraphics::GrayOutControl(int paramIdx, bool gray)
{
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->GrayOut(gray);
}

void IGraphics::AssignParamNameToolTips()
{
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* c = mControls.Get(i);
    const IParam* param = mPlug && c->ParamIdx() >= 0 ? mPlug->GetParam(c->ParamIdx()) : nullptr;
    if (param) c->SetToolTipText(param->GetNameForHost());
  }
}

void IGraphics::OnGUIIdle()
{
  ScopedClassicNumbers classic; // captions and value displays format numbers
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnGUIIdle();
}
