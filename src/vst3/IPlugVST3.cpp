#include "IPlugVST3.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "DenormalGuard.h"
#include "IPlugParameter.h"
#include "IPlugVST3View.h"
#include "VST3Text.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
SpeakerArrangement ArrangementForChannels(int nChans)
{
  switch (nChans)
  {
  case 1: return SpeakerArr::kMono;          // 0x80000
  case 2: return SpeakerArr::kStereo;        // 0x3
  case 3: return 0x103;                      // L R Cs
  case 4: return 0x33;                       // L R Ls Rs
  case 5: return 0x37;                       // L R C Ls Rs
  case 6: return 0x3F;                       // L R C Lfe Ls Rs
  default: return SpeakerArr::kEmpty;
  }
}

int ChannelCount(SpeakerArrangement arr) { return __builtin_popcountll(static_cast<unsigned long long>(arr)); }

// Normalised values are 0..1 by definition; a host that sends more would drive
// the effect outside the ranges its filters were designed for. False for NaN.
bool SanitizeNormalized(ParamValue* value)
{
  if (std::isnan(*value)) return false;
  if (*value < 0.0) *value = 0.0;
  if (*value > 1.0) *value = 1.0;
  return true;
}

template <class T>
T** BusChannels(AudioBusBuffers& bus);
template <>
Sample32** BusChannels<Sample32>(AudioBusBuffers& bus)
{
  return bus.channelBuffers32;
}
template <>
Sample64** BusChannels<Sample64>(AudioBusBuffers& bus)
{
  return bus.channelBuffers64;
}

void WriteLittleEndian32(IBStream* stream, uint32 value)
{
  const uint8 bytes[4] = {static_cast<uint8>(value), static_cast<uint8>(value >> 8), static_cast<uint8>(value >> 16),
                          static_cast<uint8>(value >> 24)};
  stream->write(const_cast<uint8*>(bytes), 4, nullptr);
}

bool ReadLittleEndian32(IBStream* stream, uint32* value)
{
  uint8 bytes[4] = {};
  int32 got = 0;
  if (stream->read(bytes, 4, &got) != kResultOk || got != 4) return false;
  *value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32>(bytes[3]) << 24);
  return true;
}

void SetBusName(const WDL_String* label, String128 name)
{
  WidenText(label ? label->Get() : "", name, 128);
}
} // namespace

IPlugVST3::IPlugVST3(IPlugInstanceInfo, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                     int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, int nSidechainChannels)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
              latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPIVST3)
  , mSidechainChannels(nSidechainChannels)
{
  ConnectChannelsAndCreateDelay();

  SetInputBusLabel(0, "Main Input");
  if (mSidechainChannels != 0) SetInputBusLabel(1, "Aux Input");
  if (IsInst())
  {
    char label[32];
    for (int i = 0, n = 1; i < GetOutChannelCount(); i += 2, ++n)
    {
      std::snprintf(label, sizeof label, "Output %i", n);
      SetOutputBusLabel(n - 1, label);
    }
  }
  else
  {
    SetOutputBusLabel(0, "Output");
  }
}

IPlugVST3::~IPlugVST3() = default;

