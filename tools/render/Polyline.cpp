#include "Polyline.h"

#include <algorithm>
#include <cmath>

#include "lice_blit.h"

namespace render {

void DrawPolyline(LICE_IBitmap* bitmap, const std::vector<float>& xs, const std::vector<float>& ys, float width,
                  LICE_pixel color, const LICE_Rect& clipIn)
{
  const LICE_Rect clip = {std::max(0, clipIn.left), std::max(0, clipIn.top),
                          std::min(bitmap->getWidth(), clipIn.right), std::min(bitmap->getHeight(), clipIn.bottom)};
  const int w = clip.right - clip.left, h = clip.bottom - clip.top;
  if (w <= 0 || h <= 0 || xs.size() < 2) return;
  std::vector<float> coverage(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0f);
  const float half = 0.5f * width;
  for (size_t s = 0; s + 1 < xs.size(); ++s)
  {
    const float x1 = xs[s], y1 = ys[s], x2 = xs[s + 1], y2 = ys[s + 1];
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) continue;
    const int left = std::max(clip.left, static_cast<int>(std::floor(std::min(x1, x2) - half - 1)));
    const int right = std::min(clip.right - 1, static_cast<int>(std::ceil(std::max(x1, x2) + half + 1)));
    const int top = std::max(clip.top, static_cast<int>(std::floor(std::min(y1, y2) - half - 1)));
    const int bottom = std::min(clip.bottom - 1, static_cast<int>(std::ceil(std::max(y1, y2) + half + 1)));
    const float dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
    for (int py = top; py <= bottom; ++py)
      for (int px = left; px <= right; ++px)
      {
        // Distance from the pixel centre to the segment.
        float t = len2 > 0.0f ? ((px - x1) * dx + (py - y1) * dy) / len2 : 0.0f;
        t = std::clamp(t, 0.0f, 1.0f);
        const float ex = px - (x1 + t * dx), ey = py - (y1 + t * dy);
        const float c = std::clamp(half + 0.5f - std::sqrt(ex * ex + ey * ey), 0.0f, 1.0f);
        float& cell = coverage[static_cast<size_t>(py - clip.top) * static_cast<size_t>(w) + static_cast<size_t>(px - clip.left)];
        cell = std::max(cell, c);
      }
  }
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px)
    {
      const float c = coverage[static_cast<size_t>(py) * static_cast<size_t>(w) + static_cast<size_t>(px)];
      if (c > 0.0f) LICE_PutPixel(bitmap, clip.left + px, clip.top + py, color, c, LICE_OP_COPY);
    }
}

} // namespace render
