#include "DspTestSupport.h"

#include <xmmintrin.h>

#include <algorithm>
#include <limits>

#include "LiteralCabinetChain.h"

namespace
{
using namespace dsp_test;

const CabinetControls kDefaults{0, 5, 5, 5};

class Chain : public ::testing::TestWithParam<Kernel>
{
protected:
  void SetUp() override
  {
    chain_ = MakeChain(GetParam());
    if (!chain_)
      GTEST_SKIP() << "CPU lacks " << CabinetChain::KernelName(GetParam());
  }
  std::unique_ptr<CabinetChain> chain_;
};

TEST(CabinetChainConstruction, StartsSilentWithIdentitySmoothers)
{
  CabinetChain chain;
  const CabinetState& s = chain.State();
  for (const OnePoleSmoother* sm :
       {&s.micSmoother, &s.sizeSmoother, &s.characterSmoother, &s.outputSmoother, &s.derivedSizeSmoother})
  {
    EXPECT_EQ(sm->a0, 1.0);
    EXPECT_EQ(sm->b1, 0.0);
    EXPECT_EQ(sm->z, 0.0);
  }
  EXPECT_EQ(s.one[0].a0, 0.0);
  EXPECT_EQ(s.three[1].b5, 0.0);
  EXPECT_EQ(s.dc[1].y1, 0.0);
  EXPECT_EQ(chain.ActiveKernel(), CabinetChain::BestKernel());
}

TEST_P(Chain, BypassPassesInputWhileFiltersRun)
{
  const Stereo in = Noise(4000, 0.5, 3);
  auto reference = MakeChain(GetParam());
  const Stereo bypassed = RunBlocks(*chain_, in, 256, 48000, kDefaults, false);
  const Stereo processed = RunBlocks(*reference, in, 256, 48000, kDefaults, true);
  for (int ch = 0; ch < 2; ++ch)
    for (size_t i = 0; i < in.size(); ++i)
      ASSERT_EQ(bypassed.ch[ch][i], in.ch[ch][i]) << "channel " << ch << " sample " << i;

  // Filters and smoothers advanced exactly as when heard; the DC blockers stood still.
  const CabinetState& a = chain_->State();
  const CabinetState& b = reference->State();
  EXPECT_EQ(a.micSmoother.z, b.micSmoother.z);
  EXPECT_EQ(a.one[0].y1, b.one[0].y1);
  EXPECT_EQ(a.three[1].y2, b.three[1].y2);
  EXPECT_EQ(a.dc[0].x1, 0.0);
  EXPECT_EQ(a.dc[1].y1, 0.0);

  // Switching back continues without a restart: the only difference left is the DC blockers'
  // decaying homogeneous response from their differing states.
  const Stereo next = Noise(2000, 0.5, 4);
  const double dx[2] = {a.dc[0].x1 - b.dc[0].x1, a.dc[1].x1 - b.dc[1].x1};
  const double dy[2] = {a.dc[0].y1 - b.dc[0].y1, a.dc[1].y1 - b.dc[1].y1};
  const Stereo resumed = RunBlocks(*chain_, next, 256, 48000, kDefaults, true);
  const Stereo continued = RunBlocks(*reference, next, 256, 48000, kDefaults, true);
  for (int ch = 0; ch < 2; ++ch)
  {
    double d = 0.999 * dy[ch] - dx[ch];
    for (size_t i = 0; i < next.size(); ++i, d *= 0.999)
      ASSERT_NEAR(resumed.ch[ch][i] - continued.ch[ch][i], d, 1e-12) << "channel " << ch << " sample " << i;
  }
}

TEST_P(Chain, ConstantInputIsRejected)
{
  Stereo in(5 * 48000);
  std::fill(in.ch[0].begin(), in.ch[0].end(), 0.5);
  std::fill(in.ch[1].begin(), in.ch[1].end(), -0.25);
  const Stereo out = RunBlocks(*chain_, in, 512, 48000, kDefaults);
  double tail = 0;
  for (int ch = 0; ch < 2; ++ch)
    for (size_t i = in.size() - 4800; i < in.size(); ++i)
      tail = std::max(tail, std::fabs(out.ch[ch][i]));
  EXPECT_LT(tail, 1e-9) << "residual DC over the last 0.1 s";
}

TEST_P(Chain, StartupGlidesFromSilence)
{
  const double fs = 48000;
  const Stereo in = Sine(static_cast<size_t>(fs / 2), fs, 1000, 1.0);
  const Stereo out = RunBlocks(*chain_, in, 512, fs, kDefaults);
  double early = 0;
  for (size_t i = 0; i < 16; ++i)
    early = std::max({early, std::fabs(out.ch[0][i]), std::fabs(out.ch[1][i])});
  EXPECT_LT(early, 1e-3) << "first 16 samples of a full-scale sine";

  // Two advances a sample at time constant one second each: after 0.5 s the output smoother is
  // 1 - e^-2pi of the way there.
  const CabinetState& s = chain_->State();
  const double error = (s.outputTarget - s.outputSmoother.z) / s.outputTarget;
  EXPECT_LT(error, 0.002);
  EXPECT_NEAR(error, std::exp(-2.0 * M_PI), 1e-6);
}

TEST(CabinetChainNonlinearity, OddOnlyInItsTanhPart)
{
  const double w1 = LiteralCabinetChain::Shape(1.0), wm1 = LiteralCabinetChain::Shape(-1.0);
  EXPECT_EQ(w1, 1.0 - (0.0001 * std::sin(1.0) + 0.0002 * std::tanh(1.0)));
  EXPECT_EQ(wm1, -1.0 - (0.0001 * std::sin(1.0) - 0.0002 * std::tanh(1.0)));
  EXPECT_NEAR((w1 + wm1) / 2, -0.0001 * std::sin(1.0), 1e-16);
}

// Loud input of both polarities: with a linear or odd chain the two outputs would cancel; here
// their sum is the (DC-blocked) even part -1e-4 sin(a^4) h, the same in kernel and reference.
TEST_P(Chain, NonlinearityEvenPartMatchesReference)
{
  auto negated = MakeChain(GetParam());
  LiteralCabinetChain refPos, refNeg;
  const double fs = 48000;
  Stereo pos = Sine(24000, fs, 200, 1.5), neg = pos;
  for (auto& c : neg.ch)
    for (double& x : c)
      x = -x;
  const CabinetControls loud{0, 5, 5, 10};
  const Stereo a = RunBlocks(*chain_, pos, 512, fs, loud), b = RunBlocks(*negated, neg, 512, fs, loud);
  const Stereo ra = RunBlocks(refPos, pos, 512, fs, loud), rb = RunBlocks(refNeg, neg, 512, fs, loud);
  double evenPeak = 0, worst = 0;
  for (size_t i = 0; i < pos.size(); ++i)
  {
    const double even = a.ch[0][i] + b.ch[0][i], refEven = ra.ch[0][i] + rb.ch[0][i];
    evenPeak = std::max(evenPeak, std::fabs(refEven));
    worst = std::max(worst, std::fabs(even - refEven));
  }
  EXPECT_GT(evenPeak, 1e-5) << "sin(a^4) leaves an even part";
  EXPECT_LT(worst, 1e-3 * evenPeak);
}

// One bad sample on one channel costs that channel one zero sample; the other channel is untouched
// and everything stays finite afterwards.
TEST_P(Chain, NonFiniteInputRecovers)
{
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 1e300};
  for (double value : bad)
  {
    auto chain = MakeChain(GetParam());
    auto clean = MakeChain(GetParam());
    Stereo in = Noise(3 * 512, 0.5, 11);
    const Stereo reference = RunBlocks(*clean, in, 512, 48000, kDefaults);
    const size_t at = 700;
    in.ch[0][at] = value;
    const Stereo out = RunBlocks(*chain, in, 512, 48000, kDefaults);
    EXPECT_EQ(out.ch[0][at], 0.0) << value;
    for (size_t i = 0; i < in.size(); ++i)
    {
      ASSERT_TRUE(std::isfinite(out.ch[0][i])) << value << " sample " << i;
      ASSERT_NEAR(out.ch[1][i], reference.ch[1][i], 1e-12) << value << " channel 1 sample " << i;
      if (i < at)
      {
        ASSERT_EQ(out.ch[0][i], reference.ch[0][i]) << value << " sample " << i;
      }
    }
    double after = 0;
    for (size_t i = at + 1; i < in.size(); ++i)
      after = std::max(after, std::fabs(out.ch[0][i]));
    EXPECT_GT(after, 0.01) << value << ": channel 0 keeps sounding";
  }
}

