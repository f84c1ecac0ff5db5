// Buses, arrangements and audio as a host drives them: sample formats and
// channel counts, the cabinet's response, bypass, presets, parameter queues,
// block sizes and threads.
#include <atomic>
#include <cfloat>
#include <cstring>
#include <limits>
#include <thread>
#include <xmmintrin.h>

#include "Vst3TestSupport.h"

using namespace vst3test;

TEST_F(Vst3Test, OneStereoMainBusEachWay)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  Vst::IComponent* c = plug->component;
  EXPECT_EQ(c->getBusCount(Vst::kAudio, Vst::kInput), 1);
  EXPECT_EQ(c->getBusCount(Vst::kAudio, Vst::kOutput), 1);
  EXPECT_EQ(c->getBusCount(Vst::kEvent, Vst::kInput), 0);
  EXPECT_EQ(c->getBusCount(Vst::kEvent, Vst::kOutput), 0);
  const char* names[] = {"Main Input", "Output"};
  for (Vst::BusDirection dir : {Vst::kInput, Vst::kOutput})
  {
    Vst::BusInfo info{};
    ASSERT_EQ(c->getBusInfo(Vst::kAudio, dir, 0, info), kResultTrue) << names[dir];
    EXPECT_EQ(Narrow(info.name), names[dir]);
    EXPECT_EQ(info.channelCount, 2) << names[dir];
    EXPECT_EQ(info.busType, Vst::kMain) << names[dir];
    EXPECT_EQ(info.flags, static_cast<uint32>(Vst::BusInfo::kDefaultActive)) << names[dir];
    Vst::SpeakerArrangement arr = 0;
    EXPECT_EQ(plug->processor->getBusArrangement(dir, 0, arr), kResultTrue);
    EXPECT_EQ(arr, 0x3u) << names[dir];
    EXPECT_NE(c->getBusInfo(Vst::kAudio, dir, 1, info), kResultTrue) << names[dir] << " bus 1";
    EXPECT_EQ(c->activateBus(Vst::kAudio, dir, 0, true), kResultTrue);
    EXPECT_NE(c->activateBus(Vst::kAudio, dir, 3, true), kResultTrue);
  }
  EXPECT_EQ(plug->processor->canProcessSampleSize(Vst::kSample32), kResultTrue);
  EXPECT_EQ(plug->processor->canProcessSampleSize(Vst::kSample64), kResultTrue);
  EXPECT_EQ(plug->processor->canProcessSampleSize(2), kResultFalse);
  EXPECT_EQ(plug->processor->getLatencySamples(), 0u);
  EXPECT_EQ(plug->processor->getTailSamples(), 0u);
  EXPECT_EQ(plug->processor->setProcessing(true), kNotImplemented);
}

TEST_F(Vst3Test, SetBusArrangementsAcceptsMonoAndStereoOnly)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  Vst::IAudioProcessor* p = plug->processor;
  Vst::SpeakerArrangement mono = 0x80000, stereo = 0x3;
  Vst::SpeakerArrangement two[2] = {stereo, stereo};

  EXPECT_EQ(p->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  Vst::BusInfo info{};
  plug->component->getBusInfo(Vst::kAudio, Vst::kInput, 0, info);
  EXPECT_EQ(Narrow(info.name), "Main Input") << "stereo on stereo buses changes nothing";

  EXPECT_EQ(p->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse) << "stereo in, mono out";
  EXPECT_EQ(p->setBusArrangements(two, 2, &stereo, 1), kResultFalse) << "two inputs without a sidechain";
  EXPECT_EQ(p->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse) << "no input arrangement";
  EXPECT_EQ(p->setBusArrangements(&stereo, 1, nullptr, 0), kResultFalse) << "no output arrangement";
  EXPECT_EQ(p->setBusArrangements(&stereo, 0, &stereo, 0), kResultFalse) << "zero counts";

  EXPECT_EQ(p->setBusArrangements(&mono, 1, &mono, 1), kResultOk) << "mono in, mono out";
  for (Vst::BusDirection dir : {Vst::kInput, Vst::kOutput})
  {
    ASSERT_EQ(plug->component->getBusInfo(Vst::kAudio, dir, 0, info), kResultTrue);
    EXPECT_EQ(Narrow(info.name), dir == Vst::kInput ? "Input" : "Output");
    EXPECT_EQ(info.channelCount, 1);
    Vst::SpeakerArrangement arr = 0;
    p->getBusArrangement(dir, 0, arr);
    EXPECT_EQ(arr, mono);
  }
  EXPECT_EQ(plug->component->getBusCount(Vst::kAudio, Vst::kInput), 1);
}

