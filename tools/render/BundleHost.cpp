#include "BundleHost.h"

#include <sys/stat.h>

#include "ClassFinder.h"

namespace render {

std::unique_ptr<BundleHost> BundleHost::Load(const std::string& bundlePath, std::string* error)
{
  struct stat st{};
  if (stat(bundlePath.c_str(), &st) != 0)
  {
    *error = "no plug-in bundle at " + bundlePath + (bundlePath.empty() ? "" : " (build it, or name one with --bundle)");
    return nullptr;
  }
  std::unique_ptr<BundleHost> host(new BundleHost);
  std::string why;
  host->mModule = vst3host::Vst3Module::Load(bundlePath, &why);
  if (!host->mModule)
  {
    *error = "cannot load the bundle " + bundlePath + ": " + why;
    return nullptr;
  }
  if (!vst3host::FindAudioEffectClass(host->mModule->Factory(), host->mCid, nullptr, "MURAX"))
  {
    *error = bundlePath + " holds no MURAX effect class";
    return nullptr;
  }
  host->mPath = bundlePath;
  return host;
}

} // namespace render
