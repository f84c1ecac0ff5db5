#include "NChanDelay.h"

#include <cstring>

NChanDelay::NChanDelay(int nInChans, int nOutChans, int length) : mNInChans(nInChans), mNOutChans(nOutChans)
{
  SetDelayLength(length);
}

void NChanDelay::SetDelayLength(int length)
{
  mLength = length > 0 ? length : 0;
  const long long values = static_cast<long long>(mLength) * (mNInChans > 0 ? mNInChans : 0);
  if (values > 0x7fffffff / static_cast<long long>(sizeof(double)) || !mBuffer.Resize(static_cast<int>(values)))
  {
    mLength = 0;
    mBuffer.Resize(0);
  }
  Reset();
}

void NChanDelay::Reset()
{
  mWritePos = 0;
  if (mBuffer.GetSize()) std::memset(mBuffer.Get(), 0, sizeof(double) * static_cast<size_t>(mBuffer.GetSize()));
}

void NChanDelay::ProcessBlock(double* const* inputs, double* const* outputs, int nFrames)
{
  if (mLength <= 0 || !inputs || !outputs) return;
  const int nChans = mNInChans < mNOutChans ? mNInChans : mNOutChans;
  double* line = mBuffer.Get();
  const uint64_t length = static_cast<uint64_t>(mLength);
  for (int s = 0; s < nFrames; ++s)
  {
    for (int c = 0; c < nChans; ++c)
    {
      double* cell = line + static_cast<uint64_t>(c) * length + mWritePos;
      const double in = inputs[c][s]; // read first: input and output may share a buffer
      outputs[c][s] = *cell;
      *cell = in;
    }
    mWritePos = (mWritePos + 1) % length;
  }
}
