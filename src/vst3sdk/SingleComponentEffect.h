#pragma once
// One object that is audio component, audio processor and edit controller at
// once, built on the SDK's EditControllerEx1, Bus and ProcessSetup classes.
//
// IComponent and IEditController both declare getState/setState with the same
// signature, so a class deriving from both could only give them one body. The
// two router bases below give each its own name: the host's component-state
// calls land in getProcessorState/setProcessorState, its controller-state
// calls in getEditorState/setEditorState.
#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

// COM-style interfaces have no virtual destructor: objects are destroyed by
// their own release(), never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace Steinberg {
namespace Vst {

class ControllerStateRouter : public EditControllerEx1
{
public:
  tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE final { return setEditorState(state); }
  tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE final { return getEditorState(state); }

  // [main thread] The host's controller-state calls.
  virtual tresult setEditorState(IBStream* /*state*/) { return kNotImplemented; }
  virtual tresult getEditorState(IBStream* /*state*/) { return kNotImplemented; }
};

class ComponentStateRouter : public IComponent
{
public:
  tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE final { return setProcessorState(state); }
  tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE final { return getProcessorState(state); }

  // [main thread] The host's component-state calls.
  virtual tresult setProcessorState(IBStream* /*state*/) { return kNotImplemented; }
  virtual tresult getProcessorState(IBStream* /*state*/) { return kNotImplemented; }
};

class SingleComponentEffect : public ControllerStateRouter, public ComponentStateRouter, public IAudioProcessor
{
public:
  SingleComponentEffect();
  ~SingleComponentEffect() override;

  // ---- IPluginBase [main thread] -------------------------------------------
  tresult PLUGIN_API initialize(FUnknown* context) SMTG_OVERRIDE;
  // Removes every bus, parameter, unit and program list, and forgets the host.
  tresult PLUGIN_API terminate() SMTG_OVERRIDE;

  // ---- IComponent [main thread] --------------------------------------------
  tresult PLUGIN_API getControllerClassId(TUID /*classID*/) SMTG_OVERRIDE { return kNotImplemented; }
  tresult PLUGIN_API setIoMode(IoMode /*mode*/) SMTG_OVERRIDE { return kNotImplemented; }
  int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) SMTG_OVERRIDE;
  tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info) SMTG_OVERRIDE;
  tresult PLUGIN_API getRoutingInfo(RoutingInfo& /*inInfo*/, RoutingInfo& /*outInfo*/) SMTG_OVERRIDE
  {
    return kNotImplemented;
  }
  tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) SMTG_OVERRIDE;
  tresult PLUGIN_API setActive(TBool /*state*/) SMTG_OVERRIDE { return kResultOk; }

  // ---- IAudioProcessor -----------------------------------------------------
  // [main thread] Accepts the arrangement when every bus exists and has that many channels.
  tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                        int32 numOuts) SMTG_OVERRIDE;
  tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) SMTG_OVERRIDE;
  tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;
  uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE { return 0; }
  // [main thread] Keeps a copy of the set-up for the processing calls.
  tresult PLUGIN_API setupProcessing(ProcessSetup& setup) SMTG_OVERRIDE;
  tresult PLUGIN_API setProcessing(TBool /*state*/) SMTG_OVERRIDE { return kNotImplemented; }
  tresult PLUGIN_API process(ProcessData& /*data*/) SMTG_OVERRIDE { return kNotImplemented; }
  uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE { return kNoTail; }

  // ---- IEditController -----------------------------------------------------
  // The container indexes without a range check; an index a host made up must not reach it.
  tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;

  // ---- Buses, for the derived class [main thread] --------------------------
  AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  void removeAudioBusses();
  void removeEventBusses();
  // The audio bus at index, or null when there is none. [any thread]
  AudioBus* getAudioInput(int32 index) const;
  AudioBus* getAudioOutput(int32 index) const;

  // ---- FUnknown --------------------------------------------------------------
  OBJ_METHODS(SingleComponentEffect, ControllerStateRouter)
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) SMTG_OVERRIDE;
  REFCOUNT_METHODS(ControllerStateRouter)

protected:
  BusList* getBusList(MediaType type, BusDirection dir);

  BusList audioInputs{kAudio, kInput};
  BusList audioOutputs{kAudio, kOutput};
  BusList eventInputs{kEvent, kInput};
  BusList eventOutputs{kEvent, kOutput};
  ProcessSetup processSetup{kRealtime, kSample32, 1024, 44100.0};
};

} // namespace Vst
} // namespace Steinberg

#pragma GCC diagnostic pop