TEST_F(Vst3Test, WholeChainResponseAtSettledDefaults)
{
  // Four sines at once, each a whole number of cycles per second, fitted
  // after the smoothers have settled.
  const double rate = 48000.0, amplitude = 0.05;
  const double freqs[] = {100.0, 1000.0, 3000.0, 8000.0};
  const double expectedDb[] = {4.42, 2.88, 4.75, -21.23};
  auto plug = MakeReady(rate, 512);
  ASSERT_TRUE(plug);
  const size_t settle = 48000, measure = 48000;
  std::vector<double> in(settle + measure);
  for (size_t i = 0; i < in.size(); ++i)
    for (double f : freqs) in[i] += amplitude * std::sin(2.0 * M_PI * f * static_cast<double>(i) / rate);
  std::vector<double> out[2];
  RunBlocks(*plug, in, out, 2, 512);
  for (int k = 0; k < 4; ++k)
    for (int ch = 0; ch < 2; ++ch)
      EXPECT_NEAR(GainDb(out[ch], freqs[k], rate, amplitude, settle, measure), expectedDb[k], 0.06)
        << freqs[k] << " Hz, channel " << ch;
}

TEST_F(Vst3Test, ThirtyTwoAndSixtyFourBitInMonoAndStereoAgree)
{
  const int n = 6000, block = 300;
  std::vector<double> in = Noise(n, 3);
  for (double& x : in) x = static_cast<float>(x); // exactly representable in both formats

  auto reference = MakeReady(48000, block, Vst::kSample64);
  ASSERT_TRUE(reference);
  std::vector<double> stereo64[2];
  RunBlocks(*reference, in, stereo64, 2, block);

  auto mono = MakeReady(48000, block, Vst::kSample64);
  ASSERT_TRUE(mono);
  std::vector<double> mono64[2];
  RunBlocks(*mono, in, mono64, 1, block);
  EXPECT_EQ(mono64[0], stereo64[0]) << "mono 64-bit: channel 0 as in stereo";

  for (int nChans : {1, 2})
  {
    auto plug = MakeReady(48000, block, Vst::kSample32);
    ASSERT_TRUE(plug);
    Channels<float> ins(2, n), outs(2, n);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i) ins.data[c][i] = static_cast<float>(in[i]);
    for (int pos = 0; pos < n; pos += block)
    {
      float* ip[2] = {ins.Ptrs()[0] + pos, ins.Ptrs()[1] + pos};
      float* op[2] = {outs.Ptrs()[0] + pos, outs.Ptrs()[1] + pos};
      ASSERT_EQ(plug->Process(ip, nChans, op, nChans, block), kResultOk);
    }
    for (int c = 0; c < nChans; ++c)
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(outs.data[c][i], static_cast<float>(stereo64[c][i]))
          << nChans << "-channel 32-bit, channel " << c << ", sample " << i;
  }
}

