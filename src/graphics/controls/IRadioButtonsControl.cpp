#include "IRadioButtonsControl.h"

#include <algorithm>

#include "IGraphics.h"

IRadioButtonsControl::IRadioButtonsControl(IPlugBase* plug, IRECT rect, int paramIdx, int nButtons, IBitmap* bitmap,
                                           EDirection direction, bool reverse)
  : IControl(plug, rect, paramIdx), mButtons(256), mBitmap(*bitmap)
{
  const int n = std::max(nButtons, 0);
  const int w = mBitmap.W;
  const int h = mBitmap.N > 0 ? mBitmap.H / mBitmap.N : mBitmap.H;
  // A single button has no gaps to share out.
  const int gaps = std::max(n - 1, 1);
  if (direction == kHorizontal)
  {
    const int s = (rect.W() - n * w) / gaps;
    // Reversed rows mirror the forward ones, so the last button still ends
    // inside the rectangle where it can be hit and is redrawn.
    int x = reverse ? rect.R - w : rect.L;
    for (int i = 0; i < n; ++i)
    {
      mButtons.Add(IRECT(x, rect.T, x + w, rect.T + h));
      x += reverse ? -(w + s) : w + s;
    }
  }
  else
  {
    const int g = static_cast<int>(static_cast<double>(rect.H() - n * h) / static_cast<double>(gaps));
    int y = reverse ? rect.B - h : rect.T;
    for (int i = 0; i < n; ++i)
    {
      mButtons.Add(IRECT(rect.L, y, rect.L + w, y + h));
      y += reverse ? -(h + g) : h + g;
    }
  }
}

int IRadioButtonsControl::ActiveButton() const
{
  const int n = mButtons.GetSize();
  const int i = static_cast<int>(static_cast<double>(n - 1) * GetValue() + 0.5);
  return std::max(0, std::min(i, n - 1));
}

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* mod)
{
  if (mod && mod->R)
  {
    PromptUserInput();
    return;
  }
  const int n = mButtons.GetSize();
  for (int i = 0; i < n; ++i)
  {
    if (mButtons.Get()[i].Contains(x, y))
    {
      SetValue(n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0);
      break;
    }
  }
  SetDirty(true);
}

bool IRadioButtonsControl::Draw(IGraphics* graphics)
{
  const int active = ActiveButton();
  for (int i = 0, n = mButtons.GetSize(); i < n; ++i)
    graphics->DrawBitmap(&mBitmap, mButtons.Get() + i, i == active ? 2 : 1, &mBlend);
  return true;
}
