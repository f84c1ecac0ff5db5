#pragma once
// What a host does after loading a module: looks through the factory for an
// audio effect class instead of knowing its ID in advance.
#include <string>

#include "pluginterfaces/base/ipluginbase.h"

namespace vst3host {

// The first class of category "Audio Module Class" (optionally with this
// name); false when the factory has none.
bool FindAudioEffectClass(Steinberg::IPluginFactory* factory, Steinberg::TUID cid, std::string* name,
                          const std::string& wantedName = std::string());

} // namespace vst3host
