#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "TestPlug.h"

namespace
{
std::vector<double> Ramp(int n, double start = 1.0)
{
  std::vector<double> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = start + i;
  return v;
}
} // namespace

TEST(ProcessBuffers, MonoHostStillGivesTheEffectTwoChannels)
{
  TestPlug plug("1-1 2-2");
  plug.SetupProcessing(48000, 32);
  auto in = Ramp(32);
  std::vector<double> out(32, -1.0);
  double* ins[] = {in.data()};
  double* outs[] = {out.data()};
  plug.ProcessBlock(ins, outs, 1, 1, 32);
  EXPECT_EQ(plug.seenIn[0], in.data());
  EXPECT_EQ(plug.seenIn[1], plug.InScratch(1)) << "unconnected input reads scratch";
  EXPECT_EQ(plug.seenOut[1], plug.OutScratch(1)) << "unconnected output writes scratch";
  for (int s = 0; s < 32; ++s)
  {
    EXPECT_EQ(out[s], 2.0 * in[s]);
    EXPECT_EQ(plug.OutScratch(1)[s], 100.0) << "input 1 read zeros at " << s;
  }
}

TEST(ProcessBuffers, FloatPathConvertsConnectedChannelsOnly)
{
  TestPlug plug("1-1 2-2");
  plug.SetupProcessing(48000, 16);
  std::vector<float> in0(16), in1(16), out0(16, -1.f), out1(16, -1.f);
  for (int s = 0; s < 16; ++s)
  {
    in0[s] = 0.25f * s;
    in1[s] = -0.5f * s;
  }
  float* ins[] = {in0.data(), in1.data()};
  float* outs[] = {out0.data(), out1.data()};
  plug.ProcessBlock(ins, outs, 2, 2, 16);
  for (int s = 0; s < 16; ++s)
  {
    EXPECT_EQ(out0[s], 0.5f * s);
    EXPECT_EQ(out1[s], -1.0f * s + 100.0f);
  }

  std::vector<float> mono(16, -7.f);
  float* outsMono[] = {mono.data()};
  plug.ProcessBlock(ins, outsMono, 1, 1, 16);
  EXPECT_EQ(mono[3], 1.5f);
  EXPECT_EQ(out1[3], -3.0f + 100.0f) << "an unconnected output is not converted";
}

// A 32-bit host must not get an infinity the effect never computed: finite
// results beyond the float range saturate. What the host itself sent (an
// infinity, NaN, a subnormal) comes back bit for bit when bypassed.
TEST(ProcessBuffers, FloatPathSaturatesFiniteResultsAndBypassKeepsEveryBit)
{
  TestPlug plug("1-1 2-2");
  plug.SetupProcessing(48000, 8);
  plug.gain = 1e10;
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const float sub = std::numeric_limits<float>::denorm_min() * 3;
  std::vector<float> in0 = {1e30f, -1e30f, 1e-20f, inf, -inf, nan, sub, 0.f}, in1(8, 0.f), out0(8), out1(8);
  float* ins[] = {in0.data(), in1.data()};
  float* outs[] = {out0.data(), out1.data()};
  plug.ProcessBlock(ins, outs, 2, 2, 8);
  EXPECT_EQ(out0[0], FLT_MAX) << "1e40 saturates";
  EXPECT_EQ(out0[1], -FLT_MAX) << "-1e40 saturates";
  EXPECT_EQ(out0[2], static_cast<float>(static_cast<double>(1e-20f) * 1e10)) << "values in range convert as before";
  EXPECT_EQ(out0[3], inf) << "an infinity stays one";
  EXPECT_EQ(out0[4], -inf);
  EXPECT_TRUE(std::isnan(out0[5]));

  plug.SetHostBypass(true);
  plug.ProcessBlock(ins, outs, 2, 2, 8);
  EXPECT_EQ(std::memcmp(out0.data(), in0.data(), sizeof(float) * 8), 0) << "bypassed: every bit of the input";
}

