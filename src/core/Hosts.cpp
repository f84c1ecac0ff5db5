#include "Hosts.h"

#include <cctype>
#include <cstring>

#include "Log.h"
#include "TextCopy.h"

namespace
{
struct HostMatch
{
  const char* text;
  EHost host;
};

// Order matters: the first contained text decides, so overlaps resolve here.
constexpr HostMatch kMatches[] = {
  {"cubase", kHostCubase},          {"reaper", kHostReaper},
  {"nuendo", kHostNuendo},          {"cakewalk", kHostSonar},
  {"samplitude", kHostSamplitude},  {"fruity", kHostFL},
  {"live", kHostAbletonLive},       {"melodyne", kHostMelodyneStudio},
  {"vstmanlib", kHostVSTScanner},   {"aulab", kHostAULab},
  {"garageband", kHostGarageBand},  {"forte", kHostForte},
  {"chainer", kHostChainer},        {"audition", kHostAudition},
  {"orion", kHostOrion},            {"sawstudio", kHostSAWStudio},
  {"logic", kHostLogic},            {"digital", kHostDigitalPerformer},
  {"audiomulch", kHostAudioMulch},  {"presonus", kHostStudioOne},
  {"vst3plugintesthost", kHostVST3TestHost},
  {"protools", kHostProTools},      {"ardour", kHostArdour},
  {"openmpt", kHostOpenMPT},        {"renoise", kHostRenoise},
  {"standalone", kHostStandalone},
};
static_assert(sizeof kMatches / sizeof kMatches[0] == 26, "every matchable host appears once");

// Display names indexed by EHost value 0..30.
constexpr const char* kDisplayNames[] = {
  "Unknown", "Reaper", "ProTools", "Cubase", "Nuendo", "Sonar", "Vegas", "FLStudio",
  "Samplitude", "Live", "Unknown", "Unknown", "Unknown", "VSTScanner", "AULab", "Forte",
  "Chainer", "Audition", "Orion", "Unknown", "SAWStudio", "Logic", "GarageBand",
  "DigitalPerformer", "Standalone", "AudioMulch", "StudioOne", "VST3PluginTestHost",
  "Ardour", "Renoise", "OpenMPT",
};
static_assert(sizeof kDisplayNames / sizeof kDisplayNames[0] == kHostOpenMPT + 1, "one name per host value");
} // namespace

void ToLower(char* dst, int dstSize, const char* src)
{
  if (!dst || dstSize <= 0) return;
  int i = 0;
  if (src)
    for (; i + 1 < dstSize && src[i]; ++i) dst[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(src[i])));
  dst[i] = 0;
}

void ToLower(char* dst, const char* src)
{
  const size_t n = src ? std::strlen(src) : 0;
  ToLower(dst, static_cast<int>(n + 1), src);
}

EHost LookUpHost(const char* name)
{
  char lower[256];
  ToLower(lower, sizeof lower, name);
  for (const HostMatch& m : kMatches)
    if (std::strstr(lower, m.text)) return m.host;
  return kHostUnknown;
}

void GetHostNameStr(EHost host, char* name)
{
  if (!name) return;
  const bool known = host >= kHostUnknown && host <= kHostOpenMPT;
  CopyTextField(name, kHostNameStrSize, known ? kDisplayNames[host] : "Unknown");
}
