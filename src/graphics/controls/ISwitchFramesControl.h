#pragma once
#include "ISwitchControl.h"
#include "WDL_TypedBuf.h"

// A film strip whose frame shows every choice at once: its rectangle is cut
// into one equal part per frame, and a press picks the part under the mouse.
class ISwitchFramesControl : public ISwitchControl
{
public:
  ISwitchFramesControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, bool imagesAreHorizontal = false,
                       int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;

  int NParts() const { return mParts.GetSize(); }
  const IRECT* GetPart(int i) const { return i >= 0 && i < mParts.GetSize() ? mParts.Get() + i : nullptr; }

protected:
  WDL_TypedBuf<IRECT> mParts;
};
