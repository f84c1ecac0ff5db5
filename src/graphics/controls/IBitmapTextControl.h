#pragma once
#include "IControl.h"

// Text drawn from a strip of glyph frames (see DrawBitmapedText).
class IBitmapTextControl : public IControl
{
public:
  IBitmapTextControl(IPlugBase* plug, IRECT rect, IBitmap* bitmap, const char* str = "", IText* text = nullptr,
                     int charWidth = 6, int charHeight = 12, int charOffset = 0, bool multiLine = false,
                     bool vCenter = true);

  // [UI thread]
  bool Draw(IGraphics* graphics) override;
  // Replaces the text and marks the control dirty when it changed.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  const char* GetTextForPlug() const { return mStr.Get(); }

protected:
  WDL_String mStr;
  int mCharWidth, mCharHeight, mCharOffset;
  bool mMultiLine, mVCentre;
  IBitmap mTextBitmap;
};
