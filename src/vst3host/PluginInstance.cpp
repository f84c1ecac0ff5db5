#include "PluginInstance.h"

#include <type_traits>

#include "pluginterfaces/vst/ivstprocesscontext.h"

namespace vst3host {

namespace {
template <class Interface>
Interface* Query(FUnknown* object)
{
  void* result = nullptr;
  if (!object || object->queryInterface(Interface::iid, &result) != kResultOk) return nullptr;
  return static_cast<Interface*>(result);
}

template <class T>
void SetChannels(Vst::AudioBusBuffers& bus, T** ptrs)
{
  if constexpr (std::is_same<T, float>::value)
    bus.channelBuffers32 = ptrs;
  else
    bus.channelBuffers64 = ptrs;
}
} // namespace

std::unique_ptr<PluginInstance> PluginInstance::Create(IPluginFactory* factory, const TUID cid, FUnknown* host,
                                                       Vst::IComponentHandler* handler, std::string* error)
{
  std::unique_ptr<PluginInstance> plug(new PluginInstance);
  void* object = nullptr;
  if (factory->createInstance(cid, Vst::IComponent::iid, &object) != kResultOk || !object)
  {
    if (error) *error = "createInstance failed";
    return nullptr;
  }
  plug->component = static_cast<Vst::IComponent*>(object);
  plug->processor = Query<Vst::IAudioProcessor>(plug->component);
  plug->controller = Query<Vst::IEditController>(plug->component);
  plug->units = Query<Vst::IUnitInfo>(plug->component);
  if (!plug->processor || !plug->controller)
  {
    if (error) *error = "the component is not also the processor and the controller";
    return nullptr;
  }
  if (plug->component->initialize(host) != kResultOk)
  {
    if (error) *error = "initialize failed";
    return nullptr;
  }
  plug->mInitialized = true;
  plug->ActivateDefaultBuses();
  if (handler) plug->controller->setComponentHandler(handler);
  return plug;
}

PluginInstance::~PluginInstance()
{
  Deactivate();
  if (controller) controller->setComponentHandler(nullptr);
  if (mInitialized) component->terminate();
  if (units) units->release();
  if (controller) controller->release();
  if (processor) processor->release();
  if (component) component->release();
}

void PluginInstance::ActivateDefaultBuses()
{
  for (Vst::MediaType type : {Vst::kAudio, Vst::kEvent})
    for (Vst::BusDirection dir : {Vst::kInput, Vst::kOutput})
      for (int32 i = 0, n = component->getBusCount(type, dir); i < n; ++i)
      {
        Vst::BusInfo info{};
        if (component->getBusInfo(type, dir, i, info) == kResultTrue && (info.flags & Vst::BusInfo::kDefaultActive))
          component->activateBus(type, dir, i, true);
      }
}

tresult PluginInstance::Setup(double sampleRate, int32 maxBlock, int32 sampleSize, int32 mode)
{
  Deactivate();
  ActivateDefaultBuses();
  Vst::ProcessSetup setup{mode, sampleSize, maxBlock, sampleRate};
  const tresult result = processor->setupProcessing(setup);
  if (result != kResultOk) return result;
  component->setActive(true);
  processor->setProcessing(true);
  mActive = true;
  return kResultOk;
}

void PluginInstance::Deactivate()
{
  if (!mActive) return;
  processor->setProcessing(false);
  component->setActive(false);
  mActive = false;
}

template <class T>
tresult PluginInstance::Process(T** inputs, int nIn, T** outputs, int nOut, int32 nFrames, ParamChanges* changes)
{
  Vst::AudioBusBuffers in{}, out{};
  in.numChannels = nIn > 0 ? nIn : 0;
  out.numChannels = nOut > 0 ? nOut : 0;
  SetChannels(in, inputs);
  SetChannels(out, outputs);

  Vst::ProcessData data{};
  data.processMode = Vst::kRealtime;
  data.symbolicSampleSize = std::is_same<T, float>::value ? Vst::kSample32 : Vst::kSample64;
  data.numSamples = nFrames;
  data.numInputs = nIn >= 0 ? 1 : 0;
  data.numOutputs = nOut >= 0 ? 1 : 0;
  data.inputs = nIn >= 0 ? &in : nullptr;
  data.outputs = nOut >= 0 ? &out : nullptr;
  data.inputParameterChanges = changes;
  data.processContext = &context;
  return processor->process(data);
}

template tresult PluginInstance::Process<float>(float**, int, float**, int, int32, ParamChanges*);
template tresult PluginInstance::Process<double>(double**, int, double**, int, int32, ParamChanges*);

tresult PluginInstance::Flush(ParamChanges* changes)
{
  Vst::ProcessData data{};
  data.symbolicSampleSize = Vst::kSample32;
  data.inputParameterChanges = changes;
  return processor->process(data);
}

std::vector<uint8_t> PluginInstance::SaveState()
{
  ByteStream stream;
  if (controller->getState(&stream) != kResultOk) return {};
  return stream.data;
}

tresult PluginInstance::LoadState(const std::vector<uint8_t>& bytes, size_t readLimit)
{
  ByteStream stream(bytes, readLimit);
  return controller->setState(&stream);
}

} // namespace vst3host
