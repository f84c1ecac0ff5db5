#pragma once
#include <vector>

#include "IPlugHeadless.h"

// A headless plug-in whose effect hook is observable: it records the pointers
// and sizes it was handed and writes input * gain + channel offset.
class TestPlug : public IPlugHeadless
{
public:
  explicit TestPlug(const char* channelIO = "1-1 2-2", int latency = 0, int nParams = 2)
    : IPlugHeadless(IPlugInstanceInfo{}, nParams, channelIO, 1, "Test", "Product", "Maker", 0x00010203, 0x54737431,
                    0x4D6B7231, latency, false, false, false)
  {
  }

  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override
  {
    ++calls;
    lastFrames = nFrames;
    maxFrames = nFrames > maxFrames ? nFrames : maxFrames;
    for (int c = 0; c < GetOutChannelCount() && c < 8; ++c)
    {
      seenIn[c] = c < GetInChannelCount() ? inputs[c] : nullptr;
      seenOut[c] = outputs[c];
      for (int s = 0; s < nFrames; ++s)
        outputs[c][s] = (c < GetInChannelCount() ? inputs[c][s] : 0.0) * gain + 100.0 * c;
    }
  }

  void OnParamChange(int paramIdx) override
  {
    IPlugHeadless::OnParamChange(paramIdx);
    changed.push_back(paramIdx);
  }

  int calls = 0;
  int lastFrames = -1;
  int maxFrames = 0;
  double gain = 2.0;
  double* seenIn[8] = {};
  double* seenOut[8] = {};
  std::vector<int> changed;

  using IPlugBase::mDelay;
};
