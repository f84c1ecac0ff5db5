#pragma once
// What a finished render reports on standard output.
#include <string>

#include "AudioFormat.h"
#include "LevelMeter.h"

namespace render {

struct RenderReport
{
  std::string input, output;
  AudioFormat inFormat, outFormat;
  long long frames = 0;
  LevelMeter inLevel, outLevel;
  long long overs = 0;
  bool clips = false;
  std::string settings;
  std::string processing;   // "32-bit, 512-sample blocks, 2 s pre-roll"
  double seconds = 0.0;     // the whole run, bundle loading included
};

void PrintSummary(const RenderReport& report);
// "0:08.000"
std::string FormatDuration(double seconds);

} // namespace render
