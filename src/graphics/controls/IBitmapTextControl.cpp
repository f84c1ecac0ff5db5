#include "IBitmapTextControl.h"

#include <cstring>

#include "IBitmapMonoText.h"

IBitmapTextControl::IBitmapTextControl(IPlugBase* plug, IRECT rect, IBitmap* bitmap, const char* str, IText* text,
                                       int charWidth, int charHeight, int charOffset, bool multiLine, bool vCenter)
  : IControl(plug, rect), mStr(str ? str : ""), mCharWidth(charWidth), mCharHeight(charHeight),
    mCharOffset(charOffset), mMultiLine(multiLine), mVCentre(vCenter), mTextBitmap(*bitmap)
{
  if (text) mText = *text;
}

void IBitmapTextControl::SetTextFromPlug(const char* str)
{
  if (!str) str = "";
  if (std::strcmp(mStr.Get(), str) == 0) return;
  SetDirty(false);
  mStr.Set(str);
}

bool IBitmapTextControl::Draw(IGraphics* graphics)
{
  DrawBitmapedText(graphics, &mTextBitmap, &mRECT, &mText, &mBlend, mStr.Get(), mVCentre, mMultiLine, mCharWidth,
                   mCharHeight, mCharOffset);
  return true;
}
