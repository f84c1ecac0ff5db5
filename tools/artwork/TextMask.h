#pragma once
#include <cstddef>
#include <vector>

// Text as coverage (0..1 per pixel), rendered by the raster library's cached
// fonts so the panel's lettering is the same FreeType output the editor uses.
class TextMask
{
public:
  // em: pixel size of the em square. tracking: extra pixels after each letter.
  TextMask(const char* face, int em, bool bold, float tracking, const char* text);

  int width() const { return m_w; }
  int height() const { return m_h; }
  // Pixels from the mask's top to the capital letters' top and to the baseline.
  int capTop() const { return m_capTop; }
  int baseline() const { return m_baseline; }
  // Coverage at an integer pixel; 0 outside.
  float at(int x, int y) const
  {
    return x < 0 || y < 0 || x >= m_w || y >= m_h ? 0.0f : m_cov[static_cast<size_t>(y) * m_w + x];
  }
  // Coverage blurred over a box of (2 r + 1) pixels, for glows and bevels.
  float blurred(int x, int y, int r) const;

private:
  int m_w = 0, m_h = 0, m_capTop = 0, m_baseline = 0;
  std::vector<float> m_cov;
};
