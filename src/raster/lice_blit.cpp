#include <cstdint>
#include <cstring>
#include <vector>

#include "blend_ops.h"
#include "lice_blit.h"

using namespace lice_detail;

namespace {

// The rectangle arrives in 64 bits so srcx + srcw cannot wrap.
void blitImpl(LICE_IBitmap* dest, LICE_IBitmap* src, int64_t dx, int64_t dy, int64_t l, int64_t t, int64_t r,
              int64_t b, float alpha, int mode)
{
  if (!dest || !src) return;
  alpha = sanitizeAlpha(alpha);
  if (alpha == 0.0f) return;
  const Surface ds(dest), ss(src);
  if (!ds.ok() || !ss.ok()) return;

  // 1. A source rectangle starting left of or above the source moves the
  //    destination instead; 2. a destination off its left or top edge cuts
  //    the source.
  if (l < 0) dx -= l, l = 0;
  if (t < 0) dy -= t, t = 0;
  if (r > ss.w) r = ss.w;
  if (b > ss.h) b = ss.h;
  if (dx < 0) l -= dx, dx = 0;
  if (dy < 0) t -= dy, dy = 0;
  if (dx >= ds.w || dy >= ds.h || r <= l || b <= t) return;
  const int cw = static_cast<int>(r - l < ds.w - dx ? r - l : ds.w - dx);
  const int ch = static_cast<int>(b - t < ds.h - dy ? b - t : ds.h - dy);
  const int x0 = static_cast<int>(dx), y0 = static_cast<int>(dy), sx = static_cast<int>(l), sy = static_cast<int>(t);

  // Reading and writing one bitmap: blend loops would read pixels they have
  // already written, so the source area is taken aside first.
  std::vector<LICE_pixel> aside;
  const LICE_pixel* sbase = ss.row(sy) + sx;
  ptrdiff_t sstride = ss.stride;
  if (dest == src || ds.bits == ss.bits)
  {
    aside.resize(static_cast<size_t>(cw) * ch);
    for (int y = 0; y < ch; ++y)
      std::memcpy(&aside[static_cast<size_t>(y) * cw], ss.row(sy + y) + sx, sizeof(LICE_pixel) * cw);
    sbase = aside.data();
    sstride = cw;
  }
  const auto srow = [&](int y) { return sbase + static_cast<ptrdiff_t>(y) * sstride; };
  const auto drow = [&](int y) { return ds.row(y0 + y) + x0; };

  if ((mode & LICE_MODE_CHANCOPY) == LICE_MODE_CHANCOPY)
  {
    const int sc = mode & 3, dc = (mode >> 2) & 3;
    for (int y = 0; y < ch; ++y)
    {
      const unsigned char* s = reinterpret_cast<const unsigned char*>(srow(y)) + sc;
      unsigned char* d = reinterpret_cast<unsigned char*>(drow(y)) + dc;
      for (int x = 0; x < cw; ++x) d[x * 4] = s[x * 4];
    }
    return;
  }

  const int op = mode & (LICE_MODE_OP_MASK | LICE_MODE_SRC_ALPHA);
  const int w = weightFromAlpha(alpha);
  const int idx = opIndex(mode, true);
  if (w <= 0 || idx < 0) return;

  if (op == LICE_OP_COPY && (alpha == 1.0f || w == 256))
  {
    for (int y = 0; y < ch; ++y) std::memmove(drow(y), srow(y), sizeof(LICE_pixel) * cw);
    return;
  }
  if (op == LICE_OP_COPY && alpha == 0.5f)
  {
    for (int y = 0; y < ch; ++y)
    {
      LICE_pixel* d = drow(y);
      const LICE_pixel* s = srow(y);
      for (int x = 0; x < cw; ++x) d[x] = mixHalf(s[x], d[x]);
    }
    return;
  }

  BlitRowFn row = kBlitRow[idx];
  if (op == LICE_OP_COPY) row = blitRowCopyWeighted;
  else if (op == (LICE_OP_COPY | LICE_MODE_SRC_ALPHA) && w == 256) row = blitRowCopySAFull;
  for (int y = 0; y < ch; ++y) row(drow(y), srow(y), cw, w);
}

}  // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const LICE_Rect* srcrect, float alpha,
               int mode)
{
  if (!src) return;
  if (srcrect)
    blitImpl(dest, src, dstx, dsty, srcrect->left, srcrect->top, srcrect->right, srcrect->bottom, alpha, mode);
  else
    blitImpl(dest, src, dstx, dsty, 0, 0, src->getWidth(), src->getHeight(), alpha, mode);
}

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch,
               float alpha, int mode)
{
  blitImpl(dest, src, dstx, dsty, srcx, srcy, static_cast<int64_t>(srcx) + srcw, static_cast<int64_t>(srcy) + srch,
           alpha, mode);
}

void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src)
{
  if (!dest || !src) return;
  dest->resize(src->getWidth(), src->getHeight());
  LICE_Blit(dest, src, 0, 0, nullptr, 1.0f, LICE_OP_COPY);
}
