// The per-block audio path of the plug-in base. Everything here runs on the
// audio thread with the base's mutex held by the wrapper and allocates nothing.
//
// Attaching only records the host's pointers; the process calls bind them in
// pieces of at most the block size, so a host block longer than announced (or
// one arriving before any size was announced) can never overrun a scratch buffer.
#include <cstring>

#include "ChannelRange.h"
#include "IPlugBase.h"

namespace
{
void ZeroDoubles(double* values, int n)
{
  if (values && n > 0) std::memset(values, 0, sizeof(double) * static_cast<size_t>(n));
}

// A finite double beyond the float range would reach a 32-bit host as an
// infinity; it saturates instead. Infinities and NaN (only ever copied from
// the host's own input) pass unchanged, so a bypassed block stays exact.
// Branch-free, so the conversion loops stay vectorised.
inline float SaturatingFloat(double v)
{
  constexpr double kFloatMax = 3.4028234663852886e38;
  const double clamped = v < -kFloatMax ? -kFloatMax : (v > kFloatMax ? kFloatMax : v);
  return static_cast<float>(v - v == 0.0 ? clamped : v); // v - v is NaN for infinities and NaN
}

// The host's pointer array holds one entry per connected channel of the range.
template <class Channel, class Sample, class Bind>
void ForConnectedChannels(WDL_PtrList<Channel>& channels, int idx, int n, Sample** data, Bind bind)
{
  const ChannelRange r = CutRange(idx, n, channels.GetSize());
  for (int i = r.first, next = 0; i < r.end; ++i)
  {
    Channel* ch = channels.Get(i);
    if (ch->mConnected) bind(ch, data ? data[next++] : nullptr);
  }
}
} // namespace

void IPlugBase::AttachInputBuffers(int idx, int n, double** data, int /*nFrames*/)
{
  ForConnectedChannels(mInChannels, idx, n, data, [](InChannel* ch, double* host) {
    ch->mHost64 = host;
    ch->mHost32 = nullptr;
    *ch->mDest = host ? host : ch->mScratchBuf.Get();
  });
}

void IPlugBase::AttachInputBuffers(int idx, int n, float** data, int /*nFrames*/)
{
  ForConnectedChannels(mInChannels, idx, n, data, [](InChannel* ch, float* host) {
    ch->mHost32 = host;
    ch->mHost64 = nullptr;
    *ch->mDest = ch->mScratchBuf.Get();
  });
}

void IPlugBase::AttachOutputBuffers(int idx, int n, double** data)
{
  ForConnectedChannels(mOutChannels, idx, n, data, [](OutChannel* ch, double* host) {
    ch->mHost64 = host;
    ch->mFDest = nullptr;
    *ch->mDest = host ? host : ch->mScratchBuf.Get();
  });
}

void IPlugBase::AttachOutputBuffers(int idx, int n, float** data)
{
  ForConnectedChannels(mOutChannels, idx, n, data, [](OutChannel* ch, float* host) {
    ch->mFDest = host;
    ch->mHost64 = nullptr;
    *ch->mDest = ch->mScratchBuf.Get();
  });
}

void IPlugBase::ProcessBuffers(double, int nFrames) { RunBlock(Conversion::kNone, nFrames, false); }
void IPlugBase::ProcessBuffers(float, int nFrames) { RunBlock(Conversion::kReplace, nFrames, false); }
void IPlugBase::ProcessBuffersAccumulating(float, int nFrames) { RunBlock(Conversion::kAccumulate, nFrames, false); }
void IPlugBase::PassThroughBuffers(double, int nFrames) { RunBlock(Conversion::kNone, nFrames, true); }
void IPlugBase::PassThroughBuffers(float, int nFrames) { RunBlock(Conversion::kReplace, nFrames, true); }

void IPlugBase::ZeroScratchBuffers()
{
  for (int i = 0; i < GetInChannelCount(); ++i)
  {
    WDL_TypedBuf<double>& buf = mInChannels.Get(i)->mScratchBuf;
    ZeroDoubles(buf.Get(), buf.GetSize());
  }
  for (int i = 0; i < GetOutChannelCount(); ++i)
  {
    WDL_TypedBuf<double>& buf = mOutChannels.Get(i)->mScratchBuf;
    ZeroDoubles(buf.Get(), buf.GetSize());
  }
}

