#include "lice_shapes.h"

#include <algorithm>
#include <cmath>

#include "blend_ops.h"

using namespace lice_detail;

namespace {

constexpr double kMaxCoord = 16777216.0;
constexpr double kTwoPi = 6.283185307179586;

bool sane(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoord; }

// Where a shape's pixels go: full-coverage runs through the operation's span
// loop, partly covered pixels one by one with a scaled weight. Both loops are
// picked once per call.
struct Painter
{
  Surface s;
  FillRowFn span = nullptr;
  PlotFn pixel = nullptr;
  int sb = 0, sg = 0, sr = 0, sa = 0, w = 0;

  Painter(LICE_IBitmap* dest, LICE_pixel color, float alpha, int mode) : s(dest)
  {
    const int idx = opIndex(mode, true);
    w = weightFromAlpha(alpha);
    if (!s.ok() || idx < 0 || w <= 0) return;
    span = kFillRow[idx];
    pixel = kPlot[idx];
    sb = static_cast<int>(LICE_GETB(color)), sg = static_cast<int>(LICE_GETG(color));
    sr = static_cast<int>(LICE_GETR(color)), sa = static_cast<int>(LICE_GETA(color));
  }
  bool ok() const { return span != nullptr; }

  // Pixels x0..x1 inclusive of row y at full coverage, clipped.
  void run(long long y, long long x0, long long x1) const
  {
    if (y < 0 || y >= s.h) return;
    x0 = std::max(x0, 0LL), x1 = std::min(x1, static_cast<long long>(s.w) - 1);
    if (x0 <= x1) span(s.row(static_cast<int>(y)) + x0, static_cast<int>(x1 - x0 + 1), sb, sg, sr, sa, w);
  }
  // One pixel at coverage 0..1.
  void dot(long long x, long long y, double coverage) const
  {
    if (x < 0 || y < 0 || x >= s.w || y >= s.h || !(coverage > 0.0)) return;
    const int wt = coverage >= 1.0 ? w : static_cast<int>(w * coverage + 0.5);
    if (wt > 0) pixel(s.row(static_cast<int>(y)) + x, sb, sg, sr, sa, wt);
  }
};

// Rows a shape of vertical extent [top, bottom] touches, cut to the bitmap.
bool rowRange(const Surface& s, double top, double bottom, long long* y0, long long* y1)
{
  *y0 = std::max(0LL, static_cast<long long>(std::floor(top)));
  *y1 = std::min(static_cast<long long>(s.h) - 1, static_cast<long long>(std::ceil(bottom)));
  return *y0 <= *y1;
}

// Inside the arc's angular range? An empty or reversed range is swapped;
// anything spanning a full turn is the whole circle.
struct AngleRange
{
  double start = 0, length = kTwoPi;
  bool contains(double dx, double dy) const
  {
    if (length >= kTwoPi) return true;
    double t = std::atan2(dx, -dy) - start;
    t = std::fmod(t, kTwoPi);
    if (t < 0) t += kTwoPi;
    return t <= length + 1e-9;
  }
};

// A one-pixel ring of radius r: antialiased coverage 1 - |d - r|, or the
// pixels within half a pixel of the circle.
void ring(const Painter& p, double cx, double cy, double r, const AngleRange& range, bool aa)
{
  long long y0, y1;
  if (!rowRange(p.s, cy - r - 1, cy + r + 1, &y0, &y1)) return;
  const double reach = aa ? 1.0 : 0.5;
  const double outer = r + reach, inner = r - reach;
  for (long long y = y0; y <= y1; ++y)
  {
    const double dy = static_cast<double>(y) - cy;
    if (std::fabs(dy) > outer) continue;
    const double xo = std::sqrt(std::max(0.0, outer * outer - dy * dy));
    const long long a = std::max(static_cast<long long>(std::floor(cx - xo)), 0LL);
    const long long b = std::min(static_cast<long long>(std::ceil(cx + xo)), static_cast<long long>(p.s.w) - 1);
    // Pixels with |dx| below the inner circle's half-width lie too far inside.
    long long skipFrom = b + 1, skipTo = b;
    if (inner > 0 && std::fabs(dy) < inner)
    {
      const double xi = std::sqrt(inner * inner - dy * dy);
      skipFrom = static_cast<long long>(std::floor(cx - xi)) + 1;
      skipTo = static_cast<long long>(std::ceil(cx + xi)) - 1;
    }
    for (long long x = a; x <= b; ++x)
    {
      if (x >= skipFrom && x <= skipTo)
      {
        x = skipTo;
        continue;
      }
      const double dx = static_cast<double>(x) - cx;
      const double off = std::fabs(std::sqrt(dx * dx + dy * dy) - r);
      const double cov = aa ? 1.0 - off : (off < 0.5 ? 1.0 : 0.0);
      if (cov > 0.0 && range.contains(dx, dy)) p.dot(x, y, cov);
    }
  }
}

}  // namespace

void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle, LICE_pixel color,
              float alpha, int mode, bool antialias)
{
  const Painter p(dest, color, alpha, mode);
  if (!p.ok() || !sane(cx) || !sane(cy) || !sane(r) || r < 0 || !std::isfinite(minAngle) || !std::isfinite(maxAngle))
    return;
  AngleRange range;
  range.start = std::min(minAngle, maxAngle);
  range.length = std::fabs(static_cast<double>(maxAngle) - minAngle);
  ring(p, cx, cy, r, range, antialias);
}

