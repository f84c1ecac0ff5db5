#include "IPlugBase.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "ChannelRange.h"
#include "Log.h"
#include "TextCopy.h"
#include "Version.h"

namespace
{
template <class T>
void ZeroValues(T* values, int n)
{
  if (values && n > 0) std::memset(values, 0, sizeof(T) * static_cast<size_t>(n));
}

} // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                     int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, EAPI plugAPI)
  : mUniqueID(uniqueID)
  , mMfrID(mfrID)
  , mVersion(vendorVersion)
  , mAPI(plugAPI)
  , mStateChunks(plugDoesChunks)
  , mIsInst(plugIsInst)
  , mDoesMIDI(plugDoesMidi)
  , mLatency(latency)
{
  char timeText[64] = "";
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local)) std::strftime(timeText, sizeof timeText, "%c", &local);
  TRACE_LOC("IPlugBase", "%s:%s", effectName ? effectName : "", timeText);

  for (int i = 0; i < nParams; ++i) mParams.Add(new IParam);
  CreatePresets(nPresets);

  CopyTextField(mEffectName, effectName);
  CopyTextField(mProductName, productName);
  CopyTextField(mMfrName, mfrName);

  ParseChannelIO(channelIOStr);
}

IPlugBase::~IPlugBase()
{
  mGraphics.reset();
  mParams.DeleteAll(true);
  DeletePresets();
  mInChannels.DeleteAll(true);
  mOutChannels.DeleteAll(true);
  mChannelIO.DeleteAll(true);
  mInputBusLabels.DeleteAll(true);
  mOutputBusLabels.DeleteAll(true);
  mDelay.reset();
}

void IPlugBase::ConnectChannelsAndCreateDelay()
{
  SetInputChannelConnections(0, GetInChannelCount(), true);
  SetOutputChannelConnections(0, GetOutChannelCount(), true);
  if (GetInChannelCount() > 0) mDelay.reset(new NChanDelay(GetInChannelCount(), GetOutChannelCount(), mLatency));
}

void IPlugBase::ParseChannelIO(const char* channelIOStr)
{
  if (!channelIOStr) return;
  int maxIn = 0, maxOut = 0;
  for (const char* p = channelIOStr;;)
  {
    int nIn = 0, nOut = 0;
    std::sscanf(p, "%d-%d", &nIn, &nOut); // an unreadable token stays (0, 0)
    mChannelIO.Add(new ChannelIO{nIn, nOut});
    if (nIn > maxIn) maxIn = nIn;
    if (nOut > maxOut) maxOut = nOut;
    p = std::strchr(p, ' ');
    if (!p) break;
    ++p;
  }

  ZeroValues(mInData.Resize(maxIn), maxIn);
  ZeroValues(mOutData.Resize(maxOut), maxOut);
  for (int i = 0; i < mInData.GetSize(); ++i)
  {
    InChannel* ch = mInChannels.Add(new InChannel);
    ch->mDest = mInData.Get() + i;
  }
  for (int i = 0; i < mOutData.GetSize(); ++i)
  {
    OutChannel* ch = mOutChannels.Add(new OutChannel);
    ch->mDest = mOutData.Get() + i;
  }
}

// ---- Hooks -------------------------------------------------------------------

void IPlugBase::Reset() { WDL_MutexLock lock(&mMutex); }
void IPlugBase::OnParamChange(int /*paramIdx*/) { WDL_MutexLock lock(&mMutex); }
void IPlugBase::OnActivate(bool /*active*/) { WDL_MutexLock lock(&mMutex); }

void IPlugBase::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  CopyInputsToOutputs(inputs, outputs, nFrames);
}

void IPlugBase::ProcessMidiMsg(IMidiMsg* msg) { SendMidiMsg(msg); }

bool IPlugBase::MidiNoteName(int /*noteNumber*/, char* name)
{
  if (name) name[0] = 0;
  return false;
}

