#include "ISwitchPopUpControl.h"

ISwitchPopUpControl::ISwitchPopUpControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                         int blendMethod)
  : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod)
{
}

void ISwitchPopUpControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  PromptUserInput();
  SetDirty(true);
}
