#include "IBitmapControl.h"

#include "ControlFrames.h"
#include "IGraphics.h"

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, int blendMethod)
  : IControl(plug, IRECT(x, y, x + bitmap->frameWidth(), y + bitmap->frameHeight()), paramIdx, blendMethod),
    mBitmap(*bitmap)
{
}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, IBitmap* bitmap, int blendMethod)
  : IBitmapControl(plug, x, y, -1, bitmap, blendMethod)
{
}

int IBitmapControl::CurrentFrame() const { return mBitmap.N < 2 ? 1 : FrameForValue(GetValue(), mBitmap.N); }

bool IBitmapControl::Draw(IGraphics* graphics)
{
  return graphics->DrawBitmap(&mBitmap, &mRECT, CurrentFrame(), &mBlend);
}
