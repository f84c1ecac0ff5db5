// The editor inside the VST3 wrapper, driven as a host drives it: a gesture
// reaches the component handler as one edit and the next blocks glide to the
// new value; values the host sends back during the gesture do not move the
// knob; host changes and state restores reach the controls' pixels.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "EditorTestSupport.h"
#include "HostObjects.h"
#include "IKnobMultiControl.h"

using namespace vst3host;
using namespace editortest;
using Steinberg::kResultOk;
namespace Vst = Steinberg::Vst;

namespace
{
constexpr int kBlock = 256;

// One effect set up for stereo 32-bit processing with a handler installed.
struct HostedEffect
{
  HostedEffect()
  {
    UseEditorImages();
    plug = static_cast<MURAX*>(MakePlug());
    EXPECT_EQ(plug->initialize(&host), kResultOk);
    EXPECT_EQ(plug->setComponentHandler(&handler), kResultOk);
    Vst::SpeakerArrangement stereo = Vst::SpeakerArr::kStereo;
    plug->setBusArrangements(&stereo, 1, &stereo, 1);
    plug->activateBus(Vst::kAudio, Vst::kInput, 0, true);
    plug->activateBus(Vst::kAudio, Vst::kOutput, 0, true);
    Vst::ProcessSetup setup{Vst::kRealtime, Vst::kSample32, kBlock, 48000.0};
    EXPECT_EQ(plug->setupProcessing(setup), kResultOk);
    plug->setActive(true);
    plug->setProcessing(true);
    editor = HeadlessEditor(plug);
  }
  ~HostedEffect()
  {
    plug->setProcessing(false);
    plug->setActive(false);
    plug->setComponentHandler(nullptr);
    plug->terminate();
    plug->release();
  }

  // One block of a steady test tone; returns the left output.
  std::vector<float> Block(ParamChanges* changes = nullptr)
  {
    std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    for (int i = 0; i < kBlock; ++i)
    {
      inL[static_cast<size_t>(i)] = inR[static_cast<size_t>(i)] =
        0.5f * static_cast<float>(std::sin(0.05 * static_cast<double>(mSample + i)));
    }
    mSample += kBlock;
    float* ins[] = {inL.data(), inR.data()};
    float* outs[] = {outL.data(), outR.data()};
    Vst::AudioBusBuffers in{}, out{};
    in.numChannels = out.numChannels = 2;
    in.channelBuffers32 = ins;
    out.channelBuffers32 = outs;
    Vst::ProcessData data{};
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = Vst::kSample32;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = changes;
    EXPECT_EQ(plug->process(data), kResultOk);
    return outL;
  }

  HostApplication host;
  ComponentHandler handler;
  MURAX* plug = nullptr;
  IGraphicsHeadless* editor = nullptr;
  long mSample = 0;
};

double Rms(const std::vector<float>& a, const std::vector<float>& b, size_t from, size_t to)
{
  double s = 0.0;
  for (size_t i = from; i < to; ++i) s += (double(a[i]) - b[i]) * (double(a[i]) - b[i]);
  return std::sqrt(s / double(to - from));
}
} // namespace

TEST(EditorInTheWrapper, ADragIsOneEditAndTheAudioGlidesToTheNewValue)
{
  // edited: the user drags; viaHost: the host sends the same value; settled: at it from the start.
  HostedEffect edited, viaHost, settled;
  ASSERT_NE(edited.editor, nullptr);
  ParamChanges atTarget;
  atTarget.Add(MURAX::kCabinetSize, 0.75);
  settled.Block(&atTarget);
  edited.Block();
  viaHost.Block();
  for (int i = 0; i < 39; ++i)
  {
    edited.Block();
    viaHost.Block();
    settled.Block();
  }
  IGraphicsHeadless* g = edited.editor;
  const IRECT knob = *g->GetControl(3)->GetRECT();
  const int x = knob.L + knob.W() / 2, y = knob.T + knob.H() / 2;
  IMouseMod left(true);
  g->OnMouseDown(x, y, &left);
  for (int step = 1; step <= 4; ++step) g->OnMouseDrag(x, y - step * knob.H() / 8, &left);
  g->OnMouseUp(x, y - knob.H() / 2, &left);

  const auto& edits = edited.handler.edits;
  ASSERT_GE(edits.size(), 6u);
  EXPECT_EQ(edits.front().kind, 'b');
  EXPECT_EQ(edits.back().kind, 'e');
  for (size_t i = 0; i < edits.size(); ++i)
  {
    EXPECT_EQ(edits[i].id, static_cast<Vst::ParamID>(MURAX::kCabinetSize)) << "edit " << i;
    if (i > 0 && i + 1 < edits.size())
    {
      EXPECT_EQ(edits[i].kind, 'p') << "edit " << i;
    }
  }
  const double target = g->GetControl(3)->GetValue();
  ASSERT_NEAR(target, 0.75, 1e-12) << "half the height at gearing 2 is a quarter of the range";
  EXPECT_DOUBLE_EQ(edits[edits.size() - 2].value, target);
  EXPECT_NEAR(edited.plug->Controls().sizeValue, 7.5, 1e-9) << "the effect hears the edit";

  ParamChanges changes;
  changes.Add(MURAX::kCabinetSize, target);
  const std::vector<float> a = edited.Block(), b = viaHost.Block(&changes), s = settled.Block();
  EXPECT_LT(Rms(a, b, 0, kBlock), 1e-7) << "the next block glides exactly as for the host's own change";
  const double early = Rms(a, s, 0, 32);
  EXPECT_GT(early, 1e-4) << "a glide, not a jump: the block starts away from the settled sound";
  std::vector<float> a2, s2;
  for (int i = 0; i < 80; ++i)
  {
    a2 = edited.Block();
    s2 = settled.Block();
  }
  EXPECT_LT(Rms(a2, s2, 0, kBlock), early / 100.0) << "and arrives at the new value";
}

