#include "IBitmapMonoText.h"

#include <cstring>

#include "IGraphics.h"

void DrawBitmapedText(IGraphics* graphics, IBitmap* bitmap, IRECT* r, IText* text, const IChannelBlend* blend,
                      const char* str, bool vCenter, bool multiline, int charWidth, int charHeight, int charOffset)
{
  if (!graphics || !bitmap || !r || !str || !str[0]) return;
  // No glyph cell means no character fits, and the divisions below need one.
  if (charWidth <= 0) return;
  const int n = static_cast<int>(std::strlen(str));

  const int y = vCenter ? r->T + (r->B - charHeight - r->T) / 2 : r->T;
  const int textWidth = charWidth * n;
  const IText::EAlign align = text ? text->mAlign : IText::kAlignNear;
  int x0 = r->L;
  if (align == IText::kAlignFar)
    x0 = r->R - textWidth;
  else if (align == IText::kAlignCenter)
    x0 = r->L + (r->W() - textWidth) / 2;

  int perLine = r->W() / charWidth;
  int lines = 1;
  if (multiline)
  {
    if (textWidth <= r->W())
      perLine = n;
    else if (r->W() > 0)
      lines = textWidth / r->W() + 1;
  }
  if (perLine <= 0) return;

  int idx = 0;
  for (int line = 0; line < lines && idx < n; ++line)
  {
    int x = x0;
    for (int c = 0; c < perLine && idx < n; ++c, ++idx)
    {
      IRECT cell(x, y + charHeight * line, x + charWidth, y + charHeight * (line + 1));
      // The strip starts at the space (code 32), which is frame 1.
      graphics->DrawBitmap(bitmap, &cell, static_cast<unsigned char>(str[idx]) - 31, blend);
      x += charWidth + charOffset;
    }
  }
}