// In pass-through the bad sample is passed on as given, but the histories are cleared all the same.
TEST_P(Chain, NonFiniteInputInBypassClearsHistories)
{
  Stereo in = Noise(1024, 0.5, 12);
  in.ch[1][300] = std::numeric_limits<double>::quiet_NaN();
  const Stereo through = RunBlocks(*chain_, in, 512, 48000, kDefaults, false);
  EXPECT_TRUE(std::isnan(through.ch[1][300]));
  const Stereo on = RunBlocks(*chain_, Noise(1024, 0.5, 13), 512, 48000, kDefaults, true);
  for (int ch = 0; ch < 2; ++ch)
    for (size_t i = 0; i < on.size(); ++i)
      ASSERT_TRUE(std::isfinite(on.ch[ch][i])) << "channel " << ch << " sample " << i;
}

TEST_P(Chain, InPlaceEqualsSeparateBuffers)
{
  auto separate = MakeChain(GetParam());
  Stereo buf = Noise(3000, 0.7, 21);
  const Stereo expected = RunBlocks(*separate, buf, 300, 44100, kDefaults);
  for (size_t start = 0; start < buf.size(); start += 300)
  {
    double* io[2] = {buf.ch[0].data() + start, buf.ch[1].data() + start};
    chain_->Process(io, io, 300, 44100, kDefaults, true);
  }
  for (int ch = 0; ch < 2; ++ch)
    for (size_t i = 0; i < buf.size(); ++i)
      ASSERT_EQ(buf.ch[ch][i], expected.ch[ch][i]) << "channel " << ch << " sample " << i;
}

