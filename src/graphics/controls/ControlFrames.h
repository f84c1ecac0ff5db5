#pragma once

// The 1-based film-strip frame nearest to a normalised value across n frames;
// values outside 0..1 stop at the first or last frame.
inline int FrameForValue(double value, int nFrames)
{
  const int i = static_cast<int>(static_cast<double>(nFrames - 1) * value + 0.5);
  if (i < 0) return 1;
  if (i >= nFrames) return nFrames;
  return i + 1;
}
