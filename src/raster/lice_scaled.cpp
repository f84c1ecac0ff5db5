#include <cmath>
#include <cstdint>

#include "blend_ops.h"
#include "lice_blit.h"

using namespace lice_detail;

namespace {

// Source coordinates beyond this magnitude draw nothing; below it every 16.16
// position and step stays far inside 64 bits.
constexpr double kMaxSrcCoord = 16777216.0;

bool sane(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxSrcCoord; }

// The part of the source a call may read: [l, r) x [t, b), never outside the bitmap.
struct Window
{
  const Surface* s;
  int l, r, t, b;
  int kernel;  // box half-size: 1 for 3x3, 2 for 5x5
};

// Samplers work in two stages: a row is prepared once per destination row
// (or per pixel for rotation), then sampled at each column position.
struct SampleNearest
{
  struct Row
  {
    const LICE_pixel* p;
  };
  static inline Row row(const Window& w, int64_t q) { return {w.s->row(static_cast<int>(q >> 16))}; }
  static inline LICE_pixel at(const Row& r, int64_t p) { return r.p[p >> 16]; }
  static inline LICE_pixel at(const Window& w, int64_t p, int64_t q) { return at(row(w, q), p); }
};

// Weights in unsigned 32 bits: fx * fy reaches 2^32 - 2^17 + 1, past a signed product.
struct SampleBilinear
{
  struct Row
  {
    const LICE_pixel* r0;
    const LICE_pixel* r1;  // null on the window's last row
    uint32_t fy;
    int lastCol;
  };
  static inline Row row(const Window& w, int64_t q)
  {
    const int r = static_cast<int>(q >> 16);
    return {w.s->row(r), r + 1 < w.b ? w.s->row(r + 1) : nullptr, static_cast<uint32_t>(q & 0xFFFF), w.r - 1};
  }
  static inline LICE_pixel at(const Row& row, int64_t p)
  {
    const int c = static_cast<int>(p >> 16);
    const uint32_t fx = static_cast<uint32_t>(p & 0xFFFF), fy = row.fy;
    const LICE_pixel* r0 = row.r0 + c;
    if (c < row.lastCol)
    {
      if (!row.r1) return mix2(r0[0], r0[1], fx);
      const LICE_pixel* r1 = row.r1 + c;
      const uint32_t w11 = (fx * fy) >> 16;
      const uint32_t w01 = fx - w11, w10 = fy - w11, w00 = 65536u - fx - fy + w11;
      return mix4(r0[0], r0[1], r1[0], r1[1], w00, w01, w10, w11);
    }
    return row.r1 ? mix2(r0[0], row.r1[c], fy) : r0[0];
  }
  static inline LICE_pixel at(const Window& w, int64_t p, int64_t q) { return at(row(w, q), p); }
  // Two channels per 64-bit lane pair: blue and red (or green and alpha)
  // 32 bits apart, so products up to 255 * 65536 never meet.
  static inline uint64_t spreadBR(LICE_pixel p) { return (p & 0xFFu) | (static_cast<uint64_t>(p & 0xFF0000u) << 16); }
  static inline uint64_t spreadGA(LICE_pixel p)
  {
    return ((p >> 8) & 0xFFu) | (static_cast<uint64_t>((p >> 8) & 0xFF0000u) << 16);
  }
  static inline LICE_pixel gather(uint64_t br, uint64_t ga)
  {
    br = (br >> 16) & 0x000000FF000000FFull;
    ga = (ga >> 16) & 0x000000FF000000FFull;
    return static_cast<LICE_pixel>(br | (br >> 16) | (ga << 8) | (ga >> 8));
  }
  static inline LICE_pixel mix2(LICE_pixel a, LICE_pixel b, uint32_t f)
  {
    const uint32_t g = 65536u - f;
    return gather(spreadBR(a) * g + spreadBR(b) * f, spreadGA(a) * g + spreadGA(b) * f);
  }
  static inline LICE_pixel mix4(LICE_pixel a, LICE_pixel b, LICE_pixel c, LICE_pixel d, uint32_t wa, uint32_t wb,
                                uint32_t wc, uint32_t wd)
  {
    return gather(spreadBR(a) * wa + spreadBR(b) * wb + spreadBR(c) * wc + spreadBR(d) * wd,
                  spreadGA(a) * wa + spreadGA(b) * wb + spreadGA(c) * wc + spreadGA(d) * wd);
  }
};

// Plain average of the (2k+1)^2 square around the sample, cut to the window.
struct SampleBox
{
  struct Row
  {
    const Window* w;
    int64_t q;
  };
  static inline Row row(const Window& w, int64_t q) { return {&w, q}; }
  static inline LICE_pixel at(const Row& r, int64_t p) { return at(*r.w, p, r.q); }
  static inline LICE_pixel at(const Window& w, int64_t p, int64_t q)
  {
    const int c = static_cast<int>(p >> 16), r = static_cast<int>(q >> 16);
    const int c0 = c - w.kernel < w.l ? w.l : c - w.kernel, c1 = c + w.kernel >= w.r ? w.r - 1 : c + w.kernel;
    const int r0 = r - w.kernel < w.t ? w.t : r - w.kernel, r1 = r + w.kernel >= w.b ? w.b - 1 : r + w.kernel;
    uint32_t sb = 0, sg = 0, sr = 0, sa = 0;
    for (int y = r0; y <= r1; ++y)
    {
      const LICE_pixel* row = w.s->row(y);
      for (int x = c0; x <= c1; ++x)
      {
        const LICE_pixel v = row[x];
        sb += v & 255u, sg += (v >> 8) & 255u, sr += (v >> 16) & 255u, sa += v >> 24;
      }
    }
    const uint32_t n = static_cast<uint32_t>((c1 - c0 + 1) * (r1 - r0 + 1));
    return LICE_RGBA(sr / n, sg / n, sb / n, sa / n);
  }
};

struct ScaledJob
{
  Surface dest;
  Window win;
  int dx0, dy0;  // destination pixel of column and row index 0
  int i0, i1, r0, r1;
  int64_t x0, dx, y0, dy;  // 16.16 source positions
  int w;
};

template <class Sampler>
struct ScaledLoop
{
  using Fn = void (*)(const ScaledJob&);
  template <class Op>
  static void run(const ScaledJob& j)
  {
    const int i0 = j.i0, i1 = j.i1, w = j.w;
    const int64_t dx = j.dx;
    for (int r = j.r0; r < j.r1; ++r)
    {
      const typename Sampler::Row row = Sampler::row(j.win, j.y0 + r * j.dy);
      LICE_pixel* d = j.dest.row(j.dy0 + r) + j.dx0;
      int64_t p = j.x0 + i0 * dx;
      for (int i = i0; i < i1; ++i, p += dx)
      {
        const LICE_pixel s = Sampler::at(row, p);
        d[i] = Op::apply(d[i], chB(s), chG(s), chR(s), chA(s), w);
      }
    }
  }
};

constexpr auto kScaledNearest = makeOpTable<ScaledLoop<SampleNearest>>();
constexpr auto kScaledBilinear = makeOpTable<ScaledLoop<SampleBilinear>>();
constexpr auto kScaledBox = makeOpTable<ScaledLoop<SampleBox>>();

// The index range [first, last) of n steady steps from x0 by dx whose
// integer part lies in [lo, hi). Steps are monotonic, so the range is contiguous.
void validRange(int64_t x0, int64_t dx, int n, int lo, int hi, int* first, int* last)
{
  *first = n, *last = n;
  int64_t p = x0;
  for (int i = 0; i < n; ++i, p += dx)
  {
    const int64_t c = p >> 16;
    const bool in = c >= lo && c < hi;
    if (in && *first == n) *first = i;
    if (!in && *first != n)
    {
      *last = i;
      return;
    }
  }
  if (*first == n) *first = *last = 0;
}

// The smallest non-negative position among n steps from x0 by dx, or -1
// when every position is negative.
int64_t smallestSampled(int64_t x0, int64_t dx, int n)
{
  if (n <= 0) return -1;
  const int64_t last = x0 + static_cast<int64_t>(n - 1) * dx;
  if (dx >= 0)
  {
    if (x0 >= 0) return x0;
    if (last < 0) return -1;
    return x0 + (dx - 1 - x0) / dx * dx;  // the first position at or above 0
  }
  if (last >= 0) return last;
  if (x0 < 0) return -1;
  return x0 - x0 / -dx * -dx;  // the last position at or above 0
}

struct RotJob
{
  Surface dest;
  Window win;
  int dx0, dy0, cols, rows;
  int64_t px, py;          // start
  int64_t colx, coly;      // step along a row
  int64_t rowx, rowy;      // step from row to row
  int w;
};

template <class Sampler>
struct RotatedLoop
{
  using Fn = void (*)(const RotJob&);
  template <class Op>
  static void run(const RotJob& j)
  {
    const int64_t lo = static_cast<int64_t>(j.win.l) << 16, hi = static_cast<int64_t>(j.win.r) << 16;
    const int64_t to = static_cast<int64_t>(j.win.t) << 16, bo = static_cast<int64_t>(j.win.b) << 16;
    for (int r = 0; r < j.rows; ++r)
    {
      int64_t p = j.px + r * j.rowx, q = j.py + r * j.rowy;
      LICE_pixel* d = j.dest.row(j.dy0 + r) + j.dx0;
      for (int i = 0; i < j.cols; ++i, p += j.colx, q += j.coly)
      {
        if (p < lo || p >= hi || q < to || q >= bo) continue;
        const LICE_pixel s = Sampler::at(j.win, p, q);
        d[i] = Op::apply(d[i], chB(s), chG(s), chR(s), chA(s), j.w);
      }
    }
  }
};

constexpr auto kRotatedNearest = makeOpTable<RotatedLoop<SampleNearest>>();
constexpr auto kRotatedBilinear = makeOpTable<RotatedLoop<SampleBilinear>>();

int64_t fixedFloor(double v) { return static_cast<int64_t>(std::floor(v * 65536.0)); }

}  // namespace

