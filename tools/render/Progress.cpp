#include "Progress.h"

#include <unistd.h>

#include <cstdio>

namespace render {

Progress::Progress(long long totalFrames, double sampleRate, bool enabled)
  : mTotal(totalFrames), mStart(std::chrono::steady_clock::now()), mLastDraw(mStart)
{
  mShown = enabled && totalFrames > 0 && static_cast<double>(totalFrames) > kMinSeconds * sampleRate &&
           isatty(STDERR_FILENO);
}

Progress::~Progress() { Finish(); }

void Progress::Update(long long done)
{
  if (!mShown) return;
  const auto now = std::chrono::steady_clock::now();
  const int permille = static_cast<int>(done * 1000 / mTotal);
  if (permille == mLastPermille || (now - mLastDraw < std::chrono::milliseconds(100) && permille < 1000)) return;
  mLastPermille = permille;
  mLastDraw = now;
  constexpr int kWidth = 40;
  char bar[kWidth + 1];
  const int filled = permille * kWidth / 1000;
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  const double elapsed = std::chrono::duration<double>(now - mStart).count();
  const double left = permille > 0 ? elapsed * (1000 - permille) / permille : 0.0;
  std::fprintf(stderr, "\rrendering [%s] %3d%%  %.0f s left ", bar, permille / 10, left);
  std::fflush(stderr);
  mDrawn = true;
}

void Progress::Finish()
{
  if (!mDrawn) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  mDrawn = false;
}

} // namespace render
