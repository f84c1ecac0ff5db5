#include "LICE_CachedFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "blend_ops.h"

using namespace lice_detail;

struct LICE_FontFace
{
  FT_Face face = nullptr;
  std::string file;
  int ppem = 0;
  int ascent = 0;      // pixels from the line's top to the baseline
  int lineHeight = 0;  // ascent plus descent
  bool mono = false;
  bool emboldenSynthetic = false;
  bool obliqueSynthetic = false;
};

namespace {

// FreeType's library object and fontconfig are shared by every font; faces
// are opened and closed under this lock.
std::mutex g_lock;
FT_Library g_ft = nullptr;

FT_Library library()
{
  if (!g_ft && FT_Init_FreeType(&g_ft) != 0) g_ft = nullptr;
  return g_ft;
}

// The library goes when the module is unloaded and no face is left open. The
// process-wide font storage may close its faces after this file's statics
// have gone (or before), so whichever comes last releases it; a host that
// loads and unloads the bundle repeatedly then leaks nothing. [g_lock held]
int g_liveFaces = 0;
bool g_unloading = false;

void releaseLibraryWhenUnused()
{
  if (g_unloading && g_liveFaces == 0 && g_ft)
  {
    FT_Done_FreeType(g_ft);
    g_ft = nullptr;
  }
}

struct FreeTypeOwner
{
  ~FreeTypeOwner()
  {
    std::lock_guard<std::mutex> lock(g_lock);
    g_unloading = true;
    releaseLibraryWhenUnused();
  }
};
FreeTypeOwner g_freeTypeOwner;

// Our own fontconfig configuration rather than the process default: a host
// may use fontconfig itself, and the default one cannot be released without
// tearing down the host's (it would otherwise show up as a leak at exit).
struct FontConfigOwner
{
  FcConfig* config = nullptr;
  ~FontConfigOwner()
  {
    if (config) FcConfigDestroy(config);
  }
};

FcConfig* fontConfig()
{
  static FontConfigOwner owner;
  if (!owner.config) owner.config = FcInitLoadConfigAndFonts();
  return owner.config;
}

// The file and face index fontconfig considers nearest to the request, and
// whether that face is already bold and italic.
bool matchFace(const char* family, bool bold, bool italic, std::string* file, int* index, bool* isBold,
               bool* isItalic)
{
  FcConfig* config = fontConfig();
  if (!config) return false;
  FcPattern* pat = FcPatternCreate();
  if (!pat) return false;
  if (family && *family) FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pat, &result);
  FcPatternDestroy(pat);
  if (!match) return false;
  FcChar8* path = nullptr;
  int idx = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  const bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
  if (ok) *file = reinterpret_cast<const char*>(path);
  FcPatternGetInteger(match, FC_INDEX, 0, &idx);
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  FcPatternDestroy(match);
  *index = idx;
  *isBold = weight >= FC_WEIGHT_DEMIBOLD;
  *isItalic = slant != FC_SLANT_ROMAN;
  return ok;
}

struct Glyph
{
  int left = 0, top = 0, width = 0, height = 0;
  FT_Pos advance = 0;  // 26.6
  std::vector<unsigned char> coverage;
};

// One code point from UTF-8; malformed bytes stand for themselves (Latin-1).
uint32_t nextCodePoint(const unsigned char*& p, const unsigned char* end)
{
  const unsigned char c = *p++;
  int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (c >= 0x80 && c < 0xC0) extra = 0;
  if (extra == 0 || end - p < extra) return c;
  uint32_t cp = c & (0x3F >> extra);
  for (int i = 0; i < extra; ++i)
  {
    if ((p[i] & 0xC0) != 0x80) return c;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  p += extra;
  return cp;
}

}  // namespace