TEST(ProcessBuffers, AccumulatingAddsToTheHostBuffers)
{
  TestPlug plug("2-2");
  plug.SetupProcessing(48000, 8);
  std::vector<float> in(8, 1.f), out0(8, 10.f), out1(8, 20.f);
  float* ins[] = {in.data(), in.data()};
  float* outs[] = {out0.data(), out1.data()};
  plug.SetInputChannelConnections(0, 2, true);
  plug.SetOutputChannelConnections(0, 2, true);
  plug.AttachInputBuffers(0, 2, ins, 8);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffersAccumulating(0.f, 8);
  EXPECT_EQ(out0[0], 12.f);
  EXPECT_EQ(out1[7], 122.f);
}

TEST(ProcessBuffers, BlocksLongerThanAnnouncedRunInPieces)
{
  TestPlug plug("1-1 2-2");
  plug.SetupProcessing(48000, 64);
  const int n = 64 * 3 + 17;
  std::vector<float> in(n), out(n, 0.f), in1(n, 1.f), out1(n, 0.f);
  for (int s = 0; s < n; ++s) in[s] = static_cast<float>(s);
  float* ins[] = {in.data(), in1.data()};
  float* outs[] = {out.data(), out1.data()};
  plug.ProcessBlock(ins, outs, 2, 2, n);
  EXPECT_EQ(plug.maxFrames, 64);
  EXPECT_EQ(plug.calls, 4);
  for (int s = 0; s < n; ++s) ASSERT_EQ(out[s], 2.f * s) << "sample " << s;

  auto din = Ramp(n, 0.0);
  std::vector<double> dout(n);
  double* dins[] = {din.data()};
  double* douts[] = {dout.data()};
  plug.ProcessBlock(dins, douts, 1, 1, n);
  for (int s = 0; s < n; ++s) ASSERT_EQ(dout[s], 2.0 * s) << "64-bit sample " << s;
}

TEST(ProcessBuffers, BeforeAnyBlockSizeTheOutputIsSilent)
{
  TestPlug plug("1-1 2-2");
  std::vector<float> in(100, 1.f), out(100, 5.f);
  float* ins[] = {in.data()};
  float* outs[] = {out.data()};
  plug.ProcessBlock(ins, outs, 1, 1, 100);
  EXPECT_EQ(plug.calls, 0);
  for (float v : out) ASSERT_EQ(v, 0.f);
}

TEST(ProcessBuffers, NullHostPointersActLikeUnconnectedChannels)
{
  TestPlug plug("1-1 2-2");
  plug.SetupProcessing(48000, 16);
  std::vector<double> in(16, 3.0), out(16, 0.0);
  double* ins[] = {nullptr, in.data()};
  double* outs[] = {out.data(), nullptr};
  plug.ProcessBlock(ins, outs, 2, 2, 16);
  EXPECT_EQ(out[5], 0.0) << "a null input reads silence";
  EXPECT_EQ(plug.OutScratch(1)[5], 106.0) << "a null output writes scratch";
  plug.ProcessBlock(static_cast<double**>(nullptr), static_cast<double**>(nullptr), 2, 2, 16);
  EXPECT_EQ(plug.calls, 2);
}

TEST(ProcessBuffers, ZeroFramesStillReachesTheEffect)
{
  TestPlug plug("1-1 2-2");
  plug.SetupProcessing(48000, 16);
  plug.ProcessBlock(static_cast<float**>(nullptr), static_cast<float**>(nullptr), 0, 0, 0);
  EXPECT_EQ(plug.calls, 1);
  EXPECT_EQ(plug.lastFrames, 0);
}