// ---- Set-up -------------------------------------------------------------------------------

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context)
{
  const tresult result = SingleComponentEffect::initialize(context);

  IHostApplication* app = nullptr;
  if (context && context->queryInterface(IHostApplication::iid, reinterpret_cast<void**>(&app)) == kResultOk && app)
  {
    String128 name = {};
    app->getName(name);
    char hostName[128];
    NarrowText(name, hostName, sizeof hostName);
    SetHost(hostName, 0);
  }

  if (result == kResultOk)
  {
    String128 name;
    const SpeakerArrangement mainIn = ArrangementForChannels(GetInChannelCount() - mSidechainChannels);
    if (mainIn != SpeakerArr::kEmpty)
    {
      SetBusName(GetInputBusLabel(0), name);
      addAudioInput(name, mainIn, kMain, BusInfo::kDefaultActive);
    }
    if (IsInst())
    {
      for (int i = 0, bus = 0; i < GetOutChannelCount(); i += 2, ++bus)
      {
        SetBusName(GetOutputBusLabel(bus), name);
        addAudioOutput(name, SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
      }
    }
    else
    {
      SetBusName(GetOutputBusLabel(0), name);
      addAudioOutput(name, ArrangementForChannels(GetOutChannelCount()), kMain, BusInfo::kDefaultActive);
    }
    if (mSidechainChannels != 0)
    {
      if (mSidechainChannels > 2) mSidechainChannels = 2;
      SetBusName(GetInputBusLabel(1), name);
      addAudioInput(name, ArrangementForChannels(mSidechainChannels), kAux, 0);
    }
    if (DoesMIDI()) addEventInput(u"MIDI Input", 1, kMain, BusInfo::kDefaultActive);
    AddParameters();
  }

  OnHostIdentified();
  RestorePreset(0);
  if (app) app->release();
  return result;
}

void IPlugVST3::AddParameters()
{
  if (GetPresetCount() > 0)
    parameters.addParameter(new Parameter(u"Preset", kPresetParam, u"", 0.0, GetPresetCount(),
                                          ParameterInfo::kIsProgramChange, kRootUnitId));
  if (!IsInst())
  {
    auto* bypass = new StringListParameter(
      u"Bypass", kBypassParam, nullptr,
      ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass, kRootUnitId);
    bypass->appendString(u"off");
    bypass->appendString(u"on");
    parameters.addParameter(bypass);
  }
  for (int i = 0; i < GetParamCount(); ++i)
  {
    IParam* param = GetParam(i);
    parameters.addParameter(new IPlugParameter(param, static_cast<ParamID>(i), UnitForGroup(param->GetParamGroupForHost())));
  }
}

UnitID IPlugVST3::UnitForGroup(const char* group)
{
  if (!group || !group[0]) return kRootUnitId;
  int match = -1;
  for (int i = 0; i < mParamGroups.GetSize(); ++i)
    if (std::strcmp(mParamGroups.Get(i), group) == 0) match = i;
  if (match >= 0) return match + 1;
  mParamGroups.Add(group);
  return mParamGroups.GetSize();
}

tresult PLUGIN_API IPlugVST3::terminate() { return SingleComponentEffect::terminate(); }

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                 int32 numOuts)
{
  // Both sides must name at least one arrangement before anything is read.
  if (numIns <= 0 || numOuts <= 0 || !inputs || !outputs) return kResultFalse;

  SetInputChannelConnections(0, GetInChannelCount(), false);
  SetOutputChannelConnections(0, GetOutChannelCount(), false);
  const int nIn = ChannelCount(inputs[0]);
  const int nOut = ChannelCount(outputs[0]);
  if (!LegalIO(nIn, nOut)) return kResultFalse;

  const AudioBus* in0 = getAudioInput(0);
  if (in0 && ChannelCount(in0->getArrangement()) != nIn)
  {
    audioInputs.clear();
    addAudioInput(u"Input", ArrangementForChannels(nIn), kMain, BusInfo::kDefaultActive);
  }
  const AudioBus* out0 = getAudioOutput(0);
  if (out0 && ChannelCount(out0->getArrangement()) != nOut)
  {
    audioOutputs.clear();
    addAudioOutput(u"Output", ArrangementForChannels(nOut), kMain, BusInfo::kDefaultActive);
  }

  if (numIns == 1 && mSidechainChannels == 0) return kResultOk;
  if (numIns == 2 && mSidechainChannels != 0)
  {
    const int nSide = ChannelCount(inputs[1]);
    const AudioBus* in1 = getAudioInput(1);
    if (in1 && ChannelCount(in1->getArrangement()) != nSide)
    {
      audioInputs.clear();
      addAudioInput(u"Input", ArrangementForChannels(nIn), kMain, BusInfo::kDefaultActive);
      addAudioInput(u"Sidechain Input", ArrangementForChannels(nSide), kAux, 0);
    }
    return kResultOk;
  }
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state)
{
  OnActivate(state != 0);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64) return kResultFalse;
  // Every filter coefficient depends on the rate; one that is not a positive
  // number would turn the filter histories into NaN for good.
  if (!(setup.sampleRate > 0.0) || !std::isfinite(setup.sampleRate)) return kResultFalse;
  // Hosts must not process while they set up, but one that does must not
  // find its scratch buffers reallocated under it.
  WDL_MutexLock lock(&mMutex);
  SetSampleRate(setup.sampleRate);
  // The host's bypass stays: hosts restore it through the controller before
  // they set up processing, and a restored project must stay bypassed.
  SetBlockSize(setup.maxSamplesPerBlock);
  Reset();
  processSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples() { return static_cast<uint32>(GetLatency()); }
uint32 PLUGIN_API IPlugVST3::getTailSamples() { return static_cast<uint32>(GetTailSize()); }

