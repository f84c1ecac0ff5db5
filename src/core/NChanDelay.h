#pragma once
#include <cstdint>

#include "WDL_TypedBuf.h"

// Delay line that keeps bypassed audio aligned with the reported latency.
// Channel c occupies values c * length .. c * length + length - 1.
class NChanDelay
{
public:
  NChanDelay(int nInChans, int nOutChans, int length = 0);

  // [main thread] Allocates; clears the line.
  void SetDelayLength(int length);
  int GetDelayLength() const { return mLength; }
  void Reset();

  // [audio thread] Delays the channels both sides have; other outputs are untouched.
  void ProcessBlock(double* const* inputs, double* const* outputs, int nFrames);

private:
  WDL_TypedBuf<double> mBuffer;
  uint64_t mWritePos = 0;
  int mNInChans;
  int mNOutChans;
  int mLength = 0;
};
