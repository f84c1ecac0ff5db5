// What hosts and validators really send: flushes without audio, missing or
// empty buses, null buffers, blocks before set-up or longer than announced,
// a sample size the set-up did not announce, and values that are not 0..1.
#include <cmath>

#include "Vst3TestSupport.h"

using namespace vst3test;

namespace
{
constexpr double kCanary = 1234.5;
constexpr int kGuard = 64;

// Output buffers with canaries behind their end.
struct GuardedOutputs
{
  GuardedOutputs(int nChans, int nFrames)
    : frames(nFrames), data(static_cast<size_t>(nChans), std::vector<double>(static_cast<size_t>(nFrames + kGuard), kCanary))
  {
    for (auto& c : data) ptrs.push_back(c.data());
  }
  bool GuardsIntact() const
  {
    for (const auto& c : data)
      for (int i = frames; i < frames + kGuard; ++i)
        if (c[static_cast<size_t>(i)] != kCanary) return false;
    return true;
  }
  bool Untouched() const
  {
    for (const auto& c : data)
      for (double x : c)
        if (x != kCanary) return false;
    return true;
  }
  int frames;
  std::vector<std::vector<double>> data;
  std::vector<double*> ptrs;
};

Vst::ProcessData BlockData(int32 nFrames, Vst::IParameterChanges* changes = nullptr)
{
  Vst::ProcessData data{};
  data.symbolicSampleSize = Vst::kSample64;
  data.numSamples = nFrames;
  data.inputParameterChanges = changes;
  return data;
}
} // namespace

TEST_F(Vst3Test, ParameterFlushesApplyChangesAndTouchNoBuffer)
{
  auto plug = MakeReady(48000, 256);
  ASSERT_TRUE(plug);
  Channels<double> ins(2, 256);
  GuardedOutputs outs(2, 256);
  Vst::AudioBusBuffers in{}, out{};
  in.numChannels = out.numChannels = 2;
  in.channelBuffers64 = ins.Ptrs();
  out.channelBuffers64 = outs.ptrs.data();

  struct Case
  {
    const char* name;
    int32 frames, numInputs, numOutputs;
    Vst::AudioBusBuffers *inputs, *outputs;
    int inChannels, outChannels;
    bool nullBuffers;
  };
  const Case cases[] = {
    {"0 samples with buses", 0, 1, 1, &in, &out, 2, 2, false},
    {"0 samples, no buses", 0, 0, 0, nullptr, nullptr, 0, 0, false},
    {"buses of 0 channels", 256, 1, 1, &in, &out, 0, 0, false},
    {"no buses at all", 256, 0, 0, nullptr, nullptr, 0, 0, false},
    {"bus counts without bus arrays", 256, 1, 1, nullptr, nullptr, 2, 2, false},
    {"null channel buffers", 256, 1, 1, &in, &out, 2, 2, true},
  };
  double value = 0.1;
  for (const Case& c : cases)
  {
    ParamChanges changes;
    changes.Add(kCharacter, value);
    Vst::ProcessData data = BlockData(c.frames, &changes);
    in.numChannels = c.inChannels;
    out.numChannels = c.outChannels;
    in.channelBuffers64 = c.nullBuffers ? nullptr : ins.Ptrs();
    out.channelBuffers64 = c.nullBuffers ? nullptr : outs.ptrs.data();
    data.numInputs = c.numInputs;
    data.numOutputs = c.numOutputs;
    data.inputs = c.inputs;
    data.outputs = c.outputs;
    EXPECT_EQ(plug->processor->process(data), kResultOk) << c.name;
    EXPECT_DOUBLE_EQ(plug->controller->getParamNormalized(kCharacter), value) << c.name << ": change applied";
    EXPECT_TRUE(outs.Untouched()) << c.name << ": no host buffer written";
    value += 0.1;
  }
}

TEST_F(Vst3Test, ABlockWithoutBusesDoesNotWriteThePreviousBlocksBuffers)
{
  auto plug = MakeReady(48000, 128);
  ASSERT_TRUE(plug);
  Channels<double> ins(2, 128);
  GuardedOutputs first(2, 128);
  plug->Process(ins.Ptrs(), 2, first.ptrs.data(), 2, 128);
  for (auto& c : first.data) std::fill(c.begin(), c.end(), kCanary);
  Vst::ProcessData data = BlockData(128);
  EXPECT_EQ(plug->processor->process(data), kResultOk);
  EXPECT_TRUE(first.Untouched()) << "the earlier block's host buffers are no longer attached";
}

