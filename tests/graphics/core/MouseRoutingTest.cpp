#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"

namespace
{
IMouseMod Left() { return IMouseMod(true); }
IMouseMod Right() { return IMouseMod(false, true); }

// Background, a parameter probe and a second probe on top of its right half.
struct RoutingRig : EditorRig
{
  explicit RoutingRig(EAPI api = kAPIVST3) : EditorRig(200, 100, api)
  {
    plug.GetParam(0)->InitDouble("Zero", 0.5, 0.0, 1.0, 0.001);
    plug.GetParam(1)->InitDouble("One", 0.5, 0.0, 1.0, 0.001);
    bg = new ProbeControl(&plug, IRECT(0, 0, 200, 100));
    low = new ProbeControl(&plug, IRECT(10, 10, 60, 60), 0);
    top = new ProbeControl(&plug, IRECT(40, 10, 90, 60), 1);
    for (ProbeControl* p : {bg, low, top}) graphics->AttachControl(p);
    Attach();
  }
  ProbeControl *bg, *low, *top;
};

std::string Calls(const ProbeControl* c)
{
  std::string s;
  for (const std::string& call : c->calls) s += (s.empty() ? "" : " ") + call;
  return s;
}
} // namespace

TEST(HitTest, TheTopMostShownEnabledControlWins)
{
  RoutingRig rig;
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(50, 30), 2) << "the later control is on top";
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(20, 30), 1);
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(150, 30), 0);
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(250, 30), -1);
  rig.top->Hide(true);
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(50, 30), 1) << "hidden controls are not hit";
  rig.top->Hide(false);
  rig.top->GrayOut(true);
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(50, 30), 1) << "greyed-out controls are not hit";
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(50, 30, true), 1);
  rig.top->SetMouseOverWhenGreyed(true);
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(50, 30, true), 2) << "unless mouse-over is allowed when greyed";
  rig.top->SetTargetRECT(IRECT(80, 10, 90, 60));
  rig.top->GrayOut(false);
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(50, 30), 1) << "the target rectangle decides hits";
}

TEST(MouseCapture, APressOwnsTheMouseUntilTheRelease)
{
  RoutingRig rig;
  IMouseMod mod = Left();
  rig.graphics->OnMouseDown(20, 20, &mod);
  EXPECT_EQ(rig.graphics->GetMouseCapture(), 1);
  EXPECT_TRUE(rig.low->IsHeldByMouse());
  EXPECT_EQ(rig.graphics->GetMouseControlIdx(150, 90), 1) << "the capture answers every position";
  rig.graphics->OnMouseDrag(25, 17, &mod);
  rig.graphics->OnMouseDrag(25, 17, &mod);
  rig.graphics->OnMouseDrag(150, 90, &mod);
  rig.graphics->OnMouseUp(150, 90, &mod);
  EXPECT_EQ(Calls(rig.low), "down drag 5,-3 drag 125,73 up") << "a repeated position is not passed on";
  EXPECT_EQ(Calls(rig.bg), "") << "the release outside goes to the captured control";
  EXPECT_EQ(rig.graphics->GetMouseCapture(), -1);
  EXPECT_FALSE(rig.low->IsHeldByMouse());
  EXPECT_EQ(rig.plug.Trace(), "b0 e0");

  rig.graphics->OnMouseDrag(30, 30, &mod);
  EXPECT_EQ(Calls(rig.top), "") << "no drag without a capture";
  rig.graphics->OnMouseDown(500, 500, &mod);
  EXPECT_EQ(rig.graphics->GetMouseCapture(), -1) << "a press that hits nothing captures nothing";
}

