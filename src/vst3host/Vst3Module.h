#pragma once
// A VST3 module loaded the way a Linux host loads one: dlopen, ModuleEntry,
// GetPluginFactory; and in reverse on destruction.
#include <memory>
#include <string>

#include "pluginterfaces/base/ipluginbase.h"

namespace vst3host {

class Vst3Module
{
public:
  // path is a bundle folder ("…/NAME.vst3") or the library itself. Null on
  // failure, with the reason in *error.
  static std::unique_ptr<Vst3Module> Load(const std::string& path, std::string* error);
  ~Vst3Module();
  Vst3Module(const Vst3Module&) = delete;
  Vst3Module& operator=(const Vst3Module&) = delete;

  // The factory; this module holds one reference on it.
  Steinberg::IPluginFactory* Factory() const { return mFactory; }
  void* Symbol(const char* name) const;
  const std::string& LibraryPath() const { return mLibraryPath; }

private:
  Vst3Module() = default;

  void* mHandle = nullptr;
  bool mEntered = false;
  Steinberg::IPluginFactory* mFactory = nullptr;
  std::string mLibraryPath;
};

// "…/NAME.vst3" -> "…/NAME.vst3/Contents/<arch>-linux/NAME.so".
std::string BundleLibraryPath(const std::string& bundlePath);

} // namespace vst3host
