#pragma once
#include "IKnobControl.h"

// A knob drawn as one image turned about the rectangle's centre.
class IKnobRotaterControl : public IKnobControl
{
public:
  // Angles in radians, clockwise positive; yOffsetZeroDeg moves the rotation
  // centre within the image.
  IKnobRotaterControl(IPlugBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap,
                      double minAngle = -0.75 * 3.14159265358979323846,
                      double maxAngle = 0.75 * 3.14159265358979323846, int yOffsetZeroDeg = 0,
                      EDirection direction = kVertical, double gearing = 1.0);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  double CurrentAngle() const { return mMinAngle + GetValue() * (mMaxAngle - mMinAngle); }

protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
  int mYOffset;
};
