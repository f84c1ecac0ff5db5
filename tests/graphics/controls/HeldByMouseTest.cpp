// While the mouse holds a control, values from the plug-in for its parameter
// wait: a host that echoes the editor's own edits a block late must not pull
// the knob back under the hand. The latest value that arrived applies once
// the mouse lets go.
#include <gtest/gtest.h>

#include <deque>

#include "ControlTestKit.h"
#include "IKnobMultiControl.h"

using namespace controltest;

namespace
{
// A host that hands every perform back to the plug-in `latency` blocks
// later, the way a VST3 host routes edits through the processor.
class EchoingHost
{
public:
  EchoingHost(Editor& editor, int latency) : mEditor(editor), mLatency(latency) {}

  // One audio block: what was performed `latency` blocks ago reaches the controls.
  void Block()
  {
    auto& events = mEditor.plug.events;
    std::vector<std::pair<int, double>> performed;
    for (; mSeen < events.size(); ++mSeen)
      if (events[mSeen].kind == 'p') performed.emplace_back(events[mSeen].param, events[mSeen].value);
    mInFlight.push_back(performed);
    if (static_cast<int>(mInFlight.size()) <= mLatency) return;
    for (const auto& edit : mInFlight.front()) Deliver(edit.first, edit.second);
    mInFlight.pop_front();
  }

  // A value the host sends by itself (automation), as processing passes it on.
  void Deliver(int param, double value)
  {
    WDL_MutexLock lock(&mEditor.plug.GetMutex());
    mEditor.gfx()->SetParameterFromPlug(param, value, true);
  }

private:
  Editor& mEditor;
  int mLatency;
  size_t mSeen = 0;
  std::deque<std::vector<std::pair<int, double>>> mInFlight;
};
} // namespace

TEST(HeldByMouse, StaleEchoesDoNotPullTheKnobBackDuringADrag)
{
  auto strip = MakeStrip(20, 50, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(200, 300);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* knob = new IKnobMultiControl(&editor.plug, 10, 100, kGain, &bitmap, kVertical, 1.0);
  editor.Attach(knob);
  editor.Open();
  EchoingHost host(editor, 2);
  IMouseMod left = LeftButton();

  editor.gfx()->OnMouseDown(20, 149, &left);
  EXPECT_TRUE(knob->IsHeldByMouse());
  // Ten steps of 5 px up over a 50 px knob: 0.1 each, one block after each step.
  for (int i = 1; i <= 10; ++i)
  {
    editor.gfx()->OnMouseDrag(20, 149 - 5 * i, &left);
    host.Block();
    EXPECT_NEAR(knob->GetValue(), 0.1 * i, 1e-9) << "step " << i << ": the echo of an older step arrived";
    editor.Tick();
    EXPECT_EQ(FrameAt(editor.gfx(), 15, 105), 1 + static_cast<int>(60 * 0.1 * i + 0.5)) << "step " << i;
  }
  editor.gfx()->OnMouseUp(20, 99, &left);
  EXPECT_FALSE(knob->IsHeldByMouse());
  EXPECT_NEAR(knob->GetValue(), 0.8, 1e-9) << "the latest echo that waited applies at the release";
  host.Block();
  host.Block();
  EXPECT_NEAR(knob->GetValue(), 1.0, 1e-9) << "and the echo of the last step settles it";
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 15, 105), 61);
  EXPECT_TRUE(editor.plug.EditsBalanced()) << editor.plug.Trace();
}

TEST(HeldByMouse, AutomationArrivingDuringTheHoldAppliesAtTheRelease)
{
  auto strip = MakeStrip(20, 50, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(200, 300);
  editor.plug.GetParam(kGain)->SetNormalized(0.5);
  editor.plug.GetParam(kSteps)->SetNormalized(0.0);
  auto* held = new IKnobMultiControl(&editor.plug, 10, 100, kGain, &bitmap);
  auto* other = new IKnobMultiControl(&editor.plug, 100, 100, kSteps, &bitmap);
  editor.Attach(held);
  editor.Attach(other);
  editor.Open();
  EchoingHost host(editor, 1);
  editor.Tick();
  IMouseMod left = LeftButton();

  editor.gfx()->OnMouseDown(20, 120, &left);
  host.Deliver(kGain, 0.2);
  host.Deliver(kGain, 0.3);
  host.Deliver(kSteps, 0.75);
  EXPECT_DOUBLE_EQ(held->GetValue(), 0.5) << "held: the value waits";
  EXPECT_FALSE(held->IsDirty()) << "and nothing is redrawn for it";
  EXPECT_DOUBLE_EQ(other->GetValue(), 0.75) << "a control nobody holds follows at once";

  editor.gfx()->OnMouseUp(20, 120, &left);
  EXPECT_DOUBLE_EQ(held->GetValue(), 0.3) << "the latest of the values that waited";
  EXPECT_TRUE(editor.Tick()) << "drawn like any value from the plug-in";
  EXPECT_TRUE(editor.Tick());
  EXPECT_EQ(FrameAt(editor.gfx(), 15, 105), 19) << "0.3 -> frame 19";

  editor.gfx()->OnMouseDown(20, 120, &left);
  editor.gfx()->OnMouseUp(20, 120, &left);
  EXPECT_DOUBLE_EQ(held->GetValue(), 0.3) << "a hold without values leaves it alone";
  host.Deliver(kGain, 0.9);
  EXPECT_DOUBLE_EQ(held->GetValue(), 0.9) << "released: values apply at once";
}

TEST(HeldByMouse, ADoubleClickHoldsNothing)
{
  auto strip = MakeStrip(20, 50, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(200, 300);
  auto* knob = new IKnobMultiControl(&editor.plug, 10, 100, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDblClick(20, 120, &left);
  EXPECT_FALSE(knob->IsHeldByMouse()) << "a double click captures nothing";
  editor.gfx()->SetParameterFromPlug(kGain, 0.25, true);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25);
  editor.gfx()->OnMouseUp(20, 120, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25);
}
