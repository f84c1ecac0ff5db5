#include "Canvas.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace {

unsigned channel(float v, float dither)
{
  const float q = std::floor(std::clamp(v, 0.0f, 1.0f) * 255.0f + dither);
  return static_cast<unsigned>(std::clamp(q, 0.0f, 255.0f));
}

}  // namespace

void Canvas::quantise(LICE_IBitmap* dest, int dx, int dy, unsigned seed) const
{
  LICE_pixel* bits = dest->getBits();
  const int span = dest->getRowSpan();
  for (int y = 0; y < m_h; ++y)
  {
    const int ty = dy + y;
    if (ty < 0 || ty >= dest->getHeight()) continue;
    for (int x = 0; x < m_w; ++x)
    {
      const int tx = dx + x;
      if (tx < 0 || tx >= dest->getWidth()) continue;
      const Rgba& c = at(x, y);
      const unsigned a = static_cast<unsigned>(std::lround(std::clamp(c.a, 0.0f, 1.0f) * 255.0f));
      LICE_pixel p = 0;
      if (a > 0)
      {
        const float inv = 1.0f / c.a;
        p = LICE_RGBA(channel(c.r * inv, hash01(x, y, seed)), channel(c.g * inv, hash01(x, y, seed + 1)),
                      channel(c.b * inv, hash01(x, y, seed + 2)), a);
      }
      bits[static_cast<ptrdiff_t>(ty) * span + tx] = p;
    }
  }
}
