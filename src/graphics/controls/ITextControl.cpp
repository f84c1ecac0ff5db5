#include "ITextControl.h"

#include <cstring>

#include "IGraphics.h"

ITextControl::ITextControl(IPlugBase* plug, IRECT rect, IText* text, const char* str)
  : ITextControl(plug, rect, -1, text, str)
{
}

ITextControl::ITextControl(IPlugBase* plug, IRECT rect, int paramIdx, IText* text, const char* str)
  : IControl(plug, rect, paramIdx)
{
  if (text) mText = *text;
  mStr.Set(str ? str : "");
}

void ITextControl::SetTextFromPlug(const char* str)
{
  if (!str) str = "";
  if (std::strcmp(mStr.Get(), str) == 0) return;
  SetDirty(false);
  mStr.Set(str);
}

bool ITextControl::Draw(IGraphics* graphics)
{
  if (!mStr.GetLength()) return true;
  // DrawIText takes a mutable pointer but only reads the text.
  return graphics->DrawIText(&mText, const_cast<char*>(mStr.Get()), &mRECT);
}