void IPlugBase::SetParameterFromGUI(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  WDL_MutexLock lock(&mMutex);
  TRACE_LOC("SetParameterFromGUI", "%d:%f", paramIdx, normalizedValue);
  param->SetNormalized(normalizedValue);
  InformHostOfParamChange(paramIdx, normalizedValue);
  OnParamChange(paramIdx);
}

void IPlugBase::AttachGraphics(IEditor* graphics)
{
  if (!graphics) return;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < GetParamCount(); ++i) graphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  graphics->PrepDraw();
  mGraphics.reset(graphics);
}

void IPlugBase::SetLatency(int samples)
{
  mLatency = samples;
  if (mDelay) mDelay->SetDelayLength(samples);
}

void IPlugBase::RedrawParamControls()
{
  if (!mGraphics) return;
  for (int i = 0; i < GetParamCount(); ++i) mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

void IPlugBase::SetBlockSize(int blockSize)
{
  if (blockSize < 0) blockSize = 0;
  if (blockSize == mBlockSize) return;
  bool ok = true;
  for (int i = 0; i < GetInChannelCount(); ++i) ok = mInChannels.Get(i)->mScratchBuf.Resize(blockSize) && ok;
  for (int i = 0; i < GetOutChannelCount(); ++i) ok = mOutChannels.Get(i)->mScratchBuf.Resize(blockSize) && ok;
  if (!ok) blockSize = 0; // out of memory: process nothing rather than overrun a short buffer
  mBlockSize = blockSize;
  ZeroScratchBuffers();
  // Rebind scratch slots now so no slot is left dangling on freed storage.
  for (int i = 0; i < GetInChannelCount(); ++i)
    if (!mInChannels.Get(i)->mConnected) *mInChannels.Get(i)->mDest = mInChannels.Get(i)->mScratchBuf.Get();
  for (int i = 0; i < GetOutChannelCount(); ++i)
    if (!mOutChannels.Get(i)->mConnected) *mOutChannels.Get(i)->mDest = mOutChannels.Get(i)->mScratchBuf.Get();
}

// ---- Channel configuration ------------------------------------------------------

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
  bool legal = false;
  for (int i = 0; i < mChannelIO.GetSize() && !legal; ++i)
  {
    const ChannelIO* io = mChannelIO.Get(i);
    legal = (nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut);
  }
  TRACE_LOC("LegalIO", "%d:%d:%s", nIn, nOut, legal ? "legal" : "illegal");
  return legal;
}

void IPlugBase::GetChannelIO(int idx, int* nIn, int* nOut) const
{
  const ChannelIO* io = mChannelIO.Get(idx);
  if (nIn) *nIn = io ? io->mIn : 0;
  if (nOut) *nOut = io ? io->mOut : 0;
}

namespace
{
// An unconnected channel's slot points at its own scratch buffer (null while unsized).
template <class Channel, class Forget>
void SetConnections(WDL_PtrList<Channel>& channels, int idx, int n, bool connected, Forget forgetHostBuffers)
{
  const ChannelRange r = CutRange(idx, n, channels.GetSize());
  for (int i = r.first; i < r.end; ++i)
  {
    Channel* ch = channels.Get(i);
    ch->mConnected = connected;
    if (connected) continue;
    *ch->mDest = ch->mScratchBuf.Get();
    forgetHostBuffers(ch);
  }
}
} // namespace

void IPlugBase::SetInputChannelConnections(int idx, int n, bool connected)
{
  SetConnections(mInChannels, idx, n, connected, [](InChannel* ch) {
    ch->mHost64 = nullptr;
    ch->mHost32 = nullptr;
  });
}

void IPlugBase::SetOutputChannelConnections(int idx, int n, bool connected)
{
  SetConnections(mOutChannels, idx, n, connected, [](OutChannel* ch) {
    ch->mHost64 = nullptr;
    ch->mFDest = nullptr;
  });
}

