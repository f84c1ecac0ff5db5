#include "Summary.h"

#include <cmath>
#include <cstdio>

namespace render {

namespace {
std::string Db(double db)
{
  if (!std::isfinite(db)) return "  -inf dBFS";
  char text[32];
  std::snprintf(text, sizeof text, "%6.1f dBFS", db);
  return text;
}
} // namespace

std::string FormatDuration(double seconds)
{
  char text[48];
  const long long ms = std::llround(seconds * 1000.0);
  std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", ms / 60000, (ms / 1000) % 60, ms % 1000);
  return text;
}

void PrintSummary(const RenderReport& r)
{
  const double length = r.inFormat.sampleRate > 0 ? static_cast<double>(r.frames) / r.inFormat.sampleRate : 0.0;
  std::printf("%s -> %s\n", r.input.c_str(), r.output.c_str());
  std::printf("  format     %s -> %s, %s, %d Hz\n", DescribeFormat(r.inFormat.format).c_str(),
              DescribeFormat(r.outFormat.format).c_str(), r.outFormat.channels == 1 ? "mono" : "stereo",
              r.outFormat.sampleRate);
  std::printf("  length     %s (%lld frames)\n", FormatDuration(length).c_str(), r.frames);
  std::printf("  input      peak %s   RMS %s\n", Db(r.inLevel.PeakDb()).c_str(), Db(r.inLevel.RmsDb()).c_str());
  std::printf("  output     peak %s   RMS %s\n", Db(r.outLevel.PeakDb()).c_str(), Db(r.outLevel.RmsDb()).c_str());
  if (r.clips)
    std::printf("  clipped    %lld samples\n", r.overs);
  else
    std::printf("  clipped    0 samples (%lld beyond full scale, kept by the float output)\n", r.overs);
  if (r.inLevel.NonFinite() > 0)
    std::printf("  warning    %lld input samples were not finite numbers\n", r.inLevel.NonFinite());
  std::printf("  settings   %s\n", r.settings.c_str());
  std::printf("  processing %s\n", r.processing.c_str());
  std::printf("  time       %.3f s, %.1f x real time\n", r.seconds, r.seconds > 0.0 ? length / r.seconds : 0.0);
}

} // namespace render