TEST(EditorInTheWrapper, TheHostsEchoDuringADragDoesNotPullTheKnobBack)
{
  HostedEffect fx;
  IGraphicsHeadless* g = fx.editor;
  ASSERT_NE(g, nullptr);
  const IRECT knob = *g->GetControl(4)->GetRECT();
  const int x = knob.L + knob.W() / 2, y = knob.T + knob.H() / 2;
  IMouseMod left(true);
  g->OnMouseDown(x, y, &left);
  std::vector<double> performed;
  for (int step = 1; step <= 5; ++step)
  {
    g->OnMouseDrag(x, y - step * 4, &left);
    performed.push_back(fx.handler.edits.back().value);
    if (performed.size() >= 2)
    {
      // The host hands the previous perform back with the next block.
      ParamChanges echo;
      echo.Add(MURAX::kCharacter, performed[performed.size() - 2]);
      fx.Block(&echo);
      EXPECT_DOUBLE_EQ(g->GetControl(4)->GetValue(), performed.back()) << "step " << step;
    }
  }
  EXPECT_NEAR(performed.back(), 0.5 + 20.0 / knob.H() / 2.0, 1e-12) << "the drag never lost ground";
  g->OnMouseUp(x, y - 20, &left);
  ParamChanges last;
  last.Add(MURAX::kCharacter, performed.back());
  fx.Block(&last);
  EXPECT_DOUBLE_EQ(g->GetControl(4)->GetValue(), performed.back());

  ParamChanges automation;
  automation.Add(MURAX::kCharacter, 0.2);
  fx.Block(&automation);
  EXPECT_DOUBLE_EQ(g->GetControl(4)->GetValue(), 0.2) << "released, the host's values move it again";
}

TEST(EditorInTheWrapper, HostChangesAndStateRestoresReachThePixels)
{
  HostedEffect fx;
  IGraphicsHeadless* g = fx.editor;
  ASSERT_NE(g, nullptr);
  PanelReference ref;
  ASSERT_TRUE(ref.Loaded());
  g->Tick();
  g->Tick();
  ASSERT_FALSE(g->Tick());

  ParamChanges changes;
  changes.Add(MURAX::kOutput, 1.0);
  changes.Add(MURAX::kMicPlacement, 0.5);
  fx.Block(&changes);
  IRECT dirty;
  ASSERT_TRUE(g->IsDirty(&dirty));
  EXPECT_EQ(dirty, g->GetControl(2)->GetRECT()->Union(*g->GetControl(5)->GetRECT())) << "only the two changed";
  g->Tick();
  double values[5] = {0.5, 0.5, 0.5, 1.0, 1.0};
  std::string first;
  EXPECT_EQ(CountMismatches(g, ref.Compose(values), IRECT(0, 0, 702, 436), &first), 0) << first;

  // A state saved by an instance set elsewhere, restored here.
  HostedEffect other;
  ParamChanges set;
  set.Add(MURAX::kCabinetSize, 0.0);
  set.Add(MURAX::kBypass, 0.0);
  other.Block(&set);
  ByteStream saved;
  ASSERT_EQ(static_cast<Vst::IEditController*>(other.plug)->getState(&saved), kResultOk);
  saved.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
  ASSERT_EQ(static_cast<Vst::IEditController*>(fx.plug)->setState(&saved), kResultOk);
  EXPECT_DOUBLE_EQ(g->GetControl(3)->GetValue(), 0.0);
  EXPECT_DOUBLE_EQ(g->GetControl(1)->GetValue(), 0.0);
  g->Tick();
  const double restored[5] = {0.0, 0.0, 0.5, 0.5, 0.0};
  EXPECT_EQ(CountMismatches(g, ref.Compose(restored), IRECT(0, 0, 702, 436), &first), 0) << first;
}

// Resize deletes and rebuilds the control list while process() hands host
// values to the same list on the audio thread.
TEST(EditorInTheWrapper, ResizingWhileTheHostProcessesIsSafe)
{
  HostedEffect fx;
  IGraphicsHeadless* g = fx.editor;
  ASSERT_NE(g, nullptr);
  IBitmap knob = g->LoadIBitmap(105, "resources/img/SIZE.png", 61);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    ParamChanges changes;
    double v = 0.0;
    while (!stop.load())
    {
      changes.Clear();
      changes.Add(MURAX::kCabinetSize, v);
      v = v >= 1.0 ? 0.0 : v + 0.125;
      fx.Block(&changes);
      blocks.fetch_add(1);
    }
  });
  for (int round = 0; round < 100; ++round)
  {
    g->Resize(702, 436);
    for (int i = 0; i < 4; ++i)
      g->AttachControl(new IKnobMultiControl(fx.plug, 25 + 100 * i, 77, MURAX::kCabinetSize, &knob, kVertical, 2.0));
    while (blocks.load() < round) std::this_thread::yield();
  }
  stop.store(true);
  audio.join();
  ASSERT_EQ(g->NControls(), 4);
  ParamChanges last;
  last.Add(MURAX::kCabinetSize, 0.375);
  fx.Block(&last);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(g->GetControl(i)->GetValue(), 0.375) << "control " << i;
}
