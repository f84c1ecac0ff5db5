#pragma once
#include "IPlugBase.h"
#include "IPlugInstanceInfo.h"

// A wrapper with no host behind it: it answers the base's host queries with a
// fixed transport and counts what the editor would have told a host. Tests,
// the command-line renderer and benchmarks drive effects through it.
class IPlugHeadless : public IPlugBase
{
public:
  IPlugHeadless(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
                const char* effectName, const char* productName, const char* mfrName, int vendorVersion,
                int uniqueID, int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst);

  void BeginInformHostOfParamChange(int /*paramIdx*/) override { ++mBeginEdits; }
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChange(int /*paramIdx*/) override { ++mEndEdits; }
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return mTempo; }
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  void ResizeGraphics(int /*width*/, int /*height*/) override {}
  bool SendMidiMsg(IMidiMsg* /*msg*/) override { return false; }

  // Prepares processing the way a host's set-up does: rate, largest block, reset.
  void SetupProcessing(double sampleRate, int maxBlockSize);
  // One block through the base, every channel connected; either sample type.
  void ProcessBlock(double** inputs, double** outputs, int nIn, int nOut, int nFrames);
  void ProcessBlock(float** inputs, float** outputs, int nIn, int nOut, int nFrames);

  // The host's own bypass: blocks pass through without reaching the effect.
  void SetHostBypass(bool bypassed) { SetBypassed(bypassed); }
  void SetTempo(double tempo) { mTempo = tempo; }
  int BeginEdits() const { return mBeginEdits; }
  int EndEdits() const { return mEndEdits; }
  int LastEditedParam() const { return mLastEditedParam; }
  double LastEditedValue() const { return mLastEditedValue; }

private:
  double mTempo = 120.0;
  int mBeginEdits = 0;
  int mEndEdits = 0;
  int mLastEditedParam = -1;
  double mLastEditedValue = 0.0;
};
