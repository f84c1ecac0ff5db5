#include "IPanelControl.h"

#include "IGraphics.h"

IPanelControl::IPanelControl(IPlugBase* plug, IRECT rect, const IColor* color, int blendMethod)
  : IControl(plug, rect, -1, blendMethod), mColor(color ? *color : COLOR_BLACK)
{
}

bool IPanelControl::Draw(IGraphics* graphics)
{
  // Filled only where this redraw paints, as bitmaps are: a panel behind other
  // controls must not wipe those the redraw leaves alone.
  IRECT r = mRECT.Intersect(graphics->GetDrawRECT());
  if (r.Empty()) return true;
  return graphics->FillIRect(&mColor, &r, &mBlend);
}
