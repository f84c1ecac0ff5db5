#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CabinetChain.h"

namespace dsp_test
{
using Kernel = CabinetChain::Kernel;

inline const Kernel kAllKernels[] = {Kernel::kBaseline, Kernel::kAVX2, Kernel::kAVX512};

inline std::string KernelLabel(const ::testing::TestParamInfo<Kernel>& info)
{
  return CabinetChain::KernelName(info.param);
}

// A chain pinned to one kernel; null when this CPU lacks it (the caller skips).
inline std::unique_ptr<CabinetChain> MakeChain(Kernel kernel)
{
  auto chain = std::make_unique<CabinetChain>();
  if (!chain->SetKernelForTesting(kernel))
    return nullptr;
  return chain;
}

struct Stereo
{
  std::vector<double> ch[2];
  explicit Stereo(size_t n = 0) : ch{std::vector<double>(n), std::vector<double>(n)} {}
  size_t size() const { return ch[0].size(); }
};

// Runs `in` through `chain` in blocks of `blockSize`; returns the output.
template <class Chain>
Stereo RunBlocks(Chain& chain, const Stereo& in, int blockSize, double fs, const CabinetControls& controls,
           bool effectOn = true)
{
  Stereo out(in.size());
  for (size_t start = 0; start < in.size(); start += blockSize)
  {
    const int n = static_cast<int>(std::min<size_t>(blockSize, in.size() - start));
    const double* ins[2] = {in.ch[0].data() + start, in.ch[1].data() + start};
    double* outs[2] = {out.ch[0].data() + start, out.ch[1].data() + start};
    chain.Process(ins, outs, n, fs, controls, effectOn);
  }
  return out;
}

inline Stereo Noise(size_t n, double amplitude, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-amplitude, amplitude);
  Stereo s(n);
  for (auto& c : s.ch)
    for (double& x : c)
      x = dist(rng);
  return s;
}

inline Stereo Sine(size_t n, double fs, double freq, double amplitude)
{
  Stereo s(n);
  for (size_t i = 0; i < n; ++i)
    s.ch[0][i] = s.ch[1][i] = amplitude * std::sin(2.0 * M_PI * freq * static_cast<double>(i) / fs);
  return s;
}

// |B(e^jw) / A(e^jw)| in dB from unnormalised coefficient lists b[0..order], a[0..order].
inline double ResponseDb(const double* b, const double* a, int order, double freq, double fs)
{
  const std::complex<double> zInv = std::polar(1.0, -2.0 * M_PI * freq / fs);
  std::complex<double> num = 0.0, den = 0.0, zk = 1.0;
  for (int k = 0; k <= order; ++k)
  {
    num += b[k] * zk;
    den += a[k] * zk;
    zk *= zInv;
  }
  return 20.0 * std::log10(std::abs(num / den));
}
} // namespace dsp_test
