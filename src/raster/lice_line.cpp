#include "lice_line.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "blend_ops.h"

using namespace lice_detail;

namespace {

// Intersections computed in double are limited to the int range before they
// are converted; far-away end points would otherwise overflow.
int toInt(double v)
{
  v = std::trunc(v);
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

int regionCode(int x, int y, int w, int h)
{
  return (x < 0 ? 1 : 0) | (x >= w ? 2 : 0) | (y < 0 ? 4 : 0) | (y >= h ? 8 : 0);
}

// Operations for lines, one slot per entry; the first six are the rules.
using LineOps = OpList<OpCopy, OpAdd, OpDodge, OpMul, OpOverlay, OpHsv, OpReplace, OpHalf, OpQuarter, OpThreeQuarters,
                       OpAverage>;
enum LineSlot : int
{
  kLineReplace = LICE_OP_COUNT,
  kLineHalf,
  kLineQuarter,
  kLineThreeQuarters,
  kLineAverage,
  kLineSlots
};
static_assert(LineOps::size == kLineSlots, "one line loop per slot");

struct LineJob
{
  Surface s;
  int x1, y1, x2, y2;
  int sb, sg, sr, sa;
  int w;
};

inline LICE_pixel* at(const LineJob& j, int x, int y) { return j.s.row(y) + x; }

// Horizontal, vertical and unantialiased diagonal lines: n pixels `step` apart.
struct StrideLoop
{
  using Fn = void (*)(const LineJob&, LICE_pixel*, ptrdiff_t, int);
  template <class Op>
  static void run(const LineJob& j, LICE_pixel* p, ptrdiff_t step, int n)
  {
    for (int i = 0; i < n; ++i, p += step) *p = Op::apply(*p, j.sb, j.sg, j.sr, j.sa, j.w);
  }
};

// Plots with varying weights, bounds-checked: antialiasing neighbours may
// fall one pixel past a clipped end.
template <class Op>
inline void plot(const LineJob& j, int x, int y, int w)
{
  if (w <= 0 || x < 0 || y < 0 || x >= j.s.w || y >= j.s.h) return;
  LICE_pixel* p = at(j, x, y);
  *p = Op::apply(*p, j.sb, j.sg, j.sr, j.sa, w);
}

// Exact diagonals with antialiasing: three quarters on the line, a quarter
// on the two pixels beside the step to the next one.
struct DiagonalLoop
{
  using Fn = void (*)(const LineJob&);
  template <class Op>
  static void run(const LineJob& j)
  {
    const int sx = j.x2 > j.x1 ? 1 : -1, sy = j.y2 > j.y1 ? 1 : -1, n = std::abs(j.x2 - j.x1) + 1;
    const int on = j.w * 3 / 4, beside = j.w / 4;
    int x = j.x1, y = j.y1;
    for (int i = 0; i < n; ++i, x += sx, y += sy)
    {
      plot<Op>(j, x, y, on);
      if (i + 1 == n) break;
      plot<Op>(j, x + sx, y, beside);
      plot<Op>(j, x, y + sy, beside);
    }
  }
};

// Drawn from both ends toward the middle so the line is symmetric.
template <bool Antialias>
struct GeneralLoop
{
  using Fn = void (*)(const LineJob&);
  template <class Op>
  static void run(const LineJob& j)
  {
    const int adx = std::abs(j.x2 - j.x1), ady = std::abs(j.y2 - j.y1);
    const bool xMajor = ady < adx;
    // The forward cursor starts at the end with the smaller major coordinate.
    const bool firstIsStart = xMajor ? j.x1 <= j.x2 : j.y1 <= j.y2;
    int fx = firstIsStart ? j.x1 : j.x2, fy = firstIsStart ? j.y1 : j.y2;
    int bx = firstIsStart ? j.x2 : j.x1, by = firstIsStart ? j.y2 : j.y1;
    const int M = xMajor ? adx : ady;
    const int minorDelta = xMajor ? by - fy : bx - fx;
    const int minorSign = minorDelta < 0 ? -1 : 1;
    const int mjx = xMajor ? 1 : 0, mjy = xMajor ? 0 : 1;                          // forward major step
    const int mnx = xMajor ? 0 : minorSign, mny = xMajor ? minorSign : 0;          // forward minor step
    const int a = static_cast<int>(std::abs(minorDelta) / static_cast<double>(M) * 65536.0);
    const int steps = (M + 1) / 2;
    const int w = j.w;

    if (!Antialias)
    {
      int sum = 0;
      for (int i = 0; i < steps; ++i)
      {
        plot<Op>(j, fx, fy, w);
        plot<Op>(j, bx, by, w);
        fx += mjx, fy += mjy, bx -= mjx, by -= mjy;
        if (sum + a < 0x8000)
          sum += a;
        else
          fx += mnx, fy += mny, bx -= mnx, by -= mny, sum += a - 0x10000;
      }
      if ((M & 1) == 0) plot<Op>(j, fx, fy, w);
      return;
    }

    plot<Op>(j, fx, fy, w);
    plot<Op>(j, bx, by, w);
    fx += mjx, fy += mjy, bx -= mjx, by -= mjy;
    int f = a;
    for (int i = 1; i < steps; ++i)
    {
      const int k = f >> 8;
      const int wOn = ((255 - k) * w) >> 8, wBeside = (w * k) >> 8;
      plot<Op>(j, fx, fy, wOn);
      plot<Op>(j, fx + mnx, fy + mny, wBeside);
      plot<Op>(j, bx, by, wOn);
      plot<Op>(j, bx - mnx, by - mny, wBeside);
      fx += mjx, fy += mjy, bx -= mjx, by -= mjy;
      if (f + a < 0x10000)
        f += a;
      else
        fx += mnx, fy += mny, bx -= mnx, by -= mny, f += a - 0x10000;
    }
    if ((M & 1) == 0)
    {
      const int k = f >> 8;
      plot<Op>(j, fx, fy, ((255 - k) * w) >> 8);
      plot<Op>(j, fx + mnx, fy + mny, (w * k) >> 8);
    }
  }
};

constexpr auto kStride = makeTable<StrideLoop>(LineOps{});
constexpr auto kDiagonal = makeTable<DiagonalLoop>(LineOps{});
constexpr auto kGeneral = makeTable<GeneralLoop<false>>(LineOps{});
constexpr auto kGeneralAA = makeTable<GeneralLoop<true>>(LineOps{});

// COPY at a plain weight: the average at 128, the whole pixel at 256.
int copySlot(int w)
{
  if (w == 256) return kLineReplace;
  if (w == 128) return kLineAverage;
  return LICE_OP_COPY;
}

}  // namespace

bool ClipLine(int& x1, int& y1, int& x2, int& y2, int width, int height)
{
  if (width <= 0 || height <= 0) return false;
  int ax = x1, ay = y1, bx = x2, by = y2;
  int ca = regionCode(ax, ay, width, height), cb = regionCode(bx, by, width, height);
  for (int pass = 0; pass < 33; ++pass)
  {
    if ((ca | cb) == 0)
    {
      x1 = ax, y1 = ay, x2 = bx, y2 = by;
      return true;
    }
    if (ca & cb) return false;
    const bool moveA = ca != 0;
    const int code = moveA ? ca : cb;
    const double dx = static_cast<double>(bx) - ax, dy = static_cast<double>(by) - ay;
    int nx, ny;
    if (code & 8)
      nx = toInt(ax + std::trunc((height - static_cast<double>(ay)) * dx / dy)), ny = height - 1;
    else if (code & 4)
      nx = toInt(ax + std::trunc(-static_cast<double>(ay) * dx / dy)), ny = 0;
    else if (code & 2)
      ny = toInt(ay + std::trunc(dy * (width - static_cast<double>(ax)) / dx)), nx = width - 1;
    else
      ny = toInt(ay + std::trunc(dy * -static_cast<double>(ax) / dx)), nx = 0;
    if (moveA)
      ax = nx, ay = ny, ca = regionCode(ax, ay, width, height);
    else
      bx = nx, by = ny, cb = regionCode(bx, by, width, height);
  }
  return false;
}

void LICE_Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel color, float alpha, int mode,
               bool antialias)
{
  const Surface s(dest);
  if (!s.ok()) return;
  alpha = sanitizeAlpha(alpha);
  const int op = mode & LICE_MODE_OP_MASK;
  const int w = weightFromAlpha(alpha);
  if (w <= 0 || op >= LICE_OP_COUNT) return;
  // Logical rows: the surface maps them for flipped bitmaps.
  if (!ClipLine(x1, y1, x2, y2, s.w, s.h)) return;

  const LineJob j{s,  x1, y1, x2, y2, static_cast<int>(LICE_GETB(color)), static_cast<int>(LICE_GETG(color)),
                  static_cast<int>(LICE_GETR(color)), static_cast<int>(LICE_GETA(color)), w};
  const int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);

  if (y1 == y2 || x1 == x2)
  {
    int slot = op;
    if (op == LICE_OP_COPY)
    {
      if (alpha == 1.0f) slot = kLineReplace;
      else if (alpha == 0.5f) slot = kLineHalf;
      else if (alpha == 0.25f) slot = kLineQuarter;
      else if (alpha == 0.75f) slot = kLineThreeQuarters;
      else slot = copySlot(w);
    }
    if (y1 == y2)
      kStride[slot](j, at(j, x1 < x2 ? x1 : x2, y1), 1, adx + 1);
    else
      kStride[slot](j, at(j, x1, y1 < y2 ? y1 : y2), s.stride, ady + 1);
    return;
  }

  if (adx == ady)
  {
    if (antialias)
    {
      if (op == LICE_OP_COPY && alpha == 1.0f)
      {
        const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
        for (int i = 0, x = x1, y = y1; i <= adx; ++i, x += sx, y += sy)
        {
          LICE_pixel* p = at(j, x, y);
          *p = mixThreeQuarters(color, *p);
          if (i == adx) break;
          p = at(j, x + sx, y);
          *p = mixQuarter(color, *p);
          p = at(j, x, y + sy);
          *p = mixQuarter(color, *p);
        }
        return;
      }
      kDiagonal[op](j);
      return;
    }
    const int slot = op == LICE_OP_COPY ? copySlot(w) : op;
    kStride[slot](j, at(j, x1, y1), (y2 > y1 ? s.stride : -s.stride) + (x2 > x1 ? 1 : -1), adx + 1);
    return;
  }

  if (antialias)
    kGeneralAA[op](j);
  else
    kGeneral[op == LICE_OP_COPY ? copySlot(w) : op](j);
}
