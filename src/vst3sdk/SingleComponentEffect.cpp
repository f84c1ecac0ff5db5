#include "SingleComponentEffect.h"

namespace Steinberg {
namespace Vst {

SingleComponentEffect::SingleComponentEffect() = default;
SingleComponentEffect::~SingleComponentEffect() = default;

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
  return EditControllerEx1::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate()
{
  removeAudioBusses();
  removeEventBusses();
  return EditControllerEx1::terminate();
}

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir)
{
  if (type == kAudio) return dir == kInput ? &audioInputs : dir == kOutput ? &audioOutputs : nullptr;
  if (type == kEvent) return dir == kInput ? &eventInputs : dir == kOutput ? &eventOutputs : nullptr;
  return nullptr;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
  const BusList* list = getBusList(type, dir);
  return list ? static_cast<int32>(list->size()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info)
{
  BusList* list = getBusList(type, dir);
  if (!list || index < 0 || index >= static_cast<int32>(list->size())) return kInvalidArgument;
  info.mediaType = type;
  info.direction = dir;
  return (*list)[static_cast<size_t>(index)]->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index, TBool state)
{
  BusList* list = getBusList(type, dir);
  if (!list || index < 0 || index >= static_cast<int32>(list->size())) return kInvalidArgument;
  (*list)[static_cast<size_t>(index)]->setActive(state);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                             SpeakerArrangement* outputs, int32 numOuts)
{
  if (numIns != static_cast<int32>(audioInputs.size()) || numOuts != static_cast<int32>(audioOutputs.size()))
    return kResultFalse;
  if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs)) return kResultFalse;
  for (int32 i = 0; i < numIns; ++i)
    if (AudioBus* bus = getAudioInput(i)) bus->setArrangement(inputs[i]);
  for (int32 i = 0; i < numOuts; ++i)
    if (AudioBus* bus = getAudioOutput(i)) bus->setArrangement(outputs[i]);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
  const AudioBus* bus = dir == kInput ? getAudioInput(index) : dir == kOutput ? getAudioOutput(index) : nullptr;
  if (!bus) return kInvalidArgument;
  arr = bus->getArrangement();
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
  processSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  if (paramIndex < 0 || paramIndex >= parameters.getParameterCount()) return kResultFalse;
  return EditControllerEx1::getParameterInfo(paramIndex, info);
}

namespace {
template <class BusT>
BusT* AddBus(BusList& list, BusT* bus)
{
  list.push_back(IPtr<Bus>(bus, false));
  return bus;
}

AudioBus* AudioBusAt(const BusList& list, int32 index)
{
  if (index < 0 || index >= static_cast<int32>(list.size())) return nullptr;
  return FCast<AudioBus>(list[static_cast<size_t>(index)].get());
}
} // namespace

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                               int32 flags)
{
  return AddBus(audioInputs, new AudioBus(name, busType, flags, arr));
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                                int32 flags)
{
  return AddBus(audioOutputs, new AudioBus(name, busType, flags, arr));
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
  return AddBus(eventInputs, new EventBus(name, busType, flags, channels));
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
  return AddBus(eventOutputs, new EventBus(name, busType, flags, channels));
}

void SingleComponentEffect::removeAudioBusses()
{
  audioInputs.clear();
  audioOutputs.clear();
}

void SingleComponentEffect::removeEventBusses()
{
  eventInputs.clear();
  eventOutputs.clear();
}

AudioBus* SingleComponentEffect::getAudioInput(int32 index) const { return AudioBusAt(audioInputs, index); }
AudioBus* SingleComponentEffect::getAudioOutput(int32 index) const { return AudioBusAt(audioOutputs, index); }

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID queryIID, void** obj)
{
  if (!obj) return kInvalidArgument;
  QUERY_INTERFACE(queryIID, obj, IComponent::iid, IComponent)
  QUERY_INTERFACE(queryIID, obj, IAudioProcessor::iid, IAudioProcessor)
  // One object has no peer to talk to: hosts that see no connection point
  // do not try to pair a separate controller with it.
  if (FUnknownPrivate::iidEqual(queryIID, IConnectionPoint::iid))
  {
    *obj = nullptr;
    return kNoInterface;
  }
  return ControllerStateRouter::queryInterface(queryIID, obj);
}

} // namespace Vst
} // namespace Steinberg
