#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "HostBlock.h"
#include "MURAX.h"

namespace
{
std::unique_ptr<MURAX> MakeReadyPlug(double sampleRate = 48000.0, int blockSize = 512)
{
  std::unique_ptr<MURAX> plug(static_cast<MURAX*>(MakePlug()));
  plug->OnParamReset();
  SetupHostProcessing(*plug, sampleRate, blockSize);
  return plug;
}

std::vector<double> Noise(int n, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-0.8, 0.8);
  std::vector<double> v(static_cast<size_t>(n));
  for (double& x : v) x = dist(rng);
  return v;
}

// Runs a stereo (or mono) signal through the plug in blocks of `block`.
void RunBlocks(MURAX& plug, std::vector<double>* in, std::vector<double>* out, int nChans, int block)
{
  const int n = static_cast<int>(in[0].size());
  for (int pos = 0; pos < n; pos += block)
  {
    const int frames = n - pos < block ? n - pos : block;
    double* ins[] = {in[0].data() + pos, nChans > 1 ? in[1].data() + pos : nullptr};
    double* outs[] = {out[0].data() + pos, nChans > 1 ? out[1].data() + pos : nullptr};
    ProcessHostBlock(plug, ins, outs, nChans, nChans, frames);
  }
}
} // namespace

TEST(MuraxIdentity, DeclaresItselfAsTheCabinetEffect)
{
  auto plug = MakeReadyPlug();
  EXPECT_STREQ(plug->GetEffectName(), "MURAX");
  EXPECT_STREQ(plug->GetProductName(), "");
  EXPECT_STREQ(plug->GetMfrName(), "TindermoorAudio");
  EXPECT_EQ(plug->GetEffectVersion(false), 0x10000);
  EXPECT_EQ(static_cast<unsigned>(plug->GetUniqueID()), 0x4D525831u) << "'MRX1', first character most significant";
  EXPECT_EQ(static_cast<unsigned>(plug->GetMfrID()), 0x54646D72u) << "'Tdmr'";
  EXPECT_EQ(plug->GetLatency(), 0);
  EXPECT_FALSE(plug->DoesMIDI());
  EXPECT_FALSE(plug->DoesStateChunks());
  EXPECT_FALSE(plug->IsInst());
  EXPECT_TRUE(plug->LegalIO(1, 1));
  EXPECT_TRUE(plug->LegalIO(2, 2));
  EXPECT_FALSE(plug->LegalIO(2, 1));
  EXPECT_EQ(plug->GetParamCount(), 5);
}

TEST(MuraxIdentity, ParametersAndTheirTexts)
{
  auto plug = MakeReadyPlug();
  const char* names[] = {"Mic Placement", "Cabinet Size", "Character", "Output", "Bypass"};
  const double defaults[] = {0, 5, 5, 5, 1};
  for (int i = 0; i < 5; ++i)
  {
    const IParam* p = plug->GetParam(i);
    EXPECT_STREQ(p->GetNameForHost(), names[i]);
    EXPECT_STREQ(p->GetLabelForHost(), "");
    EXPECT_STREQ(p->GetParamGroupForHost(), "");
    EXPECT_EQ(p->Value(), defaults[i]) << names[i];
    EXPECT_EQ(p->GetMin(), 0.0);
    EXPECT_EQ(p->GetMax(), i == 4 ? 1.0 : 10.0);
    EXPECT_EQ(p->GetShape(), 1.0);
    EXPECT_EQ(p->Type(), i == 4 ? IParam::kTypeInt : IParam::kTypeDouble);
  }
  char text[32];
  plug->GetParam(MURAX::kOutput)->GetDisplayForHost(text, sizeof text);
  EXPECT_STREQ(text, "5.0");
  plug->GetParam(MURAX::kBypass)->GetDisplayForHost(text, sizeof text);
  EXPECT_STREQ(text, "1");
  plug->GetParam(MURAX::kCabinetSize)->GetDisplayForHost(0.731, true, text, sizeof text);
  EXPECT_STREQ(text, "7.3");
}

TEST(MuraxParams, ChangesAreCopiedForTheNextBlock)
{
  std::unique_ptr<MURAX> plug(static_cast<MURAX*>(MakePlug()));
  EXPECT_EQ(plug->Controls().sizeValue, 0.0) << "copies are unset until reported";
  plug->OnParamReset();
  EXPECT_EQ(plug->Controls().sizeValue, 5.0);
  EXPECT_EQ(plug->Controls().outputValue, 5.0);
  plug->SetParameterFromGUI(MURAX::kMicPlacement, 0.25);
  EXPECT_DOUBLE_EQ(plug->Controls().micValue, 2.5);
  plug->SetParameterFromGUI(MURAX::kBypass, 0.0);
  EXPECT_DOUBLE_EQ(plug->Controls().micValue, 2.5);
}

