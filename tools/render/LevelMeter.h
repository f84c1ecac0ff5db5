#pragma once
// Peak, RMS and samples beyond full scale over every channel of a run.
#include <algorithm>
#include <cfloat>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

  // Sum of squares and peak without tests, four lanes at a time: the common
  // case (finite, within full scale) costs a few instructions per sample. A
  // chunk whose sum is not finite, or whose peak is over full scale, is
  // counted again sample by sample.
  template <class T>
  void AddChunk(const T* x, int n)
  {
    double s = 0.0, p = 0.0;
    SumAndPeak(x, n, &s, &p);
    if (!std::isfinite(s) || p > 1.0)
    {
      AddCarefully(x, n);
      return;
    }
    mSumSquares += s;
    mPeak = std::max(mPeak, p);
  }

#if defined(__SSE2__)
  static void SumAndPeak(const float* x, int n, double* sum, double* peak)
  {
    const __m128 absMask = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    __m128 s = _mm_setzero_ps(), p = _mm_setzero_ps();
    int i = 0;
    for (; i + 4 <= n; i += 4)
    {
      const __m128 v = _mm_loadu_ps(x + i);
      s = _mm_add_ps(s, _mm_mul_ps(v, v));
      p = _mm_max_ps(p, _mm_and_ps(v, absMask));
    }
    float sl[4], pl[4];
    _mm_storeu_ps(sl, s);
    _mm_storeu_ps(pl, p);
    double total = (static_cast<double>(sl[0]) + sl[1]) + (static_cast<double>(sl[2]) + sl[3]);
    double top = std::max(std::max<double>(pl[0], pl[1]), std::max<double>(pl[2], pl[3]));
    for (; i < n; ++i)
    {
      total += static_cast<double>(x[i]) * x[i];
      top = std::max(top, static_cast<double>(std::fabs(x[i])));
    }
    *sum = total;
    *peak = top;
  }

  static void SumAndPeak(const double* x, int n, double* sum, double* peak)
  {
    const __m128d absMask = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
    __m128d s0 = _mm_setzero_pd(), s1 = _mm_setzero_pd(), p0 = _mm_setzero_pd(), p1 = _mm_setzero_pd();
    int i = 0;
    for (; i + 4 <= n; i += 4)
    {
      const __m128d a = _mm_loadu_pd(x + i), b = _mm_loadu_pd(x + i + 2);
      s0 = _mm_add_pd(s0, _mm_mul_pd(a, a));
      s1 = _mm_add_pd(s1, _mm_mul_pd(b, b));
      p0 = _mm_max_pd(p0, _mm_and_pd(a, absMask));
      p1 = _mm_max_pd(p1, _mm_and_pd(b, absMask));
    }
    double sl[2], pl[2];
    _mm_storeu_pd(sl, _mm_add_pd(s0, s1));
    _mm_storeu_pd(pl, _mm_max_pd(p0, p1));
    double total = sl[0] + sl[1], top = std::max(pl[0], pl[1]);
    for (; i < n; ++i)
    {
      total += x[i] * x[i];
      top = std::max(top, std::fabs(x[i]));
    }
    *sum = total;
    *peak = top;
  }
#else
  template <class T>
  static void SumAndPeak(const T* x, int n, double* sum, double* peak)
  {
    double total = 0.0, top = 0.0;
    for (int i = 0; i < n; ++i)
    {
      total += static_cast<double>(x[i]) * x[i];
      top = std::max(top, static_cast<double>(std::fabs(x[i])));
    }
    *sum = total;
    *peak = top;
  }
#endif

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