TEST(PassThrough, CopiesSharedChannelsAndZeroesTheRest)
{
  TestPlug plug("1-2");
  plug.SetupProcessing(48000, 8);
  plug.SetHostBypass(true);
  auto in = Ramp(8);
  std::vector<double> out0(8, -1), out1(8, -1);
  double* ins[] = {in.data()};
  double* outs[] = {out0.data(), out1.data()};
  plug.ProcessBlock(ins, outs, 1, 2, 8);
  EXPECT_EQ(plug.calls, 0);
  EXPECT_EQ(out0, in);
  EXPECT_EQ(out1, std::vector<double>(8, 0.0));
}

TEST(PassThrough, LatencyDelaysEveryChannelExactly)
{
  const int latency = 5;
  TestPlug plug("2-2", latency);
  plug.SetupProcessing(48000, 16);
  plug.SetLatency(latency);
  plug.SetHostBypass(true);
  std::vector<float> in0(16, 0.f), in1(16, 0.f), out0(16, -1.f), out1(16, -1.f);
  in0[0] = 1.f;
  in1[3] = 2.f;
  float* ins[] = {in0.data(), in1.data()};
  float* outs[] = {out0.data(), out1.data()};
  plug.ProcessBlock(ins, outs, 2, 2, 16);
  for (int s = 0; s < 16; ++s)
  {
    EXPECT_EQ(out0[s], s == latency ? 1.f : 0.f) << "channel 0 sample " << s;
    EXPECT_EQ(out1[s], s == latency + 3 ? 2.f : 0.f) << "channel 1 sample " << s;
  }

  // The line carries across blocks.
  std::fill(in0.begin(), in0.end(), 0.f);
  in0[14] = 3.f;
  plug.ProcessBlock(ins, outs, 2, 2, 16);
  std::fill(in0.begin(), in0.end(), 0.f);
  plug.ProcessBlock(ins, outs, 2, 2, 16);
  EXPECT_EQ(out0[14 + latency - 16], 3.f);
}

TEST(PassThrough, SetLatencyRestartsTheLineAndAnUnsizableOneCopies)
{
  TestPlug plug("2-2", 3);
  plug.SetupProcessing(48000, 8);
  plug.SetLatency(3);
  plug.SetHostBypass(true);
  auto in = Ramp(8);
  std::vector<double> out0(8), out1(8);
  double* ins[] = {in.data(), in.data()};
  double* outs[] = {out0.data(), out1.data()};
  plug.ProcessBlock(ins, outs, 2, 2, 8);
  EXPECT_EQ(out0[3], 1.0);
  plug.SetLatency(2); // mid-stream: the line is cleared and starts again
  plug.ProcessBlock(ins, outs, 2, 2, 8);
  EXPECT_EQ(out1[0], 0.0);
  EXPECT_EQ(out1[1], 0.0);
  EXPECT_EQ(out1[2], 1.0);

  plug.SetLatency(-5);
  plug.ProcessBlock(ins, outs, 2, 2, 8);
  EXPECT_EQ(out0, in) << "a line of no length passes the input through";
}

TEST(PassThrough, SetLatencyWithoutADelayLineOnlyStores)
{
  TestPlug plug(nullptr);
  EXPECT_EQ(plug.mDelay, nullptr);
  plug.SetLatency(12);
  EXPECT_EQ(plug.GetLatency(), 12);
}

TEST(DefaultEffect, CopiesAndZeroes)
{
  class Plain : public IPlugHeadless
  {
  public:
    Plain() : IPlugHeadless({}, 0, "1-2", 0, "P", "", "", 0, 0, 0, 0, false, false, false) {}
  } plug;
  plug.SetupProcessing(44100, 4);
  double in[4] = {1, 2, 3, 4}, out0[4] = {}, out1[4] = {9, 9, 9, 9};
  double* ins[] = {in};
  double* outs[] = {out0, out1};
  plug.ProcessBlock(ins, outs, 1, 2, 4);
  EXPECT_EQ(out0[3], 4.0);
  EXPECT_EQ(out1[0], 0.0);
}
