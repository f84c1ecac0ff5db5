#include "IKnobMultiControl.h"

#include "ControlFrames.h"
#include "IGraphics.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                     EDirection direction, double gearing)
  : IKnobControl(plug, IRECT(x, y, x + bitmap->frameWidth(), y + bitmap->frameHeight()), paramIdx, direction,
                 gearing),
    mBitmap(*bitmap)
{
}

int IKnobMultiControl::CurrentFrame() const { return FrameForValue(GetValue(), mBitmap.N); }

bool IKnobMultiControl::Draw(IGraphics* graphics)
{
  return graphics->DrawBitmap(&mBitmap, &mRECT, CurrentFrame(), &mBlend);
}