// ---- One block ------------------------------------------------------------------------------

tresult PLUGIN_API IPlugVST3::process(ProcessData& data)
{
  WDL_MutexLock lock(&mMutex);

  // 1. Timing for the base's queries.
  if (data.processContext) mProcessContext = *data.processContext;
  // 2. Parameter changes, MIDI.
  if (data.inputParameterChanges) ApplyParameterChanges(data.inputParameterChanges);
  if (DoesMIDI() && data.inputEvents) ApplyMidiEvents(data.inputEvents);
  // 3. Audio. A block of no samples only delivers parameters. The buffers are
  // of the set-up's sample size; a block that claims the other size is not
  // read as that size, since that would read and write twice or half the memory.
  if (data.numSamples <= 0 || data.symbolicSampleSize != processSetup.symbolicSampleSize) return kResultOk;
  if (processSetup.symbolicSampleSize == kSample32)
    ProcessAudio<Sample32>(data);
  else if (processSetup.symbolicSampleSize == kSample64)
    ProcessAudio<Sample64>(data);
  return kResultOk;
}

void IPlugVST3::ApplyParameterChanges(IParameterChanges* changes)
{
  const int32 nQueues = changes->getParameterCount();
  for (int32 i = 0; i < nQueues; ++i)
  {
    IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue) continue;
    // The last point stands for the whole block.
    const int32 nPoints = queue->getPointCount();
    int32 offset = 0;
    ParamValue value = 0.0;
    if (nPoints <= 0 || queue->getPoint(nPoints - 1, offset, value) != kResultOk) continue;
    if (!SanitizeNormalized(&value)) continue;

    const ParamID id = queue->getParameterId();
    if (id == kBypassParam)
    {
      SetBypassed(value > 0.5);
    }
    else if (id == kPresetParam)
    {
      RestorePreset(static_cast<int>(GetPresetCount() * value));
    }
    else if (id < static_cast<ParamID>(GetParamCount()))
    {
      const int idx = static_cast<int>(id);
      GetParam(idx)->SetNormalized(value);
      if (IEditor* gui = GetGUI()) gui->SetParameterFromPlug(idx, value, true);
      OnParamChange(idx);
    }
  }
}

void IPlugVST3::ApplyMidiEvents(IEventList* events)
{
  const int32 nEvents = events->getEventCount();
  for (int32 i = 0; i < nEvents; ++i)
  {
    Event event{};
    if (events->getEvent(i, event) != kResultOk) continue;
    IMidiMsg msg;
    if (event.type == Event::kNoteOnEvent)
      msg.MakeNoteOnMsg(event.noteOn.pitch, static_cast<int>(event.noteOn.velocity * 127.0f), event.sampleOffset,
                        event.noteOn.channel);
    else if (event.type == Event::kNoteOffEvent)
      msg.MakeNoteOffMsg(event.noteOff.pitch, event.sampleOffset, event.noteOff.channel);
    else
      continue;
    ProcessMidiMsg(&msg);
  }
}

