#include "Vst3Module.h"

#include <dlfcn.h>

namespace vst3host {

namespace {
using EntryFn = bool (*)(void*);
using ExitFn = bool (*)();
using FactoryFn = Steinberg::IPluginFactory* (*)();

bool EndsWith(const std::string& s, const std::string& tail)
{
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

std::string BundleLibraryPath(const std::string& bundlePath)
{
  std::string bundle = bundlePath;
  while (EndsWith(bundle, "/")) bundle.pop_back();
  const size_t slash = bundle.rfind('/');
  std::string stem = bundle.substr(slash == std::string::npos ? 0 : slash + 1);
  if (EndsWith(stem, ".vst3")) stem.resize(stem.size() - 5);
#if defined(__x86_64__)
  const char* arch = "x86_64-linux";
#elif defined(__aarch64__)
  const char* arch = "aarch64-linux";
#else
  const char* arch = "unknown-linux";
#endif
  return bundle + "/Contents/" + arch + "/" + stem + ".so";
}

std::unique_ptr<Vst3Module> Vst3Module::Load(const std::string& path, std::string* error)
{
  std::unique_ptr<Vst3Module> module(new Vst3Module);
  module->mLibraryPath = EndsWith(path, ".so") ? path : BundleLibraryPath(path);
  module->mHandle = dlopen(module->mLibraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module->mHandle)
  {
    if (error) *error = std::string("dlopen failed: ") + dlerror();
    return nullptr;
  }
  auto entry = reinterpret_cast<EntryFn>(module->Symbol("ModuleEntry"));
  auto getFactory = reinterpret_cast<FactoryFn>(module->Symbol("GetPluginFactory"));
  if (!entry || !getFactory || !module->Symbol("ModuleExit"))
  {
    if (error) *error = "the module lacks ModuleEntry, ModuleExit or GetPluginFactory";
    return nullptr;
  }
  module->mEntered = entry(module->mHandle);
  if (!module->mEntered)
  {
    if (error) *error = "ModuleEntry returned false";
    return nullptr;
  }
  module->mFactory = getFactory();
  if (!module->mFactory)
  {
    if (error) *error = "GetPluginFactory returned null";
    return nullptr;
  }
  return module;
}

Vst3Module::~Vst3Module()
{
  if (mFactory) mFactory->release();
  if (mHandle)
  {
    if (auto exit = reinterpret_cast<ExitFn>(Symbol("ModuleExit")); exit && mEntered) exit();
    dlclose(mHandle);
  }
}

void* Vst3Module::Symbol(const char* name) const { return mHandle ? dlsym(mHandle, name) : nullptr; }

} // namespace vst3host
