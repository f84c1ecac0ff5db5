#include <cstdint>

#include "blend_ops.h"
#include "lice_blit.h"

using namespace lice_detail;

namespace {

// COPY at the four weights with exact 32-bit forms; false for any other weight.
inline bool copyExact(LICE_pixel* p, LICE_pixel c, int w)
{
  switch (w)
  {
    case 64: *p = mixQuarter(c, *p); return true;
    case 128: *p = mixHalf(c, *p); return true;
    case 192: *p = mixThreeQuarters(c, *p); return true;
    case 256: *p = c; return true;
    default: return false;
  }
}

template <int W>
void fillExact(LICE_pixel* d, int n, LICE_pixel c)
{
  for (int i = 0; i < n; ++i) copyExact(d + i, c, W);
}

}  // namespace

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode)
{
  const Surface ds(dest);
  if (!ds.ok()) return;
  alpha = sanitizeAlpha(alpha);
  if (mode & LICE_MODE_SRC_ALPHA) alpha *= static_cast<float>(LICE_GETA(color)) / 255.0f;

  int64_t x0 = x, y0 = y, x1 = static_cast<int64_t>(x) + w, y1 = static_cast<int64_t>(y) + h;
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > ds.w) x1 = ds.w;
  if (y1 > ds.h) y1 = ds.h;
  if (x1 <= x0 || y1 <= y0 || alpha == 0.0f) return;
  const int cx = static_cast<int>(x0), cy = static_cast<int>(y0);
  const int cw = static_cast<int>(x1 - x0), ch = static_cast<int>(y1 - y0);

  const int wt = weightFromAlpha(alpha);
  const int op = mode & LICE_MODE_OP_MASK;
  if (wt <= 0 || op >= LICE_OP_COUNT) return;
  const int sb = static_cast<int>(LICE_GETB(color)), sg = static_cast<int>(LICE_GETG(color)),
            sr = static_cast<int>(LICE_GETR(color));

  if (op == LICE_OP_COPY)
  {
    void (*exact)(LICE_pixel*, int, LICE_pixel) = nullptr;
    switch (wt)
    {
      case 64: exact = fillExact<64>; break;
      case 128: exact = fillExact<128>; break;
      case 192: exact = fillExact<192>; break;
      case 256: exact = fillExact<256>; break;
      default: break;
    }
    for (int r = 0; r < ch; ++r)
    {
      LICE_pixel* d = ds.row(cy + r) + cx;
      if (exact)
        exact(d, cw, color);
      else
        fillRow<OpCopy>(d, cw, sb, sg, sr, wt, wt);  // alpha moves toward the weight
    }
    return;
  }
  // The weight stands in for the source alpha too.
  const FillRowFn row = kFillRow[op * 2];
  for (int r = 0; r < ch; ++r) row(ds.row(cy + r) + cx, cw, sb, sg, sr, wt, wt);
}

void LICE_Clear(LICE_IBitmap* dest, LICE_pixel color)
{
  const Surface ds(dest);
  if (!ds.ok()) return;
  for (int y = 0; y < ds.h; ++y)
  {
    LICE_pixel* d = ds.row(y);
    for (int x = 0; x < ds.w; ++x) d[x] = color;
  }
}

void LICE_ClearRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel mask, LICE_pixel orbits)
{
  const Surface ds(dest);
  if (!ds.ok()) return;
  int64_t x0 = x, y0 = y, x1 = static_cast<int64_t>(x) + w, y1 = static_cast<int64_t>(y) + h;
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > ds.w) x1 = ds.w;
  if (y1 > ds.h) y1 = ds.h;
  if (x1 <= x0 || y1 <= y0) return;
  for (int64_t r = y0; r < y1; ++r)
  {
    LICE_pixel* d = ds.row(static_cast<int>(r));
    for (int64_t c = x0; c < x1; ++c) d[c] = (d[c] & mask) | orbits;
  }
}

LICE_pixel LICE_GetPixel(LICE_IBitmap* dest, int x, int y)
{
  const Surface ds(dest);
  if (!ds.ok() || x < 0 || y < 0 || x >= ds.w || y >= ds.h) return 0;
  return ds.row(y)[x];
}

void LICE_PutPixel(LICE_IBitmap* dest, int x, int y, LICE_pixel color, float alpha, int mode)
{
  const Surface ds(dest);
  if (!ds.ok() || x < 0 || y < 0 || x >= ds.w || y >= ds.h) return;
  const int wt = weightFromAlpha(alpha);
  const int op = mode & LICE_MODE_OP_MASK;
  if (wt <= 0 || op >= LICE_OP_COUNT) return;
  LICE_pixel* p = ds.row(y) + x;
  if (op == LICE_OP_COPY && copyExact(p, color, wt)) return;
  kPlot[op * 2](p, static_cast<int>(LICE_GETB(color)), static_cast<int>(LICE_GETG(color)),
                static_cast<int>(LICE_GETR(color)), static_cast<int>(LICE_GETA(color)), wt);
}