void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                     float srcy, float srcw, float srch, float alpha, int mode)
{
  if (!dest || !src || dstw == 0 || dsth == 0) return;
  alpha = sanitizeAlpha(alpha);
  if (alpha == 0.0f || !sane(srcx) || !sane(srcy) || !sane(srcw) || !sane(srch)) return;
  const Surface ds(dest), ss(src);
  if (!ds.ok() || !ss.ok()) return;
  // Filtering means exactly the bilinear value in the filter byte.
  const bool filter = (mode & 0xFF00) == LICE_MODE_FILTER_BILINEAR;

  // Same size: a plain blit. Rounding by floor keeps negative integral
  // positions exact, where (int)(v + 0.5) would move them by one.
  if (dstw > 0 && dsth > 0 && std::fabs(srcw - dstw) < 0.001 && std::fabs(srch - dsth) < 0.001)
  {
    const double rx = std::floor(srcx + 0.5), ry = std::floor(srcy + 0.5);
    if (!filter || (std::fabs(srcx - rx) < 0.03 && std::fabs(srcy - ry) < 0.03))
    {
      LICE_Blit(dest, src, dstx, dsty, static_cast<int>(rx), static_cast<int>(ry), dstw, dsth, alpha, mode);
      return;
    }
  }

  double sx = srcx, sy = srcy, sw = srcw, sh = srch;
  int64_t dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0) sx += sw, dx += dw, dw = -dw, sw = -sw;
  if (dh < 0) sy += sh, dy += dh, dh = -dh, sh = -sh;

  // The window's far edges come from the (mirrored) source rectangle, before
  // destination clipping moves its start.
  const double farX = sx + (sw > 0 ? sw : 0) + 0.999999, farY = sy + (sh > 0 ? sh : 0) + 0.999999;
  const int winR = farX >= ss.w ? ss.w : (farX < 0 ? 0 : static_cast<int>(farX));
  const int winB = farY >= ss.h ? ss.h : (farY < 0 ? 0 : static_cast<int>(farY));

  const double xadv = sw / static_cast<double>(dw), yadv = sh / static_cast<double>(dh);
  if (dx < 0) sx += static_cast<double>(-dx) * xadv, dw += dx, dx = 0;
  if (dy < 0) sy += static_cast<double>(-dy) * yadv, dh += dy, dy = 0;
  if (dw <= 0 || dh <= 0 || dx >= ds.w || dy >= ds.h) return;
  if (dw > ds.w - dx) dw = ds.w - dx;
  if (dh > ds.h - dy) dh = ds.h - dy;

  ScaledJob j{ds, Window{&ss, 0, winR, 0, winB, 1}, static_cast<int>(dx), static_cast<int>(dy), 0, 0, 0, 0,
              fixedFloor(sx), fixedFloor(xadv), fixedFloor(sy), fixedFloor(yadv), weightFromAlpha(alpha)};
  const int n = static_cast<int>(dw), m = static_cast<int>(dh);
  // The window's near edges: the smallest position really sampled, once the
  // columns (rows) with a negative position are skipped. Raising a negative
  // position to 0 instead would let the box reach pixels no sample is near.
  const int64_t minX = smallestSampled(j.x0, j.dx, n), minY = smallestSampled(j.y0, j.dy, m);
  if (minX < 0 || minY < 0) return;
  j.win.l = static_cast<int>(minX >> 16 < winR ? minX >> 16 : winR);
  j.win.t = static_cast<int>(minY >> 16 < winB ? minY >> 16 : winB);
  if (j.win.l >= j.win.r || j.win.t >= j.win.b) return;
  validRange(j.x0, j.dx, n, j.win.l, j.win.r, &j.i0, &j.i1);
  validRange(j.y0, j.dy, m, j.win.t, j.win.b, &j.r0, &j.r1);
  if (j.i0 >= j.i1 || j.r0 >= j.r1) return;

  const int slot = resolveSlot(mode, j.w, !filter);
  if (slot < 0) return;
  if (filter && xadv >= 1.7 && yadv >= 1.7)
  {
    j.win.kernel = (j.dx > j.dy ? j.dx : j.dy) <= 0x30000 ? 1 : 2;
    kScaledBox[slot](j);
  }
  else if (filter)
    kScaledBilinear[slot](j);
  else
    kScaledNearest[slot](j);
}

