#include <emmintrin.h>

#include <iterator>

#include "blend_ops.h"

namespace lice_detail {

const PlotFn kPlot[kOpSlots] = {
    plotPixel<OpCopy>,    plotPixel<OpCopySA>,    plotPixel<OpAdd>, plotPixel<OpAddSA>,
    plotPixel<OpDodge>,   plotPixel<OpDodgeSA>,   plotPixel<OpMul>, plotPixel<OpMulSA>,
    plotPixel<OpOverlay>, plotPixel<OpOverlaySA>, plotPixel<OpHsv>, plotPixel<OpHsvSA>,
};
static_assert(std::size(kPlot) == kOpSlots, "one plot per operation and source-alpha form");

const BlitRowFn kBlitRow[kOpSlots] = {
    blitRow<OpCopy>,    blitRow<OpCopySA>,    blitRow<OpAdd>, blitRow<OpAddSA>, blitRow<OpDodge>, blitRow<OpDodgeSA>,
    blitRow<OpMul>,     blitRow<OpMulSA>,     blitRow<OpOverlay>, blitRow<OpOverlaySA>, blitRow<OpHsv>, blitRow<OpHsvSA>,
};
static_assert(std::size(kBlitRow) == kOpSlots, "one blit row per operation and source-alpha form");

const FillRowFn kFillRow[kOpSlots] = {
    fillRow<OpCopy>,    fillRow<OpCopySA>,    fillRow<OpAdd>, fillRow<OpAddSA>, fillRow<OpDodge>, fillRow<OpDodgeSA>,
    fillRow<OpMul>,     fillRow<OpMulSA>,     fillRow<OpOverlay>, fillRow<OpOverlaySA>, fillRow<OpHsv>, fillRow<OpHsvSA>,
};
static_assert(std::size(kFillRow) == kOpSlots, "one fill row per operation and source-alpha form");

namespace {

// recip(i) = floor(65536 / i) - 1, recip(0) = 0.
struct RecipTable
{
  int v[256];
  constexpr RecipTable() : v()
  {
    v[0] = 0;
    for (int i = 1; i < 256; ++i) v[i] = 65536 / i - 1;
  }
};
constexpr RecipTable kRecip;

// s + trunc((d - s) * k / 256) on eight 16-bit channels, k in 0..255. The
// product of |d - s| and k fits 16 unsigned bits, so the truncating signed
// division becomes a shift of the magnitude with the sign put back.
inline __m128i lerpTrunc16(__m128i d, __m128i s, __m128i k)
{
  const __m128i diff = _mm_sub_epi16(d, s);
  const __m128i neg = _mm_cmplt_epi16(diff, _mm_setzero_si128());
  const __m128i mag = _mm_sub_epi16(_mm_xor_si128(diff, neg), neg);
  const __m128i q = _mm_srli_epi16(_mm_mullo_epi16(mag, k), 8);
  return _mm_add_epi16(s, _mm_sub_epi16(_mm_xor_si128(q, neg), neg));
}

}  // namespace

void rgbToHsv(int r, int g, int b, int* h, int* s, int* v)
{
  int mx, mn, hue;
  if (r >= g && r >= b)
  {
    mx = r;
    mn = g < b ? g : b;
    const int delta = mx - mn;
    hue = (g < b ? 383 : 0) + (g - b) * (kRecip.v[delta] + 1) / 1024;
  }
  else if (g >= b)
  {
    mx = g;
    mn = r < b ? r : b;
    const int delta = mx - mn;
    hue = 128 + (b - r) * (kRecip.v[delta] + 1) / 1024;
  }
  else
  {
    mx = b;
    mn = r < g ? r : g;
    const int delta = mx - mn;
    hue = 256 + (r - g) * (kRecip.v[delta] + 1) / 1024;
  }
  *h = hue;
  *s = (mx - mn) * kRecip.v[mx] / 256;
  *v = mx;
}

void hsvToRgb(int h, int s, int v, int* r, int* g, int* b)
{
  h %= 384;
  if (h < 0) h += 384;
  s = clamp255(s);
  v = clamp255(v);
  const int sector = h >> 6;
  const int f = h & 63;
  // 14-bit fractions of the value: p = v(1 - s), q = v(1 - s f), t = v(1 - s (1 - f)).
  const int sf = s * 64;  // s in 14 bits (255 * 64 < 2^14)
  const int p = v * (16384 - sf - sf / 255) >> 14;
  const int q = v * (16384 - (sf * f / 64) - (sf * f / 64) / 255) >> 14;
  const int t = v * (16384 - (sf * (64 - f) / 64) - (sf * (64 - f) / 64) / 255) >> 14;
  switch (sector)
  {
    case 0: *r = v, *g = t, *b = p; break;
    case 1: *r = q, *g = v, *b = p; break;
    case 2: *r = p, *g = v, *b = t; break;
    case 3: *r = p, *g = q, *b = v; break;
    case 4: *r = t, *g = p, *b = v; break;
    default: *r = v, *g = p, *b = q; break;
  }
}

LICE_pixel hsvAdjust(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
{
  int h, s, v;
  rgbToHsv(chR(d), chG(d), chB(d), &h, &s, &v);
  h += w * (sr + sr / 2 - 192) / 256;
  s += w * (sg - 128) / 128;
  v += w * (sb - 128) / 128;
  int r, g, b;
  hsvToRgb(h, s, v, &r, &g, &b);
  return pack(b, g, r, sa);
}

namespace
{
// Four pixels of the source-alpha rule at full weight.
inline __m128i copySAFull4(__m128i sv, __m128i dv)
{
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i v255 = _mm_set1_epi16(255);
  const __m128i sLo = _mm_unpacklo_epi8(sv, zero), sHi = _mm_unpackhi_epi8(sv, zero);
  const __m128i dLo = _mm_unpacklo_epi8(dv, zero), dHi = _mm_unpackhi_epi8(dv, zero);
  // k = 255 - sa, broadcast to the pixel's four lanes.
  const __m128i aLo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF);
  const __m128i aHi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF);
  const __m128i rLo = lerpTrunc16(dLo, sLo, _mm_sub_epi16(v255, aLo));
  const __m128i rHi = lerpTrunc16(dHi, sHi, _mm_sub_epi16(v255, aHi));
  const __m128i colour = _mm_packus_epi16(rLo, rHi);
  // Alpha is the saturating byte sum min(255, da + sa).
  const __m128i alpha = _mm_adds_epu8(dv, sv);
  const __m128i out = _mm_or_si128(_mm_andnot_si128(alphaMask, colour), _mm_and_si128(alphaMask, alpha));
  const __m128i transparent = _mm_cmpeq_epi32(_mm_and_si128(sv, alphaMask), zero);
  return _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, out));
}