template <class SampleT>
void IPlugVST3::ProcessAudio(ProcessData& data)
{
  const int nFrames = data.numSamples;
  const int nInChans = GetInChannelCount();
  const int nOutChans = GetOutChannelCount();

  // Nothing of an earlier block stays attached: a bus this block lacks must
  // not leave the previous block's host buffers in place.
  SetInputChannelConnections(0, nInChans, false);
  SetOutputChannelConnections(0, nOutChans, false);

  // 1. Inputs.
  if (data.numInputs > 0 && data.inputs)
  {
    AudioBusBuffers& main = data.inputs[0];
    const int m = main.numChannels > 0 ? main.numChannels : 0;
    if (mSidechainChannels == 0)
    {
      SetInputChannelConnections(0, m, true);
      AttachInputBuffers(0, nInChans, BusChannels<SampleT>(main), nFrames);
    }
    else
    {
      // Only channels the host really supplies are attached: a bus with fewer
      // channels than ours has fewer pointers to read.
      const int nMain = nInChans - mSidechainChannels;
      const AudioBus* side = getAudioInput(1);
      const bool sideActive = side && side->isActive() && data.numInputs > 1;
      if (sideActive)
      {
        mSidechainActive = true;
      }
      else if (mSidechainActive)
      {
        ZeroScratchBuffers();
        mSidechainActive = false;
      }
      SetInputChannelConnections(0, m < nMain ? m : nMain, true);
      AttachInputBuffers(0, nMain, BusChannels<SampleT>(main), nFrames);
      if (sideActive)
      {
        AudioBusBuffers& aux = data.inputs[1];
        const int s = aux.numChannels > 0 ? aux.numChannels : 0;
        SetInputChannelConnections(nMain, s < mSidechainChannels ? s : mSidechainChannels, true);
        AttachInputBuffers(nMain, mSidechainChannels, BusChannels<SampleT>(aux), nFrames);
      }
    }
  }

  // 2. Outputs, bus after bus.
  if (data.numOutputs > 0 && data.outputs)
  {
    int offset = 0;
    for (int32 b = 0; b < data.numOutputs && offset < nOutChans; ++b)
    {
      AudioBusBuffers& bus = data.outputs[b];
      const int n = bus.numChannels > 0 ? bus.numChannels : 0;
      const AudioBus* own = getAudioOutput(b);
      SetOutputChannelConnections(offset, n, own && own->isActive());
      SetOutputChannelConnections(offset + n, nOutChans - (offset + n), false);
      AttachOutputBuffers(offset, n, BusChannels<SampleT>(bus));
      // Whatever the effect writes, it never claims silence.
      bus.silenceFlags = 0;
      offset += n;
    }
  }

  // 3. The effect, or the host's bypass. Only the effect flushes subnormals:
  // the bypass hands the host back exactly what it gave, subnormals included.
  if (IsBypassed())
  {
    PassThroughBuffers(SampleT(0), nFrames);
  }
  else
  {
    DenormalGuard denormals;
    ProcessBuffers(SampleT(0), nFrames);
  }
}

// ---- State ------------------------------------------------------------------------------------

tresult IPlugVST3::getEditorState(IBStream* state)
{
  if (!state) return kResultFalse;
  WDL_MutexLock lock(&mMutex);
  ByteChunk chunk;
  if (!SerializeState(&chunk)) return kResultFalse;
  if (chunk.Size() > 0) state->write(chunk.Data(), chunk.Size(), nullptr);
  WriteLittleEndian32(state, IsBypassed() ? 1 : 0);
  return kResultOk;
}

tresult IPlugVST3::setEditorState(IBStream* state)
{
  if (!state) return kResultFalse;
  WDL_MutexLock lock(&mMutex);
  // The current state gives the length to read, and the values for any bytes
  // the stream does not deliver.
  ByteChunk chunk;
  SerializeState(&chunk);
  if (chunk.Size() == 0) return kResultFalse;
  state->read(chunk.Data(), chunk.Size(), nullptr);
  UnserializeState(&chunk, 0);

  uint32 bypass = 0;
  if (!ReadLittleEndian32(state, &bypass)) return kResultFalse;
  SetBypassed(bypass != 0);
  RedrawParamControls();
  return kResultOk;
}

// ---- Controller -------------------------------------------------------------------------------

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID tag, ParamValue value)
{
  // Hosts restore a project's bypass through this call; it acts as the
  // process queue's bypass point does.
  if (tag == kBypassParam && !IsInst())
  {
    if (std::isnan(value)) return kResultFalse;
    SetBypassed(value > 0.5);
    return kResultOk;
  }
  IParam* param = tag < static_cast<ParamID>(GetParamCount()) ? GetParam(static_cast<int>(tag)) : nullptr;
  if (!param || !SanitizeNormalized(&value)) return kResultFalse;
  param->SetNormalized(value);
  return kResultOk;
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID tag)
{
  if (tag == kBypassParam) return IsBypassed() ? 1.0 : 0.0;
  if (tag < static_cast<ParamID>(GetParamCount())) return GetParam(static_cast<int>(tag))->GetNormalized();
  return 0.0;
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID tag, ParamValue plainValue)
{
  if (tag < static_cast<ParamID>(GetParamCount())) return GetParam(static_cast<int>(tag))->GetNormalized(plainValue);
  return plainValue;
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string)
{
  if (tag >= static_cast<ParamID>(GetParamCount()) || !string || !SanitizeNormalized(&valueNormalized))
    return kResultFalse;
  char text[IParam::kTextSize];
  {
    ScopedClassicNumbers classic;
    GetParam(static_cast<int>(tag))->GetDisplayForHost(valueNormalized, true, text, sizeof text, true);
  }
  WidenText(text, string, 128);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized)
{
  if (!string) return kResultFalse;
  ScopedClassicNumbers classic;
  return SingleComponentEffect::getParamValueByString(tag, string, valueNormalized);
}

