// The audio thread hands values to the controls while the UI thread redraws
// them, with no lock of the editor's own: every value pushed is on screen
// within two timer ticks, also when it lands while a control is being
// cleaned, and none is lost when the mouse lets go of a control meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include "ControlFrames.h"
#include "ControlTestKit.h"
#include "IKnobMultiControl.h"

using namespace controltest;

namespace
{
#if defined(__SANITIZE_THREAD__)
constexpr int kPushes = 3000;
constexpr int kCycles = 400;
#else
constexpr int kPushes = 20000;
constexpr int kCycles = 3000;
#endif

// A swatch whose colour shows its auxiliary parameter as a strip frame would.
class AuxSwatch : public IControl
{
public:
  AuxSwatch(IPlugBase* plug, IRECT rect, int auxParam) : IControl(plug, rect) { AddAuxParam(auxParam); }
  bool Draw(IGraphics* graphics) override
  {
    const IColor c(255, FrameForValue(GetAuxParam(0)->Value(), 61), kStripG, kStripB);
    return graphics->FillIRect(&c, &mRECT);
  }
};

// A knob that lets a test run something between its drawing and its cleaning.
class InterruptedKnob : public IKnobMultiControl
{
public:
  using IKnobMultiControl::IKnobMultiControl;
  bool Draw(IGraphics* graphics) override
  {
    const bool drawn = IKnobMultiControl::Draw(graphics);
    if (afterDraw)
    {
      std::function<void()> f;
      f.swap(afterDraw);
      f();
    }
    return drawn;
  }
  std::function<void()> afterDraw;
};

// A small xorshift so both threads vary their timing reproducibly.
struct Random
{
  uint32_t state;
  uint32_t Next()
  {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

void Spin(uint32_t n)
{
  for (volatile uint32_t i = 0; i < n; i = i + 1)
  {
  }
}

void PushFromAudio(Editor& editor, int param, double value)
{
  WDL_MutexLock lock(&editor.plug.GetMutex());
  editor.gfx()->SetParameterFromPlug(param, value, true);
}

// Waits until pred holds or a generous deadline passes; false on timeout.
template <class Pred>
bool WaitFor(Pred pred)
{
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!pred())
  {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}
} // namespace

TEST(ValueHandoff, AValueArrivingBetweenDrawAndCleanIsDrawnInTheNextTick)
{
  auto strip = MakeStrip(8, 8, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(64, 32);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* knob = new InterruptedKnob(&editor.plug, 0, 0, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();
  editor.Tick();
  knob->SetValueFromUserInput(0.5);

  knob->afterDraw = [&] { PushFromAudio(editor, kGain, 0.25); };
  ASSERT_TRUE(editor.Tick());
  EXPECT_EQ(FrameAt(editor.gfx(), 2, 2), 31) << "this tick drew the value before the push";
  ASSERT_TRUE(editor.Tick()) << "the push kept the control dirty through SetClean";
  EXPECT_EQ(FrameAt(editor.gfx(), 2, 2), 16) << "the next tick shows the pushed value";
}

class ValueHandoffThreads : public ::testing::TestWithParam<bool>
{
};

TEST_P(ValueHandoffThreads, EveryPushedValueIsOnScreenWithinTwoTicks)
{
  const bool strict = GetParam();
  auto strip = MakeStrip(8, 8, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(64, 32);
  auto* knob = new IKnobMultiControl(&editor.plug, 0, 0, kGain, &bitmap);
  auto* swatch = new AuxSwatch(&editor.plug, IRECT(20, 0, 28, 8), kSteps);
  editor.Attach(knob);
  editor.Attach(swatch);
  editor.Open();
  editor.gfx()->SetStrictDrawing(strict);

  std::atomic<bool> done{false};
  std::atomic<int> ticks{0};
  std::atomic<int> shownKnob{0}, shownAux{0};
  std::atomic<int> misses{0}, firstMiss{-1};
  bool stalled = false;

  std::thread audio([&] {
    Random random{0x9E3779B9u};
    for (int k = 0; k < kPushes && !stalled; ++k)
    {
      // Consecutive values fall on different frames.
      const double v = static_cast<double>((k * 7) % 61) / 60.0;
      const double w = static_cast<double>((k * 13 + 5) % 61) / 60.0;
      PushFromAudio(editor, kGain, v);
      PushFromAudio(editor, kSteps, w);
      const int t0 = ticks.load(std::memory_order_acquire);
      if (!WaitFor([&] { return ticks.load(std::memory_order_acquire) >= t0 + 2; }))
      {
        stalled = true;
        break;
      }
      const bool knobOK = shownKnob.load(std::memory_order_relaxed) == FrameForValue(v, 61);
      const bool auxOK = shownAux.load(std::memory_order_relaxed) == FrameForValue(w, 61);
      if (!knobOK || !auxOK)
      {
        int none = -1;
        firstMiss.compare_exchange_strong(none, k);
        misses.fetch_add(1, std::memory_order_relaxed);
      }
      // Land the next push anywhere in the UI thread's tick.
      Spin(random.Next() % 400u);
    }
    done.store(true, std::memory_order_release);
  });

  while (!done.load(std::memory_order_acquire))
  {
    // Idle ticks leave the core to the pushing thread on a loaded machine.
    if (!editor.Tick()) std::this_thread::yield();
    shownKnob.store(FrameAt(editor.gfx(), 2, 2), std::memory_order_relaxed);
    shownAux.store(FrameAt(editor.gfx(), 22, 2), std::memory_order_relaxed);
    ticks.fetch_add(1, std::memory_order_release);
  }
  audio.join();

  ASSERT_FALSE(stalled) << "the UI thread stopped ticking";
  EXPECT_EQ(misses.load(), 0) << (strict ? "strict" : "non-strict") << " drawing: first missed push "
                              << firstMiss.load() << " of " << kPushes;
}

INSTANTIATE_TEST_SUITE_P(BothRedrawStrategies, ValueHandoffThreads, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Strict" : "NonStrict"; });

TEST(ValueHandoff, NoValueIsLostWhileTheMouseLetsGo)
{
  auto strip = MakeStrip(8, 8, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(64, 32);
  auto* knob = new IKnobMultiControl(&editor.plug, 0, 0, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();

  std::atomic<int> pressedCycle{-1}, burstDone{-1};
  std::atomic<double> lastPushed{0.0};
  std::atomic<bool> abort{false};

  std::thread audio([&] {
    Random random{0x2545F491u};
    for (int c = 0; c < kCycles; ++c)
    {
      if (!WaitFor([&] { return pressedCycle.load(std::memory_order_acquire) >= c || abort.load(); })) return;
      if (abort.load()) return;
      const int n = 1 + static_cast<int>(random.Next() % 40u);
      double v = 0.0;
      for (int i = 0; i < n; ++i)
      {
        v = static_cast<double>(random.Next() % 1000001u) / 1000000.0;
        PushFromAudio(editor, kGain, v);
        Spin(random.Next() % 20u);
      }
      lastPushed.store(v, std::memory_order_relaxed);
      burstDone.store(c, std::memory_order_release);
    }
  });

  Random random{0x68E31DA4u};
  IMouseMod left = LeftButton();
  int heldMoves = 0, lost = 0, firstLost = -1;
  for (int c = 0; c < kCycles; ++c)
  {
    editor.gfx()->OnMouseDown(2, 2, &left);
    const double atPress = knob->GetValue();
    pressedCycle.store(c, std::memory_order_release);
    Spin(random.Next() % 3000u);
    if (knob->GetValue() != atPress) ++heldMoves;
    editor.gfx()->OnMouseUp(2, 2, &left);
    if (!WaitFor([&] { return burstDone.load(std::memory_order_acquire) >= c; }))
    {
      abort.store(true);
      break;
    }
    if (knob->GetValue() != lastPushed.load(std::memory_order_relaxed))
    {
      if (firstLost < 0) firstLost = c;
      ++lost;
    }
    editor.Tick();
  }
  abort.store(true);
  audio.join();

  EXPECT_EQ(heldMoves, 0) << "a held control moved for a value from the plug-in";
  EXPECT_EQ(lost, 0) << "the last value pushed around a release was lost, first in cycle " << firstLost;
  editor.Tick();
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 2, 2), FrameForValue(knob->GetValue(), 61)) << "and the screen shows it";
}
