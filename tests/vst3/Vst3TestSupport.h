#pragma once
// What every VST3 test needs: the built bundle loaded as a host loads it, one
// ready instance, and a few measurements on its output.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "HostObjects.h"
#include "PluginInstance.h"
#include "Vst3Module.h"

namespace vst3test {

using namespace Steinberg;
using namespace vst3host;

constexpr Vst::ParamID kPreset = 1886548852; // 'prst'
constexpr Vst::ParamID kHostBypass = 1651532147; // 'bpas'
constexpr Vst::ParamID kMic = 0, kSize = 1, kCharacter = 2, kOutput = 3, kEffectBypass = 4;

// The class ID: F2 AE E7 0D 00 DE 4F 4E, then "Tdmr" and "MRX1".
inline const TUID& MuraxClassID()
{
  static const TUID cid = {char(0xF2), char(0xAE), char(0xE7), char(0x0D), char(0x00), char(0xDE), char(0x4F),
                           char(0x4E), 'T', 'd', 'm', 'r', 'M', 'R', 'X', '1'};
  return cid;
}

// The built bundle, loaded once per test and unloaded after it.
class Vst3Test : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    module = Vst3Module::Load(MURAX_BUNDLE_PATH, &error);
    ASSERT_TRUE(module) << "loading " << MURAX_BUNDLE_PATH << ": " << error;
  }

  // A new initialised instance with this test's host and handler.
  std::unique_ptr<PluginInstance> Make()
  {
    std::string error;
    auto plug = PluginInstance::Create(module->Factory(), MuraxClassID(), &host, &handler, &error);
    EXPECT_TRUE(plug) << error;
    return plug;
  }

  // A new instance set up for processing.
  std::unique_ptr<PluginInstance> MakeReady(double rate = 48000.0, int32 maxBlock = 512,
                                            int32 sampleSize = Vst::kSample64)
  {
    auto plug = Make();
    if (plug)
    {
      EXPECT_EQ(plug->Setup(rate, maxBlock, sampleSize), kResultOk);
    }
    return plug;
  }

  HostApplication host;
  ComponentHandler handler;
  std::unique_ptr<Vst3Module> module;
};

inline std::vector<double> Noise(size_t n, unsigned seed, double amplitude = 0.5)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-amplitude, amplitude);
  std::vector<double> v(n);
  for (double& x : v) x = dist(rng);
  return v;
}

// Runs stereo (or mono) audio through plug in blocks of `block`, 64-bit.
inline void RunBlocks(PluginInstance& plug, const std::vector<double>& in, std::vector<double>* out, int nChans,
                      int block)
{
  const int n = static_cast<int>(in.size());
  for (int c = 0; c < nChans; ++c) out[c].assign(in.size(), 0.0);
  std::vector<double> inCopy[2] = {in, in};
  for (int pos = 0; pos < n; pos += block)
  {
    const int frames = n - pos < block ? n - pos : block;
    double* ins[2] = {inCopy[0].data() + pos, inCopy[1].data() + pos};
    double* outs[2] = {out[0].data() + pos, nChans > 1 ? out[1].data() + pos : nullptr};
    plug.Process(ins, nChans, outs, nChans, frames);
  }
}

// Gain in dB of `out` against a sine of `amplitude` at `freq`, fitted over
// whole cycles: the samples from `start` on, `count` of them.
inline double GainDb(const std::vector<double>& out, double freq, double rate, double amplitude, size_t start,
                     size_t count)
{
  double s = 0.0, c = 0.0;
  for (size_t i = 0; i < count; ++i)
  {
    const double phase = 2.0 * M_PI * freq * static_cast<double>(start + i) / rate;
    s += out[start + i] * std::sin(phase);
    c += out[start + i] * std::cos(phase);
  }
  const double fitted = 2.0 * std::sqrt(s * s + c * c) / static_cast<double>(count);
  return 20.0 * std::log10(fitted / amplitude);
}

inline std::string ParamString(Vst::IEditController* controller, Vst::ParamID id, double normalized)
{
  Vst::String128 text = {'#', 0};
  controller->getParamStringByValue(id, normalized, text);
  return Narrow(text);
}

} // namespace vst3test
