#include "IPlugHeadless.h"

IPlugHeadless::IPlugHeadless(IPlugInstanceInfo, int nParams, const char* channelIOStr, int nPresets,
                             const char* effectName, const char* productName, const char* mfrName,
                             int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
                             bool plugDoesChunks, bool plugIsInst)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
              latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPISA)
{
  SetInputChannelConnections(0, GetInChannelCount(), true);
  SetOutputChannelConnections(0, GetOutChannelCount(), true);
  if (GetInChannelCount() > 0) mDelay.reset(new NChanDelay(GetInChannelCount(), GetOutChannelCount(), latency));
}

void IPlugHeadless::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  mLastEditedParam = paramIdx;
  mLastEditedValue = normalizedValue;
}

void IPlugHeadless::GetTimeSig(int* numerator, int* denominator)
{
  if (numerator) *numerator = 4;
  if (denominator) *denominator = 4;
}

void IPlugHeadless::GetTime(ITimeInfo* timeInfo)
{
  if (!timeInfo) return;
  *timeInfo = ITimeInfo{};
  timeInfo->mSamplePos = 0.0;
  timeInfo->mTempo = mTempo;
  timeInfo->mNumerator = 4;
  timeInfo->mDenominator = 4;
}

void IPlugHeadless::SetupProcessing(double sampleRate, int maxBlockSize)
{
  SetSampleRate(sampleRate);
  mIsBypassed = false;
  SetBlockSize(maxBlockSize);
  Reset();
}

template <class T>
void IPlugHeadless::RunBlock(T** inputs, T** outputs, int nIn, int nOut, int nFrames)
{
  WDL_MutexLock lock(&mMutex);
  SetInputChannelConnections(0, nIn, true);
  SetInputChannelConnections(nIn, GetInChannelCount() - nIn, false);
  AttachInputBuffers(0, nIn, inputs, nFrames);
  SetOutputChannelConnections(0, nOut, true);
  SetOutputChannelConnections(nOut, GetOutChannelCount() - nOut, false);
  AttachOutputBuffers(0, nOut, outputs);
  if (IsBypassed())
    PassThroughBuffers(T(0), nFrames);
  else
    ProcessBuffers(T(0), nFrames);
}

void IPlugHeadless::ProcessBlock(double** inputs, double** outputs, int nIn, int nOut, int nFrames)
{
  RunBlock(inputs, outputs, nIn, nOut, nFrames);
}

void IPlugHeadless::ProcessBlock(float** inputs, float** outputs, int nIn, int nOut, int nFrames)
{
  RunBlock(inputs, outputs, nIn, nOut, nFrames);
}
