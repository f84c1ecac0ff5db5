// Film-strip controls: rectangles from the strip and the frame a value shows,
// read back from the surface's pixels.
#include <gtest/gtest.h>

#include "ControlTestKit.h"
#include "IBitmapControl.h"
#include "IKnobMultiControl.h"

using namespace controltest;

namespace
{
// The frame found at every corner of r; 0 when the corners disagree.
int FrameFilling(IGraphics* g, const IRECT& r)
{
  const int f = FrameAt(g, r.L, r.T);
  const bool same = FrameAt(g, r.R - 1, r.T) == f && FrameAt(g, r.L, r.B - 1) == f && FrameAt(g, r.R - 1, r.B - 1) == f;
  return same ? f : 0;
}
} // namespace

TEST(FramesFromValues, SixtyOneFrameKnobShowsTheNearestFrame)
{
  auto strip = MakeStrip(9, 7, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  auto* knob = new IKnobMultiControl(&editor.plug, 30, 40, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();
  EXPECT_EQ(*knob->GetRECT(), IRECT(30, 40, 39, 47)) << "one frame of the strip at (30, 40)";

  struct Case
  {
    double value;
    int frame;
  } cases[] = {{0.5, 31}, {0.0, 1}, {1.0, 61}, {1.0 / 120.0 - 1e-9, 1}, {1.0 / 120.0 + 1e-9, 2},
               {1.0 - 1.0 / 120.0 + 1e-9, 61}, {0.25, 16}};
  for (const Case& c : cases)
  {
    editor.gfx()->SetParameterFromPlug(kGain, c.value, true);
    editor.Tick();
    EXPECT_EQ(FrameFilling(editor.gfx(), *knob->GetRECT()), c.frame) << "value " << c.value;
    EXPECT_EQ(knob->CurrentFrame(), c.frame) << "value " << c.value;
  }
  EXPECT_EQ(FrameAt(editor.gfx(), 39, 40), 0) << "nothing drawn right of the frame";
  EXPECT_EQ(FrameAt(editor.gfx(), 30, 47), 0) << "nor below it";
}

TEST(FramesFromValues, BitmapControlsStackedSideBySideAndSingle)
{
  auto stacked = MakeStrip(30, 20, 2);
  auto sideBySide = MakeStrip(12, 8, 3, true);
  auto single = MakeStrip(16, 16, 1);
  IBitmap stackedBitmap = AsIBitmap(stacked.get(), 2);
  IBitmap sideBitmap = AsIBitmap(sideBySide.get(), 3, true);
  IBitmap singleBitmap = AsIBitmap(single.get(), 1);
  Editor editor;
  auto* two = new IBitmapControl(&editor.plug, 10, 10, kPower, &stackedBitmap);
  auto* three = new IBitmapControl(&editor.plug, 60, 10, kMode, &sideBitmap);
  auto* one = new IBitmapControl(&editor.plug, 100, 10, kGain, &singleBitmap);
  editor.Attach(two);
  editor.Attach(three);
  editor.Attach(one);
  editor.Open();
  EXPECT_EQ(*two->GetRECT(), IRECT(10, 10, 40, 30)) << "a frame is H / N high";
  EXPECT_EQ(*three->GetRECT(), IRECT(60, 10, 72, 18)) << "a side-by-side frame is W / N wide";
  EXPECT_EQ(*one->GetRECT(), IRECT(100, 10, 116, 26));
  editor.Tick();
  EXPECT_EQ(FrameFilling(editor.gfx(), *two->GetRECT()), 2) << "Power on: the lower frame";
  EXPECT_EQ(FrameFilling(editor.gfx(), *three->GetRECT()), 2) << "Crunch (1 of 0..2): the middle frame";

  editor.gfx()->SetParameterFromPlug(kPower, 0.0, true);
  editor.gfx()->SetParameterFromPlug(kMode, 1.0, true);
  editor.gfx()->SetParameterFromPlug(kGain, 1.0, true);
  editor.Tick();
  EXPECT_EQ(FrameFilling(editor.gfx(), *two->GetRECT()), 1);
  EXPECT_EQ(FrameFilling(editor.gfx(), *three->GetRECT()), 3) << "the rightmost frame";
  EXPECT_EQ(FrameFilling(editor.gfx(), *one->GetRECT()), 1) << "a single frame whatever the value";
}

TEST(FramesFromValues, BackgroundWithoutParameterKeepsItsFrame)
{
  auto image = MakeStrip(50, 40, 1);
  IBitmap bitmap = AsIBitmap(image.get(), 1);
  Editor editor(50, 40);
  auto* background = new IBitmapControl(&editor.plug, 0, 0, &bitmap);
  editor.Attach(background);
  editor.Open();
  EXPECT_EQ(background->ParamIdx(), -1);
  editor.Tick();
  EXPECT_EQ(FrameFilling(editor.gfx(), IRECT(0, 0, 50, 40)), 1);
}
