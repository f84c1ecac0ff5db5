#include "IFaderControl.h"

#include "IGraphics.h"

IFaderControl::IFaderControl(IPlugBase* plug, int x, int y, int len, int paramIdx, IBitmap* bitmap,
                             EDirection direction, bool onlyHandle)
  : IControl(plug,
             direction == kHorizontal ? IRECT(x, y, x + len, y + bitmap->H) : IRECT(x, y, x + bitmap->W, y + len),
             paramIdx),
    mLen(len), mHandleHeadroom(direction == kHorizontal ? bitmap->W : bitmap->H), mBitmap(*bitmap),
    mDirection(direction), mOnlyHandle(onlyHandle)
{
}

IRECT IFaderControl::GetHandleRECT(double value) const
{
  if (value < 0.0) value = GetValue();
  const int travel = mLen - mHandleHeadroom;
  if (mDirection == kHorizontal)
  {
    const int l = mRECT.L + static_cast<int>(value * travel);
    return IRECT(l, mRECT.T, l + mBitmap.W, mRECT.T + mBitmap.H);
  }
  const int offset = static_cast<int>(travel * (1.0 - value));
  return IRECT(mRECT.L, mRECT.T + offset, mRECT.L + mBitmap.W, mRECT.T + offset + mBitmap.H);
}

void IFaderControl::SnapToMouse(int x, int y)
{
  const int travel = mLen - mHandleHeadroom;
  // A handle as long as the track has nowhere to go.
  if (travel != 0)
  {
    if (mDirection == kHorizontal)
      SetValue(static_cast<double>(x - mRECT.L - mHandleHeadroom / 2) / static_cast<double>(travel));
    else
      SetValue(1.0 - static_cast<double>(y - mRECT.T - mHandleHeadroom / 2) / static_cast<double>(travel));
  }
  SetDirty(true);
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* mod)
{
  if (mod && mod->R)
  {
    PromptUserInput();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int /*dX*/, int /*dY*/, IMouseMod* /*mod*/) { SnapToMouse(x, y); }

void IFaderControl::OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* mod, int delta)
{
  const double step = mod && (mod->C || mod->S) ? 0.001 : 0.01;
  SetValue(GetValue() + step * static_cast<double>(delta));
  SetDirty(true);
}

bool IFaderControl::Draw(IGraphics* graphics)
{
  IRECT r = GetHandleRECT();
  return graphics->DrawBitmap(&mBitmap, &r, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y)
{
  if (mOnlyHandle) return GetHandleRECT().Contains(x, y);
  return mTargetRECT.Contains(x, y);
}
