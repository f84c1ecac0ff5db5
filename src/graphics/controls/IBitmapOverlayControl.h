#pragma once
#include "ISwitchControl.h"

// A switch whose image appears only while it is on; while it is off, a
// separate target area takes its presses.
class IBitmapOverlayControl : public ISwitchControl
{
public:
  IBitmapOverlayControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, IRECT* targetArea,
                        int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  const IRECT& GetTargetArea() const { return mTargetArea; }

protected:
  IRECT mTargetArea;
};
