// Knobs: drag, fine drag, wheel and double-click arithmetic through the
// surface's mouse routing, and the pixels of the line and rotated knobs.
#include <gtest/gtest.h>

#include <cmath>

#include "ControlTestKit.h"
#include "IKnobLineControl.h"
#include "IKnobMultiControl.h"
#include "IKnobRotaterControl.h"
#include "IKnobRotatingMaskControl.h"

using namespace controltest;

namespace
{
constexpr double kPi = 3.14159265358979323846;

struct Drag
{
  Editor& editor;
  void operator()(int x0, int y0, int x1, int y1, IMouseMod mod) const
  {
    editor.gfx()->OnMouseDown(x0, y0, &mod);
    editor.gfx()->OnMouseDrag(x1, y1, &mod);
    editor.gfx()->OnMouseUp(x1, y1, &mod);
  }
};
} // namespace

TEST(KnobDrag, FiftyPixelKnobWithGearingTwoCoversTheRangeInOneHundredPixels)
{
  auto strip = MakeStrip(20, 50, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(200, 300);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* knob = new IKnobMultiControl(&editor.plug, 10, 100, kGain, &bitmap, kVertical, 2.0);
  editor.Attach(knob);
  editor.Open();
  Drag drag{editor};

  drag(20, 140, 20, 40, LeftButton());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0) << "100 px up over 50 px at gearing 2 is the whole range";
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kGain)->Value(), 12.0) << "and reached the parameter";
  EXPECT_TRUE(editor.plug.EditsBalanced()) << editor.plug.Trace();

  knob->SetValueFromUserInput(0.0);
  drag(20, 140, 20, 40, LeftWithShift());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.1) << "shift makes it ten times finer";
  knob->SetValueFromUserInput(0.0);
  drag(20, 140, 20, 40, LeftWithControl());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.1) << "so does control";

  drag(20, 100, 20, 125, LeftButton());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.0) << "25 px down lowers by 0.25, clamped at 0";
  drag(20, 140, 20, -300, LeftButton());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0) << "far beyond the range is clamped at 1";
  drag(20, 140, 200, 140, LeftButton());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0) << "a vertical knob ignores sideways drags";
}

TEST(KnobDrag, DragStepsAddUpAndTheHorizontalKnobFollowsX)
{
  auto strip = MakeStrip(100, 20, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(300, 100);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* mic = new IKnobMultiControl(&editor.plug, 50, 10, kGain, &bitmap, kHorizontal, 0.5);
  editor.Attach(mic);
  editor.Open();
  IMouseMod left = LeftButton();

  editor.gfx()->OnMouseDown(60, 15, &left);
  for (int x = 61; x <= 70; ++x) editor.gfx()->OnMouseDrag(x, 15, &left);
  EXPECT_NEAR(mic->GetValue(), 0.2, 1e-12) << "10 px right over 100 px at gearing 0.5";
  editor.gfx()->OnMouseDrag(70, 90, &left);
  EXPECT_NEAR(mic->GetValue(), 0.2, 1e-12) << "vertical movement does not turn it";
  editor.gfx()->OnMouseDrag(65, 90, &left);
  EXPECT_NEAR(mic->GetValue(), 0.1, 1e-12) << "left lowers it";
  editor.gfx()->OnMouseUp(65, 90, &left);

  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 50, 10), 7) << "0.1 -> frame 7";
}

TEST(KnobWheel, NotchesAddHundredthsOrThousandthsAndClamp)
{
  auto strip = MakeStrip(20, 20, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  editor.plug.GetParam(kGain)->SetNormalized(0.5);
  auto* knob = new IKnobMultiControl(&editor.plug, 10, 10, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();
  IMouseMod none;
  IMouseMod shift(false, false, true);

  editor.gfx()->OnMouseWheel(15, 15, &none, 1);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.51);
  EXPECT_EQ(editor.plug.Trace(), "b0 p0 e0") << "each notch is one whole edit";
  editor.gfx()->OnMouseWheel(15, 15, &none, -3);
  EXPECT_NEAR(knob->GetValue(), 0.48, 1e-12);
  editor.gfx()->OnMouseWheel(15, 15, &shift, 2);
  EXPECT_NEAR(knob->GetValue(), 0.482, 1e-12) << "shift: 0.001 a notch";

  knob->SetValueFromUserInput(0.995);
  editor.gfx()->OnMouseWheel(15, 15, &none, 1);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0) << "0.995 + 0.01 is clamped";
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kGain)->Value(), 12.0);

  editor.gfx()->OnMouseDblClick(15, 15, &none);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5) << "double click: back to the value attached with";
}

TEST(KnobDrag, AKnobWithoutHeightIgnoresDragsInsteadOfTurningNaN)
{
  Editor editor;
  auto* flat = new IKnobLineControl(&editor.plug, IRECT(10, 10, 30, 10), kGain, &COLOR_WHITE);
  editor.Attach(flat);
  editor.Open();
  const double before = flat->GetValue();
  IMouseMod left = LeftButton();
  flat->OnMouseDrag(12, 5, 0, -5, &left);
  EXPECT_TRUE(std::isfinite(flat->GetValue()));
  EXPECT_DOUBLE_EQ(flat->GetValue(), before);
}