void IPlugBase::RunBlock(Conversion conversion, int nFrames, bool passThrough)
{
  if (nFrames <= 0)
  {
    // Nothing to move, but the effect still sees the (empty) block.
    BindChunk(conversion, 0, 0);
    if (!passThrough) ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
    return;
  }
  const int chunk = ScratchFrames();
  if (chunk <= 0)
  {
    SilenceHostOutputs(conversion, nFrames);
    return;
  }
  for (int offset = 0; offset < nFrames; offset += chunk)
  {
    const int n = nFrames - offset < chunk ? nFrames - offset : chunk;
    BindChunk(conversion, offset, n);
    if (!passThrough)
      ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), n);
    // A line that could not be sized (negative or huge latency) falls back to
    // the plain copy rather than leaving the outputs unwritten.
    else if (mLatency != 0 && mDelay && mDelay->GetDelayLength() > 0)
      mDelay->ProcessBlock(mInData.Get(), mOutData.Get(), n);
    else
      CopyInputsToOutputs(mInData.Get(), mOutData.Get(), n);
    WriteBackChunk(conversion, offset, n);
  }
}

void IPlugBase::BindChunk(Conversion conversion, int offset, int nFrames)
{
  for (int i = 0; i < GetInChannelCount(); ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    double* scratch = ch->mScratchBuf.Get();
    if (ch->mConnected && ch->mHost64 && conversion == Conversion::kNone)
    {
      *ch->mDest = const_cast<double*>(ch->mHost64) + offset;
      continue;
    }
    *ch->mDest = scratch;
    if (ch->mConnected && ch->mHost32 && conversion != Conversion::kNone)
    {
      const float* src = ch->mHost32 + offset;
      for (int s = 0; s < nFrames; ++s) scratch[s] = src[s];
    }
    else
    {
      ZeroDoubles(scratch, nFrames); // silence for a channel nobody feeds
    }
  }
  for (int i = 0; i < GetOutChannelCount(); ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    const bool direct = ch->mConnected && ch->mHost64 && conversion == Conversion::kNone;
    *ch->mDest = direct ? ch->mHost64 + offset : ch->mScratchBuf.Get();
  }
}

void IPlugBase::WriteBackChunk(Conversion conversion, int offset, int nFrames)
{
  if (conversion == Conversion::kNone) return;
  for (int i = 0; i < GetOutChannelCount(); ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected || !ch->mFDest) continue;
    const double* src = *ch->mDest;
    float* dst = ch->mFDest + offset;
    if (conversion == Conversion::kAccumulate)
      for (int s = 0; s < nFrames; ++s) dst[s] += SaturatingFloat(src[s]);
    else
      for (int s = 0; s < nFrames; ++s) dst[s] = SaturatingFloat(src[s]);
  }
}

void IPlugBase::SilenceHostOutputs(Conversion conversion, int nFrames)
{
  for (int i = 0; i < GetOutChannelCount(); ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected) continue;
    if (conversion == Conversion::kNone)
      ZeroDoubles(ch->mHost64, nFrames);
    else if (conversion == Conversion::kReplace && ch->mFDest)
      std::memset(ch->mFDest, 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

void IPlugBase::CopyInputsToOutputs(double* const* inputs, double* const* outputs, int nFrames) const
{
  if (!inputs || !outputs || nFrames <= 0) return;
  const int nIn = GetInChannelCount();
  for (int i = 0; i < GetOutChannelCount(); ++i)
  {
    double* out = outputs[i];
    if (!out) continue;
    if (i < nIn && inputs[i])
    {
      if (out != inputs[i]) std::memmove(out, inputs[i], sizeof(double) * static_cast<size_t>(nFrames));
    }
    else
    {
      ZeroDoubles(out, nFrames);
    }
  }
}