TEST(MouseCapture, ARightClickUnderVST3OpensTheHostsMenuForTheParameter)
{
  RoutingRig rig;
  IMouseMod mod = Right();
  rig.graphics->OnMouseDown(50, 30, &mod);
  EXPECT_EQ(rig.plug.Trace(), "m1") << "the host's menu for the control's parameter, no edit";
  EXPECT_EQ(rig.plug.events[0].x, 50);
  EXPECT_EQ(rig.plug.events[0].y, 30);
  EXPECT_EQ(Calls(rig.top), "") << "the control receives nothing";
  EXPECT_EQ(rig.graphics->GetMouseCapture(), -1);
  rig.graphics->OnMouseUp(50, 30, &mod);
  EXPECT_EQ(rig.plug.Trace(), "m1") << "the release ends no edit that never began";
  EXPECT_TRUE(rig.plug.EditsBalanced());

  rig.graphics->OnMouseDown(150, 90, &mod);
  EXPECT_EQ(rig.plug.Trace(), "m1") << "a right click on the background goes nowhere";

  RoutingRig other(kAPIVST2);
  other.graphics->OnMouseDown(50, 30, &mod);
  EXPECT_EQ(Calls(other.top), "down") << "other plug-in formats give the press to the control";
  EXPECT_EQ(other.plug.Trace(), "b1");
}

TEST(MouseEdits, WheelNotchesAndDoubleClicksAreWholeEdits)
{
  EditorRig rig(200, 100);
  rig.plug.GetParam(0)->InitDouble("Knob", 5.0, 0.0, 10.0, 0.01);
  rig.plug.GetParam(1)->InitBool("Switch", true);
  IBitmap strip(nullptr, 40, 40 * 61, 61);
  IBitmap two(nullptr, 30, 60, 2);
  auto* knob = new IKnobMultiControl(&rig.plug, 10, 10, 0, &strip, kVertical, 2.0);
  auto* toggle = new ISwitchControl(&rig.plug, 100, 10, 1, &two);
  rig.graphics->AttachControl(knob);
  rig.graphics->AttachControl(toggle);
  rig.Attach();
  IMouseMod none;
  rig.graphics->OnMouseWheel(20, 20, &none, 1);
  EXPECT_EQ(rig.plug.Trace(), "b0 p0 e0") << "a notch";
  EXPECT_NEAR(knob->GetValue(), 0.51, 1e-12);

  rig.plug.events.clear();
  IMouseMod left = Left();
  rig.graphics->OnMouseDown(20, 20, &left);
  rig.graphics->OnMouseUp(20, 20, &left);
  EXPECT_FALSE(rig.graphics->OnMouseDblClick(20, 20, &left));
  rig.graphics->OnMouseUp(20, 20, &left);
  EXPECT_EQ(rig.plug.Trace(), "b0 e0 b0 p0 e0") << "press, release, then the reset as one edit, no bare end";
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5) << "the double click resets to the attached value";
  EXPECT_DOUBLE_EQ(rig.plug.GetParam(0)->Value(), 5.0);

  rig.plug.events.clear();
  rig.graphics->OnMouseDown(110, 20, &left);
  rig.graphics->OnMouseDrag(115, 22, &left);
  rig.graphics->OnMouseWheel(115, 22, &none, 1);
  rig.graphics->OnMouseUp(115, 22, &left);
  rig.graphics->OnMouseDblClick(110, 20, &left);
  rig.graphics->OnMouseUp(110, 20, &left);
  EXPECT_TRUE(rig.plug.EditsBalanced()) << rig.plug.Trace();
  EXPECT_EQ(rig.plug.Trace(), "b1 p1 e1 b1 p1 e1") << "the switch steps on the press and again on the double click";
  EXPECT_DOUBLE_EQ(toggle->GetValue(), 1.0) << "1 -> 0 -> 1";

  rig.plug.events.clear();
  knob->SetDoubleClickAsPress(true);
  EXPECT_TRUE(rig.graphics->OnMouseDblClick(20, 20, &left)) << "treated as a press";
  EXPECT_EQ(rig.graphics->GetMouseCapture(), 0);
  rig.graphics->OnMouseDrag(20, 10, &left);
  rig.graphics->OnMouseUp(20, 10, &left);
  EXPECT_EQ(rig.plug.Trace(), "b0 p0 e0");
  EXPECT_TRUE(rig.plug.EditsBalanced());
}

