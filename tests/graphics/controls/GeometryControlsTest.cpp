// Where the parts of ISwitchFramesControl, the buttons of IRadioButtonsControl
// and the handle of IFaderControl lie, and what a press there does.
#include <gtest/gtest.h>

#include "ControlTestKit.h"
#include "IFaderControl.h"
#include "IRadioButtonsControl.h"
#include "ISwitchFramesControl.h"

using namespace controltest;

namespace
{
void Click(Editor& editor, int x, int y)
{
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(x, y, &left);
  editor.gfx()->OnMouseUp(x, y, &left);
}

int Performs(const RecordingPlug& plug)
{
  int n = 0;
  for (const RecordingPlug::Event& e : plug.events) n += e.kind == 'p';
  return n;
}
} // namespace

TEST(SwitchFramesGeometry, SideBySidePartsAndThePixelNoPartCovers)
{
  auto strip = MakeStrip(50, 20, 3);
  IBitmap bitmap = AsIBitmap(strip.get(), 3);
  Editor editor;
  auto* frames = new ISwitchFramesControl(&editor.plug, 10, 40, kMode, &bitmap, true);
  editor.Attach(frames);
  editor.Open();
  ASSERT_EQ(frames->NParts(), 3);
  // step = 50 / 3 = 16.67: parts start at 10 + (int)(i * step) and end (int)(start + step) later.
  EXPECT_EQ(*frames->GetPart(0), IRECT(10, 40, 26, 60));
  EXPECT_EQ(*frames->GetPart(1), IRECT(26, 40, 42, 60));
  EXPECT_EQ(*frames->GetPart(2), IRECT(43, 40, 59, 60));
  EXPECT_FALSE(frames->IsPromptDisabled()) << "this switch prompts";

  struct Case
  {
    int x;
    double value;
  } cases[] = {{11, 0.0}, {41, 0.5}, {58, 1.0}, {26, 0.5}, {10, 0.0}};
  for (const Case& c : cases)
  {
    Click(editor, c.x, 50);
    EXPECT_DOUBLE_EQ(frames->GetValue(), c.value) << "press at x " << c.x;
    editor.Tick();
    EXPECT_EQ(FrameAt(editor.gfx(), 20, 45), 1 + static_cast<int>(c.value * 2)) << "press at x " << c.x;
  }

  const int before = Performs(editor.plug);
  Click(editor, 42, 50);
  EXPECT_DOUBLE_EQ(frames->GetValue(), 0.0) << "x 42 lies in no part: the value stays";
  EXPECT_EQ(Performs(editor.plug), before + 1) << "but it is pushed all the same";
}

TEST(SwitchFramesGeometry, StackedPartsDivideTheHeight)
{
  auto strip = MakeStrip(30, 20, 3);
  IBitmap bitmap = AsIBitmap(strip.get(), 3);
  Editor editor;
  auto* frames = new ISwitchFramesControl(&editor.plug, 0, 100, kMode, &bitmap, false);
  editor.Attach(frames);
  editor.Open();
  EXPECT_EQ(*frames->GetPart(0), IRECT(0, 100, 30, 106));
  EXPECT_EQ(*frames->GetPart(1), IRECT(0, 106, 30, 112));
  EXPECT_EQ(*frames->GetPart(2), IRECT(0, 113, 30, 119));
  Click(editor, 5, 118);
  EXPECT_DOUBLE_EQ(frames->GetValue(), 1.0);
  Click(editor, 5, 101);
  EXPECT_DOUBLE_EQ(frames->GetValue(), 0.0);
}

TEST(RadioButtonsGeometry, HorizontalRowForwardAndReversed)
{
  // Two frames of 10 x 8: frame 2 is the lit button.
  auto strip = MakeStrip(10, 8, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 2);
  Editor editor(200, 200);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  editor.plug.GetParam(kSteps)->SetNormalized(0.0);
  // Width 75 for 4 buttons: spacing (int)((75 - 40) / 3) = 11.
  auto* row = new IRadioButtonsControl(&editor.plug, IRECT(20, 100, 95, 108), kGain, 4, &bitmap, kHorizontal);
  auto* reversed =
    new IRadioButtonsControl(&editor.plug, IRECT(20, 150, 95, 158), kSteps, 4, &bitmap, kHorizontal, true);
  editor.Attach(row);
  editor.Attach(reversed);
  editor.Open();
  const int forwardX[] = {20, 41, 62, 83};
  const int reversedX[] = {85, 64, 43, 22};
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_EQ(*row->GetButton(i), IRECT(forwardX[i], 100, forwardX[i] + 10, 108)) << "button " << i;
    EXPECT_EQ(*reversed->GetButton(i), IRECT(reversedX[i], 150, reversedX[i] + 10, 158)) << "reversed " << i;
  }

  editor.Tick();
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_EQ(FrameAt(editor.gfx(), forwardX[i] + 5, 104), i == 0 ? 2 : 1) << "value 0, button " << i;
    EXPECT_EQ(FrameAt(editor.gfx(), reversedX[i] + 5, 154), i == 0 ? 2 : 1) << "reversed, button " << i;
  }
  EXPECT_EQ(FrameAt(editor.gfx(), 35, 104), 0) << "the gaps show the background";

  Click(editor, forwardX[2] + 3, 103);
  EXPECT_NEAR(row->GetValue(), 2.0 / 3.0, 1e-12) << "the third of four";
  Click(editor, reversedX[2] + 3, 153);
  EXPECT_NEAR(reversed->GetValue(), 2.0 / 3.0, 1e-12) << "the third of four, counted from the right";
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), forwardX[2] + 5, 104), 2);
  EXPECT_EQ(FrameAt(editor.gfx(), reversedX[2] + 5, 154), 2) << "the reversed row lights its third button";
  EXPECT_EQ(FrameAt(editor.gfx(), forwardX[0] + 5, 104), 1);

  Click(editor, reversedX[3] + 1, 151);
  EXPECT_DOUBLE_EQ(reversed->GetValue(), 1.0) << "the last reversed button lies inside the control and is hit";

  const int before = Performs(editor.plug);
  Click(editor, 36, 103);
  EXPECT_NEAR(row->GetValue(), 2.0 / 3.0, 1e-12) << "a press between buttons keeps the value";
  EXPECT_EQ(Performs(editor.plug), before + 1) << "and still pushes it";
}

