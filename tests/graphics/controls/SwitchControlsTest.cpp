// Switches: stepping through two and three frames, the 1.001 threshold,
// double clicks, momentary, invisible, pop-up and overlay switches.
#include <gtest/gtest.h>

#include "ControlTestKit.h"
#include "IBitmapOverlayControl.h"
#include "IContactControl.h"
#include "IInvisibleSwitchControl.h"
#include "ISwitchControl.h"
#include "ISwitchPopUpControl.h"

using namespace controltest;

namespace
{
void Click(Editor& editor, int x, int y)
{
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(x, y, &left);
  editor.gfx()->OnMouseUp(x, y, &left);
}

// A double click as a window system delivers it: press, release, double click, release.
void DoubleClick(Editor& editor, int x, int y)
{
  IMouseMod left = LeftButton();
  Click(editor, x, y);
  editor.gfx()->OnMouseDblClick(x, y, &left);
  editor.gfx()->OnMouseUp(x, y, &left);
}
} // namespace

TEST(SwitchStepping, TwoFramesToggleAndEveryPressIsOneEdit)
{
  auto strip = MakeStrip(16, 10, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 2);
  Editor editor;
  auto* sw = new ISwitchControl(&editor.plug, 20, 30, kPower, &bitmap);
  editor.Attach(sw);
  editor.Open();
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 25, 35), 2) << "Power defaults on";

  const int expectedFrames[] = {1, 2, 1};
  for (int i = 0; i < 3; ++i)
  {
    editor.plug.events.clear();
    Click(editor, 25, 35);
    editor.Tick();
    EXPECT_EQ(FrameAt(editor.gfx(), 25, 35), expectedFrames[i]) << "press " << i;
    EXPECT_EQ(editor.plug.GetParam(kPower)->Bool(), expectedFrames[i] == 2) << "press " << i;
    EXPECT_EQ(editor.plug.Trace(), "b2 p2 e2") << "press " << i;
  }
}

TEST(SwitchStepping, ThreeFramesStepThroughHalfAndWrap)
{
  auto strip = MakeStrip(16, 10, 3);
  IBitmap bitmap = AsIBitmap(strip.get(), 3);
  Editor editor;
  editor.plug.GetParam(kMode)->Set(0);
  auto* sw = new ISwitchControl(&editor.plug, 20, 30, kMode, &bitmap);
  editor.Attach(sw);
  editor.Open();
  const double expected[] = {0.5, 1.0, 0.0, 0.5};
  for (int i = 0; i < 4; ++i)
  {
    Click(editor, 25, 35);
    EXPECT_DOUBLE_EQ(sw->GetValue(), expected[i]) << "press " << i;
    editor.Tick();
    EXPECT_EQ(FrameAt(editor.gfx(), 25, 35), 1 + static_cast<int>(expected[i] * 2.0)) << "press " << i;
  }
}

TEST(SwitchStepping, ASumJustAboveOneStillCountsAsTheLastState)
{
  // Nine steps of 1/9 add up to 1.0000000000000002.
  auto strip = MakeStrip(16, 10, 10);
  IBitmap bitmap = AsIBitmap(strip.get(), 10);
  Editor editor;
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* sw = new ISwitchControl(&editor.plug, 20, 30, kGain, &bitmap);
  editor.Attach(sw);
  editor.Open();
  for (int i = 0; i < 9; ++i) Click(editor, 25, 35);
  EXPECT_DOUBLE_EQ(sw->GetValue(), 1.0) << "the ninth press reaches the last frame";
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 25, 35), 10);
  Click(editor, 25, 35);
  EXPECT_DOUBLE_EQ(sw->GetValue(), 0.0) << "the tenth wraps";
}

TEST(SwitchStepping, TheSecondClickOfADoubleClickStepsOnceMore)
{
  auto strip = MakeStrip(16, 10, 3);
  IBitmap bitmap = AsIBitmap(strip.get(), 3);
  Editor editor;
  editor.plug.GetParam(kMode)->Set(0);
  auto* sw = new ISwitchControl(&editor.plug, 20, 30, kMode, &bitmap);
  editor.Attach(sw);
  editor.Open();
  editor.plug.events.clear();
  DoubleClick(editor, 25, 35);
  EXPECT_DOUBLE_EQ(sw->GetValue(), 1.0) << "two steps from 0";
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kMode)->Value(), 2.0);
  EXPECT_TRUE(editor.plug.EditsBalanced()) << editor.plug.Trace();
}

