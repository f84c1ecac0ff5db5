// Hosts behaving badly, through the built bundle: random block sizes up to
// twice the announced maximum, sample rates across 22050..384000, set-up and
// activation cycles, dense and hostile automation, hostile samples, state and
// edits from other threads, several instances made at once. Nothing may crash
// or hang; the effect's output is always finite and the host's bypass copies
// the input exactly. Bounded in time: each case stops after its rounds or its
// time budget, whichever comes first.
#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

#include "DenseParamChanges.h"
#include "Vst3TestSupport.h"

using namespace vst3test;

namespace
{
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr double kBudgetSeconds = 16.0; // instrumented builds run many times slower
#else
constexpr double kBudgetSeconds = 6.0;
#endif

class Deadline
{
public:
  explicit Deadline(double seconds)
    : mEnd(std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                   std::chrono::duration<double>(seconds)))
  {
  }
  bool Passed() const { return std::chrono::steady_clock::now() >= mEnd; }

private:
  std::chrono::steady_clock::time_point mEnd;
};

// Samples a careless or broken host may deliver: ordinary noise mixed with
// NaN, infinities, subnormals, the largest values and exact zeros.
template <class T>
T HostileSample(std::mt19937& rng)
{
  using L = std::numeric_limits<T>;
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  switch (rng() % 16)
  {
  case 0: return L::quiet_NaN();
  case 1: return L::infinity();
  case 2: return -L::infinity();
  case 3: return L::denorm_min() * static_cast<T>(1 + rng() % 1000);
  case 4: return rng() % 2 ? L::max() : -L::max();
  case 5: return static_cast<T>(noise(rng) * 1e30);
  case 6: return T(0);
  default: return static_cast<T>(noise(rng));
  }
}

// Normalised values a host may send: in range, at the ends, and outside.
double HostileNormalised(std::mt19937& rng)
{
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  switch (rng() % 12)
  {
  case 0: return std::numeric_limits<double>::quiet_NaN();
  case 1: return std::numeric_limits<double>::infinity();
  case 2: return -std::numeric_limits<double>::infinity();
  case 3: return std::numeric_limits<double>::denorm_min();
  case 4: return 1e300;
  case 5: return -0.25;
  case 6: return 1.0;
  case 7: return 0.0;
  default: return unit(rng);
  }
}

// Automation for one block: for each chosen parameter (the five effect
// parameters, and the host bypass unless `withHostBypass` is false) a queue of
// up to `maxPoints` points at increasing offsets.
void FillChanges(DenseParamChanges& changes, std::mt19937& rng, int32 nFrames, int maxPoints, bool withHostBypass)
{
  changes.Clear();
  const int nIds = withHostBypass ? 6 : 5;
  for (int k = 0; k < nIds; ++k)
  {
    if (rng() % 3 == 0) continue;
    const Vst::ParamID id = k < 5 ? static_cast<Vst::ParamID>(k) : kHostBypass;
    const int nPoints = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxPoints));
    for (int p = 0; p < nPoints; ++p)
    {
      const int32 offset = nFrames > 1 ? static_cast<int32>(static_cast<int64_t>(p) * (nFrames - 1) / nPoints) : 0;
      // Keep the effect running most of the time: its bypass point is 1 unless drawn otherwise.
      const double value = id == kEffectBypass && rng() % 4 ? 1.0 : HostileNormalised(rng);
      changes.Add(id, value, offset);
    }
  }
}

// One stereo block of sample type T straight through IAudioProcessor::process.
template <class T>
tresult ProcessBlock(PluginInstance& plug, std::vector<std::vector<T>>& in, std::vector<std::vector<T>>& out,
                     int32 nFrames, Vst::IParameterChanges* changes)
{
  T* ins[2] = {in[0].data(), in[1].data()};
  T* outs[2] = {out[0].data(), out[1].data()};
  Vst::AudioBusBuffers inBus{}, outBus{};
  inBus.numChannels = outBus.numChannels = 2;
  if constexpr (std::is_same<T, float>::value)
    inBus.channelBuffers32 = ins, outBus.channelBuffers32 = outs;
  else
    inBus.channelBuffers64 = ins, outBus.channelBuffers64 = outs;
  Vst::ProcessData data{};
  data.processMode = Vst::kRealtime;
  data.symbolicSampleSize = std::is_same<T, float>::value ? Vst::kSample32 : Vst::kSample64;
  data.numSamples = nFrames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = changes;
  data.processContext = &plug.context;
  return plug.processor->process(data);
}

