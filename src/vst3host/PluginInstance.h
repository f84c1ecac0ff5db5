#pragma once
// One plug-in instance driven only through its VST3 interfaces, with helpers
// for the calls a host makes over and over: set-up, one block, state.
#include <memory>
#include <string>
#include <vector>

#include "HostObjects.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

namespace vst3host {

// Channel buffers of one sample type, with the pointer array a bus needs.
template <class T>
struct Channels
{
  Channels(int nChans, int nFrames) : data(static_cast<size_t>(nChans), std::vector<T>(static_cast<size_t>(nFrames)))
  {
    for (auto& c : data) ptrs.push_back(c.data());
  }
  T** Ptrs() { return ptrs.data(); }
  int Count() const { return static_cast<int>(data.size()); }

  std::vector<std::vector<T>> data;
  std::vector<T*> ptrs;
};

class PluginInstance
{
public:
  // Creates the class cid, initialises it with host and installs handler
  // (either may be null). Null on failure, with the reason in *error.
  static std::unique_ptr<PluginInstance> Create(IPluginFactory* factory, const TUID cid, FUnknown* host,
                                                Vst::IComponentHandler* handler, std::string* error);
  // Deactivates and terminates when needed, then drops every reference.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // What hosts do after initialize and after changing arrangements: activate
  // every bus that asks to be active by default.
  void ActivateDefaultBuses();
  // setupProcessing, then setActive(true) and setProcessing(true).
  tresult Setup(double sampleRate, int32 maxBlock, int32 sampleSize, int32 mode = Vst::kRealtime);
  void Deactivate();

  // One block: nIn input and nOut output channels on one bus each (a count
  // of -1 leaves the bus out); changes may be null.
  template <class T>
  tresult Process(T** inputs, int nIn, T** outputs, int nOut, int32 nFrames, ParamChanges* changes = nullptr);
  // A block with only parameter changes: no samples, no buses.
  tresult Flush(ParamChanges* changes);

  // The controller-state calls.
  std::vector<uint8_t> SaveState();
  tresult LoadState(const std::vector<uint8_t>& bytes, size_t readLimit = SIZE_MAX);

  Vst::IComponent* component = nullptr;
  Vst::IAudioProcessor* processor = nullptr;
  Vst::IEditController* controller = nullptr;
  Vst::IUnitInfo* units = nullptr;
  Vst::ProcessContext context{};

private:
  PluginInstance() = default;
  bool mInitialized = false;
  bool mActive = false;
};

extern template tresult PluginInstance::Process<float>(float**, int, float**, int, int32, ParamChanges*);
extern template tresult PluginInstance::Process<double>(double**, int, double**, int, int32, ParamChanges*);

} // namespace vst3host
