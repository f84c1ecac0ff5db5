#include "IInvisibleSwitchControl.h"

IInvisibleSwitchControl::IInvisibleSwitchControl(IPlugBase* plug, IRECT rect, int paramIdx)
  : IControl(plug, rect, paramIdx, IChannelBlend::kBlendClobber)
{
}

void IInvisibleSwitchControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  SetValue(GetValue() < 0.5 ? 1.0 : 0.0);
  SetDirty(true);
}