template <class T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b, int32 n)
{
  return std::memcmp(a.data(), b.data(), sizeof(T) * static_cast<size_t>(n)) == 0;
}

// Under concurrent edits a block may switch between the effect and a copy
// of the input at any piece boundary, so only each sample can be judged: a
// non-finite output sample must be the very input sample, copied.
template <class T>
int FirstNonFiniteNotCopied(const std::vector<T>& out, const std::vector<T>& in, int32 n)
{
  for (int32 i = 0; i < n; ++i)
  {
    const T o = out[static_cast<size_t>(i)], x = in[static_cast<size_t>(i)];
    if (!std::isfinite(o) && std::memcmp(&o, &x, sizeof o) != 0) return i;
  }
  return -1;
}

template <class T>
int FirstNonFinite(const std::vector<T>& v, int32 n)
{
  for (int32 i = 0; i < n; ++i)
    if (!std::isfinite(v[static_cast<size_t>(i)])) return i;
  return -1;
}

// What one round found wrong, if anything; empty when the round was clean.
struct Verdict
{
  std::string problem;
  void Note(const std::string& what)
  {
    if (problem.empty()) problem = what;
  }
};

// Random blocks on one instance set up with (rate, maxBlock). `exact` is true
// when no other thread touches the instance, so the controller tells which
// path the block took; otherwise a block must be exactly its input or finite.
template <class T>
void RunRandomBlocks(PluginInstance& plug, std::mt19937& rng, int32 maxBlock, int nBlocks, bool exact,
                     bool withHostBypass, Verdict* verdict, const char* what)
{
  const size_t capacity = 2 * static_cast<size_t>(maxBlock);
  std::vector<std::vector<T>> in(2, std::vector<T>(capacity)), out(2, std::vector<T>(capacity)),
    before(2, std::vector<T>(capacity));
  DenseParamChanges changes;
  for (int b = 0; b < nBlocks && verdict->problem.empty(); ++b)
  {
    // 1..max mostly, sometimes exactly twice the maximum.
    const int32 nFrames = rng() % 8 == 0 ? 2 * maxBlock : 1 + static_cast<int32>(rng() % static_cast<unsigned>(maxBlock));
    const bool hostile = rng() % 3 == 0;
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    for (int c = 0; c < 2; ++c)
      for (int32 i = 0; i < nFrames; ++i)
        in[c][i] = hostile ? HostileSample<T>(rng) : static_cast<T>(0.5 * noise(rng));
    before = in;
    FillChanges(changes, rng, nFrames, rng() % 4 == 0 ? 400 : 8, withHostBypass);
    const tresult result = ProcessBlock(plug, in, out, nFrames, &changes);
    const std::string where = std::string(what) + ", block " + std::to_string(b) + " of " + std::to_string(nFrames) +
                              " frames (max " + std::to_string(maxBlock) + ")";
    if (result != kResultOk) verdict->Note(where + ": process failed");
    if (!SameBits(in[0], before[0], nFrames) || !SameBits(in[1], before[1], nFrames))
      verdict->Note(where + ": the input buffers were written");

    const bool passedThrough = SameBits(out[0], in[0], nFrames) && SameBits(out[1], in[1], nFrames);
    const int bad0 = FirstNonFinite(out[0], nFrames), bad1 = FirstNonFinite(out[1], nFrames);
    if (exact)
    {
      const bool hostBypass = plug.controller->getParamNormalized(kHostBypass) == 1.0;
      const bool effectOn = plug.controller->getParamNormalized(kEffectBypass) == 1.0;
      if (hostBypass && !passedThrough) verdict->Note(where + ": host bypass did not copy the input exactly");
      if (!hostBypass && effectOn && (bad0 >= 0 || bad1 >= 0))
      {
        const int c = bad0 >= 0 ? 0 : 1, i = bad0 >= 0 ? bad0 : bad1;
        verdict->Note(where + ": the effect wrote " + std::to_string(out[c][i]) + " at sample " + std::to_string(i) +
                      " of channel " + std::to_string(c) + ", input " + std::to_string(in[c][i]));
      }
    }
    else if (FirstNonFiniteNotCopied(out[0], in[0], nFrames) >= 0 || FirstNonFiniteNotCopied(out[1], in[1], nFrames) >= 0)
    {
      verdict->Note(where + ": a non-finite sample that is not a copy of the input");
    }
  }
}

