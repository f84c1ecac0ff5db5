#include "ISwitchControl.h"

ISwitchControl::ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, int blendMethod)
  : IBitmapControl(plug, x, y, paramIdx, bitmap, blendMethod)
{
}

void ISwitchControl::Step()
{
  double value = GetValue() + (mBitmap.N >= 2 ? 1.0 / static_cast<double>(mBitmap.N - 1) : 1.0);
  // Above 1.001 rather than 1.0: a sum that lands just past 1 by rounding is the last state.
  if (value > 1.001) value = 0.0;
  SetValue(value);
}

void ISwitchControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  Step();
  SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, IMouseMod* mod) { OnMouseDown(x, y, mod); }