TEST_P(Chain, EmptyBlockOnlyPrepares)
{
  double in0[1] = {0.3}, in1[1] = {0.4}, out0[1] = {7}, out1[1] = {8};
  const double* ins[2] = {in0, in1};
  double* outs[2] = {out0, out1};
  for (int n : {0, -5})
  {
    chain_->Process(ins, outs, n, 48000, CabinetControls{10, 10, 10, 10}, true);
    const CabinetState& s = chain_->State();
    EXPECT_EQ(s.micTarget, 0.5) << n;
    EXPECT_EQ(s.outputTarget, 2.0) << n;
    EXPECT_EQ(s.micSmoother.b1, std::exp((1.0 / 48000) * (-6.283185307179586))) << n;
    EXPECT_EQ(s.micSmoother.z, 0.0) << n;
    EXPECT_EQ(s.one[0].a0, 0.0) << n;
    EXPECT_EQ(out0[0], 7.0);
    EXPECT_EQ(out1[0], 8.0);
  }
}

TEST_P(Chain, RestoresCallersFloatingPointMode)
{
  const unsigned before = _mm_getcsr();
  _mm_setcsr((before & ~0x8040u) | 0x6000u); // round toward zero, no flushing
  const unsigned mode = _mm_getcsr();
  const Stereo in = Noise(600, 0.5, 5);
  RunBlocks(*chain_, in, 600, 48000, kDefaults);
  const unsigned after = _mm_getcsr();
  _mm_setcsr(before);
  EXPECT_EQ(after & ~0x3fu, mode & ~0x3fu) << "control bits (exception flags aside)";
}

INSTANTIATE_TEST_SUITE_P(Kernels, Chain, ::testing::ValuesIn(kAllKernels), KernelLabel);
} // namespace
