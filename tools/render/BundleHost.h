#pragma once
// The MURAX bundle loaded the way a DAW loads it: dlopen, module entry,
// factory, the effect class found by its category and name.
#include <memory>
#include <string>

#include "Vst3Module.h"
#include "pluginterfaces/base/ipluginbase.h"

namespace render {

class BundleHost
{
public:
  static std::unique_ptr<BundleHost> Load(const std::string& bundlePath, std::string* error);

  Steinberg::IPluginFactory* Factory() const { return mModule->Factory(); }
  const Steinberg::TUID& ClassId() const { return mCid; }
  const std::string& Path() const { return mPath; }

private:
  std::unique_ptr<vst3host::Vst3Module> mModule;
  Steinberg::TUID mCid = {};
  std::string mPath;
};

} // namespace render
