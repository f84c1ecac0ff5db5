#include "IKnobLineControl.h"

#include "IGraphics.h"

IKnobLineControl::IKnobLineControl(IPlugBase* plug, IRECT rect, int paramIdx, const IColor* color,
                                   double innerRadius, double outerRadius, double minAngle, double maxAngle,
                                   EDirection direction, double gearing)
  : IKnobControl(plug, rect, paramIdx, direction, gearing), mColor(color ? *color : COLOR_BLACK),
    mInnerRadius(static_cast<float>(innerRadius)), mOuterRadius(static_cast<float>(outerRadius)),
    mMinAngle(minAngle), mMaxAngle(maxAngle)
{
  if (mOuterRadius == 0.0f) mOuterRadius = 0.5f * static_cast<float>(rect.W());
  mBlend = IChannelBlend(IChannelBlend::kBlendClobber);
}

bool IKnobLineControl::Draw(IGraphics* graphics)
{
  const float cx = static_cast<float>(mRECT.L + mRECT.R) * 0.5f;
  const float cy = static_cast<float>(mRECT.T + mRECT.B) * 0.5f;
  return graphics->DrawRadialLine(&mColor, cx, cy, static_cast<float>(CurrentAngle()), mInnerRadius, mOuterRadius,
                                  &mBlend, true);
}
