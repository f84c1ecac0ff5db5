#pragma once
#include "IControl.h"

// A handle image sliding along a track of the given length; the handle
// follows the mouse on press and drag, the wheel moves it like a knob.
class IFaderControl : public IControl
{
public:
  IFaderControl(IPlugBase* plug, int x, int y, int len, int paramIdx, IBitmap* bitmap,
                EDirection direction = kVertical, bool onlyHandle = false);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int delta) override;
  bool Draw(IGraphics* graphics) override;
  bool IsHit(int x, int y) override;
  // Centres the handle on the mouse along the track.
  virtual void SnapToMouse(int x, int y);

  // Where the handle sits for a value; a negative value means the current one.
  IRECT GetHandleRECT(double value = -1.0) const;
  int GetLength() const { return mLen; }
  int GetHandleHeadroom() const { return mHandleHeadroom; }
  EDirection GetDirection() const { return mDirection; }

protected:
  int mLen, mHandleHeadroom;
  IBitmap mBitmap;
  EDirection mDirection;
  bool mOnlyHandle;
};
