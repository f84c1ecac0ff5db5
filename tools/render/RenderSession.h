#pragma once
// One MURAX instance driven as a host drives it: set-up, an optional saved
// state, the chosen settings as parameter changes riding on the first
// processed block, the pre-roll, then audio in blocks of the chosen size.
#include <memory>
#include <string>

#include "BundleHost.h"
#include "HostObjects.h"
#include "PluginInstance.h"
#include "Settings.h"

namespace render {

struct SessionSetup
{
  double sampleRate = 48000.0;
  int channels = 2;
  int blockSize = 512;
  bool useDouble = false;
};

constexpr double kPrerollSeconds = 2.0;

class RenderSession
{
public:
  // state, when not null, is restored after set-up and activation through the
  // controller's setState; it must be the size this bundle saves.
  static std::unique_ptr<RenderSession> Start(const BundleHost& bundle, const SessionSetup& setup,
                                              const std::string* state, const Settings& settings,
                                              std::string* error);

  // Silence through the plug-in, output discarded: the smoothers start from
  // zero and need this to reach the settings.
  void Preroll(double seconds = kPrerollSeconds);
  // frames frames of channels() channels; any count, split into blocks of
  // the set-up's size. The sample type must match the set-up.
  template <class T>
  void Process(T* const* inputs, T* const* outputs, int frames);
  // Delivers changes that no block has carried yet (a render of nothing).
  void FlushChanges();
  std::string SaveState();
  // The knobs as the plug-in holds them now (after state and changes).
  Settings Current();

  // Frames a reader should hand over at once so that blocks stay whole.
  int ChunkFrames() const;
  const SessionSetup& Setup() const { return mSetup; }

private:
  RenderSession() = default;
  template <class T>
  void ProcessBlock(T* const* inputs, T* const* outputs, int frames);

  vst3host::HostApplication mHost{"murax-render"};
  std::unique_ptr<vst3host::PluginInstance> mPlug;
  vst3host::ParamChanges mChanges;
  bool mChangesPending = false;
  SessionSetup mSetup;
};

} // namespace render
