#pragma once
#include <cstddef>
#include <vector>

#include "LICE_IBitmap.h"

// Colour with premultiplied alpha, channels 0..1 in sRGB space: the artwork
// is designed and blended in the values the eye compares.
struct Rgba
{
  float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba opaque(float r, float g, float b) { return {r, g, b, 1.0f}; }
// Straight colour at coverage a, premultiplied.
inline Rgba withAlpha(float r, float g, float b, float a) { return {r * a, g * a, b * a, a}; }
inline Rgba scaled(const Rgba& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a * k}; }
// top over bottom, both premultiplied.
inline Rgba over(const Rgba& top, const Rgba& bottom)
{
  const float k = 1.0f - top.a;
  return {top.r + bottom.r * k, top.g + bottom.g * k, top.b + bottom.b * k, top.a + bottom.a * k};
}
inline Rgba lerp(const Rgba& a, const Rgba& b, float t)
{
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// A floating-point drawing surface. Layers are evaluated per sample point and
// composited over what is there; the result is quantised once, with dither,
// into a raster bitmap.
class Canvas
{
public:
  Canvas(int w, int h) : m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h) {}

  int width() const { return m_w; }
  int height() const { return m_h; }
  Rgba& at(int x, int y) { return m_px[static_cast<size_t>(y) * m_w + x]; }
  const Rgba& at(int x, int y) const { return m_px[static_cast<size_t>(y) * m_w + x]; }

  // Composites shade(x, y) (premultiplied colour at a point, pixel centres at
  // +0.5) over the pixels of [x0, x1) × [y0, y1), averaging ss × ss samples.
  template <class Shader>
  void layer(int x0, int y0, int x1, int y1, int ss, Shader&& shade)
  {
    x0 = x0 < 0 ? 0 : x0, y0 = y0 < 0 ? 0 : y0;
    x1 = x1 > m_w ? m_w : x1, y1 = y1 > m_h ? m_h : y1;
    const float step = 1.0f / static_cast<float>(ss), weight = step * step;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
      {
        Rgba sum;
        for (int j = 0; j < ss; ++j)
          for (int i = 0; i < ss; ++i)
          {
            const Rgba c = shade(x + (i + 0.5f) * step, y + (j + 0.5f) * step);
            sum.r += c.r, sum.g += c.g, sum.b += c.b, sum.a += c.a;
          }
        at(x, y) = over(scaled(sum, weight), at(x, y));
      }
  }
  template <class Shader>
  void layer(int ss, Shader&& shade)
  {
    layer(0, 0, m_w, m_h, ss, shade);
  }

  // Into dest at (dx, dy), replacing its pixels. Colour channels are rounded
  // at random (seeded by position, so the output is reproducible), which
  // turns the steps of a slow gradient into invisible noise; alpha is rounded
  // to nearest so empty stays exactly empty.
  void quantise(LICE_IBitmap* dest, int dx, int dy, unsigned seed) const;

private:
  int m_w, m_h;
  std::vector<Rgba> m_px;
};