// 0xFFFF when every pixel's alpha byte equals the one in want (0 or 0xFF000000).
inline int alphaAll(__m128i v, __m128i want)
{
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, _mm_set1_epi32(static_cast<int>(0xFF000000u))), want));
}
} // namespace

void blitRowCopySAFull(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  // Opaque and transparent runs are what bitmaps mostly hold. The rule gives
  // the source pixel itself for alpha 255 (colour s, alpha min(255, da + 255))
  // and leaves the destination for alpha 0, so those runs are a copy and a skip.
  const __m128i zero = _mm_setzero_si128();
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 16 <= n; i += 16)
  {
    const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
    const __m128i s2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8));
    const __m128i s3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 12));
    if (alphaAll(_mm_and_si128(_mm_and_si128(s0, s1), _mm_and_si128(s2, s3)), opaque) == 0xFFFF)
    {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), s0);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4), s1);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), s2);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 12), s3);
      continue;
    }
    if (alphaAll(_mm_or_si128(_mm_or_si128(s0, s1), _mm_or_si128(s2, s3)), zero) == 0xFFFF) continue;
    const __m128i sv[4] = {s0, s1, s2, s3};
    for (int k = 0; k < 4; ++k)
    {
      __m128i* dp = reinterpret_cast<__m128i*>(d + i + 4 * k);
      if (alphaAll(sv[k], opaque) == 0xFFFF) _mm_storeu_si128(dp, sv[k]);
      else if (alphaAll(sv[k], zero) != 0xFFFF) _mm_storeu_si128(dp, copySAFull4(sv[k], _mm_loadu_si128(dp)));
    }
  }
  for (; i + 4 <= n; i += 4)
  {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i* dp = reinterpret_cast<__m128i*>(d + i);
    if (alphaAll(sv, opaque) == 0xFFFF) _mm_storeu_si128(dp, sv);
    else if (alphaAll(sv, zero) != 0xFFFF) _mm_storeu_si128(dp, copySAFull4(sv, _mm_loadu_si128(dp)));
  }
  blitRow<OpCopySAFull>(d + i, s + i, n - i, w);
}

