#pragma once
#include "ITextControl.h"

// The parameter's value as text, optionally followed by its label; a press
// or double click asks for a new value (once the layout enables prompting).
class ICaptionControl : public ITextControl
{
public:
  ICaptionControl(IPlugBase* plug, IRECT rect, int paramIdx, IText* text, bool showParamLabel = true);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
  // Rebuilds the text from the parameter every time.
  bool Draw(IGraphics* graphics) override;

protected:
  bool mShowParamLabel;
};
