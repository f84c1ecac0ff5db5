#include "IKnobRotaterControl.h"

#include "IGraphics.h"

IKnobRotaterControl::IKnobRotaterControl(IPlugBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap,
                                         double minAngle, double maxAngle, int yOffsetZeroDeg, EDirection direction,
                                         double gearing)
  : IKnobControl(plug, rect, paramIdx, direction, gearing), mBitmap(*bitmap), mMinAngle(minAngle),
    mMaxAngle(maxAngle), mYOffset(yOffsetZeroDeg)
{
}

bool IKnobRotaterControl::Draw(IGraphics* graphics)
{
  const int cx = (mRECT.L + mRECT.R) / 2;
  const int cy = (mRECT.T + mRECT.B) / 2;
  return graphics->DrawRotatedBitmap(&mBitmap, cx, cy, CurrentAngle(), mYOffset, &mBlend);
}
