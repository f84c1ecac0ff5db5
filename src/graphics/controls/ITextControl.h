#pragma once
#include "IControl.h"

// A line of text in a rectangle; also the value and name displays other
// controls attach.
class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* plug, IRECT rect, IText* text, const char* str = "");

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  // Replaces the text and marks the control dirty when it changed.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  const char* GetTextForPlug() const { return mStr.Get(); }

protected:
  // For text controls that show a parameter.
  ITextControl(IPlugBase* plug, IRECT rect, int paramIdx, IText* text, const char* str);

  WDL_String mStr;
};