TEST(MuraxProcessing, BypassParameterPassesInputThroughExactly)
{
  auto plug = MakeReadyPlug();
  plug->SetParameterFromGUI(MURAX::kBypass, 0.0);
  std::vector<double> in[2] = {Noise(3000, 1), Noise(3000, 2)};
  std::vector<double> out[2] = {std::vector<double>(3000), std::vector<double>(3000)};
  RunBlocks(*plug, in, out, 2, 512);
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], in[1]);

  std::vector<double> monoOut[1] = {std::vector<double>(3000)};
  RunBlocks(*plug, in, monoOut, 1, 512);
  EXPECT_EQ(monoOut[0], in[0]);
}

TEST(MuraxProcessing, MonoChannelMatchesStereoChannelZero)
{
  auto mono = MakeReadyPlug();
  auto stereo = MakeReadyPlug();
  std::vector<double> in[2] = {Noise(4096, 3), std::vector<double>(4096, 0.0)};
  std::vector<double> outMono[1] = {std::vector<double>(4096)};
  std::vector<double> outStereo[2] = {std::vector<double>(4096), std::vector<double>(4096)};
  RunBlocks(*mono, in, outMono, 1, 256);
  RunBlocks(*stereo, in, outStereo, 2, 256);
  EXPECT_EQ(outMono[0], outStereo[0]) << "the missing channel reads zeros from the base's scratch";
  double energy = 0;
  for (double v : outMono[0]) energy += v * v;
  EXPECT_GT(energy, 1.0) << "the effect is audible";
}

TEST(MuraxProcessing, FloatHostPathMatchesDoublePath)
{
  auto f32 = MakeReadyPlug();
  auto f64 = MakeReadyPlug();
  const int n = 2048;
  std::vector<double> in[2] = {Noise(n, 4), Noise(n, 5)};
  for (auto& ch : in)
    for (double& v : ch) v = static_cast<float>(v); // identical input for both paths
  std::vector<double> out[2] = {std::vector<double>(n), std::vector<double>(n)};
  RunBlocks(*f64, in, out, 2, 512);

  std::vector<float> fin[2], fout[2] = {std::vector<float>(n), std::vector<float>(n)};
  for (int c = 0; c < 2; ++c) fin[c].assign(in[c].begin(), in[c].end());
  for (int pos = 0; pos < n; pos += 512)
  {
    float* ins[] = {fin[0].data() + pos, fin[1].data() + pos};
    float* outs[] = {fout[0].data() + pos, fout[1].data() + pos};
    ProcessHostBlock(*f32, ins, outs, 2, 2, 512);
  }
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) ASSERT_EQ(fout[c][i], static_cast<float>(out[c][i])) << "channel " << c << " sample " << i;
}

TEST(MuraxProcessing, OneLongBlockEqualsAnnouncedSizeBlocks)
{
  auto whole = MakeReadyPlug(44100, 128);
  auto pieces = MakeReadyPlug(44100, 128);
  const int n = 128 * 5 + 3;
  std::vector<double> in[2] = {Noise(n, 6), Noise(n, 7)};
  std::vector<double> a[2] = {std::vector<double>(n), std::vector<double>(n)};
  std::vector<double> b[2] = {std::vector<double>(n), std::vector<double>(n)};
  RunBlocks(*whole, in, a, 2, n);
  RunBlocks(*pieces, in, b, 2, 128);
  EXPECT_EQ(a[0], b[0]);
  EXPECT_EQ(a[1], b[1]);
}

TEST(MuraxProcessing, NonFiniteInputDoesNotPoisonTheChannel)
{
  auto plug = MakeReadyPlug();
  const int n = 1024;
  std::vector<double> in[2] = {Noise(n, 8), Noise(n, 9)};
  in[0][100] = std::nan("");
  in[1][200] = INFINITY;
  std::vector<double> out[2] = {std::vector<double>(n), std::vector<double>(n)};
  RunBlocks(*plug, in, out, 2, 512);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) ASSERT_TRUE(std::isfinite(out[c][i])) << "channel " << c << " sample " << i;
  RunBlocks(*plug, in, out, 2, 512);
  for (int i = 512; i < n; ++i) ASSERT_TRUE(std::isfinite(out[0][i]));
}

TEST(MuraxFactory, ConcurrentConstructionsAreSerialised)
{
  std::vector<std::thread> threads;
  std::vector<IPlugBase*> plugs(4, nullptr);
  for (int t = 0; t < 4; ++t) threads.emplace_back([&plugs, t] { plugs[t] = MakePlug(); });
  for (auto& th : threads) th.join();
  for (IPlugBase* p : plugs)
  {
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetParamCount(), 5);
    delete p;
  }
}