TEST_F(Vst3Test, HostBypassPassesTheInputThroughExactly)
{
  for (int32 size : {Vst::kSample32, Vst::kSample64})
  {
    auto plug = MakeReady(48000, 256, size);
    ASSERT_TRUE(plug);
    ParamChanges changes;
    changes.Add(kHostBypass, 1.0, 17);
    std::vector<double> in = Noise(256, 11);
    // What a broken source may send passes unchanged too, subnormals included.
    in[3] = std::numeric_limits<double>::infinity();
    in[4] = std::numeric_limits<double>::quiet_NaN();
    in[5] = std::numeric_limits<float>::denorm_min();
    in[6] = -std::numeric_limits<float>::denorm_min() * 7;
    in[7] = std::numeric_limits<double>::denorm_min();
    if (size == Vst::kSample64)
    {
      Channels<double> ins(2, 256), outs(2, 256);
      ins.data[0] = ins.data[1] = in;
      ins.ptrs = {ins.data[0].data(), ins.data[1].data()};
      plug->Process(ins.Ptrs(), 2, outs.Ptrs(), 2, 256, &changes);
      EXPECT_EQ(std::memcmp(outs.data[0].data(), in.data(), 256 * sizeof(double)), 0) << "64-bit";
      EXPECT_EQ(std::memcmp(outs.data[1].data(), in.data(), 256 * sizeof(double)), 0) << "64-bit";
    }
    else
    {
      Channels<float> ins(2, 256), outs(2, 256);
      for (int i = 0; i < 256; ++i) ins.data[0][i] = ins.data[1][i] = static_cast<float>(in[i]);
      plug->Process(ins.Ptrs(), 2, outs.Ptrs(), 2, 256, &changes);
      EXPECT_EQ(std::memcmp(outs.data[0].data(), ins.data[0].data(), 256 * sizeof(float)), 0) << "32-bit";
      EXPECT_EQ(std::memcmp(outs.data[1].data(), ins.data[1].data(), 256 * sizeof(float)), 0) << "32-bit";
    }
    EXPECT_EQ(plug->controller->getParamNormalized(kHostBypass), 1.0);
  }
}

TEST_F(Vst3Test, HostBypassThresholdAndSetupKeepingIt)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  const std::pair<double, double> cases[] = {{0.51, 1.0}, {0.5, 0.0}, {1.0, 1.0}, {0.0, 0.0}};
  for (const auto& c : cases)
  {
    ParamChanges changes;
    changes.Add(kHostBypass, c.first);
    plug->Flush(&changes);
    EXPECT_EQ(plug->controller->getParamNormalized(kHostBypass), c.second) << "bypass value " << c.first;
  }
  ParamChanges on;
  on.Add(kHostBypass, 1.0);
  plug->Flush(&on);
  ASSERT_EQ(plug->Setup(44100, 512, Vst::kSample64), kResultOk);
  EXPECT_EQ(plug->controller->getParamNormalized(kHostBypass), 1.0) << "setupProcessing keeps the bypass";
  const std::vector<double> in = Noise(300, 3);
  std::vector<double> out[2];
  RunBlocks(*plug, in, out, 2, 100);
  EXPECT_EQ(out[0], in) << "still bypassed after the new set-up";
  EXPECT_EQ(out[1], in) << "still bypassed after the new set-up";
}

TEST_F(Vst3Test, PresetChangesRestoreTheOnePreset)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  Vst::IEditController* c = plug->controller;
  const std::pair<double, bool> cases[] = {{0.0, true}, {0.999, true}, {1.0, false}};
  for (const auto& preset : cases)
  {
    ParamChanges edit;
    edit.Add(kSize, 0.9);
    edit.Add(kEffectBypass, 0.0);
    plug->Flush(&edit);
    ParamChanges change;
    change.Add(kPreset, preset.first);
    plug->Flush(&change);
    EXPECT_DOUBLE_EQ(c->getParamNormalized(kSize), preset.second ? 0.5 : 0.9) << "preset value " << preset.first;
    EXPECT_EQ(c->getParamNormalized(kEffectBypass), preset.second ? 1.0 : 0.0) << "preset value " << preset.first;
    EXPECT_EQ(c->getParamNormalized(kPreset), 0.0) << "the preset parameter always reads 0";
  }
}