void blitRowCopyWeighted(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  const __m128i zero = _mm_setzero_si128();
  const __m128i k = _mm_set1_epi16(static_cast<short>(256 - w));
  int i = 0;
  if (w >= 1 && w <= 255)
  {
    for (; i + 4 <= n; i += 4)
    {
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i rLo = lerpTrunc16(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero), k);
      const __m128i rHi = lerpTrunc16(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero), k);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(rLo, rHi));
    }
  }
  blitRow<OpCopy>(d + i, s + i, n - i, w);
}

}  // namespace lice_detail

using namespace lice_detail;

LICE_pixel LICE_CombinePixels(LICE_pixel dest, LICE_pixel src, float alpha, int mode)
{
  const int w = weightFromAlpha(alpha);
  const int idx = opIndex(mode, true);
  if (w <= 0 || idx < 0) return dest;
  LICE_pixel p = dest;
  if (idx == 1 && w == 256)
    p = OpCopySAFull::apply(p, chB(src), chG(src), chR(src), chA(src), w);
  else
    kPlot[idx](&p, chB(src), chG(src), chR(src), chA(src), w);
  return p;
}

namespace {
inline int limitWeight(int w) { return w < 0 ? 0 : (w > 256 ? 256 : w); }
}  // namespace

void LICE_CombinePixels2(LICE_pixel* dest, int r, int g, int b, int a, int weight, int mode)
{
  const int w = limitWeight(weight);
  const int idx = opIndex(mode, true);
  if (!dest || w == 0 || idx < 0) return;
  r = clamp255(r), g = clamp255(g), b = clamp255(b), a = clamp255(a);
  if (idx == 1 && w == 256)
    *dest = OpCopySAFull::apply(*dest, b, g, r, a, w);
  else
    kPlot[idx](dest, b, g, r, a, w);
}

void LICE_CombinePixels2Clamp(LICE_pixel* dest, int r, int g, int b, int a, int weight, int mode)
{
  const int w = limitWeight(weight);
  const int idx = opIndex(mode, true);
  if (!dest || w == 0 || idx < 0) return;
  // Gradients overshoot a little; anything wilder is limited so no product overflows.
  const auto lim = [](int v) { return v < -32768 ? -32768 : (v > 32767 ? 32767 : v); };
  r = lim(r), g = lim(g), b = lim(b), a = lim(a);
  if (idx == LICE_OP_COPY * 2)
    *dest = OpCopyClamp::apply(*dest, b, g, r, a, w);
  else if (idx == LICE_OP_MUL * 2)
    *dest = OpMulClamp::apply(*dest, b, g, r, a, w);
  else
    LICE_CombinePixels2(dest, r, g, b, a, w, mode);
}
