#include "IPanelControl.h"

#include "IGraphics.h"

IPanelControl::IPanelControl(IPlugBase* plug, IRECT rect, const IColor* color, int blendMethod)
  : IControl(plug, rect, -1, blendMethod), mColor(color ? *color : COLOR_BLACK)
{
}

bool IPanelControl::Draw(IGraphics* graphics) { return graphics->FillIRect(&mColor, &mRECT, &mBlend); }
