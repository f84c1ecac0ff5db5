#include "ClassFinder.h"

#include <cstring>

#include "pluginterfaces/vst/ivstaudioprocessor.h"

namespace vst3host {

bool FindAudioEffectClass(Steinberg::IPluginFactory* factory, Steinberg::TUID cid, std::string* name,
                          const std::string& wantedName)
{
  if (!factory) return false;
  for (Steinberg::int32 i = 0, n = factory->countClasses(); i < n; ++i)
  {
    Steinberg::PClassInfo info{};
    if (factory->getClassInfo(i, &info) != Steinberg::kResultOk) continue;
    if (std::strncmp(info.category, kVstAudioEffectClass, sizeof info.category) != 0) continue;
    const std::string className(info.name, strnlen(info.name, sizeof info.name));
    if (!wantedName.empty() && className != wantedName) continue;
    std::memcpy(cid, info.cid, sizeof(Steinberg::TUID));
    if (name) *name = className;
    return true;
  }
  return false;
}

} // namespace vst3host
