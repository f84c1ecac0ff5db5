#pragma once
#include "IControl.h"

// Base of the knobs: a drag along its direction or a wheel notch changes the
// value; control or shift make both ten times finer.
class IKnobControl : public IControl
{
public:
  // With gearing 1 a drag across the control's own size covers the whole range.
  IKnobControl(IPlugBase* plug, IRECT rect, int paramIdx, EDirection direction = kVertical, double gearing = 1.0);

  // [UI thread]
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int delta) override;

  EDirection GetDirection() const { return mDirection; }
  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }

protected:
  EDirection mDirection;
  double mGearing;
};
