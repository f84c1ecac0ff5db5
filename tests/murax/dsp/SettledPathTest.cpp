// The resting path (coefficients and gains kept while every smoother sits at its fixed point)
// against the same kernel recomputing everything: outputs and the whole chain state must be
// bit-identical, and the resting path must run exactly in the chunks where no smoother moves.
#include "DspTestSupport.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace
{
using namespace dsp_test;

constexpr int kChunk = 32; // samples per kernel chunk
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

static_assert(sizeof(CabinetState) % sizeof(double) == 0, "the state is doubles only");
constexpr size_t kStateDoubles = sizeof(CabinetState) / sizeof(double);

std::uint64_t Bits(double x)
{
  std::uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// Index of the first double whose bits differ, or -1.
long FirstDifference(const void* a, const void* b, size_t doubles)
{
  for (size_t i = 0; i < doubles; ++i)
  {
    double x, y;
    std::memcpy(&x, static_cast<const char*>(a) + i * sizeof(double), sizeof x);
    std::memcpy(&y, static_cast<const char*>(b) + i * sizeof(double), sizeof y);
    if (Bits(x) != Bits(y))
      return static_cast<long>(i);
  }
  return -1;
}

struct SmootherStates
{
  double z[5];
  explicit SmootherStates(const CabinetState& s)
    : z{s.micSmoother.z, s.sizeSmoother.z, s.characterSmoother.z, s.outputSmoother.z, s.derivedSizeSmoother.z}
  {
  }
  bool operator==(const SmootherStates& o) const { return FirstDifference(z, o.z, 5) < 0; }
};

// Two chains on one kernel, one allowed to rest and one recomputing every sample, fed alike.
class Twin
{
public:
  explicit Twin(Kernel kernel) : resting_(MakeChain(kernel)), full_(MakeChain(kernel))
  {
    if (full_)
      full_->SetSettledPathForTesting(false);
  }
  bool Supported() const { return resting_ != nullptr; }

  struct Step
  {
    long long restedChunks; // chunks of this block the resting chain ran at rest
    int chunks;
    bool smoothersMoved; // in the reference chain, over the whole block
  };

  // One block through both chains; fails the test (returning false) on any differing bit.
  bool Run(const double* in0, const double* in1, int n, double fs, const CabinetControls& c, bool on,
           const std::string& where, Step& step)
  {
    std::vector<double> a0(std::max(n, 0)), a1(std::max(n, 0)), b0(std::max(n, 0)), b1(std::max(n, 0));
    const double* ins[2] = {in0, in1};
    double* restingOut[2] = {a0.data(), a1.data()};
    double* fullOut[2] = {b0.data(), b1.data()};
    const SmootherStates before(full_->State());
    const long long count = resting_->SettledChunksForTesting();
    resting_->Process(ins, restingOut, n, fs, c, on);
    full_->Process(ins, fullOut, n, fs, c, on);
    step.restedChunks = resting_->SettledChunksForTesting() - count;
    step.chunks = n > 0 ? (n + kChunk - 1) / kChunk : 0;
    step.smoothersMoved = !(SmootherStates(full_->State()) == before);
    EXPECT_EQ(full_->SettledChunksForTesting(), 0) << where << ": the reference never rests";

    for (int i = 0; i < n; ++i)
    {
      if (Bits(a0[i]) != Bits(b0[i]) || Bits(a1[i]) != Bits(b1[i]))
      {
        ADD_FAILURE() << where << " sample " << i << ": resting " << a0[i] << ", " << a1[i] << " vs full " << b0[i]
                      << ", " << b1[i];
        return false;
      }
    }
    const long diff = FirstDifference(&resting_->State(), &full_->State(), kStateDoubles);
    if (diff >= 0)
    {
      ADD_FAILURE() << where << ": chain state differs at double " << diff << " of " << kStateDoubles;
      return false;
    }
    return true;
  }

  CabinetChain& Resting() { return *resting_; }
  CabinetChain& Full() { return *full_; }

private:
  std::unique_ptr<CabinetChain> resting_, full_;
};

// A stretch of a scenario: controls, rate and bypass held for `seconds`.
struct Segment
{
  double seconds;
  CabinetControls controls;
  double fs;
  bool effectOn;
};

enum class Blocks
{
  kOneChunk,  // 32 samples: every block is one chunk
  kLarge,     // 512
  kRagged     // 0 to 700, seeded
};

enum class Channels
{
  kStereo,
  kMono // channel 1 silent, as the base supplies for an unconnected input
};

const char* Name(Blocks b) { return b == Blocks::kOneChunk ? "32" : b == Blocks::kLarge ? "512" : "ragged"; }

struct Tally
{
  std::vector<long long> restedPerSegment, chunksPerSegment;
};

// Runs the segments in order with a continuous input; a sample to spoil may be given as (absolute
// sample index, channel, value). Checks bit-identity everywhere and, where blocks show it, that the
// resting path ran in exactly the chunks in which no smoother moved.
Tally RunScenario(Twin& twin, const std::vector<Segment>& segments, Blocks blocks, Channels channels,
                  long spoilAt = -1, int spoilChannel = 0, double spoilValue = 0)
{
  Tally tally;
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> noise(-0.3, 0.3);
  std::uniform_int_distribution<int> ragged(0, 700);
  long sample = 0;
  double lastFs = 0;
  for (size_t seg = 0; seg < segments.size(); ++seg)
  {
    const Segment& s = segments[seg];
    const long length = static_cast<long>(s.seconds * s.fs);
    long long restedHere = 0, chunksHere = 0;
    for (long done = 0; done < length;)
    {
      int n = blocks == Blocks::kOneChunk ? kChunk : blocks == Blocks::kLarge ? 512 : ragged(rng);
      n = static_cast<int>(std::min<long>(n, length - done));
      std::vector<double> in0(n), in1(n);
      for (int i = 0; i < n; ++i)
      {
        const double t = static_cast<double>(sample + i) / s.fs;
        in0[i] = 0.4 * std::sin(2 * M_PI * 196 * t) + noise(rng);
        in1[i] = channels == Channels::kMono ? 0.0 : 0.3 * std::sin(2 * M_PI * 330 * t) + noise(rng);
        if (sample + i == spoilAt)
          (spoilChannel == 0 ? in0 : in1)[i] = spoilValue;
      }
      const std::string where = std::string(channels == Channels::kMono ? "mono" : "stereo") + " blocks " +
                                Name(blocks) + " segment " + std::to_string(seg) + " at " +
                                std::to_string(static_cast<double>(done) / s.fs) + " s";
      Twin::Step step{};
      if (!twin.Run(in0.data(), in1.data(), n, s.fs, s.controls, s.effectOn, where, step))
        return tally;
      // The chain notices a new rate at the first block with samples.
      const bool setupChanged = n > 0 && s.fs != lastFs;
      if (n > 0)
        lastFs = s.fs;

      EXPECT_LE(step.restedChunks, step.chunks) << where;
      if (step.smoothersMoved || setupChanged)
      {
        EXPECT_LT(step.restedChunks, std::max(step.chunks, 1)) << where << ": rested while a smoother moved";
        if (blocks == Blocks::kOneChunk)
        {
          EXPECT_EQ(step.restedChunks, 0) << where;
        }
      }
      else if (n > 0)
      {
        EXPECT_EQ(step.restedChunks, step.chunks) << where << ": every smoother at rest, yet recomputed";
      }
      restedHere += step.restedChunks;
      chunksHere += step.chunks;
      done += n;
      sample += n;
    }
    tally.restedPerSegment.push_back(restedHere);
    tally.chunksPerSegment.push_back(chunksHere);
  }
  return tally;
}

class SettledPath : public ::testing::TestWithParam<Kernel>
{
protected:
  void SetUp() override
  {
    if (!CabinetChain::KernelSupported(GetParam()))
      GTEST_SKIP() << "CPU lacks " << CabinetChain::KernelName(GetParam());
  }
};

const CabinetControls kStart{2, 5, 5, 5};
const CabinetControls kTurned{7.3, 3.1, 8, 6.5};

// Chunks in `seconds` at 48 kHz.
long long Chunks(double seconds) { return static_cast<long long>(seconds * 48000) / kChunk; }

// A knob turned, left alone for 5 s, turned again: the slowest smoothers settle some 2.3 s after
// the move, so about half of each rest runs on kept coefficients.
TEST_P(SettledPath, RestsBetweenMovesAreBitIdentical)
{
  const std::vector<Segment> scenario = {
    {5.0, kStart, 48000, true},
    {5.0, kTurned, 48000, true},
    {0.3, kStart, 48000, true},
    {0.4, kTurned, 48000, true}, // moved again before it settled
    {5.0, CabinetControls{0, 10, 0.1, 10}, 48000, true},
  };
  for (Blocks blocks : {Blocks::kOneChunk, Blocks::kLarge, Blocks::kRagged})
    for (Channels channels : {Channels::kStereo, Channels::kMono})
    {
      Twin twin(GetParam());
      const Tally t = RunScenario(twin, scenario, blocks, channels);
      if (HasFailure())
        return;
      for (size_t seg : {0u, 1u, 4u})
      {
        EXPECT_GT(t.restedPerSegment[seg], Chunks(2.0)) << Name(blocks) << " segment " << seg;
        EXPECT_LT(t.restedPerSegment[seg], Chunks(3.2)) << Name(blocks) << " segment " << seg;
      }
      EXPECT_EQ(t.restedPerSegment[2], 0) << Name(blocks);
      EXPECT_EQ(t.restedPerSegment[3], 0) << Name(blocks);
    }
}

// A zero target only becomes a fixed point once the state is flushed to zero: about 19 s for the
// size smoother after Size goes to 0. Until then every chunk is recomputed.
TEST_P(SettledPath, SizeAtZeroRestsOnlyOnceFlushed)
{
  const std::vector<Segment> scenario = {
    {3.0, kStart, 48000, true},
    {25.0, CabinetControls{2, 0, 5, 5}, 48000, true},
  };
  Twin twin(GetParam());
  const Tally t = RunScenario(twin, scenario, Blocks::kLarge, Channels::kStereo);
  if (HasFailure())
    return;
  EXPECT_EQ(twin.Full().State().sizeSmoother.z, 0.0);
  EXPECT_GT(t.restedPerSegment[1], Chunks(3.0)) << "rested in the last seconds";
  EXPECT_LT(t.restedPerSegment[1], Chunks(9.0)) << "did not rest before the size smoother reached zero";
}

// A new rate runs the next chunk in full. Going down in rate moves the smoothers a few ulps (each
// advance weighs the target more, so fewer states are fixed points); going up, the resting states
// stay fixed points and the chain rests again after one chunk, on coefficients of the new rate. Back at
// the old rate its kept coefficients must not come back unchecked. Changing the kernel is the same.
TEST_P(SettledPath, RateOrKernelChangeLeavesTheRest)
{
  const std::vector<Segment> scenario = {
    {3.0, kStart, 48000, true},
    {3.0, kStart, 44100, true},
    {3.0, kStart, 48000, true},
    {0.1, kStart, 96000, true},
    {3.0, kStart, 48000, true},
  };
  for (Blocks blocks : {Blocks::kOneChunk, Blocks::kRagged})
  {
    Twin twin(GetParam());
    const Tally t = RunScenario(twin, scenario, blocks, Channels::kStereo);
    if (HasFailure())
      return;
    for (size_t seg : {0u, 1u, 2u, 4u})
      EXPECT_GT(t.restedPerSegment[seg], 0) << Name(blocks) << " segment " << seg;
    EXPECT_EQ(t.restedPerSegment[3], t.chunksPerSegment[3] - 1) << Name(blocks) << ": at 96 kHz";
    EXPECT_LT(t.restedPerSegment[1], t.chunksPerSegment[1] - 1) << Name(blocks) << ": at 44.1 kHz";
  }

  Twin twin(GetParam());
  RunScenario(twin, {{3.0, kStart, 48000, true}}, Blocks::kLarge, Channels::kStereo);
  for (Kernel other : kAllKernels)
  {
    if (other == GetParam() || !CabinetChain::KernelSupported(other))
      continue;
    // Both chains switch, rest on the other kernel, and come back.
    for (Kernel k : {other, GetParam()})
    {
      twin.Resting().SetKernelForTesting(k);
      twin.Full().SetKernelForTesting(k);
      const Stereo in = Noise(4096, 0.5, 17);
      for (int start = 0; start < 4096; start += 512)
      {
        Twin::Step step{};
        const std::string where = std::string("after switching to ") + CabinetChain::KernelName(k);
        if (!twin.Run(in.ch[0].data() + start, in.ch[1].data() + start, 512, 48000, kStart, true, where, step))
          return;
        EXPECT_EQ(step.restedChunks, start == 0 ? 15 : 16) << where << " block at " << start;
      }
    }
  }
}

// Bypass does not touch the smoothers: toggled at rest, the chain keeps resting, and switching back
// continues exactly as the full path does.
TEST_P(SettledPath, BypassToggledAtRest)
{
  std::vector<Segment> scenario = {{3.0, kStart, 48000, true}};
  for (int i = 0; i < 6; ++i)
    scenario.push_back({0.05 + 0.03 * i, kStart, 48000, i % 2 == 1});
  for (Channels channels : {Channels::kStereo, Channels::kMono})
  {
    Twin twin(GetParam());
    const Tally t = RunScenario(twin, scenario, Blocks::kRagged, channels);
    if (HasFailure())
      return;
    for (size_t seg = 1; seg < scenario.size(); ++seg)
    {
      const long length = static_cast<long>(scenario[seg].seconds * 48000);
      EXPECT_GE(t.restedPerSegment[seg], length / kChunk) << "segment " << seg;
    }
  }
}

// A non-finite sample at rest is mended on the resting path exactly as on the full one: its
// channel gives 0 and restarts from cleared histories, the other channel is untouched.
TEST_P(SettledPath, NonFiniteSampleAtRest)
{
  const long at = 3 * 48000 + 777;
  struct Case
  {
    int channel;
    double value;
    bool effectOn;
  };
  for (const Case& c : {Case{0, kNaN, true}, Case{1, std::numeric_limits<double>::infinity(), true},
                        Case{1, -1e308, true}, Case{0, kNaN, false}})
    for (Blocks blocks : {Blocks::kOneChunk, Blocks::kRagged})
    {
      Twin twin(GetParam());
      const std::vector<Segment> scenario = {{3.0, kStart, 48000, true}, {1.0, kStart, 48000, c.effectOn}};
      const Tally t = RunScenario(twin, scenario, blocks, Channels::kStereo, at, c.channel, c.value);
      if (HasFailure())
        return;
      EXPECT_GE(t.restedPerSegment[1], Chunks(1.0)) << c.value << " channel " << c.channel;
      // The spoiled channel restarted: its histories hold only what followed.
      const CabinetState& s = twin.Resting().State();
      EXPECT_TRUE(std::isfinite(s.one[c.channel].y7) && std::isfinite(s.dc[c.channel].y1))
        << c.value << " channel " << c.channel;
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, SettledPath, ::testing::ValuesIn(kAllKernels), KernelLabel);
} // namespace
