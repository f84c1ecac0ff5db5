#pragma once
#include "IControl.h"

// Shows the frame of a film strip that matches its value; the background of
// an editor is one with a single frame and no parameter.
class IBitmapControl : public IControl
{
public:
  // The rectangle is one frame of the bitmap with its top-left corner at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                 int blendMethod = IChannelBlend::kBlendNone);
  // No parameter.
  IBitmapControl(IPlugBase* plug, int x, int y, IBitmap* bitmap, int blendMethod = IChannelBlend::kBlendNone);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;

  // The frame Draw shows for the current value, counting from 1.
  int CurrentFrame() const;
  const IBitmap& GetBitmap() const { return mBitmap; }

protected:
  IBitmap mBitmap;
};
