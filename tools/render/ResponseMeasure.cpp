#include "ResponseMeasure.h"

#include <cmath>
#include <cstdio>

#include "LevelMeter.h"
#include "RenderSession.h"

namespace render {

namespace {
// Long enough for the slowest pole (the DC blocker's, 1000 samples) to die
// away far below the 0.01 dB the plot resolves.
constexpr int kImpulseFrames = 1 << 17;
// Small enough that the static nonlinearity adds nothing measurable.
constexpr double kImpulse = 1e-3;

// |H(f)| of the impulse response h by direct evaluation; the phasor turns by
// a recurrence, re-anchored on exact values every 4096 samples.
double Magnitude(const std::vector<double>& h, double freq, double rate)
{
  const double w = -2.0 * M_PI * freq / rate;
  const double stepRe = std::cos(w), stepIm = std::sin(w);
  double re = 0.0, im = 0.0;
  double pRe = 1.0, pIm = 0.0;
  for (size_t n = 0; n < h.size(); ++n)
  {
    if ((n & 4095) == 0)
    {
      pRe = std::cos(w * static_cast<double>(n));
      pIm = std::sin(w * static_cast<double>(n));
    }
    re += h[n] * pRe;
    im += h[n] * pIm;
    const double t = pRe * stepRe - pIm * stepIm;
    pIm = pRe * stepIm + pIm * stepRe;
    pRe = t;
  }
  return std::hypot(re, im);
}
} // namespace

std::vector<double> LogFrequencyGrid(double sampleRate, int pointsPerDecade)
{
  std::vector<double> f;
  const double top = std::fmin(20000.0, 0.5 * sampleRate);
  const int first = static_cast<int>(std::ceil(pointsPerDecade * std::log10(20.0 / 1000.0) - 1e-9));
  for (int k = first;; ++k)
  {
    const double v = 1000.0 * std::pow(10.0, static_cast<double>(k) / pointsPerDecade);
    if (v > top * (1.0 + 1e-12)) break;
    f.push_back(v);
  }
  return f;
}

bool MeasureResponse(const BundleHost& bundle, double sampleRate, int blockSize, const std::string* state,
                     const std::vector<Settings>& curves, Response* response, std::string* error)
{
  response->sampleRate = sampleRate;
  response->frequencies = LogFrequencyGrid(sampleRate);
  response->curves.clear();
  for (const Settings& settings : curves)
  {
    SessionSetup setup;
    setup.sampleRate = sampleRate;
    setup.channels = 1;
    setup.blockSize = blockSize;
    setup.useDouble = true;
    auto session = RenderSession::Start(bundle, setup, state, settings, error);
    if (!session) return false;
    session->Preroll();
    std::vector<double> in(kImpulseFrames, 0.0), out(kImpulseFrames, 0.0);
    in[0] = kImpulse;
    double* ins[1] = {in.data()};
    double* outs[1] = {out.data()};
    session->Process(ins, outs, kImpulseFrames);
    for (double& v : out) v /= kImpulse;

    ResponseCurve curve;
    curve.label = session->Current().Describe();
    for (double f : response->frequencies) curve.db.push_back(LevelMeter::ToDb(Magnitude(out, f, sampleRate)));
    response->curves.push_back(std::move(curve));
  }
  return true;
}

std::string ResponseCsv(const Response& r)
{
  std::string csv = "frequency_hz";
  for (const ResponseCurve& c : r.curves) csv += ",\"" + c.label + "\"";
  csv += "\n";
  char cell[64];
  for (size_t i = 0; i < r.frequencies.size(); ++i)
  {
    std::snprintf(cell, sizeof cell, "%.6f", r.frequencies[i]);
    csv += cell;
    for (const ResponseCurve& c : r.curves)
    {
      std::snprintf(cell, sizeof cell, ",%.6f", c.db[i]);
      csv += cell;
    }
    csv += "\n";
  }
  return csv;
}

} // namespace render
