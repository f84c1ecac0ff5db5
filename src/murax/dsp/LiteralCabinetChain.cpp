#include "LiteralCabinetChain.h"

#include <cmath>

double LiteralCabinetChain::Shape(double a)
{
  const double q = (a * a) * a;
  return a - (0.0001 * std::sin(q * a) + 0.0002 * std::tanh(q));
}

void LiteralCabinetChain::Process(const double* const* in, double* const* out, int n, double fs,
                                  const CabinetControls& controls, bool effectOn)
{
  CabinetState& s = state_;
  s.PrepareBlock(fs, controls);
  for (int i = 0; i < n; ++i)
  {
    const double in0 = in[0][i];
    const double in1 = in[1][i];
    for (ProcessorONE& f : s.one)
    {
      const double c = s.characterSmoother.Advance(s.characterTarget);
      const double m = s.micSmoother.Advance(s.micTarget);
      const double sz = s.sizeSmoother.Advance(s.sizeTarget);
      f.Calc(fs, c, 1.0 - (sz / 3.0 + m));
    }
    for (ProcessorTWO& f : s.two)
    {
      const double d = s.derivedSizeSmoother.Advance(s.derivedSizeTarget);
      const double sz = s.sizeSmoother.Advance(s.sizeTarget);
      f.Calc(fs, d, sz);
    }
    for (ProcessorTHREE& f : s.three)
    {
      const double m1 = s.micSmoother.Advance(s.micTarget);
      const double m2 = s.micSmoother.Advance(s.micTarget);
      const double sz = s.sizeSmoother.Advance(s.sizeTarget);
      f.Calc(fs, m1, sz / 3.0 + m2);
    }
    const double y0 = s.three[0].Process(s.two[0].Process(s.one[0].Process(in0)));
    const double y1 = s.three[1].Process(s.two[1].Process(s.one[1].Process(in1)));
    const double g1 = s.micSmoother.Advance(s.micTarget);
    const double g2 = s.micSmoother.Advance(s.micTarget);
    const double w0 = Shape(y0 * std::pow(10.0, (g1 * (-29.0)) / 20.0));
    const double w1 = Shape(y1 * std::pow(10.0, (g2 * (-29.0)) / 20.0));
    const double h1 = s.outputSmoother.Advance(s.outputTarget);
    const double h2 = s.outputSmoother.Advance(s.outputTarget);
    if (effectOn)
    {
      out[0][i] = s.dc[0].Process(w0 * h1);
      out[1][i] = s.dc[1].Process(w1 * h2);
    }
    else
    {
      out[0][i] = in0;
      out[1][i] = in1;
    }
  }
}