TEST_F(Vst3Test, OnlyTheLastPointOfAQueueCountsFromTheStartOfTheBlock)
{
  auto points = MakeReady();
  auto single = MakeReady();
  ASSERT_TRUE(points && single);
  ParamChanges three, one;
  three.Add(kMic, 0.2, 0);
  three.Add(kMic, 0.5, 64);
  three.Add(kMic, 0.9, 200);
  three.Add(5, 0.3, 0); // the parameter count: not an ID, ignored
  one.Add(kMic, 0.9, 0);

  const std::vector<double> in = Noise(512, 5);
  Channels<double> insA(2, 512), outsA(2, 512), insB(2, 512), outsB(2, 512);
  insA.data[0] = insA.data[1] = insB.data[0] = insB.data[1] = in;
  insA.ptrs = {insA.data[0].data(), insA.data[1].data()};
  insB.ptrs = {insB.data[0].data(), insB.data[1].data()};
  points->Process(insA.Ptrs(), 2, outsA.Ptrs(), 2, 512, &three);
  single->Process(insB.Ptrs(), 2, outsB.Ptrs(), 2, 512, &one);
  EXPECT_DOUBLE_EQ(points->controller->getParamNormalized(kMic), 0.9);
  EXPECT_EQ(outsA.data[0], outsB.data[0]) << "the point at 200 acts from sample 0; earlier points do nothing";
  EXPECT_EQ(outsA.data[1], outsB.data[1]);
}

TEST_F(Vst3Test, BlockSizesDoNotChangeTheOutput)
{
  const std::vector<double> in = Noise(9000, 9);
  auto reference = MakeReady(48000, 512);
  ASSERT_TRUE(reference);
  std::vector<double> expected[2];
  RunBlocks(*reference, in, expected, 2, 512);

  // Sizes from 1 sample up to twice the announced maximum.
  auto plug = MakeReady(48000, 512);
  ASSERT_TRUE(plug);
  std::vector<double> inCopy[2] = {in, in}, out[2] = {std::vector<double>(in.size()), std::vector<double>(in.size())};
  std::mt19937 rng(1);
  const int sizes[] = {1, 2, 3, 64, 511, 512, 513, 1024};
  for (size_t pos = 0; pos < in.size();)
  {
    const int frames = std::min<int>(sizes[rng() % 8], static_cast<int>(in.size() - pos));
    double* ins[2] = {inCopy[0].data() + pos, inCopy[1].data() + pos};
    double* outs[2] = {out[0].data() + pos, out[1].data() + pos};
    plug->Process(ins, 2, outs, 2, frames);
    pos += static_cast<size_t>(frames);
  }
  EXPECT_EQ(out[0], expected[0]);
  EXPECT_EQ(out[1], expected[1]);
}

TEST_F(Vst3Test, ProcessingFromAnotherThreadWhileTheHostEditsFromSeveral)
{
  auto plug = MakeReady(48000, 128, Vst::kSample32);
  ASSERT_TRUE(plug);
  std::atomic<bool> done{false};
  std::vector<std::thread> editors;
  for (int t = 0; t < 3; ++t)
    editors.emplace_back([&, t] {
      std::mt19937 rng(100 + t);
      std::uniform_real_distribution<double> dist(-0.5, 1.5);
      while (!done)
      {
        plug->controller->setParamNormalized(static_cast<Vst::ParamID>(rng() % 5), dist(rng));
        plug->controller->getParamNormalized(static_cast<Vst::ParamID>(rng() % 5));
      }
    });

  bool finite = true;
  std::thread audio([&] {
    Channels<float> ins(2, 128), outs(2, 128);
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::uniform_real_distribution<double> value(0.0, 1.0);
    ParamChanges changes;
    for (int block = 0; block < 400; ++block)
    {
      for (auto& c : ins.data)
        for (float& x : c) x = sample(rng);
      changes.Clear();
      for (Vst::ParamID id = 0; id < 5; ++id) // every parameter, at every sample of the block
        for (int32 offset = 0; offset < 128; offset += 8) changes.Add(id, value(rng), offset);
      plug->Process(ins.Ptrs(), 2, outs.Ptrs(), 2, 128, &changes);
      for (auto& c : outs.data)
        for (float x : c) finite = finite && std::isfinite(x);
    }
  });
  audio.join();
  done = true;
  for (auto& t : editors) t.join();
  EXPECT_TRUE(finite) << "every output sample is finite";
}

