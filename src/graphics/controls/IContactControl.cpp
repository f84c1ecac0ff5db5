#include "IContactControl.h"

IContactControl::IContactControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, int blendMethod)
  : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod)
{
}

void IContactControl::OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  SetValue(0.0);
  SetDirty(true);
}
