#pragma once
#include "IBitmapControl.h"

// A film strip that steps to its next frame on every press and wraps to the
// first after the last.
class ISwitchControl : public IBitmapControl
{
public:
  ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                 int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  // The second click of a double click steps once more.
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;

protected:
  // One step forward without pushing it.
  void Step();
};
