#pragma once
#include "IControl.h"
#include "WDL_TypedBuf.h"

// n buttons in a row or column from a two-frame image (frame 2 lit); the
// value selects one of them, a press picks the button under the mouse.
class IRadioButtonsControl : public IControl
{
public:
  IRadioButtonsControl(IPlugBase* plug, IRECT rect, int paramIdx, int nButtons, IBitmap* bitmap,
                       EDirection direction = kVertical, bool reverse = false);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  // The button the value selects, 0 to n - 1.
  int ActiveButton() const;
  int NButtons() const { return mButtons.GetSize(); }
  const IRECT* GetButton(int i) const { return i >= 0 && i < mButtons.GetSize() ? mButtons.Get() + i : nullptr; }

protected:
  WDL_TypedBuf<IRECT> mButtons;
  IBitmap mBitmap;
};