double RandomRate(std::mt19937& rng)
{
  static const double kCommon[] = {22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000, 352800, 384000};
  if (rng() % 2) return kCommon[rng() % 10];
  return std::uniform_real_distribution<double>(22050.0, 384000.0)(rng);
}

int32 RandomMaxBlock(std::mt19937& rng)
{
  static const int32 kSizes[] = {1, 2, 3, 16, 31, 64, 128, 256, 500, 512, 1024, 2048, 4096};
  return kSizes[rng() % 13];
}

// The plug-in's state for normalised knob values k[0..3], effect bypass e and
// host bypass h, as the controller's value rules give it: knobs 0..10.
std::vector<uint8_t> ExpectedState(const double (&knobs)[4], int effectBypass, bool hostBypass)
{
  std::vector<uint8_t> bytes(44, 0);
  for (int i = 0; i < 4; ++i)
  {
    const double plain = 10.0 * knobs[i];
    std::memcpy(bytes.data() + 8 * i, &plain, 8);
  }
  const double e = effectBypass;
  std::memcpy(bytes.data() + 32, &e, 8);
  bytes[40] = hostBypass ? 1 : 0;
  return bytes;
}
} // namespace

// One instance, one thread: every block's path is known from the controller.
TEST_F(Vst3Test, StressRandomBlocksRatesSetupCyclesAndHostileInput)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  std::mt19937 rng(2026);
  const Deadline deadline(kBudgetSeconds);
  Verdict verdict;
  int round = 0;
  for (; round < 2000 && !deadline.Passed() && verdict.problem.empty(); ++round)
  {
    const double rate = RandomRate(rng);
    const int32 maxBlock = RandomMaxBlock(rng);
    const int32 sampleSize = rng() % 2 ? Vst::kSample32 : Vst::kSample64;
    // Setup deactivates first; some rounds also toggle activation on their own.
    if (rng() % 3 == 0) plug->Deactivate();
    ASSERT_EQ(plug->Setup(rate, maxBlock, sampleSize), kResultOk) << "round " << round << " at " << rate << " Hz";
    if (rng() % 4 == 0)
    {
      plug->component->setActive(false);
      plug->component->setActive(true);
    }
    const std::string what = "round " + std::to_string(round) + " at " + std::to_string(rate) + " Hz, " +
                             (sampleSize == Vst::kSample32 ? "32" : "64") + "-bit";
    const int nBlocks = 4 + static_cast<int>(rng() % 12);
    if (sampleSize == Vst::kSample32)
      RunRandomBlocks<float>(*plug, rng, maxBlock, nBlocks, true, true, &verdict, what.c_str());
    else
      RunRandomBlocks<double>(*plug, rng, maxBlock, nBlocks, true, true, &verdict, what.c_str());
  }
  EXPECT_EQ(verdict.problem, "");
  EXPECT_GE(round, 10) << "too few rounds ran to mean anything";
}

