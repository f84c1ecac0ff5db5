#pragma once
#include "ISwitchControl.h"

// A film-strip switch whose press asks for the value instead of stepping
// (the layout enables prompting with SetPromptDisabled (false)).
class ISwitchPopUpControl : public ISwitchControl
{
public:
  ISwitchPopUpControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                      int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
};
