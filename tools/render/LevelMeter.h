#pragma once
// Peak and RMS over every channel of a run, in dBFS.
#include <cmath>

namespace render {

class LevelMeter
{
public:
  template <class T>
  void Add(const T* const* channels, int nChannels, int frames)
  {
    for (int c = 0; c < nChannels; ++c)
      for (int i = 0; i < frames; ++i)
      {
        const double v = static_cast<double>(channels[c][i]);
        if (!std::isfinite(v))
        {
          ++mNonFinite;
          continue;
        }
        mPeak = std::fmax(mPeak, std::fabs(v));
        mSumSquares += v * v;
      }
    mSamples += static_cast<long long>(nChannels) * frames;
  }

  double PeakDb() const { return ToDb(mPeak); }
  double RmsDb() const { return mSamples ? ToDb(std::sqrt(mSumSquares / static_cast<double>(mSamples))) : ToDb(0.0); }
  long long NonFinite() const { return mNonFinite; }

  static double ToDb(double v) { return v > 0.0 ? 20.0 * std::log10(v) : -INFINITY; }

private:
  double mPeak = 0.0, mSumSquares = 0.0;
  long long mSamples = 0, mNonFinite = 0;
};

} // namespace render