int32 PLUGIN_API IPlugVST3::getUnitCount() { return mParamGroups.GetSize() + 1; }

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex < 0 || unitIndex > mParamGroups.GetSize()) return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  WidenText(unitIndex == 0 ? "Root Unit" : mParamGroups.Get(unitIndex - 1), info.name, 128);
  info.programListId = kNoProgramListId;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
  if (listIndex != 0) return kResultFalse;
  info.id = kPresetParam;
  WidenText("Factory Presets", info.name, 128);
  info.programCount = GetPresetCount();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
  if (listId != static_cast<ProgramListID>(kPresetParam) || !name) return kResultFalse;
  WidenText(GetPresetName(programIndex), name, 128);
  return kResultOk;
}

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name)
{
  if (!name || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
  auto* view = new IPlugVST3View(this);
  mViews.Add(view);
  return view;
}

tresult IPlugVST3::beginEdit(ParamID tag) { return componentHandler ? componentHandler->beginEdit(tag) : kResultFalse; }

tresult IPlugVST3::performEdit(ParamID tag, ParamValue valueNormalized)
{
  return componentHandler ? componentHandler->performEdit(tag, valueNormalized) : kResultFalse;
}

tresult IPlugVST3::endEdit(ParamID tag) { return componentHandler ? componentHandler->endEdit(tag) : kResultFalse; }

tresult PLUGIN_API IPlugVST3::queryInterface(const TUID queryIID, void** obj)
{
  return SingleComponentEffect::queryInterface(queryIID, obj);
}

// ---- The base's host side ----------------------------------------------------------------------

void IPlugVST3::BeginInformHostOfParamChange(int paramIdx) { beginEdit(static_cast<ParamID>(paramIdx)); }

void IPlugVST3::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  performEdit(static_cast<ParamID>(paramIdx), normalizedValue);
}

void IPlugVST3::EndInformHostOfParamChange(int paramIdx) { endEdit(static_cast<ParamID>(paramIdx)); }

void IPlugVST3::PopupHostContextMenuForParam(int paramIdx, int x, int y)
{
  if (!componentHandler || mViews.GetSize() == 0) return;
  IComponentHandler3* handler = nullptr;
  if (componentHandler->queryInterface(IComponentHandler3::iid, reinterpret_cast<void**>(&handler)) != kResultOk ||
      !handler)
    return;
  ParamID id = static_cast<ParamID>(paramIdx);
  if (IContextMenu* menu = handler->createContextMenu(mViews.Get(0), &id))
  {
    menu->popup(x, y);
    menu->release();
  }
  handler->release();
}

void IPlugVST3::ResizeGraphics(int width, int height)
{
  if (GetGUI() && mViews.GetSize() > 0) mViews.Get(0)->resize(width, height);
}

void IPlugVST3::SetLatency(int samples)
{
  IPlugBase::SetLatency(samples);
  if (componentHandler) componentHandler->restartComponent(kLatencyChanged);
}

bool IPlugVST3::IsRenderingOffline() { return processSetup.processMode == kOffline; }

int IPlugVST3::GetSamplePos() { return static_cast<int>(mProcessContext.projectTimeSamples); }

double IPlugVST3::GetTempo() { return mProcessContext.tempo; }

void IPlugVST3::GetTimeSig(int* numerator, int* denominator)
{
  if (numerator) *numerator = mProcessContext.timeSigNumerator;
  if (denominator) *denominator = mProcessContext.timeSigDenominator;
}

void IPlugVST3::GetTime(ITimeInfo* timeInfo)
{
  if (!timeInfo) return;
  const ProcessContext& c = mProcessContext;
  timeInfo->mSamplePos = static_cast<double>(c.projectTimeSamples);
  timeInfo->mTempo = c.tempo;
  timeInfo->mPPQPos = c.projectTimeMusic;
  timeInfo->mLastBar = c.barPositionMusic;
  timeInfo->mCycleStart = c.cycleStartMusic;
  timeInfo->mCycleEnd = c.cycleEndMusic;
  timeInfo->mNumerator = c.timeSigNumerator;
  timeInfo->mDenominator = c.timeSigDenominator;
  timeInfo->mTransportIsRunning = (c.state & ProcessContext::kPlaying) != 0;
  timeInfo->mTransportLoopEnabled = (c.state & ProcessContext::kCycleActive) != 0;
}

void IPlugVST3::ForgetViews() { mViews.DeleteAll(false); }