LICE_HFONT LICE_CreateFont(int height, int, int, int, int weight, bool italic, bool, bool, int quality,
                           const char* faceName)
{
  std::lock_guard<std::mutex> lock(g_lock);
  FT_Library lib = library();
  if (!lib) return nullptr;
  const bool bold = weight >= 700;
  const char* const fallbacks[] = {faceName, "sans-serif", "monospace", "DejaVu Sans"};
  for (const char* family : fallbacks)
  {
    std::string file;
    int index = 0;
    bool isBold = false, isItalic = false;
    if (!matchFace(family, bold, italic, &file, &index, &isBold, &isItalic)) continue;
    FT_Face face = nullptr;
    if (FT_New_Face(lib, file.c_str(), index, &face) != 0) continue;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 || face->ascender - face->descender <= 0)
    {
      FT_Done_Face(face);
      continue;
    }
    // A cell of `height` pixels: the em is scaled by height / (ascender - descender).
    const double cell = static_cast<double>(face->ascender - face->descender) / face->units_per_EM;
    int ppem = height > 0 ? static_cast<int>(std::lround(height / cell)) : (height < 0 ? -height : 0);
    if (height == 0) ppem = static_cast<int>(std::lround(12 / cell));
    ppem = std::clamp(ppem, 1, 1000);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0)
    {
      FT_Done_Face(face);
      continue;
    }
    LICE_FontFace* f = new LICE_FontFace;
    ++g_liveFaces;
    f->face = face;
    f->file = file;
    f->ppem = ppem;
    f->ascent = static_cast<int>(std::lround(static_cast<double>(face->ascender) * ppem / face->units_per_EM));
    f->lineHeight = std::max(1, static_cast<int>(std::lround(cell * ppem)));
    f->mono = quality == LICE_FONT_QUALITY_NONANTIALIASED;
    f->emboldenSynthetic = bold && !isBold;
    f->obliqueSynthetic = italic && !isItalic;
    return f;
  }
  return nullptr;
}

void LICE_DestroyFont(LICE_HFONT font)
{
  if (!font) return;
  std::lock_guard<std::mutex> lock(g_lock);
  FT_Done_Face(font->face);
  delete font;
  --g_liveFaces;
  releaseLibraryWhenUnused();
}

const char* LICE_GetFontFile(LICE_HFONT font) { return font ? font->file.c_str() : ""; }

struct LICE_CachedFont::Impl
{
  LICE_HFONT font = nullptr;
  int flags = 0;
  std::unordered_map<uint32_t, Glyph> glyphs;

  ~Impl() { LICE_DestroyFont(font); }

  const Glyph& glyph(uint32_t cp)
  {
    auto it = glyphs.find(cp);
    if (it != glyphs.end()) return it->second;
    Glyph& g = glyphs[cp];
    FT_Face face = font->face;
    FT_Int32 load = FT_LOAD_DEFAULT;
    if (font->mono)
      load |= FT_LOAD_TARGET_MONO;
    else if (!(flags & LICE_FONT_FLAG_NATIVE_HINTING))
      load |= FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Char(face, cp, load) != 0) return g;
    if (font->emboldenSynthetic) FT_GlyphSlot_Embolden(face->glyph);
    if (font->obliqueSynthetic) FT_GlyphSlot_Oblique(face->glyph);
    if (FT_Render_Glyph(face->glyph, font->mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = face->glyph->bitmap;
    g.advance = face->glyph->advance.x;
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
    for (int y = 0; y < g.height; ++y)
    {
      const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x)
        g.coverage[static_cast<size_t>(y) * g.width + x] =
            bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
    }
    return g;
  }
};

LICE_CachedFont::LICE_CachedFont() : m_impl(new Impl) {}
LICE_CachedFont::~LICE_CachedFont() = default;

bool LICE_CachedFont::SetFromHFont(LICE_HFONT font, int flags)
{
  if (!font) return false;
  if (m_impl->font != font) LICE_DestroyFont(m_impl->font);
  m_impl->font = font;
  m_impl->flags = flags;
  m_impl->glyphs.clear();
  if (flags & LICE_FONT_FLAG_PRECACHE)
    for (uint32_t c = 32; c < 127; ++c) m_impl->glyph(c);
  return true;
}

LICE_HFONT LICE_CachedFont::GetHFont() const { return m_impl->font; }

int LICE_CachedFont::GetLineHeight() const { return m_impl->font ? m_impl->font->lineHeight : 0; }

