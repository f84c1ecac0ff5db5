#pragma once
#include "IPlugBase.h"

// Drives one block through a plug-in the way a simple host does: the first
// nIn inputs and nOut outputs connected, the rest not, under the base's mutex.
// Used by the headless wrapper, tests and the command-line tools.
template <class T>
void ProcessHostBlock(IPlugBase& plug, T** inputs, T** outputs, int nIn, int nOut, int nFrames)
{
  WDL_MutexLock lock(&plug.GetMutex());
  plug.SetInputChannelConnections(0, nIn, true);
  plug.SetInputChannelConnections(nIn, plug.GetInChannelCount() - nIn, false);
  plug.AttachInputBuffers(0, nIn, inputs, nFrames);
  plug.SetOutputChannelConnections(0, nOut, true);
  plug.SetOutputChannelConnections(nOut, plug.GetOutChannelCount() - nOut, false);
  plug.AttachOutputBuffers(0, nOut, outputs);
  if (plug.IsBypassed())
    plug.PassThroughBuffers(T(0), nFrames);
  else
    plug.ProcessBuffers(T(0), nFrames);
}

// What a host's processing set-up does: rate, largest block, reset.
inline void SetupHostProcessing(IPlugBase& plug, double sampleRate, int maxBlockSize)
{
  plug.SetSampleRate(sampleRate);
  plug.SetBlockSize(maxBlockSize);
  plug.Reset();
}
