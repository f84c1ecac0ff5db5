#include "IKnobControl.h"

IKnobControl::IKnobControl(IPlugBase* plug, IRECT rect, int paramIdx, EDirection direction, double gearing)
  : IControl(plug, rect, paramIdx), mDirection(direction), mGearing(gearing)
{
}

void IKnobControl::OnMouseDrag(int /*x*/, int /*y*/, int dX, int dY, IMouseMod* mod)
{
  double gearing = mGearing;
  if (mod && (mod->C || mod->S)) gearing *= 10.0;
  // T - B is the negative height, so dragging upward raises the value.
  const int extent = mDirection == kHorizontal ? mRECT.R - mRECT.L : mRECT.T - mRECT.B;
  const int delta = mDirection == kHorizontal ? dX : dY;
  // A control of no size or no gearing would turn the value into inf or NaN.
  if (extent == 0 || gearing == 0.0) return;
  SetValue(GetValue() + static_cast<double>(delta) / static_cast<double>(extent) / gearing);
  SetDirty(true);
}

void IKnobControl::OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* mod, int delta)
{
  const double step = mod && (mod->C || mod->S) ? 0.001 : 0.01;
  SetValue(GetValue() + step * static_cast<double>(delta));
  SetDirty(true);
}
