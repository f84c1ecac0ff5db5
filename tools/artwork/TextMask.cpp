#include "TextMask.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "LICE_CachedFont.h"
#include "LICE_MemBitmap.h"
#include "lice_blit.h"

TextMask::TextMask(const char* face, int em, bool bold, float tracking, const char* text)
{
  LICE_CachedFont font;
  if (!font.SetFromHFont(LICE_CreateFont(-em, 0, 0, 0, bold ? 700 : 400, false, false, false,
                                         LICE_FONT_QUALITY_ANTIALIASED, face)))
    return;
  font.SetTextColor(0xFFFFFFFFu);
  font.SetCombineMode(LICE_OP_COPY, 1.0f);

  // Letter by letter, so the caps can be spaced out as printed panels are.
  const std::string s(text);
  std::vector<int> advance(s.size());
  float total = 0;
  for (size_t i = 0; i < s.size(); ++i)
  {
    LICE_Rect r{0, 0, 0, 0};
    font.DrawText(nullptr, s.c_str() + i, 1, &r, LICE_DT_CALCRECT | LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
    advance[i] = r.right - r.left;
    total += static_cast<float>(advance[i]) + (i + 1 < s.size() ? tracking : 0.0f);
  }
  const int line = font.GetLineHeight();
  m_w = static_cast<int>(std::ceil(total)) + 4;
  m_h = line + 4;
  LICE_MemBitmap bm(m_w, m_h);
  LICE_Clear(&bm, 0xFF000000u);
  float pen = 2;
  for (size_t i = 0; i < s.size(); ++i)
  {
    LICE_Rect r{static_cast<int>(std::lround(pen)), 2, m_w, m_h};
    font.DrawText(&bm, s.c_str() + i, 1, &r, LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
    pen += static_cast<float>(advance[i]) + tracking;
  }
  m_cov.resize(static_cast<size_t>(m_w) * m_h);
  m_capTop = m_h, m_baseline = 0;
  for (int y = 0; y < m_h; ++y)
    for (int x = 0; x < m_w; ++x)
    {
      const float c = static_cast<float>(LICE_GETG(LICE_GetPixel(&bm, x, y))) / 255.0f;
      m_cov[static_cast<size_t>(y) * m_w + x] = c;
      if (c > 0.5f) m_capTop = std::min(m_capTop, y), m_baseline = std::max(m_baseline, y + 1);
    }
}

float TextMask::blurred(int x, int y, int r) const
{
  float sum = 0;
  for (int j = -r; j <= r; ++j)
    for (int i = -r; i <= r; ++i) sum += at(x + i, y + j);
  return sum / static_cast<float>((2 * r + 1) * (2 * r + 1));
}
