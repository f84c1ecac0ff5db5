#pragma once
#include "ISwitchControl.h"

// A momentary switch: a press steps like ISwitchControl, the release returns to 0.
class IContactControl : public ISwitchControl
{
public:
  IContactControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                  int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  void OnMouseUp(int x, int y, IMouseMod* mod) override;
};
