#include "X11Scaler.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "LICE_IBitmap.h"

namespace
{
struct Tap
{
  int i0, i1;
  uint32_t f; // weight of i1, 0..256
};

Tap TapFor(int d, double scale, int n)
{
  double s = (d + 0.5) / scale - 0.5;
  if (s < 0) s = 0;
  const int i0 = static_cast<int>(s);
  Tap t;
  t.i0 = i0 < n - 1 ? i0 : n - 1;
  t.i1 = i0 + 1 < n - 1 ? i0 + 1 : n - 1;
  t.f = static_cast<uint32_t>((s - i0) * 256.0 + 0.5);
  if (t.f > 256) t.f = 256;
  return t;
}

// Red and blue in one word, green in another: each lane has room for the
// 8 x 8-bit products, so a blend is two multiplies per pair of channels.
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t f)
{
  const uint32_t g = 256 - f;
  const uint32_t rb = (((a & 0xFF00FFu) * g + (b & 0xFF00FFu) * f) >> 8) & 0xFF00FFu;
  const uint32_t gg = (((a & 0x00FF00u) * g + (b & 0x00FF00u) * f) >> 8) & 0x00FF00u;
  return rb | gg;
}
} // namespace

void X11ScaleArea(LICE_IBitmap* src, LICE_IBitmap* dst, double scale, const IRECT& area)
{
  if (!src || !dst || !(scale > 0)) return;
  const int sw = src->getWidth(), sh = src->getHeight();
  const int l = area.L < 0 ? 0 : area.L, t = area.T < 0 ? 0 : area.T;
  const int r = area.R > dst->getWidth() ? dst->getWidth() : area.R;
  const int b = area.B > dst->getHeight() ? dst->getHeight() : area.B;
  if (sw <= 0 || sh <= 0 || r <= l || b <= t) return;
  std::vector<Tap> cols(static_cast<size_t>(r - l));
  for (int x = l; x < r; ++x) cols[static_cast<size_t>(x - l)] = TapFor(x, scale, sw);
  const LICE_pixel* in = src->getBits();
  LICE_pixel* out = dst->getBits();
  const int inSpan = src->getRowSpan(), outSpan = dst->getRowSpan();
  for (int y = t; y < b; ++y)
  {
    const Tap row = TapFor(y, scale, sh);
    const LICE_pixel* r0 = in + static_cast<size_t>(row.i0) * inSpan;
    const LICE_pixel* r1 = in + static_cast<size_t>(row.i1) * inSpan;
    LICE_pixel* o = out + static_cast<size_t>(y) * outSpan + l;
    for (const Tap& c : cols)
    {
      const uint32_t top = Mix(r0[c.i0], r0[c.i1], c.f);
      const uint32_t bottom = Mix(r1[c.i0], r1[c.i1], c.f);
      *o++ = 0xFF000000u | Mix(top, bottom, row.f);
    }
  }
}
