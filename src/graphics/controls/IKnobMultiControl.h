#pragma once
#include "IKnobControl.h"

// A knob drawn from a film strip: the frame nearest to the value.
class IKnobMultiControl : public IKnobControl
{
public:
  // The rectangle is one frame of the bitmap with its top-left corner at (x, y).
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, EDirection direction = kVertical,
                    double gearing = 1.0);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;

  // The frame Draw shows for the current value, counting from 1.
  int CurrentFrame() const;
  const IBitmap& GetBitmap() const { return mBitmap; }

protected:
  IBitmap mBitmap;
};