void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                 bool antialias)
{
  const Painter p(dest, color, alpha, mode);
  if (!p.ok() || !sane(cx) || !sane(cy) || !sane(r) || r < 0) return;
  ring(p, cx, cy, r, AngleRange{}, antialias);
}

void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                     bool antialias)
{
  const Painter p(dest, color, alpha, mode);
  if (!p.ok() || !sane(cx) || !sane(cy) || !sane(r) || r < 0) return;
  // Coverage r + 0.5 - d: full inside r - 0.5, none beyond r + 0.5. Without
  // antialiasing a pixel is in when its centre is within r.
  const double full = antialias ? r - 0.5 : r, edge = antialias ? r + 0.5 : r;
  long long y0, y1;
  if (!rowRange(p.s, cy - edge, cy + edge, &y0, &y1)) return;
  for (long long y = y0; y <= y1; ++y)
  {
    const double dy = static_cast<double>(y) - cy;
    if (std::fabs(dy) > edge) continue;
    const double xe = std::sqrt(std::max(0.0, edge * edge - dy * dy));
    if (!antialias)
    {
      p.run(y, static_cast<long long>(std::ceil(cx - xe)), static_cast<long long>(std::floor(cx + xe)));
      continue;
    }
    const double xf = (full > 0 && std::fabs(dy) <= full) ? std::sqrt(full * full - dy * dy) : -1.0;
    long long a = static_cast<long long>(std::ceil(cx - xf)), b = static_cast<long long>(std::floor(cx + xf));
    if (xf < 0) a = static_cast<long long>(std::floor(cx)) + 1, b = a - 1;  // no full pixels
    p.run(y, a, b);
    const long long lo = std::max(static_cast<long long>(std::floor(cx - xe)), 0LL);
    const long long hi = std::min(static_cast<long long>(std::ceil(cx + xe)), static_cast<long long>(p.s.w) - 1);
    for (long long x = lo; x <= hi; ++x)
    {
      if (x >= a && x <= b) continue;
      const double dx = static_cast<double>(x) - cx;
      p.dot(x, y, std::min(1.0, r + 0.5 - std::sqrt(dx * dx + dy * dy)));
    }
  }
}

void LICE_RoundRect(LICE_IBitmap* dest, float x, float y, float w, float h, int cornerradius, LICE_pixel color,
                    float alpha, int mode, bool antialias)
{
  const Painter p(dest, color, alpha, mode);
  if (!p.ok() || !sane(x) || !sane(y) || !sane(w) || !sane(h)) return;
  const long long l = static_cast<long long>(std::floor(x + 0.5)), t = static_cast<long long>(std::floor(y + 0.5));
  const long long r = l + static_cast<long long>(std::floor(w + 0.5)) - 1;
  const long long b = t + static_cast<long long>(std::floor(h + 0.5)) - 1;
  if (r < l || b < t) return;
  const long long rad = std::max(0LL, std::min<long long>(cornerradius, std::min(r - l, b - t) / 2));

  // Straight edges between the corners, each pixel once.
  p.run(t, l + rad, r - rad);
  if (b != t) p.run(b, l + rad, r - rad);
  for (long long yy = t + (rad ? rad : 1); yy <= b - (rad ? rad : 1); ++yy)
  {
    p.dot(l, yy, 1.0);
    if (r != l) p.dot(r, yy, 1.0);
  }
  if (rad == 0) return;
  // Quarter circles, leaving out the pixels the edges already hold.
  const double q = kTwoPi / 4;
  const struct
  {
    long long cx, cy;
    double start;
  } corners[] = {{l + rad, t + rad, -q}, {r - rad, t + rad, 0}, {r - rad, b - rad, q}, {l + rad, b - rad, 2 * q}};
  for (const auto& c : corners)
  {
    AngleRange range;
    range.start = c.start + 1e-6;
    range.length = q - 2e-6;
    ring(p, static_cast<double>(c.cx), static_cast<double>(c.cy), static_cast<double>(rad), range, antialias);
  }
}

void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3, LICE_pixel color,
                       float alpha, int mode)
{
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  LICE_FillConvexPolygon(dest, xs, ys, 3, color, alpha, mode);
}

void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int npoints, LICE_pixel color,
                            float alpha, int mode)
{
  const Painter p(dest, color, alpha, mode);
  if (!p.ok() || !x || !y || npoints < 1) return;
  const auto [minY, maxY] = std::minmax_element(y, y + npoints);
  long long y0, y1;
  if (!rowRange(p.s, *minY, *maxY, &y0, &y1)) return;
  for (long long row = y0; row <= y1; ++row)
  {
    // The row's extent is the least and greatest crossing of any edge.
    double lo = 0, hi = -1;
    bool any = false;
    for (int i = 0; i < npoints; ++i)
    {
      const double ax = x[i], ay = y[i], bx = x[(i + 1) % npoints], by = y[(i + 1) % npoints];
      const double r = static_cast<double>(row);
      if (r < std::min(ay, by) || r > std::max(ay, by)) continue;
      double xa, xb;
      if (ay == by)
        xa = std::min(ax, bx), xb = std::max(ax, bx);
      else
        xa = xb = ax + (r - ay) * (bx - ax) / (by - ay);
      lo = any ? std::min(lo, xa) : xa;
      hi = any ? std::max(hi, xb) : xb;
      any = true;
    }
    if (any) p.run(row, static_cast<long long>(std::ceil(lo - 1e-9)), static_cast<long long>(std::floor(hi + 1e-9)));
  }
}
