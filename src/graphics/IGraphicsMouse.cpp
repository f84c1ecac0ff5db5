// Mouse and key routing from the window layer to the controls. Controls
// format parameter values while they handle events (value displays), so
// every entry point shows numbers the same under any host locale.
#include "ClassicNumbers.h"
#include "IControl.h"
#include "IGraphics.h"
#include "IPlugBase.h"

int IGraphics::HitTest(int x, int y, bool mouseOver)
{
  for (int i = mControls.GetSize() - 1; i >= 0; --i)
  {
    IControl* c = mControls.Get(i);
    if (c->IsHidden()) continue;
    if (c->IsGrayed() && !(mouseOver && c->GetMOWhenGrayed())) continue;
    if (c->IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::SetCapture(int idx, int x, int y)
{
  mMouseCapture.store(idx, std::memory_order_relaxed);
  mMouseX = x;
  mMouseY = y;
  // Values the host echoes back during the gesture must not move it.
  if (IControl* c = mControls.Get(idx)) c->SetHeldByMouse(true);
}

void IGraphics::ReleaseMouseCapture()
{
  if (IControl* c = mControls.Get(mMouseCapture.load(std::memory_order_relaxed))) c->SetHeldByMouse(false);
  mMouseCapture.store(-1, std::memory_order_relaxed);
  mMouseX = mMouseY = -1;
}

void IGraphics::BeginEdit(int paramIdx)
{
  if (paramIdx < 0 || !mPlug) return;
  EndOpenEdit();
  mPlug->BeginInformHostOfParamChange(paramIdx);
  mOpenEditParam = paramIdx;
}

void IGraphics::EndOpenEdit()
{
  if (mOpenEditParam < 0 || !mPlug) return;
  const int p = mOpenEditParam;
  mOpenEditParam = -1;
  mPlug->EndInformHostOfParamChange(p);
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* mod)
{
  ScopedClassicNumbers classic;
  ReleaseMouseCapture();
  const int idx = HitTest(x, y);
  if (idx < 0) return;
  IControl* c = mControls.Get(idx);
  SetCapture(idx, x, y);
  const int p = c->ParamIdx();
  mLastClickedParam = p;
  if (mPlug && mPlug->GetAPI() == kAPIVST3 && p >= 0 && mod && mod->R)
  {
    ReleaseMouseCapture();
    mPlug->PopupHostContextMenuForParam(p, x, y);
    return;
  }
  BeginEdit(p);
  c->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* mod)
{
  ScopedClassicNumbers classic;
  const int captured = mMouseCapture.load(std::memory_order_relaxed);
  const int idx = captured >= 0 ? captured : HitTest(x, y);
  ReleaseMouseCapture();
  if (IControl* c = mControls.Get(idx)) c->OnMouseUp(x, y, mod);
  // Only the edit the press began ends here: a release after a double click
  // or a host menu has none, and a bare end confuses hosts.
  EndOpenEdit();
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* mod)
{
  ScopedClassicNumbers classic;
  IControl* c = mControls.Get(mMouseCapture.load(std::memory_order_relaxed));
  if (!c || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  c->OnMouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* mod)
{
  ScopedClassicNumbers classic;
  ReleaseMouseCapture();
  const int idx = HitTest(x, y);
  if (idx < 0) return false;
  IControl* c = mControls.Get(idx);
  if (c->GetDblAsSingleClick())
  {
    // A press in full: its release ends the edit this begins.
    OnMouseDown(x, y, mod);
    return true;
  }
  // One whole edit, so a host records the reset (or step) as automation.
  BeginEdit(c->ParamIdx());
  c->OnMouseDblClick(x, y, mod);
  EndOpenEdit();
  return false;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* mod, int delta)
{
  ScopedClassicNumbers classic;
  const int captured = mMouseCapture.load(std::memory_order_relaxed);
  const int idx = captured >= 0 ? captured : HitTest(x, y);
  IControl* c = mControls.Get(idx);
  if (!c) return;
  // During a drag the press's edit is already open; otherwise each notch is
  // an edit of its own.
  const bool ownEdit = mOpenEditParam < 0 && c->ParamIdx() >= 0;
  if (ownEdit) BeginEdit(c->ParamIdx());
  c->OnMouseWheel(x, y, mod, delta);
  if (ownEdit) EndOpenEdit();
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* mod)
{
  ScopedClassicNumbers classic;
  if (!mHandleMouseOver) return false;
  const int captured = mMouseCapture.load(std::memory_order_relaxed);
  const int idx = captured >= 0 ? captured : HitTest(x, y, true);
  IControl* c = mControls.Get(idx);
  if (c)
  {
    mMouseX = x;
    mMouseY = y;
    c->OnMouseOver(x, y, mod);
    if (mMouseOver >= 0 && mMouseOver != idx)
      if (IControl* previous = mControls.Get(mMouseOver)) previous->OnMouseOut();
    mMouseOver = idx;
  }
  return mHandleMouseOver;
}

void IGraphics::OnMouseOut()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnMouseOut();
  mMouseOver = -1;
}

int IGraphics::GetMouseControlIdx(int x, int y, bool mouseOver)
{
  const int captured = mMouseCapture.load(std::memory_order_relaxed);
  return captured >= 0 ? captured : HitTest(x, y, mouseOver);
}

bool IGraphics::OnKeyDown(int x, int y, int key)
{
  ScopedClassicNumbers classic;
  const int idx = GetMouseControlIdx(x, y);
  if (idx > 0) return mControls.Get(idx)->OnKeyDown(x, y, key);
  return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
}

int IGraphics::GetParamIdxForPTAutomation(int x, int y)
{
  IControl* c = mControls.Get(GetMouseControlIdx(x, y));
  mLastClickedParam = c ? c->ParamIdx() : -1;
  return mLastClickedParam;
}

int IGraphics::GetLastClickedParamForPTAutomation()
{
  const int p = mLastClickedParam;
  mLastClickedParam = -1;
  return p;
}