TEST(RadioButtonsGeometry, VerticalColumnUsesTheTruncatedGap)
{
  auto strip = MakeStrip(10, 8, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 2);
  Editor editor(200, 200);
  // Height 51 for 3 buttons of 8: gap (51 - 24) / 2 = 13.5, used as 13.
  auto* column = new IRadioButtonsControl(&editor.plug, IRECT(150, 10, 160, 61), kMode, 3, &bitmap, kVertical);
  auto* reversed =
    new IRadioButtonsControl(&editor.plug, IRECT(170, 10, 180, 61), kMode, 3, &bitmap, kVertical, true);
  editor.Attach(column);
  editor.Attach(reversed);
  editor.Open();
  const int forwardY[] = {10, 31, 52};
  const int reversedY[] = {53, 32, 11};
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_EQ(*column->GetButton(i), IRECT(150, forwardY[i], 160, forwardY[i] + 8)) << "button " << i;
    EXPECT_EQ(*reversed->GetButton(i), IRECT(170, reversedY[i], 180, reversedY[i] + 8)) << "reversed " << i;
  }
  editor.Tick();
  EXPECT_EQ(column->ActiveButton(), 1) << "Crunch is the middle choice";
  EXPECT_EQ(FrameAt(editor.gfx(), 155, 35), 2);
  EXPECT_EQ(FrameAt(editor.gfx(), 155, 14), 1);
  EXPECT_EQ(FrameAt(editor.gfx(), 175, 36), 2);

  Click(editor, 155, 59);
  EXPECT_DOUBLE_EQ(column->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kMode)->Value(), 2.0);
  Click(editor, 175, 59);
  EXPECT_DOUBLE_EQ(reversed->GetValue(), 0.0) << "the bottom button of a reversed column is the first";
}

TEST(FaderGeometry, VerticalHandleTravelsFromBottomToTopAndSnapsToTheMouse)
{
  auto handleImage = MakeStrip(10, 6, 1);
  IBitmap handle = AsIBitmap(handleImage.get(), 1);
  Editor editor(200, 200);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* fader = new IFaderControl(&editor.plug, 30, 20, 56, kGain, &handle, kVertical);
  editor.Attach(fader);
  editor.Open();
  EXPECT_EQ(*fader->GetRECT(), IRECT(30, 20, 40, 76)) << "image width by the length";
  EXPECT_EQ(fader->GetHandleRECT(0.0), IRECT(30, 70, 40, 76)) << "0 at the bottom (travel 50)";
  EXPECT_EQ(fader->GetHandleRECT(1.0), IRECT(30, 20, 40, 26)) << "1 at the top";
  EXPECT_EQ(fader->GetHandleRECT(0.5), IRECT(30, 45, 40, 51));
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 35, 72), 1) << "handle drawn at the bottom";
  EXPECT_EQ(FrameAt(editor.gfx(), 35, 60), 0);

  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(35, 23, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 1.0) << "the handle's centre under the mouse at the top";
  editor.gfx()->OnMouseDrag(35, 48, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.5);
  editor.gfx()->OnMouseDrag(35, 200, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.0) << "clamped below the track";
  editor.gfx()->OnMouseDrag(35, 48, &left);
  editor.gfx()->OnMouseUp(35, 48, &left);
  EXPECT_TRUE(editor.plug.EditsBalanced()) << editor.plug.Trace();
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 35, 47), 1) << "handle moved to the middle";
  EXPECT_EQ(FrameAt(editor.gfx(), 35, 72), 0) << "and left the bottom";

  IMouseMod none;
  editor.gfx()->OnMouseWheel(35, 48, &none, 2);
  EXPECT_NEAR(fader->GetValue(), 0.52, 1e-12) << "the wheel as on a knob";
}

TEST(FaderGeometry, HorizontalOnlyHandleIsHitOnlyOnItsHandle)
{
  auto handleImage = MakeStrip(6, 10, 1);
  IBitmap handle = AsIBitmap(handleImage.get(), 1);
  Editor editor(200, 200);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* fader = new IFaderControl(&editor.plug, 20, 100, 56, kGain, &handle, kHorizontal, true);
  editor.Attach(fader);
  editor.Open();
  EXPECT_EQ(*fader->GetRECT(), IRECT(20, 100, 76, 110));
  EXPECT_EQ(fader->GetHandleRECT(0.25), IRECT(32, 100, 38, 110)) << "(int)(0.25 * 50) from the left";
  EXPECT_EQ(editor.gfx()->GetMouseControlIdx(22, 105), 1) << "the handle at 0";
  EXPECT_EQ(editor.gfx()->GetMouseControlIdx(50, 105), 0) << "the track outside the handle is not hit";
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(22, 105, &left);
  editor.gfx()->OnMouseDrag(48, 105, &left);
  editor.gfx()->OnMouseUp(48, 105, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.5) << "(48 - 20 - 3) / 50";
  EXPECT_EQ(editor.gfx()->GetMouseControlIdx(50, 105), 1) << "the handle moved under the mouse";
}
