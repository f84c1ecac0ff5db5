#include "ResponsePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "PlotFont.h"
#include "Polyline.h"
#include "lice_blit.h"
#include "lice_line.h"

namespace render {

namespace {
constexpr LICE_pixel kBackground = LICE_RGBA(246, 247, 249, 255);
constexpr LICE_pixel kPanel = LICE_RGBA(255, 255, 255, 255);
constexpr LICE_pixel kFrame = LICE_RGBA(160, 166, 176, 255);
constexpr LICE_pixel kMajorGrid = LICE_RGBA(214, 218, 225, 255);
constexpr LICE_pixel kMinorGrid = LICE_RGBA(236, 238, 242, 255);
constexpr LICE_pixel kZeroLine = LICE_RGBA(150, 156, 166, 255);
constexpr LICE_pixel kTitle = LICE_RGBA(28, 32, 38, 255);
constexpr LICE_pixel kLabel = LICE_RGBA(70, 76, 86, 255);
constexpr LICE_pixel kCurves[] = {LICE_RGBA(31, 105, 180, 255), LICE_RGBA(222, 110, 20, 255),
                                  LICE_RGBA(40, 150, 70, 255),  LICE_RGBA(200, 40, 50, 255),
                                  LICE_RGBA(130, 80, 170, 255), LICE_RGBA(120, 90, 60, 255)};
constexpr int kCurveColours = sizeof kCurves / sizeof kCurves[0];

constexpr double kLowHz = 20.0, kHighHz = 20000.0;

struct Frame
{
  LICE_Rect area;
  double bottomDb, topDb;
  double X(double hz) const
  {
    return area.left + (area.right - 1 - area.left) * std::log10(hz / kLowHz) / std::log10(kHighHz / kLowHz);
  }
  double Y(double db) const { return area.top + (area.bottom - 1 - area.top) * (topDb - db) / (topDb - bottomDb); }
};

std::string HzLabel(double hz)
{
  char text[16];
  if (hz >= 1000.0)
    std::snprintf(text, sizeof text, "%gk", hz / 1000.0);
  else
    std::snprintf(text, sizeof text, "%g", hz);
  return text;
}

std::string DbLabel(double db)
{
  char text[16];
  std::snprintf(text, sizeof text, db > 0 ? "+%.0f" : "%.0f", db);
  return text;
}

void HLine(LICE_IBitmap* bm, const Frame& f, int y, LICE_pixel c)
{
  LICE_Line(bm, f.area.left, y, f.area.right - 1, y, c, 1.0f, LICE_OP_COPY, false);
}

void VLine(LICE_IBitmap* bm, const Frame& f, int x, LICE_pixel c)
{
  LICE_Line(bm, x, f.area.top, x, f.area.bottom - 1, c, 1.0f, LICE_OP_COPY, false);
}

void DrawGrid(LICE_IBitmap* bm, const Frame& f, PlotFont& tick)
{
  for (double decade = 10.0; decade <= 10000.0; decade *= 10.0)
    for (int m = 1; m <= 9; ++m)
    {
      const double hz = decade * m;
      if (hz < kLowHz || hz > kHighHz) continue;
      const bool major = m == 1 || m == 2 || m == 5;
      const int x = static_cast<int>(std::lround(f.X(hz)));
      VLine(bm, f, x, major ? kMajorGrid : kMinorGrid);
      if (major) tick.Draw(bm, HzLabel(hz), x, f.area.bottom + 8, kAnchorCenter, kLabel);
    }
  for (double db = f.bottomDb; db <= f.topDb + 1e-9; db += 5.0)
  {
    const bool major = std::fmod(std::fabs(db), 10.0) < 1e-9;
    const int y = static_cast<int>(std::lround(f.Y(db)));
    HLine(bm, f, y, db == 0.0 ? kZeroLine : major ? kMajorGrid : kMinorGrid);
    if (major) tick.Draw(bm, DbLabel(db), f.area.left - 10, y - tick.Height() / 2, kAnchorRight, kLabel);
  }
}

void DrawCurve(LICE_IBitmap* bm, const Frame& f, const Response& r, const ResponseCurve& curve, LICE_pixel colour)
{
  std::vector<float> xs, ys;
  for (size_t i = 0; i < r.frequencies.size(); ++i)
  {
    if (r.frequencies[i] < kLowHz || r.frequencies[i] > kHighHz) continue;
    // Silence (or a response deeper than the chart) runs along the bottom edge.
    const double db = std::isfinite(curve.db[i]) ? curve.db[i] : f.bottomDb - 100.0;
    xs.push_back(static_cast<float>(f.X(r.frequencies[i])));
    ys.push_back(static_cast<float>(f.Y(std::max(db, f.bottomDb - 1.0))));
  }
  DrawPolyline(bm, xs, ys, 2.5f, colour, f.area);
}

// Legend in the corner of the chart the curves cross least.
void DrawLegend(LICE_IBitmap* bm, const Frame& f, const Response& r, PlotFont& font)
{
  const int rowH = font.Height() + 8, swatch = 28, pad = 12;
  int textW = 0;
  for (const ResponseCurve& c : r.curves) textW = std::max(textW, font.Width(c.label));
  const int w = pad + swatch + 10 + textW + pad, h = pad + rowH * static_cast<int>(r.curves.size()) - 8 + pad;
  const int inset = 14;
  const LICE_Rect corners[] = {
    {f.area.right - inset - w, f.area.bottom - inset - h, f.area.right - inset, f.area.bottom - inset},
    {f.area.left + inset, f.area.bottom - inset - h, f.area.left + inset + w, f.area.bottom - inset},
    {f.area.right - inset - w, f.area.top + inset, f.area.right - inset, f.area.top + inset + h},
    {f.area.left + inset, f.area.top + inset, f.area.left + inset + w, f.area.top + inset + h}};
  int best = 0, bestHits = -1;
  for (int k = 0; k < 4; ++k)
  {
    int hits = 0;
    for (const ResponseCurve& c : r.curves)
      for (size_t i = 0; i < r.frequencies.size(); ++i)
      {
        const double x = f.X(r.frequencies[i]), y = f.Y(std::isfinite(c.db[i]) ? c.db[i] : f.bottomDb);
        hits += x >= corners[k].left - 6 && x < corners[k].right + 6 && y >= corners[k].top - 6 &&
                y < corners[k].bottom + 6;
      }
    if (bestHits < 0 || hits < bestHits) best = k, bestHits = hits;
  }
  const LICE_Rect box = corners[best];
  LICE_FillRect(bm, box.left, box.top, box.right - box.left, box.bottom - box.top, kPanel, 0.92f, LICE_OP_COPY);
  const int l = box.left, t = box.top, rr = box.right - 1, b = box.bottom - 1;
  LICE_Line(bm, l, t, rr, t, kMajorGrid, 1.0f, LICE_OP_COPY, false);
  LICE_Line(bm, l, b, rr, b, kMajorGrid, 1.0f, LICE_OP_COPY, false);
  LICE_Line(bm, l, t, l, b, kMajorGrid, 1.0f, LICE_OP_COPY, false);
  LICE_Line(bm, rr, t, rr, b, kMajorGrid, 1.0f, LICE_OP_COPY, false);
  for (size_t i = 0; i < r.curves.size(); ++i)
  {
    const int y = box.top + pad + rowH * static_cast<int>(i);
    const float mid = static_cast<float>(y + font.Height() / 2);
    DrawPolyline(bm, {static_cast<float>(l + pad), static_cast<float>(l + pad + swatch)}, {mid, mid}, 3.0f,
                 kCurves[i % kCurveColours], box);
    font.Draw(bm, r.curves[i].label, l + pad + swatch + 10, y, kAnchorLeft, kTitle);
  }
}
} // namespace

void PlotRange(const Response& r, double* bottomDb, double* topDb)
{
  double lo = INFINITY, hi = -INFINITY;
  for (const ResponseCurve& c : r.curves)
    for (size_t i = 0; i < r.frequencies.size(); ++i)
      if (std::isfinite(c.db[i])) lo = std::min(lo, c.db[i]), hi = std::max(hi, c.db[i]);
  if (!std::isfinite(lo)) lo = -30.0, hi = 0.0;
  double top = std::ceil((hi + 2.0) / 10.0) * 10.0;
  double bottom = std::floor((lo - 3.0) / 10.0) * 10.0;
  bottom = std::clamp(bottom, top - 60.0, top - 30.0);
  *bottomDb = bottom;
  *topDb = top;
}

bool DrawResponsePlot(const Response& r, LICE_MemBitmap* bm, std::string* error)
{
  PlotFont title, subtitle, tick, axis;
  if (!title.Create(24, true) || !subtitle.Create(15, false) || !tick.Create(14, false) || !axis.Create(15, true))
  {
    *error = "no font found for the plot (install fonts-dejavu-core)";
    return false;
  }
  bm->resize(kPlotWidth, kPlotHeight);
  LICE_Clear(bm, kBackground);

  Frame f;
  f.area = {96, 92, kPlotWidth - 36, kPlotHeight - 84};
  PlotRange(r, &f.bottomDb, &f.topDb);

  title.Draw(bm, "MURAX cabinet response", f.area.left, 22, kAnchorLeft, kTitle);
  char rate[64];
  std::snprintf(rate, sizeof rate, "%g kHz", r.sampleRate / 1000.0);
  const std::string sub = r.curves.size() == 1 ? r.curves[0].label + "  \xC2\xB7  " + rate
                                               : std::string(rate) + "  \xC2\xB7  " + std::to_string(r.curves.size()) +
                                                   " settings";
  subtitle.Draw(bm, "Measured through the plug-in after the 2 s pre-roll  \xC2\xB7  " + sub, f.area.left, 58,
                kAnchorLeft, kLabel);

  LICE_FillRect(bm, f.area.left, f.area.top, f.area.right - f.area.left, f.area.bottom - f.area.top, kPanel, 1.0f,
                LICE_OP_COPY);
  DrawGrid(bm, f, tick);
  for (size_t i = r.curves.size(); i-- > 0;) DrawCurve(bm, f, r, r.curves[i], kCurves[i % kCurveColours]);
  // The frame goes over the curves so clipped ends stop cleanly at its edge.
  const int l = f.area.left - 1, t = f.area.top - 1, rr = f.area.right, b = f.area.bottom;
  LICE_Line(bm, l, t, rr, t, kFrame, 1.0f, LICE_OP_COPY, false);
  LICE_Line(bm, l, b, rr, b, kFrame, 1.0f, LICE_OP_COPY, false);
  LICE_Line(bm, l, t, l, b, kFrame, 1.0f, LICE_OP_COPY, false);
  LICE_Line(bm, rr, t, rr, b, kFrame, 1.0f, LICE_OP_COPY, false);
  if (r.curves.size() > 1) DrawLegend(bm, f, r, tick);

  axis.Draw(bm, "Frequency (Hz)", (f.area.left + f.area.right) / 2, f.area.bottom + 40, kAnchorCenter, kLabel);
  axis.DrawUpwards(bm, "Magnitude (dB)", 30, (f.area.top + f.area.bottom) / 2, kLabel);
  return true;
}

} // namespace render
