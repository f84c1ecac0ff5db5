#pragma once
#include <memory>

#include "LICE_IBitmap.h"

// Text layout flags for LICE_CachedFont::DrawText.
enum
{
  LICE_DT_CENTER = 0x1,
  LICE_DT_RIGHT = 0x2,
  LICE_DT_VCENTER = 0x4,
  LICE_DT_BOTTOM = 0x8,
  LICE_DT_SINGLELINE = 0x20,    // '\n' is drawn as a glyph, not a line break
  LICE_DT_NOCLIP = 0x100,       // clip to the bitmap only, not to the rectangle
  LICE_DT_CALCRECT = 0x400,     // measure: set rect's right and bottom, draw nothing
  LICE_DT_USEFGALPHA = 0x40000000,  // weigh glyphs by the text colour's alpha
};

// Font request qualities.
enum
{
  LICE_FONT_QUALITY_DEFAULT = 0,         // antialiased
  LICE_FONT_QUALITY_NONANTIALIASED = 3,  // one-bit glyphs
  LICE_FONT_QUALITY_ANTIALIASED = 4,
};

// Flags for LICE_CachedFont::SetFromHFont.
enum
{
  LICE_FONT_FLAG_PRECACHE = 0x200,         // render the printable ASCII glyphs at once
  LICE_FONT_FLAG_NATIVE_HINTING = 0x400,   // the face's own hinting instead of light auto-hinting
};

// A typeface at one pixel size, found through fontconfig and opened with
// FreeType. Owned by whoever holds it until handed to a LICE_CachedFont.
struct LICE_FontFace;
typedef LICE_FontFace* LICE_HFONT;

// [main thread] Finds the face nearest the request. height > 0 asks for a line
// (ascent plus descent) of that many pixels, height < 0 for an em of -height
// pixels, 0 for a 12-pixel line. weight 700 and up is bold (synthesised when
// the face has no bold); width, escapement, orientation, underline and
// strikeout are accepted and ignored. A face name that is not installed
// ("Monaco" on most systems) falls back to the nearest one that is. Null only
// when no usable face exists at all.
LICE_HFONT LICE_CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                           bool underline, bool strikeout, int quality, const char* faceName);
void LICE_DestroyFont(LICE_HFONT font);
// The file the face came from (for diagnostics and tests).
const char* LICE_GetFontFile(LICE_HFONT font);

// A font with a glyph cache, a text colour and a blend mode. Glyphs are
// rendered once per code point and composited by the blend rules.
// Threads: [main thread]; one font is used by one thread at a time.
class LICE_CachedFont
{
public:
  LICE_CachedFont();
  ~LICE_CachedFont();
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  // Takes ownership of font (destroyed with this object or the next call).
  // False for a null font.
  bool SetFromHFont(LICE_HFONT font, int flags = 0);
  LICE_HFONT GetHFont() const;
  // Pixels from one line's top to the next.
  int GetLineHeight() const;

  void SetTextColor(LICE_pixel color) { m_color = color; }
  LICE_pixel GetTextColor() const { return m_color; }
  // Blend mode and weight for glyphs (default COPY at 1.0).
  void SetCombineMode(int mode, float alpha = 1.0f)
  {
    m_mode = mode;
    m_alpha = alpha;
  }

  // Draws (or with LICE_DT_CALCRECT measures) strcnt bytes of UTF-8 text, or
  // up to the terminator when strcnt < 0, laid out in rect by the LICE_DT_
  // flags. Returns the height of the text block; 0 for no text or no font.
  int DrawText(LICE_IBitmap* bm, const char* str, int strcnt, LICE_Rect* rect, unsigned int flags);

private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
  LICE_pixel m_color = 0xFF000000u;
  int m_mode = 0;
  float m_alpha = 1.0f;
};
