#pragma once
// Bitmaps for tests: one that guards every pixel outside its area, so any
// write past an edge shows up, and helpers to fill and compare pixels.
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "LICE_IBitmap.h"

namespace rastertest {

constexpr LICE_pixel kCanary = 0xDEADBEEFu;

// Pixel area w x h inside a block padded by `guard` pixels on every side.
// Optionally flipped: logical row y lies at memory row h - 1 - y.
class GuardedBitmap : public LICE_IBitmap
{
public:
  GuardedBitmap(int w, int h, bool flipped = false, int guard = 8)
      : m_w(w), m_h(h), m_g(guard), m_span(w + 2 * guard), m_flipped(flipped),
        m_buf(static_cast<size_t>(m_span) * (h + 2 * guard), kCanary)
  {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) mem(x, y) = 0;
  }
  LICE_pixel* getBits() override { return &m_buf[static_cast<size_t>(m_g) * m_span + m_g]; }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_span; }
  bool isFlipped() override { return m_flipped; }
  bool resize(int, int) override { return false; }

  // Logical pixel access (honours flipping).
  LICE_pixel& at(int x, int y) { return mem(x, m_flipped ? m_h - 1 - y : y); }
  // True when nothing outside the area changed.
  bool guardsIntact() const
  {
    for (size_t i = 0; i < m_buf.size(); ++i)
    {
      const long row = static_cast<long>(i / m_span) - m_g, col = static_cast<long>(i % m_span) - m_g;
      const bool inside = row >= 0 && row < m_h && col >= 0 && col < m_w;
      if (!inside && m_buf[i] != kCanary) return false;
    }
    return true;
  }
  void fill(LICE_pixel v)
  {
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) mem(x, y) = v;
  }
  void randomize(std::mt19937& rng)
  {
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) mem(x, y) = static_cast<LICE_pixel>(rng());
  }

private:
  LICE_pixel& mem(int x, int y) { return m_buf[static_cast<size_t>(y + m_g) * m_span + x + m_g]; }

  int m_w, m_h, m_g, m_span;
  bool m_flipped;
  std::vector<LICE_pixel> m_buf;
};

inline std::string hex(LICE_pixel p)
{
  char buf[16];
  snprintf(buf, sizeof buf, "%08X", p);
  return buf;
}

// Pixel built from (r, g, b, a) for readable expectations.
constexpr LICE_pixel px(unsigned r, unsigned g, unsigned b, unsigned a) { return LICE_RGBA(r, g, b, a); }

using PixelSet = std::set<std::pair<int, int>>;

// Coordinates of every pixel that is not zero.
inline PixelSet lit(GuardedBitmap& bm)
{
  PixelSet out;
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      if (bm.at(x, y)) out.insert({x, y});
  return out;
}

}  // namespace rastertest
