#pragma once
// Flush-to-zero and denormals-are-zero for the duration of one audio block:
// decaying IIR tails would otherwise turn subnormal, which costs many times
// the normal work per operation and leaks subnormal samples to the host.
// The caller's control word comes back when the guard goes. [audio thread]
#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>

class DenormalGuard
{
public:
  DenormalGuard() : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(mSaved); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned mSaved;
};
#else
class DenormalGuard
{
};
#endif