TEST(KnobDraw, LinePointsUpAtTheMiddleAndDownRightAtTheTop)
{
  Editor editor(100, 100);
  editor.plug.GetParam(kGain)->SetNormalized(0.5);
  auto* line = new IKnobLineControl(&editor.plug, IRECT(0, 0, 41, 41), kGain, &COLOR_WHITE, 5.0, 18.0);
  editor.Attach(line);
  editor.Open();
  editor.Tick();
  // Centre (20.5, 20.5); 12 px out along the pointer.
  EXPECT_GT(editor.gfx()->GetPoint(20, 8).R, 100) << "value 0.5 -> angle 0 points up";
  EXPECT_EQ(editor.gfx()->GetPoint(20, 33).R, 0) << "nothing below the centre";
  EXPECT_EQ(editor.gfx()->GetPoint(20, 1).R, 0) << "nothing beyond the outer radius";

  editor.gfx()->SetParameterFromPlug(kGain, 1.0, true);
  editor.RedrawAll();
  const int x = static_cast<int>(20.5 + std::sin(0.75 * kPi) * 12.0);
  const int y = static_cast<int>(20.5 - std::cos(0.75 * kPi) * 12.0);
  EXPECT_GT(editor.gfx()->GetPoint(x, y).R, 100) << "value 1 -> 135 degrees clockwise, at " << x << "," << y;
  EXPECT_EQ(editor.gfx()->GetPoint(20, 8).R, 0) << "the old pointer is gone";
}

TEST(KnobDraw, RotaterTurnsItsImageAboutTheCentre)
{
  // A red mark at the top centre of an otherwise transparent 21 x 21 image.
  LICE_MemBitmap image(21, 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x)
      image.getBits()[y * image.getRowSpan() + x] =
        (x >= 8 && x <= 12 && y <= 5) ? LICE_RGBA(255, 0, 0, 255) : LICE_RGBA(0, 0, 0, 0);
  IBitmap bitmap(&image, 21, 21);
  Editor editor(100, 100);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* knob = new IKnobRotaterControl(&editor.plug, IRECT(50, 50, 71, 71), kGain, &bitmap, 0.0, kPi);
  editor.Attach(knob);
  editor.Open();
  editor.Tick();
  EXPECT_EQ(editor.gfx()->GetPoint(60, 52).R, 255) << "angle 0: the mark at the top";
  EXPECT_EQ(editor.gfx()->GetPoint(60, 68).R, 0);
  EXPECT_EQ(editor.gfx()->GetPoint(55, 60).R, 0) << "transparent pixels leave the background";

  editor.gfx()->SetParameterFromPlug(kGain, 1.0, true);
  editor.RedrawAll();
  EXPECT_GT(editor.gfx()->GetPoint(60, 68).R, 200) << "angle pi: the mark at the bottom";
  EXPECT_EQ(editor.gfx()->GetPoint(60, 52).R, 0);
}

TEST(KnobDraw, RotatingMaskShowsTheBaseWhereTheTurnedMaskLies)
{
  // Base: opaque dark red. Mask: an opaque mark at the top centre. Top: nothing.
  LICE_MemBitmap base(21, 21), mask(21, 21), top(21, 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x)
    {
      base.getBits()[y * base.getRowSpan() + x] = LICE_RGBA(120, 0, 0, 255);
      mask.getBits()[y * mask.getRowSpan() + x] =
        (x >= 8 && x <= 12 && y <= 5) ? LICE_RGBA(0, 0, 0, 255) : LICE_RGBA(0, 0, 0, 0);
      top.getBits()[y * top.getRowSpan() + x] = LICE_RGBA(0, 0, 0, 0);
    }
  IBitmap baseBitmap(&base, 21, 21), maskBitmap(&mask, 21, 21), topBitmap(&top, 21, 21);
  Editor editor(100, 100);
  editor.plug.GetParam(kGain)->SetNormalized(0.0);
  auto* knob = new IKnobRotatingMaskControl(&editor.plug, 50, 50, kGain, &baseBitmap, &maskBitmap, &topBitmap, 0.0,
                                            180.0);
  editor.Attach(knob);
  editor.Open();
  EXPECT_EQ(*knob->GetRECT(), IRECT(50, 50, 71, 71)) << "the base image's size at (50, 50)";
  editor.Tick();
  EXPECT_EQ(editor.gfx()->GetPoint(60, 52).R, 120) << "angle 0: the base shows through the mark at the top";
  EXPECT_EQ(editor.gfx()->GetPoint(60, 68).R, 0) << "and nowhere else";

  editor.gfx()->SetParameterFromPlug(kGain, 1.0, true);
  editor.RedrawAll();
  EXPECT_GT(editor.gfx()->GetPoint(60, 68).R, 100) << "180 degrees: the mark at the bottom";
  EXPECT_EQ(editor.gfx()->GetPoint(60, 52).R, 0);
}