TEST_F(Vst3Test, SignalsNearFloatsSmallestNeverReachTheHostAsSubnormals)
{
  // Noise a little above float's smallest normal number, then its decaying
  // tail: without flushing, many output samples would land between 0 and it.
  auto plug = MakeReady(48000, 512, Vst::kSample32);
  ASSERT_TRUE(plug);
  Channels<float> ins(2, 512), outs(2, 512);
  const std::vector<double> noise = Noise(512, 21, 1e-36);
  // The control bits (rounding, exception masks, flush and denormal modes), not the sticky status bits.
  const unsigned kControl = ~0x3Fu;
  const unsigned callerFlags = _mm_getcsr() & kControl;
  int subnormals = 0, nonZero = 0;
  for (int block = 0; block < 80; ++block)
  {
    for (auto& c : ins.data)
      for (int i = 0; i < 512; ++i) c[i] = block < 20 ? static_cast<float>(noise[i]) : 0.0f;
    plug->Process(ins.Ptrs(), 2, outs.Ptrs(), 2, 512);
    for (auto& c : outs.data)
      for (float x : c)
      {
        subnormals += std::fpclassify(x) == FP_SUBNORMAL;
        nonZero += x != 0.0f;
      }
    ASSERT_EQ(_mm_getcsr() & kControl, callerFlags) << "process restores the caller's floating-point modes, block " << block;
  }
  EXPECT_GT(nonZero, 1000) << "the quiet signal does come through";
  EXPECT_EQ(subnormals, 0);
}

TEST_F(Vst3Test, SuspendAndResumeWithANewSetupContinuesSeamlessly)
{
  auto resumed = MakeReady(48000.0, 512);
  auto steady = MakeReady(48000.0, 512);
  ASSERT_TRUE(resumed && steady);
  const auto first = Noise(512, 21), second = Noise(700, 22);
  std::vector<double> a[2], b[2];
  RunBlocks(*resumed, first, a, 2, 512);
  RunBlocks(*steady, first, b, 2, 512);

  // Suspend, prepare again with a smaller block, resume: no state is cleared
  // and blocks longer than the new size run in pieces, so nothing may change.
  resumed->Deactivate();
  ASSERT_EQ(resumed->Setup(48000.0, 64, Vst::kSample64), kResultOk);
  RunBlocks(*resumed, second, a, 2, 700);
  RunBlocks(*steady, second, b, 2, 350);
  EXPECT_EQ(a[0], b[0]);
  EXPECT_EQ(a[1], b[1]);
}

TEST_F(Vst3Test, MonoThenStereoAgainRebuildsTheBuses)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  Vst::SpeakerArrangement mono = 0x80000, stereo = 0x3;
  ASSERT_EQ(plug->processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(plug->processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  for (Vst::BusDirection dir : {Vst::kInput, Vst::kOutput})
  {
    Vst::BusInfo info{};
    ASSERT_EQ(plug->component->getBusInfo(Vst::kAudio, dir, 0, info), kResultTrue);
    EXPECT_EQ(Narrow(info.name), dir == Vst::kInput ? "Input" : "Output");
    EXPECT_EQ(info.channelCount, 2);
  }
  plug->ActivateDefaultBuses();
  ASSERT_EQ(plug->Setup(44100.0, 128, Vst::kSample32), kResultOk);
  Channels<float> in(2, 128), out(2, 128);
  for (int s = 0; s < 128; ++s) in.data[1][s] = 0.5f;
  EXPECT_EQ(plug->Process(in.Ptrs(), 2, out.Ptrs(), 2, 128), kResultOk);
  double energy = 0.0;
  for (float v : out.data[1]) energy += static_cast<double>(v) * v;
  EXPECT_GT(energy, 0.0) << "the second channel is processed again";
}
