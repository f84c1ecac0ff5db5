#pragma once
#include "IKnobControl.h"

// A knob drawn as one antialiased pointer line about the rectangle's centre.
class IKnobLineControl : public IKnobControl
{
public:
  // Angles in radians, 0 pointing up, clockwise positive; an outer radius of 0
  // reaches half the rectangle's width.
  IKnobLineControl(IPlugBase* plug, IRECT rect, int paramIdx, const IColor* color, double innerRadius = 0.0,
                   double outerRadius = 0.0, double minAngle = -0.75 * 3.14159265358979323846,
                   double maxAngle = 0.75 * 3.14159265358979323846, EDirection direction = kVertical,
                   double gearing = 1.0);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  // The pointer's angle for the current value.
  double CurrentAngle() const { return mMinAngle + GetValue() * (mMaxAngle - mMinAngle); }

protected:
  IColor mColor;
  float mInnerRadius, mOuterRadius;
  double mMinAngle, mMaxAngle;
};
