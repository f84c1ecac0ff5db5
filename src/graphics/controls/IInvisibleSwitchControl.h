#pragma once
#include "IControl.h"

// A hit area over artwork that toggles its parameter between 0 and 1.
class IInvisibleSwitchControl : public IControl
{
public:
  IInvisibleSwitchControl(IPlugBase* plug, IRECT rect, int paramIdx);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* /*graphics*/) override { return true; }
};
