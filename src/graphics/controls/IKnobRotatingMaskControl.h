#pragma once
#include "IKnobControl.h"

// A knob composed from a base image, a mask turned with the value and a top
// image, all of the base's size.
class IKnobRotatingMaskControl : public IKnobControl
{
public:
  // Angles in degrees, clockwise positive.
  IKnobRotatingMaskControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* base, IBitmap* mask, IBitmap* top,
                           double minAngle = -135.0, double maxAngle = 135.0, EDirection direction = kVertical,
                           double gearing = 1.0);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  double CurrentAngle() const { return mMinAngle + GetValue() * (mMaxAngle - mMinAngle); }

protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};
