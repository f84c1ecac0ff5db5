#include "DspTestSupport.h"

#include <algorithm>

#include "LiteralCabinetChain.h"

namespace
{
using namespace dsp_test;

class KernelAgreement : public ::testing::TestWithParam<Kernel>
{
protected:
  void SetUp() override
  {
    if (!CabinetChain::KernelSupported(GetParam()))
      GTEST_SKIP() << "CPU lacks " << CabinetChain::KernelName(GetParam());
  }
};

struct FilterCase
{
  const char* name;
  int order;
  double uLo, uHi, vLo, vHi;
};

// Control ranges each filter sees in the chain.
const FilterCase kFilters[] = {
  {"ProcessorONE", 7, 0.0, 1.0, 0.16, 0.85},
  {"ProcessorTWO", 3, 0.1, 0.26, 0.0, 1.0},
  {"ProcessorTHREE", 5, 0.15, 0.5, 0.15, 0.84},
};

void LiteralCoefficients(int filter, double fs, double u, double v, std::vector<double>& out)
{
  if (filter == 0)
  {
    ProcessorONE r;
    r.Calc(fs, u, v);
    out = {r.b0, r.b1, r.b2, r.b3, r.b4, r.b5, r.b6, r.b7, r.a0, r.a1, r.a2, r.a3, r.a4, r.a5, r.a6, r.a7};
  }
  else if (filter == 1)
  {
    ProcessorTWO r;
    r.Calc(fs, u, v);
    out = {r.b0, r.b1, r.b2, r.b3, r.a0, r.a1, r.a2, r.a3};
  }
  else
  {
    ProcessorTHREE r;
    r.Calc(fs, u, v);
    out = {r.b0, r.b1, r.b2, r.b3, r.b4, r.b5, r.a0, r.a1, r.a2, r.a3, r.a4, r.a5};
  }
}

// Seeded sweep: the kernel's per-rate sums and Horner evaluation against the literal term-by-term sums.
TEST_P(KernelAgreement, CoefficientsMatchLiteralEvaluation)
{
  std::mt19937 rng(1234);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int count = 37; // not a multiple of any vector width
  for (int filter = 0; filter < 3; ++filter)
  {
    const FilterCase& fc = kFilters[filter];
    const int rows = 2 * (fc.order + 1);
    double worst = 0;
    for (int trial = 0; trial < 60; ++trial)
    {
      const double fs = 22050 + unit(rng) * (192000 - 22050);
      std::vector<double> u(count), v(count), kernel(rows * count), literal;
      for (int i = 0; i < count; ++i)
      {
        u[i] = fc.uLo + unit(rng) * (fc.uHi - fc.uLo);
        v[i] = fc.vLo + unit(rng) * (fc.vHi - fc.vLo);
      }
      CabinetChain::KernelCoefficientsForTesting(GetParam(), filter, fs, u.data(), v.data(), count, kernel.data());
      for (int i = 0; i < count; ++i)
      {
        LiteralCoefficients(filter, fs, u[i], v[i], literal);
        for (int r = 0; r < rows; ++r)
        {
          const double rel = std::fabs(kernel[r * count + i] - literal[r]) / std::fabs(literal[r]);
          worst = std::max(worst, rel);
          ASSERT_LE(rel, 1e-12) << fc.name << " row " << r << " fs " << fs << " u " << u[i] << " v " << v[i]
                                << ": " << kernel[r * count + i] << " vs " << literal[r];
        }
      }
    }
    RecordProperty(std::string(fc.name) + "_worst_relative", std::to_string(worst));
  }
}

// tanh(a³) and sin(a⁴) in ulps against long-double evaluations (the double ones are themselves up
// to 2 ulps off): the polynomials used below |a| = 0.625 within 1 ulp, the vector library above
// within 4. Quiet and
// loud values are sent apart, since one loud value sends its whole vector to the library.
TEST_P(KernelAgreement, NonlinearityTermsMatchLibrary)
{
  std::mt19937 rng(4321);
  struct Range
  {
    const char* name;
    double lo, hi, ulps;
  };
  const Range ranges[] = {{"quiet", 0.0, 0.6249, 1.0}, {"tiny", 0.0, 1e-3, 1.0}, {"just above", 0.625, 0.7, 4.0},
                         {"loud", 0.625, 3.0, 4.0}};
  for (const Range& r : ranges)
  {
    std::uniform_real_distribution<double> magnitude(r.lo, r.hi);
    const int count = 4001; // not a multiple of any vector width
    std::vector<double> a(count), t(count), s(count);
    for (int i = 0; i < count; ++i)
      a[i] = (i % 2 ? -1 : 1) * magnitude(rng);
    a[0] = r.lo;
    a[1] = -r.hi;
    CabinetChain::KernelNonlinearityForTesting(GetParam(), a.data(), count, t.data(), s.data());
    double worstT = 0, worstS = 0;
    for (int i = 0; i < count; ++i)
    {
      const double q = (a[i] * a[i]) * a[i];
      const long double tl = std::tanh(static_cast<long double>(q));
      const long double sl = std::sin(static_cast<long double>(q * a[i]));
      const double t0 = static_cast<double>(tl), s0 = static_cast<double>(sl);
      const double ulpT = std::nextafter(std::fabs(t0), 2.0) - std::fabs(t0);
      const double ulpS = std::nextafter(std::fabs(s0), 2.0) - std::fabs(s0);
      if (t0 == 0)
        ASSERT_EQ(t[i], 0.0) << r.name << " a " << a[i];
      else
        worstT = std::max(worstT, static_cast<double>(std::fabs(t[i] - tl)) / ulpT);
      if (s0 == 0)
        ASSERT_EQ(s[i], 0.0) << r.name << " a " << a[i];
      else
        worstS = std::max(worstS, static_cast<double>(std::fabs(s[i] - sl)) / ulpS);
      ASSERT_LE(static_cast<double>(std::fabs(t[i] - tl)), r.ulps * ulpT)
        << r.name << " tanh at a = " << a[i] << ": " << t[i] << " vs " << t0;
      ASSERT_LE(static_cast<double>(std::fabs(s[i] - sl)), r.ulps * ulpS)
        << r.name << " sin at a = " << a[i] << ": " << s[i] << " vs " << s0;
    }
    RecordProperty(std::string(r.name) + "_worst_ulps", std::to_string(worstT) + " " + std::to_string(worstS));
  }
}

// Random controls per block, ragged and empty blocks, bypass toggles: the whole chain against the
// sample-by-sample reference at each rate. Up to 48 kHz within 1e-6 of the peak. At 96 kHz and
// above ProcessorTHREE's lowest poles sit so close to z = 1 that last-bit differences in its
// coefficients move the output by some 1e-5 of the peak: the reference itself is that far from a
// long-double evaluation, and so is any other double evaluation order.
TEST_P(KernelAgreement, ChainMatchesLiteralModel)
{
  for (double fs : {22050.0, 44100.0, 48000.0, 96000.0, 192000.0})
  {
    auto chain = MakeChain(GetParam());
    LiteralCabinetChain literal;
    std::mt19937 rng(static_cast<unsigned>(fs));
    std::uniform_real_distribution<double> knob(0.0, 10.0);
    std::uniform_int_distribution<int> blockLen(-1, 700);

    const Stereo in = Noise(24000, 0.8, 7);
    Stereo fast(in.size()), slow(in.size());
    size_t start = 0;
    CabinetControls c{knob(rng), knob(rng), knob(rng), knob(rng)};
    for (int block = 0; start < in.size(); ++block)
    {
      const int n = std::min<int>(blockLen(rng), static_cast<int>(in.size() - start));
      if (block % 16 == 15)
        c = CabinetControls{knob(rng), knob(rng), knob(rng), knob(rng)};
      const bool on = block % 11 != 5;
      const double* ins[2] = {in.ch[0].data() + start, in.ch[1].data() + start};
      double* f[2] = {fast.ch[0].data() + start, fast.ch[1].data() + start};
      double* s[2] = {slow.ch[0].data() + start, slow.ch[1].data() + start};
      chain->Process(ins, f, n, fs, c, on);
      literal.Process(ins, s, n, fs, c, on);
      start += std::max(n, 0);

      const CabinetState& a = chain->State();
      const CabinetState& b = literal.State();
      ASSERT_EQ(a.micSmoother.z, b.micSmoother.z) << fs << " Hz block " << block;
      ASSERT_EQ(a.sizeSmoother.z, b.sizeSmoother.z) << fs << " Hz block " << block;
      ASSERT_EQ(a.characterSmoother.z, b.characterSmoother.z) << fs << " Hz block " << block;
      ASSERT_EQ(a.outputSmoother.z, b.outputSmoother.z) << fs << " Hz block " << block;
      ASSERT_EQ(a.derivedSizeSmoother.z, b.derivedSizeSmoother.z) << fs << " Hz block " << block;
      if (n > 0)
      {
        // The records carry the last sample's coefficients.
        ASSERT_NEAR(a.one[1].a3 / b.one[1].a3, 1.0, 1e-12) << fs << " Hz block " << block;
        ASSERT_NEAR(a.three[0].b5 / b.three[0].b5, 1.0, 1e-12) << fs << " Hz block " << block;
        ASSERT_NEAR(a.two[1].a2 / b.two[1].a2, 1.0, 1e-12) << fs << " Hz block " << block;
      }
    }
    double peak = 0, worst = 0;
    for (int ch = 0; ch < 2; ++ch)
      for (size_t i = 0; i < in.size(); ++i)
      {
        peak = std::max(peak, std::fabs(slow.ch[ch][i]));
        worst = std::max(worst, std::fabs(fast.ch[ch][i] - slow.ch[ch][i]));
      }
    EXPECT_GT(peak, 0.1) << fs << " Hz";
    const double tolerance = fs <= 48000 ? 1e-6 : 1e-4;
    EXPECT_LE(worst, tolerance * peak) << fs << " Hz: largest difference " << worst << " against peak " << peak;
  }
}

INSTANTIATE_TEST_SUITE_P(Kernels, KernelAgreement, ::testing::ValuesIn(kAllKernels), KernelLabel);
} // namespace