TEST(MouseEdits, AHeldControlIgnoresValuesFromThePlugInUntilReleased)
{
  EditorRig rig(200, 100);
  rig.plug.GetParam(0)->InitDouble("Knob", 5.0, 0.0, 10.0, 0.01);
  IBitmap strip(nullptr, 40, 40 * 61, 61);
  auto* knob = new IKnobMultiControl(&rig.plug, 10, 10, 0, &strip, kVertical, 1.0);
  rig.graphics->AttachControl(knob);
  rig.Attach();
  IMouseMod left = Left();
  rig.graphics->OnMouseDown(20, 30, &left);
  rig.graphics->OnMouseDrag(20, 26, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.6);
  rig.graphics->SetParameterFromPlug(0, 0.5, true);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.6) << "a stale echo does not pull the knob back";
  rig.graphics->OnMouseDrag(20, 22, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7) << "the drag continues from where the user left it";
  rig.graphics->SetParameterFromPlug(0, 0.7, true);
  rig.graphics->OnMouseUp(20, 22, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7);
  rig.graphics->SetParameterFromPlug(0, 0.25, true);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25) << "once released, values from the plug-in apply";
  EXPECT_TRUE(knob->IsDirty());
}

TEST(Keys, ControlsUnderThePointerFirstThenTheKeyCatcher)
{
  RoutingRig rig;
  EXPECT_FALSE(rig.graphics->OnKeyDown(150, 50, 7)) << "the background without a key catcher takes nothing";
  auto* catcher = new ProbeControl(&rig.plug, IRECT());
  rig.graphics->AttachKeyCatcher(catcher);
  EXPECT_EQ(rig.graphics->GetKeyCatcher(), catcher);
  EXPECT_TRUE(rig.graphics->OnKeyDown(150, 50, 7));
  EXPECT_TRUE(rig.graphics->OnKeyDown(500, 500, 8)) << "nothing hit: the catcher";
  EXPECT_TRUE(rig.graphics->OnKeyDown(20, 20, 9));
  ASSERT_EQ(catcher->keys.size(), 2u);
  EXPECT_EQ(catcher->keys[0], 7);
  EXPECT_EQ(catcher->keys[1], 8);
  ASSERT_EQ(rig.low->keys.size(), 1u);
  EXPECT_EQ(rig.low->keys[0], 9);
  EXPECT_EQ(rig.bg->keys.size(), 0u) << "the background never gets keys";
  IMouseMod left = Left();
  rig.graphics->OnMouseDown(50, 30, &left);
  rig.graphics->OnKeyDown(150, 50, 10);
  ASSERT_EQ(rig.top->keys.size(), 1u) << "a captured control takes keys wherever the pointer is";
  rig.graphics->OnMouseUp(50, 30, &left);
}

TEST(MouseOver, TrackedOnlyWhenAskedAndOutGoesToTheLastControl)
{
  RoutingRig rig;
  IMouseMod none;
  EXPECT_FALSE(rig.graphics->OnMouseOver(20, 20, &none));
  EXPECT_EQ(rig.graphics->GetMouseOver(), -1);
  rig.graphics->SetMouseOverTracking(true);
  EXPECT_TRUE(rig.graphics->OnMouseOver(20, 20, &none));
  EXPECT_EQ(rig.graphics->GetMouseOver(), 1);
  rig.graphics->OnMouseOver(50, 20, &none);
  EXPECT_EQ(rig.graphics->GetMouseOver(), 2);
  rig.graphics->OnMouseOver(500, 500, &none);
  EXPECT_EQ(rig.graphics->GetMouseOver(), 2) << "nothing under the pointer changes nothing";
  rig.graphics->OnMouseOut();
  EXPECT_EQ(rig.graphics->GetMouseOver(), -1);
}