// Processing on one thread while a second saves and restores state and a
// third edits values through the controller. Afterwards, a known set of
// values written through the controller comes back byte for byte.
TEST_F(Vst3Test, StressThreadsStateAndEditsWhileProcessing)
{
  auto plug = MakeReady(96000, 256, Vst::kSample32);
  ASSERT_TRUE(plug);
  std::atomic<bool> done{false};
  Verdict audioVerdict;
  std::atomic<int> blocks{0};

  std::thread audio([&] {
    std::mt19937 rng(7);
    const Deadline deadline(kBudgetSeconds / 2);
    while (!deadline.Passed() && audioVerdict.problem.empty())
    {
      RunRandomBlocks<float>(*plug, rng, 256, 16, false, true, &audioVerdict, "audio thread");
      blocks += 16;
    }
    done = true;
  });
  std::thread state([&] {
    std::mt19937 rng(8);
    std::vector<uint8_t> saved;
    while (!done)
    {
      const std::vector<uint8_t> now = plug->SaveState();
      if (now.size() != 44) continue; // reported after the join
      if (!saved.empty() && rng() % 2) plug->LoadState(saved);
      else if (rng() % 3 == 0) plug->LoadState(now, rng() % 44); // truncated
      else if (rng() % 3 == 0)
      {
        std::vector<uint8_t> garbage(now.size());
        for (uint8_t& byte : garbage) byte = static_cast<uint8_t>(rng());
        plug->LoadState(garbage);
      }
      saved = now;
    }
  });
  std::thread edits([&] {
    std::mt19937 rng(9);
    const Vst::ParamID ids[] = {kMic, kSize, kCharacter, kOutput, kEffectBypass, kHostBypass, kPreset};
    while (!done)
    {
      const Vst::ParamID id = ids[rng() % 7];
      plug->controller->setParamNormalized(id, HostileNormalised(rng));
      plug->controller->getParamNormalized(ids[rng() % 7]);
      Vst::String128 text;
      plug->controller->getParamStringByValue(ids[rng() % 5], plug->controller->getParamNormalized(id), text);
    }
  });
  audio.join();
  state.join();
  edits.join();
  EXPECT_EQ(audioVerdict.problem, "");
  EXPECT_GT(blocks.load(), 0);

  const double knobs[4] = {0.25, 0.5, 0.75, 0.125};
  for (int i = 0; i < 4; ++i) ASSERT_EQ(plug->controller->setParamNormalized(static_cast<Vst::ParamID>(i), knobs[i]), kResultOk);
  ASSERT_EQ(plug->controller->setParamNormalized(kEffectBypass, 0.0), kResultOk);
  ASSERT_EQ(plug->controller->setParamNormalized(kHostBypass, 1.0), kResultOk);
  EXPECT_EQ(plug->SaveState(), ExpectedState(knobs, 0, true)) << "the final values, byte for byte";
}

// Hosts that scan or load in parallel: instances made, run, saved and torn
// down from several threads at once, each on its own rate and block size.
TEST_F(Vst3Test, StressThreadsCreatingSeveralInstancesAtOnce)
{
  constexpr int kThreads = 4;
  std::vector<std::string> problems(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      std::mt19937 rng(100 + t);
      const Deadline deadline(kBudgetSeconds / 4);
      for (int round = 0; round < 8 && !deadline.Passed() && problems[t].empty(); ++round)
      {
        HostApplication app;
        ComponentHandler handlerOfThisThread;
        std::string error;
        auto plug = PluginInstance::Create(module->Factory(), MuraxClassID(), &app, &handlerOfThisThread, &error);
        if (!plug)
        {
          problems[t] = "thread " + std::to_string(t) + ": " + error;
          return;
        }
        const std::vector<uint8_t> defaults = plug->SaveState();
        const double knobs[4] = {0.0, 0.5, 0.5, 0.5};
        if (defaults != ExpectedState(knobs, 1, false)) problems[t] = "thread " + std::to_string(t) + ": default state";
        const int32 maxBlock = RandomMaxBlock(rng);
        if (plug->Setup(RandomRate(rng), maxBlock, Vst::kSample64) != kResultOk)
        {
          problems[t] = "thread " + std::to_string(t) + ": setupProcessing failed";
          return;
        }
        Verdict verdict;
        RunRandomBlocks<double>(*plug, rng, maxBlock, 6, true, false, &verdict, "instance");
        if (!verdict.problem.empty()) problems[t] = "thread " + std::to_string(t) + ": " + verdict.problem;
      }
    });
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(problems[t], "") << "thread " << t;
}
