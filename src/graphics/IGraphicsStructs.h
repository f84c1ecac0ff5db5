#pragma once
#include "LICE_IBitmap.h"

class LICE_CachedFont;

// Integer rectangle: right and bottom exclusive, y downward; all zero is empty.
struct IRECT
{
  int L = 0, T = 0, R = 0, B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  void Clear() { L = T = R = B = 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }
  bool operator==(const IRECT& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRECT& o) const { return !(*this == o); }
  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }
  // Not symmetric: a rectangle whose right edge equals other's left edge intersects it.
  bool Intersects(const IRECT& o) const { return !Empty() && !o.Empty() && R >= o.L && L < o.R && B >= o.T && T < o.B; }
  IRECT Intersect(const IRECT& o) const;
  IRECT Union(const IRECT& o) const;
};

struct IColor
{
  int A = 255, R = 0, G = 0, B = 0;

  IColor() = default;
  IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}
  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }
  // The raster library's pixel, from the low byte of each channel.
  LICE_pixel Packed() const
  {
    return (static_cast<LICE_pixel>(A & 255) << 24) | (static_cast<LICE_pixel>(R & 255) << 16) |
           (static_cast<LICE_pixel>(G & 255) << 8) | static_cast<LICE_pixel>(B & 255);
  }
  static IColor FromPacked(LICE_pixel p)
  {
    return IColor(static_cast<int>(LICE_GETA(p)), static_cast<int>(LICE_GETR(p)), static_cast<int>(LICE_GETG(p)),
                  static_cast<int>(LICE_GETB(p)));
  }
};

extern const IColor COLOR_TRANSPARENT, COLOR_BLACK, COLOR_GRAY, COLOR_WHITE, COLOR_RED, COLOR_GREEN, COLOR_BLUE,
  COLOR_YELLOW, COLOR_ORANGE;
extern const IColor DEFAULT_TEXT_COLOR, DEFAULT_TEXT_ENTRY_BGCOLOR, DEFAULT_TEXT_ENTRY_FGCOLOR;

struct IChannelBlend
{
  enum EBlendMethod : int // any int is a value: unknown methods blend as method 0
  {
    kBlendNone = 0, // source alpha
    kBlendClobber,  // opaque copy
    kBlendAdd,
    kBlendColorDodge,
  };
  EBlendMethod mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend(int method = kBlendNone, float weight = 1.0f)
    : mMethod(static_cast<EBlendMethod>(method)), mWeight(weight)
  {
  }
};

// Raster weight and mode word for a blend; none given is source-alpha COPY at 1.0.
float LiceWeight(const IChannelBlend* blend);
int LiceBlendMode(const IChannelBlend* blend);

// An image with its frames stacked top to bottom (or side by side).
struct IBitmap
{
  LICE_IBitmap* mData = nullptr;
  int W = 0, H = 0, N = 1;
  bool mFramesAreHorizontal = false;

  IBitmap() = default;
  IBitmap(LICE_IBitmap* data, int w, int h, int n = 1, bool framesAreHorizontal = false)
    : mData(data), W(w), H(h), N(n), mFramesAreHorizontal(framesAreHorizontal)
  {
  }
  int frameWidth() const { return N > 0 && mFramesAreHorizontal ? W / N : W; }
  int frameHeight() const { return N > 0 && !mFramesAreHorizontal ? H / N : H; }
};

struct IText
{
  static constexpr int kFontNameSize = 32;
  enum EStyle
  {
    kStyleNormal,
    kStyleBold,
    kStyleItalic
  };
  enum EAlign
  {
    kAlignNear,
    kAlignCenter,
    kAlignFar
  };
  enum EQuality
  {
    kQualityDefault,
    kQualityNonAntiAliased,
    kQualityAntiAliased,
    kQualityClearType
  };

  char mFont[kFontNameSize] = "Monaco";
  int mSize = 10;
  IColor mColor = IColor(255, 0, 0, 0);
  IColor mTextEntryBGColor = IColor(255, 255, 255, 255);
  IColor mTextEntryFGColor = IColor(255, 0, 0, 0);
  EStyle mStyle = kStyleNormal;
  EAlign mAlign = kAlignCenter;
  int mOrientation = 0; // tenths of degrees are orientation x 10
  EQuality mQuality = kQualityDefault;
  LICE_CachedFont* mCached = nullptr; // owned by the font storage

  IText() = default;
  IText(int size, const IColor* color = nullptr, const char* font = nullptr, EStyle style = kStyleNormal,
        EAlign align = kAlignCenter, int orientation = 0, EQuality quality = kQualityDefault,
        const IColor* textEntryBG = nullptr, const IColor* textEntryFG = nullptr);
  explicit IText(const IColor* color);
};

struct IMouseMod
{
  bool L = false, R = false, S = false, C = false, A = false;
  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false) : L(l), R(r), S(s), C(c), A(a) {}
};
