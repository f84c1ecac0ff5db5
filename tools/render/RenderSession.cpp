#include "RenderSession.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/vstspeaker.h"

namespace render {

namespace {
using namespace Steinberg;

constexpr Vst::ParamID kHostBypass = 0x62706173; // 'bpas'
constexpr Vst::ParamID kMic = 0, kSize = 1, kCharacter = 2, kOutput = 3, kBypass = 4;
const char* const kTitles[] = {"Mic Placement", "Cabinet Size", "Character", "Output", "Bypass"};

// The effect's parameters are where this renderer expects them, by ID and title.
bool CheckParameters(Vst::IEditController* controller, std::string* error)
{
  int found = 0;
  for (int32 i = 0, n = controller->getParameterCount(); i < n; ++i)
  {
    Vst::ParameterInfo info{};
    if (controller->getParameterInfo(i, info) != kResultOk || info.id > kBypass) continue;
    if (vst3host::Narrow(info.title) == kTitles[info.id]) ++found;
  }
  if (found == 5) return true;
  *error = "the bundle's parameters are not MURAX's (mic, size, character, output, bypass)";
  return false;
}
} // namespace

std::unique_ptr<RenderSession> RenderSession::Start(const BundleHost& bundle, const SessionSetup& setup,
                                                    const std::string* state, const Settings& settings,
                                                    std::string* error)
{
  std::unique_ptr<RenderSession> s(new RenderSession);
  s->mSetup = setup;
  std::string why;
  s->mPlug = vst3host::PluginInstance::Create(bundle.Factory(), bundle.ClassId(), &s->mHost, nullptr, &why);
  if (!s->mPlug)
  {
    *error = "cannot create the MURAX effect: " + why;
    return nullptr;
  }
  if (!CheckParameters(s->mPlug->controller, error)) return nullptr;
  if (setup.channels == 1)
  {
    Vst::SpeakerArrangement mono = Vst::SpeakerArr::kMono;
    if (s->mPlug->processor->setBusArrangements(&mono, 1, &mono, 1) != kResultOk)
    {
      *error = "the bundle refuses mono buses";
      return nullptr;
    }
  }
  const int32 sampleSize = setup.useDouble ? Vst::kSample64 : Vst::kSample32;
  if (s->mPlug->processor->canProcessSampleSize(sampleSize) != kResultTrue ||
      s->mPlug->Setup(setup.sampleRate, setup.blockSize, sampleSize, Vst::kOffline) != kResultOk)
  {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%g", setup.sampleRate);
    *error = std::string("the bundle refuses to process at ") + rate + " Hz";
    return nullptr;
  }
  if (state)
  {
    const size_t expected = s->mPlug->SaveState().size();
    if (state->size() != expected)
    {
      *error = "the --state-in file holds " + std::to_string(state->size()) + " bytes; a MURAX state holds " +
               std::to_string(expected);
      return nullptr;
    }
    if (s->mPlug->LoadState(std::vector<uint8_t>(state->begin(), state->end())) != kResultOk)
    {
      *error = "the bundle refused the --state-in file";
      return nullptr;
    }
  }

  // Plain values through the controller's own conversion, as a host's
  // automation lane sends them.
  auto add = [&](Vst::ParamID id, double plain) {
    s->mChanges.Add(id, s->mPlug->controller->plainParamToNormalized(id, plain));
    s->mChangesPending = true;
  };
  if (settings.mic) add(kMic, *settings.mic);
  if (settings.size) add(kSize, *settings.size);
  if (settings.character) add(kCharacter, *settings.character);
  if (settings.output) add(kOutput, *settings.output);
  if (settings.bypass) add(kBypass, 0.0);
  return s;
}

int RenderSession::ChunkFrames() const
{
  const int block = mSetup.blockSize;
  return std::max(1, 8192 / block) * block;
}

template <class T>
void RenderSession::ProcessBlock(T* const* inputs, T* const* outputs, int frames)
{
  T* ins[2] = {inputs[0], mSetup.channels > 1 ? inputs[1] : nullptr};
  T* outs[2] = {outputs[0], mSetup.channels > 1 ? outputs[1] : nullptr};
  mPlug->Process(ins, mSetup.channels, outs, mSetup.channels, frames, mChangesPending ? &mChanges : nullptr);
  if (mChangesPending)
  {
    mChanges.Clear();
    mChangesPending = false;
  }
}

template <class T>
void RenderSession::Process(T* const* inputs, T* const* outputs, int frames)
{
  for (int pos = 0; pos < frames; pos += mSetup.blockSize)
  {
    const int n = std::min(mSetup.blockSize, frames - pos);
    T* ins[2] = {inputs[0] + pos, mSetup.channels > 1 ? inputs[1] + pos : nullptr};
    T* outs[2] = {outputs[0] + pos, mSetup.channels > 1 ? outputs[1] + pos : nullptr};
    ProcessBlock(ins, outs, n);
  }
}

template void RenderSession::Process<float>(float* const*, float* const*, int);
template void RenderSession::Process<double>(double* const*, double* const*, int);

namespace {
template <class T>
void PrerollWith(RenderSession& session, int frames)
{
  const int block = session.Setup().blockSize;
  std::vector<T> silence(static_cast<size_t>(block)), out0(static_cast<size_t>(block)), out1(static_cast<size_t>(block));
  for (int pos = 0; pos < frames; pos += block)
  {
    const int n = std::min(block, frames - pos);
    // The plug-in must not change its input, but silence is silence only if it stays so.
    std::fill(silence.begin(), silence.end(), T(0));
    T* ins[2] = {silence.data(), silence.data()};
    T* outs[2] = {out0.data(), out1.data()};
    session.Process(ins, outs, n);
  }
}
} // namespace

void RenderSession::Preroll(double seconds)
{
  const int frames = static_cast<int>(std::lround(seconds * mSetup.sampleRate));
  if (mSetup.useDouble)
    PrerollWith<double>(*this, frames);
  else
    PrerollWith<float>(*this, frames);
}

void RenderSession::FlushChanges()
{
  if (!mChangesPending) return;
  mPlug->Flush(&mChanges);
  mChanges.Clear();
  mChangesPending = false;
}

Settings RenderSession::Current()
{
  FlushChanges();
  Vst::IEditController* c = mPlug->controller;
  auto plain = [c](Vst::ParamID id) { return c->normalizedParamToPlain(id, c->getParamNormalized(id)); };
  Settings s;
  s.mic = plain(kMic);
  s.size = plain(kSize);
  s.character = plain(kCharacter);
  s.output = plain(kOutput);
  s.bypass = plain(kBypass) < 0.5 || c->getParamNormalized(kHostBypass) > 0.5;
  return s;
}

std::string RenderSession::SaveState()
{
  FlushChanges();
  const std::vector<uint8_t> bytes = mPlug->SaveState();
  return std::string(bytes.begin(), bytes.end());
}

} // namespace render
