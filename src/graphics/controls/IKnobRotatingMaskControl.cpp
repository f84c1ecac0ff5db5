#include "IKnobRotatingMaskControl.h"

#include "IGraphics.h"

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* base,
                                                   IBitmap* mask, IBitmap* top, double minAngle, double maxAngle,
                                                   EDirection direction, double gearing)
  : IKnobControl(plug, IRECT(x, y, x + base->W, y + base->H), paramIdx, direction, gearing), mBase(*base),
    mMask(*mask), mTop(*top), mMinAngle(minAngle), mMaxAngle(maxAngle)
{
}

bool IKnobRotatingMaskControl::Draw(IGraphics* graphics)
{
  return graphics->DrawRotatedMask(&mBase, &mMask, &mTop, mRECT.L, mRECT.T, CurrentAngle(), &mBlend);
}
