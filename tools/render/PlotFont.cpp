#include "PlotFont.h"

#include "LICE_MemBitmap.h"
#include "lice_blit.h"

namespace render {

bool PlotFont::Create(int emPixels, bool bold)
{
  LICE_HFONT face = LICE_CreateFont(-emPixels, 0, 0, 0, bold ? 700 : 400, false, false, false,
                                    LICE_FONT_QUALITY_ANTIALIASED, "DejaVu Sans");
  if (!face) return false;
  mFont = std::make_unique<LICE_CachedFont>();
  return mFont->SetFromHFont(face);
}

int PlotFont::Width(const std::string& text)
{
  LICE_Rect r = {0, 0, 0, 0};
  mFont->DrawText(nullptr, text.c_str(), -1, &r, LICE_DT_CALCRECT | LICE_DT_SINGLELINE);
  return r.right;
}

int PlotFont::Height() { return mFont->GetLineHeight(); }

void PlotFont::Draw(LICE_IBitmap* bitmap, const std::string& text, int x, int y, TextAnchor anchor, LICE_pixel color)
{
  const int w = Width(text);
  const int left = anchor == kAnchorLeft ? x : anchor == kAnchorCenter ? x - w / 2 : x - w;
  LICE_Rect r = {left, y, left + w + 1, y + Height()};
  mFont->SetTextColor(color);
  mFont->SetCombineMode(LICE_OP_COPY, 1.0f);
  mFont->DrawText(bitmap, text.c_str(), -1, &r, LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
}

void PlotFont::DrawUpwards(LICE_IBitmap* bitmap, const std::string& text, int cx, int cy, LICE_pixel color)
{
  // White text on black gives the glyph coverage in every channel; it is then
  // laid down turned, weighted by that coverage.
  const int w = Width(text) + 2, h = Height();
  LICE_MemBitmap scratch(w, h);
  LICE_Clear(&scratch, LICE_RGBA(0, 0, 0, 255));
  Draw(&scratch, text, 1, 0, kAnchorLeft, LICE_RGBA(255, 255, 255, 255));
  const int left = cx - h / 2, top = cy - w / 2;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const unsigned c = LICE_GETG(LICE_GetPixel(&scratch, x, y));
      if (c) LICE_PutPixel(bitmap, left + y, top + (w - 1 - x), color, static_cast<float>(c) / 255.0f, LICE_OP_COPY);
    }
}

} // namespace render
