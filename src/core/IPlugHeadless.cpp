#include "IPlugHeadless.h"

#include "HostBlock.h"

IPlugHeadless::IPlugHeadless(IPlugInstanceInfo, int nParams, const char* channelIOStr, int nPresets,
                             const char* effectName, const char* productName, const char* mfrName,
                             int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
                             bool plugDoesChunks, bool plugIsInst)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
              latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPISA)
{
  ConnectChannelsAndCreateDelay();
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
  SetBypassed(false);
  SetupHostProcessing(*this, sampleRate, maxBlockSize);
}

void IPlugHeadless::ProcessBlock(double** inputs, double** outputs, int nIn, int nOut, int nFrames)
{
  ProcessHostBlock(*this, inputs, outputs, nIn, nOut, nFrames);
}

void IPlugHeadless::ProcessBlock(float** inputs, float** outputs, int nIn, int nOut, int nFrames)
{
  ProcessHostBlock(*this, inputs, outputs, nIn, nOut, nFrames);
}
