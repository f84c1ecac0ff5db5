// Font caching and text drawing.
#include <algorithm>

#include "FontStorage.h"
#include "IGraphics.h"
#include "LICE_CachedFont.h"
#include "LICE_SysBitmap.h"

namespace
{
int FontQuality(IText::EQuality quality)
{
  switch (quality)
  {
  case IText::kQualityDefault: return LICE_FONT_QUALITY_DEFAULT;
  case IText::kQualityNonAntiAliased: return LICE_FONT_QUALITY_NONANTIALIASED;
  case IText::kQualityAntiAliased:
  case IText::kQualityClearType: return LICE_FONT_QUALITY_ANTIALIASED;
  default: return LICE_FONT_QUALITY_NONANTIALIASED;
  }
}
} // namespace

LICE_CachedFont* IGraphics::CacheFont(IText* text)
{
  if (!text) return nullptr;
  WDL_MutexLock lock(&s_fontCache.Mutex());
  if (LICE_CachedFont* found = s_fontCache.Find(text))
  {
    text->mCached = found;
    return found;
  }
  LICE_CachedFont* font = new LICE_CachedFont;
  int h = text->mSize;
  for (int attempt = 0; attempt < 2; ++attempt)
  {
    const int requested = std::max(h, 2);
    LICE_HFONT hf = LICE_CreateFont(requested, 0, text->mOrientation * 10, text->mOrientation * 10,
                                    text->mStyle == IText::kStyleBold ? 700 : 400, text->mStyle == IText::kStyleItalic,
                                    false, false, FontQuality(text->mQuality), text->mFont);
    if (!hf)
    {
      delete font;
      return nullptr;
    }
    font->SetFromHFont(hf, 0x600);
    const int lineHeight = font->GetLineHeight();
    if (attempt == 1 || lineHeight == requested || lineHeight <= 0) break;
    h = static_cast<int>(static_cast<double>(requested) * requested / lineHeight + 0.5);
  }
  s_fontCache.Add(font, text);
  text->mCached = font;
  return font;
}

bool IGraphics::DrawIText(IText* text, char* str, IRECT* r, bool measure)
{
  if (!str || !str[0]) return true;
  if (!text || !r) return false;
  LICE_CachedFont* font = text->mCached ? text->mCached : CacheFont(text);
  if (!font) return false;
  font->SetTextColor(text->mColor.Packed());
  unsigned flags = LICE_DT_NOCLIP;
  if (text->mAlign == IText::kAlignCenter) flags |= LICE_DT_CENTER;
  else if (text->mAlign == IText::kAlignFar) flags |= LICE_DT_RIGHT;
  if (text->mColor.A < 255) flags |= LICE_DT_USEFGALPHA;

  if (measure)
  {
    LICE_Rect extent = {0, 0, 0, 0};
    font->DrawText(mDrawBitmap, str, -1, &extent, flags | LICE_DT_CALCRECT);
    const int w = extent.right - extent.left, h = extent.bottom - extent.top;
    if (text->mAlign == IText::kAlignCenter)
    {
      r->L = static_cast<int>((r->L + r->R) * 0.5) - w / 2;
      r->R = r->L + w;
    }
    else if (text->mAlign == IText::kAlignFar)
      r->L = r->R - w;
    else
      r->R = r->L + w;
    r->B = r->T + h;
    return true;
  }
  LICE_Rect area = {r->L, r->T, r->R, r->B};
  font->DrawText(mDrawBitmap, str, -1, &area, flags);
  return true;
}
