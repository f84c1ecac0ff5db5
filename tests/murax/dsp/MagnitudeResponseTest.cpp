#include "DspTestSupport.h"

#include "LiteralCabinetChain.h"

namespace
{
using namespace dsp_test;

struct Setting
{
  const char* name;
  double fs;
  CabinetControls controls;
  double level; // the level gain quoted for the setting
  // dB per frequency: ProcessorONE, ProcessorTWO, ProcessorTHREE, whole chain
  double table[4][4];
};

const double kFrequencies[4] = {100, 1000, 3000, 8000};

const Setting kSettings[] = {
  {"defaults_48k",
   48000,
   {0, 5, 5, 5},
   0.6060382005270664,
   {{-1.25, 2.46, 7.56, 4.42}, {-2.91, -0.03, 10.17, 2.88}, {1.36, -0.03, 7.78, 4.75}, {-19.77, -0.03, 2.92, -21.23}}},
  {"extremes_44k1",
   44100,
   {10, 0, 10, 10},
   0.18836490894898006,
   {{0.01, -19.75, 15.53, -12.69}, {0.87, -2.08, 16.43, 6.75}, {-1.70, -0.87, 8.95, -2.09},
    {-22.93, -0.40, 2.26, -29.55}}},
};

// The three records computed by their literal Calc at the controls the smoothers settle on.
struct SettledFilters
{
  ProcessorONE one;
  ProcessorTWO two;
  ProcessorTHREE three;
  double level, output;

  explicit SettledFilters(const Setting& s)
  {
    CabinetState state;
    state.PrepareBlock(s.fs, s.controls);
    one.Calc(s.fs, state.characterTarget, 1.0 - (state.sizeTarget / 3.0 + state.micTarget));
    two.Calc(s.fs, state.derivedSizeTarget, state.sizeTarget);
    three.Calc(s.fs, state.micTarget, state.sizeTarget / 3.0 + state.micTarget);
    level = std::pow(10.0, (state.micTarget * (-29.0)) / 20.0);
    output = state.outputTarget;
  }

  double Db(int filter, double freq, double fs) const
  {
    if (filter == 0)
    {
      const double b[] = {one.b0, one.b1, one.b2, one.b3, one.b4, one.b5, one.b6, one.b7};
      const double a[] = {one.a0, one.a1, one.a2, one.a3, one.a4, one.a5, one.a6, one.a7};
      return ResponseDb(b, a, 7, freq, fs);
    }
    if (filter == 1)
    {
      const double b[] = {two.b0, two.b1, two.b2, two.b3};
      const double a[] = {two.a0, two.a1, two.a2, two.a3};
      return ResponseDb(b, a, 3, freq, fs);
    }
    const double b[] = {three.b0, three.b1, three.b2, three.b3, three.b4, three.b5};
    const double a[] = {three.a0, three.a1, three.a2, three.a3, three.a4, three.a5};
    return ResponseDb(b, a, 5, freq, fs);
  }

  double ChainDb(double freq, double fs) const
  {
    return Db(0, freq, fs) + Db(1, freq, fs) + Db(2, freq, fs) + 20.0 * std::log10(level * output);
  }
};

TEST(MagnitudeResponse, FiltersAndChainMatchTheTables)
{
  for (const Setting& s : kSettings)
  {
    const SettledFilters f(s);
    EXPECT_NEAR(f.level, s.level, 1e-15) << s.name;
    for (int i = 0; i < 4; ++i)
    {
      const double freq = kFrequencies[i];
      const char* names[] = {"ProcessorONE", "ProcessorTWO", "ProcessorTHREE"};
      for (int filter = 0; filter < 3; ++filter)
        EXPECT_NEAR(f.Db(filter, freq, s.fs), s.table[i][filter], 0.01)
          << s.name << " " << names[filter] << " at " << freq << " Hz";
      EXPECT_NEAR(f.ChainDb(freq, s.fs), s.table[i][3], 0.01) << s.name << " whole chain at " << freq << " Hz";
    }
  }
}

// Gain at `freq` of a settled chain, measured from its output over one second (an integer number of
// periods for every test frequency at both rates), in dB.
double MeasuredGainDb(CabinetChain& chain, const Setting& s, double freq)
{
  const double amplitude = 1e-3; // keeps the nonlinearity below 1e-9 of the signal
  const size_t settle = static_cast<size_t>(3 * s.fs), window = static_cast<size_t>(s.fs);
  const Stereo in = Sine(settle + window, s.fs, freq, amplitude);
  const Stereo out = RunBlocks(chain, in, 512, s.fs, s.controls);
  double re = 0, im = 0;
  for (size_t i = settle; i < settle + window; ++i)
  {
    const double phase = 2.0 * M_PI * freq * static_cast<double>(i) / s.fs;
    re += out.ch[1][i] * std::cos(phase);
    im += out.ch[1][i] * std::sin(phase);
  }
  const double measured = 2.0 * std::hypot(re, im) / static_cast<double>(window);
  return 20.0 * std::log10(measured / amplitude);
}

class MeasuredResponse : public ::testing::TestWithParam<Kernel>
{
};

// The optimised chain, run on a sine, has the analytic gain of the settled filters, level and output
// gains and the DC blocker.
TEST_P(MeasuredResponse, SettledChainGainMatchesAnalyticResponse)
{
  for (const Setting& s : kSettings)
    for (double freq : kFrequencies)
    {
      auto chain = MakeChain(GetParam());
      if (!chain)
        GTEST_SKIP() << "CPU lacks " << CabinetChain::KernelName(GetParam());
      const SettledFilters f(s);
      const double b[] = {1.0, -1.0}, a[] = {1.0, -0.999};
      const double expected = f.ChainDb(freq, s.fs) + ResponseDb(b, a, 1, freq, s.fs);
      EXPECT_NEAR(MeasuredGainDb(*chain, s, freq), expected, 0.01) << s.name << " at " << freq << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, MeasuredResponse, ::testing::ValuesIn(kAllKernels), KernelLabel);
} // namespace
