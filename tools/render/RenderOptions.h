#pragma once
// The command line of murax-render, parsed into one record. Parsing never
// touches a file; it only decides what the run will do.
#include <string>
#include <vector>

#include "Settings.h"

namespace render {

struct RenderOptions
{
  std::string input, output;     // both empty: the demo (or only a plot or snapshot)
  std::string bundle;            // empty: the build's bundle
  std::string format;            // empty: the input's container and subtype
  bool useDouble = false;
  int blockSize = 512;
  bool preroll = true;
  Settings settings;
  std::string stateIn, stateOut;
  std::string plot, plotData;
  std::vector<Settings> compare;
  std::string snapshot;
  std::string demoDir;           // empty: the build's demo folder
  bool quiet = false;
  bool help = false, version = false;
};

constexpr int kMaxBlockSize = 16384;

// False with a one-line reason for anything the run could not honour.
bool ParseOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error);
const char* UsageText();

} // namespace render