TEST_F(Vst3Test, BlocksBeforeSetupOrLongerThanAnnouncedStayInsideTheBuffers)
{
  // Before any set-up (which announces 32-bit samples by default) and after
  // one announcing no block at all: no scratch buffers; the outputs get silence.
  for (bool announced : {false, true})
  {
    auto early = Make();
    ASSERT_TRUE(early);
    if (announced)
    {
      Vst::ProcessSetup none{Vst::kRealtime, Vst::kSample32, 0, 48000.0};
      ASSERT_EQ(early->processor->setupProcessing(none), kResultOk);
    }
    Channels<float> in(2, 300);
    for (auto& c : in.data) std::fill(c.begin(), c.end(), 0.25f);
    std::vector<std::vector<float>> out(2, std::vector<float>(300 + kGuard, 7.0f));
    float* op[2] = {out[0].data(), out[1].data()};
    early->Process(in.Ptrs(), 2, op, 2, 300);
    const char* when = announced ? "after a set-up without a block size" : "before set-up";
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < 300 + kGuard; ++i)
        ASSERT_EQ(out[static_cast<size_t>(c)][static_cast<size_t>(i)], i < 300 ? 0.0f : 7.0f)
          << when << ", channel " << c << ", sample " << i;
  }

  // Ten times the announced maximum, in 64 and 32 bits.
  auto plug = MakeReady(48000, 64, Vst::kSample64);
  ASSERT_TRUE(plug);
  GuardedOutputs longOuts(2, 640);
  Channels<double> longIns(2, 640);
  plug->Process(longIns.Ptrs(), 2, longOuts.ptrs.data(), 2, 640);
  EXPECT_TRUE(longOuts.GuardsIntact()) << "64-bit block of 10x the maximum";

  auto plug32 = MakeReady(48000, 64, Vst::kSample32);
  ASSERT_TRUE(plug32);
  Channels<float> in32(2, 640);
  std::vector<std::vector<float>> out32(2, std::vector<float>(640 + kGuard, 7.0f));
  float* op[2] = {out32[0].data(), out32[1].data()};
  plug32->Process(in32.Ptrs(), 2, op, 2, 640);
  for (int c = 0; c < 2; ++c)
    for (int i = 640; i < 640 + kGuard; ++i)
      ASSERT_EQ(out32[static_cast<size_t>(c)][static_cast<size_t>(i)], 7.0f) << "32-bit guard, channel " << c;
}

TEST_F(Vst3Test, BuffersOfTheOtherSampleSizeAreNotRead)
{
  auto plug = MakeReady(48000, 256, Vst::kSample32);
  ASSERT_TRUE(plug);
  Channels<double> ins(2, 256);
  GuardedOutputs outs(2, 256);
  EXPECT_EQ(plug->Process(ins.Ptrs(), 2, outs.ptrs.data(), 2, 256), kResultOk) << "64-bit data after a 32-bit set-up";
  EXPECT_TRUE(outs.Untouched());
}

TEST_F(Vst3Test, SetupRefusesWhatItCannotProcess)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  const Vst::ProcessSetup bad[] = {{Vst::kRealtime, 2, 512, 48000.0},
                                   {Vst::kRealtime, Vst::kSample64, 512, 0.0},
                                   {Vst::kRealtime, Vst::kSample64, 512, -44100.0},
                                   {Vst::kRealtime, Vst::kSample64, 512, std::nan("")}};
  for (Vst::ProcessSetup setup : bad)
    EXPECT_EQ(plug->processor->setupProcessing(setup), kResultFalse)
      << "sample size " << setup.symbolicSampleSize << ", rate " << setup.sampleRate;
}

TEST_F(Vst3Test, QueueValuesAreCheckedAtTheBoundary)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  Vst::IEditController* c = plug->controller;
  struct Case
  {
    Vst::ParamID id;
    double sent, expected;
  };
  const Case cases[] = {
    {kSize, 0.3, 0.3},         {kSize, std::nan(""), 0.3}, {kSize, 1.5, 1.0},    {kSize, -2.0, 0.0},
    {kHostBypass, 7.0, 1.0},   {kHostBypass, std::nan(""), 1.0},                  {kHostBypass, -1.0, 0.0},
    {kPreset, std::nan(""), 0.0}, {kPreset, -5.0, 0.0},
  };
  for (const Case& k : cases)
  {
    ParamChanges changes;
    changes.Add(k.id, k.sent);
    plug->Flush(&changes);
    EXPECT_DOUBLE_EQ(c->getParamNormalized(k.id), k.expected) << "ID " << k.id << " sent " << k.sent;
  }
  // The preset change at -5 was clamped to 0, which restored the defaults.
  EXPECT_DOUBLE_EQ(c->getParamNormalized(kSize), 0.5);

  ParamChanges wild;
  wild.Add(kOutput, 40.0);
  wild.Add(kMic, -3.0);
  Channels<double> ins(2, 512), outs(2, 512);
  for (auto& ch : ins.data) ch = Noise(512, 2);
  ins.ptrs = {ins.data[0].data(), ins.data[1].data()};
  plug->Process(ins.Ptrs(), 2, outs.Ptrs(), 2, 512, &wild);
  for (int ch = 0; ch < 2; ++ch)
    for (double x : outs.data[static_cast<size_t>(ch)]) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 4.0);
}

TEST_F(Vst3Test, InactiveOutputBusesAreNotWrittenAndSilenceIsNeverClaimed)
{
  auto plug = MakeReady(48000, 256);
  ASSERT_TRUE(plug);
  Channels<double> ins(2, 256);
  for (auto& c : ins.data) c = Noise(256, 4);
  ins.ptrs = {ins.data[0].data(), ins.data[1].data()};
  GuardedOutputs outs(2, 256);
  Vst::AudioBusBuffers in{}, out{};
  in.numChannels = out.numChannels = 2;
  in.channelBuffers64 = ins.Ptrs();
  out.channelBuffers64 = outs.ptrs.data();
  in.silenceFlags = 0;
  out.silenceFlags = 0x3; // stale flags from the host's last use of the bus
  Vst::ProcessData data = BlockData(256);
  data.numInputs = data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;

  ASSERT_EQ(plug->component->activateBus(Vst::kAudio, Vst::kOutput, 0, false), kResultTrue);
  plug->processor->process(data);
  EXPECT_TRUE(outs.Untouched()) << "an inactive output bus";

  ASSERT_EQ(plug->component->activateBus(Vst::kAudio, Vst::kOutput, 0, true), kResultTrue);
  plug->processor->process(data);
  EXPECT_FALSE(outs.Untouched()) << "an active output bus";
  EXPECT_EQ(out.silenceFlags, 0u) << "the output carries sound and must not be flagged silent";
}
