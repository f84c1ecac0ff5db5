#include "IBitmapOverlayControl.h"

IBitmapOverlayControl::IBitmapOverlayControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                             IRECT* targetArea, int blendMethod)
  : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod), mTargetArea(targetArea ? *targetArea : mRECT)
{
  // Starts off (value 0), so presses land on the target area until the first draw.
  mTargetRECT = mTargetArea;
}

bool IBitmapOverlayControl::Draw(IGraphics* graphics)
{
  if (GetValue() < 0.5)
  {
    mTargetRECT = mTargetArea;
    return true;
  }
  mTargetRECT = mRECT;
  return IBitmapControl::Draw(graphics);
}
