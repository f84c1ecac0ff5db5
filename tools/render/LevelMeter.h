#pragma once
// Peak, RMS and samples beyond full scale over every channel of a run.
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace render {

class LevelMeter
{
public:
  template <class T>
  void Add(const T* const* channels, int nChannels, int frames)
  {
    for (int c = 0; c < nChannels; ++c)
      for (int pos = 0; pos < frames; pos += kChunk)
        AddChunk(channels[c] + pos, std::min(kChunk, frames - pos));
    mSamples += static_cast<long long>(nChannels) * frames;
  }

  double PeakDb() const { return ToDb(mPeak); }
  double RmsDb() const { return mSamples ? ToDb(std::sqrt(mSumSquares / static_cast<double>(mSamples))) : ToDb(0.0); }
  long long NonFinite() const { return mNonFinite; }
  // Samples beyond full scale (|x| > 1, non-finite ones included).
  long long Overs() const { return mOvers; }

  static double ToDb(double v) { return v > 0.0 ? 20.0 * std::log10(v) : -INFINITY; }

private:
  static constexpr int kChunk = 4096;

  // Four independent lanes without tests, in the sample type: the common
  // case (finite, within full scale) costs a few instructions a sample. A
  // chunk whose sum is not finite, or whose peak is over full scale, is
  // counted again sample by sample.
  template <class T>
  void AddChunk(const T* x, int n)
  {
    T peak[4] = {0, 0, 0, 0}, sum[4] = {0, 0, 0, 0};
    int i = 0;
    for (; i + 4 <= n; i += 4)
      for (int k = 0; k < 4; ++k)
      {
        const T v = x[i + k], a = v < T(0) ? -v : v;
        sum[k] += v * v;
        peak[k] = a > peak[k] ? a : peak[k];
      }
    for (; i < n; ++i)
    {
      const T v = x[i], a = v < T(0) ? -v : v;
      sum[0] += v * v;
      peak[0] = a > peak[0] ? a : peak[0];
    }
    const double s = (static_cast<double>(sum[0]) + sum[1]) + (static_cast<double>(sum[2]) + sum[3]);
    const double p = std::max(std::max<double>(peak[0], peak[1]), std::max<double>(peak[2], peak[3]));
    if (!std::isfinite(s) || p > 1.0)
    {
      AddCarefully(x, n);
      return;
    }
    mSumSquares += s;
    mPeak = std::max(mPeak, p);
  }

  template <class T>
  void AddCarefully(const T* x, int n)
  {
    for (int i = 0; i < n; ++i)
    {
      const double v = static_cast<double>(x[i]), a = std::fabs(v);
      if (!(a <= DBL_MAX))
      {
        ++mNonFinite;
        ++mOvers;
        continue;
      }
      mOvers += a > 1.0;
      mSumSquares += v * v;
      mPeak = std::max(mPeak, a);
    }
  }

  double mPeak = 0.0, mSumSquares = 0.0;
  long long mSamples = 0, mNonFinite = 0, mOvers = 0;
};

} // namespace render