int LICE_CachedFont::DrawText(LICE_IBitmap* bm, const char* str, int strcnt, LICE_Rect* rect, unsigned int flags)
{
  LICE_FontFace* font = m_impl->font;
  if (!font || !str || !rect) return 0;
  const size_t len = strcnt < 0 ? std::strlen(str) : static_cast<size_t>(strcnt);
  if (len == 0) return 0;

  // 1. Lines as code points and their widths in 26.6.
  struct Line
  {
    std::vector<uint32_t> cps;
    FT_Pos width = 0;
  };
  std::vector<Line> lines(1);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(str);
  const unsigned char* end = p + len;
  while (p < end)
  {
    const uint32_t cp = nextCodePoint(p, end);
    if (cp == 0) break;
    if (!(flags & LICE_DT_SINGLELINE) && (cp == '\n' || cp == '\r'))
    {
      if (cp == '\r' && p < end && *p == '\n') ++p;
      lines.emplace_back();
      continue;
    }
    lines.back().cps.push_back(cp);
    lines.back().width += m_impl->glyph(cp).advance;
  }
  const int lineHeight = font->lineHeight;
  const int blockHeight = lineHeight * static_cast<int>(lines.size());
  int blockWidth = 0;
  for (const Line& l : lines) blockWidth = std::max(blockWidth, static_cast<int>((l.width + 63) >> 6));

  if (flags & LICE_DT_CALCRECT)
  {
    rect->right = rect->left + blockWidth;
    rect->bottom = rect->top + blockHeight;
    return blockHeight;
  }

  // 2. The blend, chosen once for the whole text.
  const Surface s(bm);
  const int idx = opIndex(m_mode, true);
  const int weight = weightFromAlpha(sanitizeAlpha(m_alpha));
  if (!s.ok() || idx < 0 || weight <= 0) return blockHeight;
  const PlotFn plot = kPlot[idx];
  const bool useAlpha = (flags & LICE_DT_USEFGALPHA) != 0;
  const int cb = static_cast<int>(LICE_GETB(m_color)), cg = static_cast<int>(LICE_GETG(m_color)),
            cr = static_cast<int>(LICE_GETR(m_color)), ca = useAlpha ? static_cast<int>(LICE_GETA(m_color)) : 255;
  // As with source alpha in the blend rules: alpha 0 leaves the pixels alone.
  const int textWeight = useAlpha ? (ca == 0 ? 0 : weight * (ca + 1) / 256) : weight;
  if (textWeight <= 0) return blockHeight;

  // 3. Clip to the rectangle unless asked not to, always to the bitmap.
  long long cl = 0, ct = 0, cr2 = s.w, cb2 = s.h;
  if (!(flags & LICE_DT_NOCLIP))
  {
    cl = std::max<long long>(cl, rect->left), ct = std::max<long long>(ct, rect->top);
    cr2 = std::min<long long>(cr2, rect->right), cb2 = std::min<long long>(cb2, rect->bottom);
  }
  if (cl >= cr2 || ct >= cb2) return blockHeight;

  long long top = rect->top;
  const long long rectH = static_cast<long long>(rect->bottom) - rect->top;
  if (flags & LICE_DT_VCENTER) top += (rectH - blockHeight) / 2;
  else if (flags & LICE_DT_BOTTOM) top = static_cast<long long>(rect->bottom) - blockHeight;

  for (const Line& l : lines)
  {
    const long long lineWidth = (l.width + 63) >> 6;
    long long x0 = rect->left;
    if (flags & LICE_DT_CENTER) x0 += ((static_cast<long long>(rect->right) - rect->left) - lineWidth) / 2;
    else if (flags & LICE_DT_RIGHT) x0 = static_cast<long long>(rect->right) - lineWidth;
    const long long baseline = top + font->ascent;
    FT_Pos pen = 0;
    for (uint32_t cp : l.cps)
    {
      const Glyph& g = m_impl->glyph(cp);
      const long long gx = x0 + ((pen + 32) >> 6) + g.left, gy = baseline - g.top;
      pen += g.advance;
      for (int y = 0; y < g.height; ++y)
      {
        const long long py = gy + y;
        if (py < ct || py >= cb2) continue;
        LICE_pixel* row = s.row(static_cast<int>(py));
        const unsigned char* cov = &g.coverage[static_cast<size_t>(y) * g.width];
        for (int x = 0; x < g.width; ++x)
        {
          const long long px = gx + x;
          if (!cov[x] || px < cl || px >= cr2) continue;
          const int c = cov[x] + (cov[x] >> 7);  // 0..256
          plot(row + px, cb, cg, cr, ca, textWeight * c / 256);
        }
      }
    }
    top += lineHeight;
  }
  return blockHeight;
}
