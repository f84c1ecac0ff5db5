#pragma once
// A one-line progress bar on standard error, drawn only when standard error
// is a terminal and the file is long enough to wait for.
#include <chrono>
#include <string>

namespace render {

class Progress
{
public:
  // Files shorter than this many seconds finish before a bar would help.
  static constexpr double kMinSeconds = 5.0;

  Progress(long long totalFrames, double sampleRate, bool enabled);
  ~Progress();
  void Update(long long doneFrames);
  // Clears the bar so the summary starts on a clean line.
  void Finish();

private:
  bool mShown = false, mDrawn = false;
  long long mTotal = 0;
  int mLastPermille = -1;
  std::chrono::steady_clock::time_point mStart, mLastDraw;
};

} // namespace render