void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                      float srcy, float srcw, float srch, float angle, bool cliptosourcerect, float alpha, int mode,
                      float rotxcent, float rotycent)
{
  if (!dest || !src || dstw == 0 || dsth == 0) return;
  const int w = weightFromAlpha(sanitizeAlpha(alpha));
  if (w <= 0) return;
  if (!sane(srcx) || !sane(srcy) || !sane(srcw) || !sane(srch) || !sane(rotxcent) || !sane(rotycent) ||
      !std::isfinite(angle))
    return;
  const Surface ds(dest), ss(src);
  if (!ds.ok() || !ss.ok()) return;

  Window win{&ss, 0, ss.w, 0, ss.h, 1};
  if (cliptosourcerect)
  {
    const double l = std::floor(srcw < 0 ? srcx + srcw : srcx), r = std::ceil(srcw < 0 ? srcx : srcx + srcw);
    const double t = std::floor(srch < 0 ? srcy + srch : srcy), b = std::ceil(srch < 0 ? srcy : srcy + srch);
    if (l > 0) win.l = static_cast<int>(l < ss.w ? l : ss.w);
    if (t > 0) win.t = static_cast<int>(t < ss.h ? t : ss.h);
    if (r < ss.w) win.r = static_cast<int>(r > 0 ? r : 0);
    if (b < ss.h) win.b = static_cast<int>(b > 0 ? b : 0);
    if (win.l >= win.r || win.t >= win.b) return;
  }

  double sx = srcx, sy = srcy, sw = srcw, sh = srch;
  int64_t dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0) sx += sw, dx += dw, dw = -dw, sw = -sw;
  if (dh < 0) sy += sh, dy += dh, dh = -dh, sh = -sh;

  const double c = std::cos(static_cast<double>(angle)), s = std::sin(static_cast<double>(angle));
  const double xs = sw / static_cast<double>(dw), ys = sh / static_cast<double>(dh);
  const double colx = c * xs, coly = -s * ys, rowx = s * xs, rowy = c * ys;
  double px = sx - ((static_cast<double>(dh) * s * xs + static_cast<double>(dw) * c * xs - sw) / 2 - rotxcent);
  double py = sy - ((static_cast<double>(dh) * c * ys - static_cast<double>(dw) * s * ys - sh) / 2 - rotycent);

  if (dx < 0) px -= static_cast<double>(dx) * colx, py -= static_cast<double>(dx) * coly, dw += dx, dx = 0;
  if (dy < 0) px -= static_cast<double>(dy) * rowx, py -= static_cast<double>(dy) * rowy, dh += dy, dy = 0;
  if (dw <= 0 || dh <= 0 || dx >= ds.w || dy >= ds.h) return;
  if (dw > ds.w - dx) dw = ds.w - dx;
  if (dh > ds.h - dy) dh = ds.h - dy;

  // Rounded, not floored: cos(pi/2) comes out a hair below zero and must not
  // turn into a step of -1/65536 that shifts a whole column.
  const auto fx = [](double v) { return static_cast<int64_t>(std::llround(v * 65536.0)); };
  const RotJob j{ds,       win,      static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(dw),
                 static_cast<int>(dh), fx(px), fx(py),   fx(colx), fx(coly), fx(rowx), fx(rowy), w};
  const int slot = resolveSlot(mode, w, false);
  if (slot < 0) return;
  if ((mode & 0xFF00) == LICE_MODE_FILTER_BILINEAR)
    kRotatedBilinear[slot](j);
  else
    kRotatedNearest[slot](j);
}
