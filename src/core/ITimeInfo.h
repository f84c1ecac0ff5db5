#pragma once

// The host's transport and timing, filled by the wrapper on request.
struct ITimeInfo
{
  double mSamplePos = -1.0;
  double mTempo = -1.0;
  double mPPQPos = -1.0;
  double mLastBar = -1.0;
  double mCycleStart = -1.0;
  double mCycleEnd = -1.0;
  int mNumerator = -1;
  int mDenominator = -1;
  bool mTransportIsRunning = false;
  bool mTransportLoopEnabled = false;
};