bool IPlugBase::IsInChannelConnected(int idx) const
{
  const InChannel* ch = mInChannels.Get(idx);
  return ch && ch->mConnected;
}

bool IPlugBase::IsOutChannelConnected(int idx) const
{
  const OutChannel* ch = mOutChannels.Get(idx);
  return ch && ch->mConnected;
}

void IPlugBase::SetInputLabel(int idx, const char* label)
{
  if (InChannel* ch = mInChannels.Get(idx)) ch->mLabel.Set(label ? label : "");
}

void IPlugBase::SetOutputLabel(int idx, const char* label)
{
  if (OutChannel* ch = mOutChannels.Get(idx)) ch->mLabel.Set(label ? label : "");
}

const char* IPlugBase::GetInputLabel(int idx) const
{
  const InChannel* ch = mInChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

const char* IPlugBase::GetOutputLabel(int idx) const
{
  const OutChannel* ch = mOutChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

namespace
{
void SetBusLabel(WDL_PtrList<WDL_String>& labels, int idx, const char* label)
{
  labels.Delete(idx, true);
  labels.Insert(idx, new WDL_String(label ? label : ""));
}
} // namespace

void IPlugBase::SetInputBusLabel(int idx, const char* label)
{
  if (idx == 0 || idx == 1) SetBusLabel(mInputBusLabels, idx, label);
}

void IPlugBase::SetOutputBusLabel(int idx, const char* label)
{
  if (idx >= 0) SetBusLabel(mOutputBusLabels, idx, label);
}

const double* IPlugBase::InScratch(int idx) const
{
  const InChannel* ch = mInChannels.Get(idx);
  return ch ? ch->mScratchBuf.Get() : nullptr;
}

const double* IPlugBase::OutScratch(int idx) const
{
  const OutChannel* ch = mOutChannels.Get(idx);
  return ch ? ch->mScratchBuf.Get() : nullptr;
}

// ---- Host and identity ------------------------------------------------------------

void IPlugBase::SetHost(const char* hostName, int hostVersion)
{
  mHost = LookUpHost(hostName);
  mHostVersion = hostVersion;
  char versionText[kVersionStrSize];
  GetVersionStr(hostVersion, versionText);
  TRACE_LOC("SetHost", "host_%sknown:%s:%s", mHost == kHostUnknown ? "un" : "", hostName ? hostName : "",
            versionText);
}

int IPlugBase::GetHostVersion(bool decimal)
{
  GetHost();
  return decimal ? GetDecimalVersion(mHostVersion) : mHostVersion;
}

void IPlugBase::GetHostVersionStr(char* text)
{
  GetHost();
  GetVersionStr(mHostVersion, text);
}

int IPlugBase::GetEffectVersion(bool decimal) const { return decimal ? GetDecimalVersion(mVersion) : mVersion; }

void IPlugBase::GetEffectVersionStr(char* text) const { GetVersionStr(mVersion, text); }

const char* IPlugBase::GetAPIString()
{
  static const char* const kNames[] = {"VST2", "VST3", "AU", "RTAS", "AAX", "Standalone"};
  const int api = GetAPI();
  return api >= 0 && api < static_cast<int>(sizeof kNames / sizeof kNames[0]) ? kNames[api] : "";
}

double IPlugBase::GetSamplesPerBeat()
{
  const double tempo = GetTempo();
  return tempo > 0.0 ? mSampleRate * 60.0 / tempo : 0.0;
}

// ---- Parameters ------------------------------------------------------------------------

void IPlugBase::OnParamReset()
{
  for (int i = 0; i < GetParamCount(); ++i) OnParamChange(i);
}

void IPlugBase::DirtyParameters()
{
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < GetParamCount(); ++i) InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

bool IPlugBase::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* msgs)
{
  bool allSent = true;
  if (!msgs) return allSent;
  IMidiMsg* list = msgs->Get();
  for (int i = 0; i < msgs->GetSize(); ++i) allSent = SendMidiMsg(list + i) && allSent;
  return allSent;
}
