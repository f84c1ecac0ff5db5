// What the VST3 wrapper costs on top of the effect: 10 s of stereo audio at
// 48 kHz in 512-sample blocks, knobs changing every second, once through the
// effect alone (64-bit, its own block routine) and once through the built
// bundle's process() as a host drives it (parameter queues, 32-bit buffers
// converted both ways), in the same run. The last line is the summary.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <time.h>

#include "HostObjects.h"
#include "MURAX.h"
#include "PluginInstance.h"
#include "Vst3Module.h"

namespace
{
constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kSeconds = 10;
constexpr int kLength = static_cast<int>(kRate) * kSeconds;
constexpr int kRepeats = 15;
constexpr int kKnobs = 4;

// A new set of knob values (normalised) for every second.
std::vector<std::vector<double>> MakeKnobs()
{
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> knob(0.0, 1.0);
  std::vector<std::vector<double>> knobs(kSeconds, std::vector<double>(kKnobs));
  for (auto& second : knobs)
    for (double& k : second) k = knob(rng);
  return knobs;
}

// Guitar-like notes with a little noise, exactly representable as floats so
// both paths see the same samples.
std::vector<float> MakeSignal(unsigned seed)
{
  std::vector<float> s(kLength);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> noise(-0.01, 0.01), pitch(82.0, 660.0);
  double f = 110.0;
  for (int i = 0; i < kLength; ++i)
  {
    const int inNote = i % (kLength / (4 * kSeconds));
    if (inNote == 0) f = pitch(rng);
    const double t = inNote / kRate;
    double v = 0.0;
    for (int h = 1; h <= 6; ++h) v += std::sin(2.0 * M_PI * f * h * t) / h;
    s[static_cast<size_t>(i)] = static_cast<float>(0.4 * v * std::exp(-4.0 * t) + noise(rng));
  }
  return s;
}

double ThreadSeconds()
{
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

bool NewSecond(int start) { return start % static_cast<int>(kRate) < kBlock; }

// The effect alone: its block routine on 64-bit buffers, knobs set as its own hook expects.
double RunEffect(const std::vector<double>* in, std::vector<double>* out, const std::vector<std::vector<double>>& knobs)
{
  std::unique_ptr<MURAX> plug(static_cast<MURAX*>(MakePlug()));
  plug->OnParamReset();
  plug->SetSampleRate(kRate);
  plug->SetBlockSize(kBlock);
  std::vector<double> inCopy[2] = {in[0], in[1]};
  const double begin = ThreadSeconds();
  for (int start = 0; start < kLength; start += kBlock)
  {
    if (NewSecond(start))
      for (int k = 0; k < kKnobs; ++k)
      {
        plug->GetParam(k)->SetNormalized(knobs[static_cast<size_t>(start / static_cast<int>(kRate))][static_cast<size_t>(k)]);
        plug->OnParamChange(k);
      }
    double* ins[2] = {inCopy[0].data() + start, inCopy[1].data() + start};
    double* outs[2] = {out[0].data() + start, out[1].data() + start};
    WDL_MutexLock lock(&plug->GetMutex());
    plug->ProcessDoubleReplacing(ins, outs, std::min(kBlock, kLength - start));
  }
  return ThreadSeconds() - begin;
}

// The bundle as a host drives it: 32-bit buffers, changes through parameter queues.
double RunVst3(vst3host::Vst3Module& module, const std::vector<float>* in, std::vector<float>* out,
               const std::vector<std::vector<double>>& knobs)
{
  using namespace Steinberg;
  const TUID cid = {char(0xF2), char(0xAE), char(0xE7), char(0x0D), char(0x00), char(0xDE), char(0x4F), char(0x4E),
                    'T',        'd',        'm',        'r',        'M',        'R',        'X',        '1'};
  vst3host::HostApplication host;
  std::string error;
  auto plug = vst3host::PluginInstance::Create(module.Factory(), cid, &host, nullptr, &error);
  if (!plug || plug->Setup(kRate, kBlock, Vst::kSample32) != kResultOk)
  {
    std::fprintf(stderr, "cannot set up the plug-in: %s\n", error.c_str());
    return 0.0;
  }
  std::vector<float> inCopy[2] = {in[0], in[1]};
  vst3host::ParamChanges changes;
  const double begin = ThreadSeconds();
  for (int start = 0; start < kLength; start += kBlock)
  {
    changes.Clear();
    if (NewSecond(start))
      for (int k = 0; k < kKnobs; ++k)
        changes.Add(static_cast<Vst::ParamID>(k), knobs[static_cast<size_t>(start / static_cast<int>(kRate))][static_cast<size_t>(k)]);
    float* ins[2] = {inCopy[0].data() + start, inCopy[1].data() + start};
    float* outs[2] = {out[0].data() + start, out[1].data() + start};
    plug->Process(ins, 2, outs, 2, std::min(kBlock, kLength - start), &changes);
  }
  return ThreadSeconds() - begin;
}
} // namespace

int main()
{
  std::string error;
  auto module = vst3host::Vst3Module::Load(MURAX_BUNDLE_PATH, &error);
  if (!module)
  {
    std::fprintf(stderr, "loading %s: %s\n", MURAX_BUNDLE_PATH, error.c_str());
    return 1;
  }
  const std::vector<std::vector<double>> knobs = MakeKnobs();
  const std::vector<float> in32[2] = {MakeSignal(1), MakeSignal(2)};
  const std::vector<double> in64[2] = {std::vector<double>(in32[0].begin(), in32[0].end()),
                                       std::vector<double>(in32[1].begin(), in32[1].end())};
  std::vector<double> out64[2] = {std::vector<double>(kLength), std::vector<double>(kLength)};
  std::vector<float> out32[2] = {std::vector<float>(kLength), std::vector<float>(kLength)};

  // Round robin, best of several: a burst of other load hits both alike.
  double effect = 1e30, vst3 = 1e30;
  for (int r = 0; r < kRepeats; ++r)
  {
    effect = std::min(effect, RunEffect(in64, out64, knobs));
    vst3 = std::min(vst3, RunVst3(*module, in32, out32, knobs));
  }

  // Both paths compute the same audio; only the final rounding to 32 bits differs.
  double worst = 0.0;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kLength; ++i)
      worst = std::max(worst, static_cast<double>(std::fabs(out32[c][static_cast<size_t>(i)] -
                                                            static_cast<float>(out64[c][static_cast<size_t>(i)]))));

  const double perSampleNs = 1e9 / kLength;
  std::printf("effect: ns_per_stereo_sample=%.2f realtime_x=%.1f\n", effect * perSampleNs, kSeconds / effect);
  std::printf("vst3 process: ns_per_stereo_sample=%.2f max_abs_diff_vs_effect=%.3g\n", vst3 * perSampleNs, worst);
  std::printf("vst3: realtime_x=%.1f overhead_vs_effect=%.3f\n", kSeconds / vst3, vst3 / effect);
  return 0;
}