TEST(SwitchKinds, ContactReturnsToZeroOnRelease)
{
  auto strip = MakeStrip(16, 10, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 2);
  Editor editor;
  editor.plug.GetParam(kPower)->Set(0);
  auto* contact = new IContactControl(&editor.plug, 20, 30, kPower, &bitmap);
  editor.Attach(contact);
  editor.Open();
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(25, 35, &left);
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 25, 35), 2) << "held down";
  EXPECT_TRUE(editor.plug.GetParam(kPower)->Bool());
  editor.gfx()->OnMouseUp(25, 35, &left);
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 25, 35), 1) << "released";
  EXPECT_FALSE(editor.plug.GetParam(kPower)->Bool());
  EXPECT_EQ(editor.plug.Trace(), "b2 p2 p2 e2") << "both changes inside the press's edit";
}

TEST(SwitchKinds, InvisibleSwitchTogglesAroundAHalfAndDrawsNothing)
{
  Editor editor;
  editor.plug.GetParam(kGain)->SetNormalized(0.4);
  auto* invisible = new IInvisibleSwitchControl(&editor.plug, IRECT(10, 10, 30, 30), kGain);
  editor.Attach(invisible);
  editor.Open();
  Click(editor, 15, 15);
  EXPECT_DOUBLE_EQ(invisible->GetValue(), 1.0) << "below 0.5 becomes 1";
  Click(editor, 15, 15);
  EXPECT_DOUBLE_EQ(invisible->GetValue(), 0.0);
  editor.RedrawAll();
  EXPECT_EQ(editor.gfx()->GetPoint(15, 15), COLOR_BLACK) << "only the background shows";
}

TEST(SwitchKinds, PopUpAsksForTheValueInsteadOfStepping)
{
  auto strip = MakeStrip(16, 10, 3);
  IBitmap bitmap = AsIBitmap(strip.get(), 3);
  Editor editor;
  auto* popup = new ISwitchPopUpControl(&editor.plug, 20, 30, kMode, &bitmap);
  editor.Attach(popup);
  editor.Open();
  Click(editor, 25, 35);
  EXPECT_DOUBLE_EQ(popup->GetValue(), 0.5) << "prompting disabled: no step, no menu";
  EXPECT_TRUE(editor.gfx()->ShownMenus().empty());

  popup->SetPromptDisabled(false);
  editor.gfx()->GetScript().menuChoices.push_back(0);
  Click(editor, 25, 35);
  ASSERT_EQ(editor.gfx()->ShownMenus().size(), 1u);
  EXPECT_EQ(editor.gfx()->ShownMenus()[0].titles.size(), 3u);
  EXPECT_DOUBLE_EQ(popup->GetValue(), 0.0) << "the first choice";
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kMode)->Value(), 0.0);
}

TEST(SwitchKinds, OverlayShowsOnlyWhenOnAndMovesItsHitArea)
{
  auto strip = MakeStrip(40, 30, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 2);
  Editor editor;
  editor.plug.GetParam(kPower)->Set(0);
  IRECT area(0, 0, 10, 10);
  auto* overlay = new IBitmapOverlayControl(&editor.plug, 50, 50, kPower, &bitmap, &area);
  editor.Attach(overlay);
  editor.Open();
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 60, 60), 0) << "off: nothing drawn";
  EXPECT_EQ(editor.gfx()->GetMouseControlIdx(60, 60), 0) << "off: the image area takes no press";

  Click(editor, 5, 5);
  EXPECT_DOUBLE_EQ(overlay->GetValue(), 1.0) << "the target area switches it on";
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 60, 60), 2) << "on: the image shows";
  EXPECT_EQ(editor.gfx()->GetMouseControlIdx(5, 5), 0) << "on: the target area is no longer it";
  Click(editor, 60, 60);
  EXPECT_DOUBLE_EQ(overlay->GetValue(), 0.0) << "a press on the image switches it off";
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 60, 60), 0);
}
