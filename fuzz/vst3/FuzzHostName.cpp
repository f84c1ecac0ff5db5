// Any 128 UTF-16 units as the name the host application reports, terminated
// or not. initialize must read no further than the string and identify the
// host: the unknown host when no known text is in the (lower-cased) name, the
// one host whose text is there when just one is.
#include <cctype>
#include <cstring>
#include <string>

#include "HostObjects.h"
#include "MURAX.h"

using namespace Steinberg;

#define FUZZ_CHECK(condition) \
  do \
  { \
    if (!(condition)) __builtin_trap(); \
  } while (0)

namespace
{
struct Known
{
  const char* text;
  EHost host;
};
const Known kKnown[] = {
  {"reaper", kHostReaper},         {"protools", kHostProTools},     {"cubase", kHostCubase},
  {"nuendo", kHostNuendo},         {"cakewalk", kHostSonar},        {"fruity", kHostFL},
  {"samplitude", kHostSamplitude}, {"live", kHostAbletonLive},      {"melodyne", kHostMelodyneStudio},
  {"vstmanlib", kHostVSTScanner},  {"aulab", kHostAULab},           {"forte", kHostForte},
  {"chainer", kHostChainer},       {"audition", kHostAudition},     {"orion", kHostOrion},
  {"sawstudio", kHostSAWStudio},   {"logic", kHostLogic},           {"garageband", kHostGarageBand},
  {"digital", kHostDigitalPerformer}, {"standalone", kHostStandalone}, {"audiomulch", kHostAudioMulch},
  {"presonus", kHostStudioOne},    {"vst3plugintesthost", kHostVST3TestHost}, {"ardour", kHostArdour},
  {"renoise", kHostRenoise},       {"openmpt", kHostOpenMPT},
};

// Hands out the fuzzer's units exactly, all 128 of them when the input is long enough.
class FuzzHost : public vst3host::HostApplication
{
public:
  tresult PLUGIN_API getName(Vst::String128 name) override
  {
    std::memcpy(name, units, sizeof units);
    return kResultOk;
  }
  Vst::TChar units[128] = {};
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static MURAX* plug = static_cast<MURAX*>(MakePlug());
  static FuzzHost* host = new FuzzHost;
  std::memset(host->units, 0, sizeof host->units);
  std::memcpy(host->units, data, size < sizeof host->units ? size : sizeof host->units);

  FUZZ_CHECK(plug->initialize(host) == kResultOk);
  const EHost found = plug->GetHost();
  plug->terminate();

  // What the plug-in can see of the name: up to the terminator, at most 127
  // units, each wider than 8 bits read as '?'.
  std::string seen;
  for (int i = 0; i < 127 && host->units[i]; ++i)
    seen += host->units[i] < 256 ? static_cast<char>(std::tolower(host->units[i])) : '?';
  int matches = 0;
  EHost only = kHostUnknown;
  for (const Known& k : kKnown)
    if (seen.find(k.text) != std::string::npos) ++matches, only = k.host;
  if (matches <= 1) FUZZ_CHECK(found == only);
  else FUZZ_CHECK(found > kHostUnknown && found <= kHostOpenMPT);

  char display[kHostNameStrSize + 8];
  std::memset(display, 'x', sizeof display);
  GetHostNameStr(found, display);
  FUZZ_CHECK(std::memchr(display, 0, kHostNameStrSize) != nullptr);
  return 0;
}
