#pragma once
#include "IControl.h"

// A rectangle filled with one colour.
class IPanelControl : public IControl
{
public:
  IPanelControl(IPlugBase* plug, IRECT rect, const IColor* color, int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  const IColor& GetColor() const { return mColor; }

protected:
  IColor mColor;
};
