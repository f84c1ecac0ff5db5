#include <dlfcn.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "ModuleEntry.h"

namespace {
constexpr size_t kPathSize = 2048;

struct ModuleState
{
  std::mutex mutex;
  int entries = 0;
  std::vector<void*> handles; // every non-null handle an entry call brought, in order
  void* moduleHandle = nullptr;
  char bundlePath[kPathSize] = {};
};

ModuleState& State()
{
  static ModuleState state;
  return state;
}

// ".../NAME.vst3/Contents/<arch>/NAME.so" -> ".../NAME.vst3"; empty when the
// library does not sit inside a bundle.
void FindBundlePath(char* out, size_t size)
{
  out[0] = 0;
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&FindBundlePath), &info) || !info.dli_fname) return;
  const size_t length = std::strlen(info.dli_fname);
  if (length >= size) return;
  char path[kPathSize];
  std::memcpy(path, info.dli_fname, length + 1);
  for (int level = 0; level < 3; ++level)
  {
    char* slash = std::strrchr(path, '/');
    if (!slash) return;
    *slash = 0;
  }
  const size_t n = std::strlen(path);
  if (n < 5 || std::strcmp(path + n - 5, ".vst3") != 0) return;
  std::memcpy(out, path, n + 1);
}

bool Enter(void* handle)
{
  ModuleState& state = State();
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (handle)
    {
      ++state.entries;
      state.handles.push_back(handle);
      if (!state.moduleHandle)
      {
        state.moduleHandle = handle;
        FindBundlePath(state.bundlePath, sizeof state.bundlePath);
      }
    }
  }
  return InitModule();
}

bool Leave()
{
  if (!DeinitModule()) return false;
  ModuleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.entries > 0 && --state.entries == 0)
  {
    state.handles.clear();
    state.moduleHandle = nullptr;
    state.bundlePath[0] = 0;
  }
  return true;
}
} // namespace

// [main thread] The loader's handle of this library.
bool ModuleEntry(void* sharedLibraryHandle) { return Enter(sharedLibraryHandle); }
bool ModuleExit() { return Leave(); }
bool bundleEntry(void* bundleRef) { return Enter(bundleRef); }
bool bundleExit() { return Leave(); }

namespace Steinberg {
void* GetModuleHandle()
{
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().moduleHandle;
}

const char* GetModuleBundlePath()
{
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().bundlePath;
}
} // namespace Steinberg
