// The control base: default value, dirty bookkeeping, clamping and pushing,
// attached displays, greying, hiding, prompts and auxiliary parameters,
// measured through a headless surface.
#include <gtest/gtest.h>

#include <cmath>

#include "ControlTestKit.h"
#include "IKnobMultiControl.h"
#include "IPanelControl.h"
#include "ISwitchControl.h"
#include "ITextControl.h"

using namespace controltest;

namespace
{
// Counts the ticks that draw something after a change, up to a limit.
int TicksThatDraw(Editor& editor, int limit = 5)
{
  int n = 0;
  while (n < limit && editor.Tick()) ++n;
  return n;
}
} // namespace

TEST(IControlDefault, FirstPlugValueIsTheDoubleClickResetEvenAfterTurning)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  editor.plug.GetParam(kGain)->SetNormalized(0.7);
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap, kVertical, 1.0);
  editor.Attach(knob);
  editor.Open();
  EXPECT_DOUBLE_EQ(knob->GetDefaultValue(), 0.7) << "AttachGraphics fixes the default";
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7);

  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(25, 25, &left);
  editor.gfx()->OnMouseDrag(25, 28, &left); // 3 px down over a 10 px knob
  editor.gfx()->OnMouseUp(25, 28, &left);
  EXPECT_NEAR(knob->GetValue(), 0.4, 1e-12) << "the drag moved it";
  EXPECT_DOUBLE_EQ(knob->GetDefaultValue(), 0.7) << "later values do not move the default";

  editor.plug.events.clear();
  editor.gfx()->OnMouseDblClick(25, 25, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7) << "double click resets to the first value";
  EXPECT_NEAR(editor.plug.GetParam(kGain)->GetNormalized(), 0.7, 1e-12) << "the reset reached the parameter";
  EXPECT_EQ(editor.plug.Trace(), "b0 p0 e0") << "the reset is one whole edit";

  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 25, 25), 43) << "0.7 of 61 frames is frame (int)(60 * 0.7 + 0.5) + 1";
}

TEST(IControlDefault, ADoubleClickBeforeAnyPlugValueChangesNothing)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap);
  knob->SetValueFromUserInput(0.3);
  knob->OnMouseDblClick(25, 25, nullptr);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.3) << "no default has arrived yet";
  editor.Attach(knob);
}

TEST(IControlDirty, PlugValuesDirtyOnlyWhenTheyDifferAndStayDirtyForTwoRedraws)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();
  ASSERT_TRUE(editor.Tick()) << "a new surface draws everything once";
  ASSERT_FALSE(editor.Tick());

  const double current = knob->GetValue();
  editor.gfx()->SetParameterFromPlug(kGain, current, true);
  EXPECT_FALSE(knob->IsDirty()) << "the value it already has";
  EXPECT_EQ(TicksThatDraw(editor), 0);

  editor.gfx()->SetParameterFromPlug(kGain, 0.25, true);
  EXPECT_TRUE(knob->IsDirty());
  EXPECT_EQ(TicksThatDraw(editor), 2) << "a value from the plug-in is drawn in the next two redraws";
  EXPECT_EQ(FrameAt(editor.gfx(), 25, 25), 16) << "0.25 -> frame 16";
  EXPECT_TRUE(editor.plug.events.empty()) << "values from the plug-in are not pushed back";

  knob->SetValueFromUserInput(0.5);
  EXPECT_EQ(TicksThatDraw(editor), 2) << "a user value sets redraw as well";
  knob->SetDirty(false);
  EXPECT_EQ(TicksThatDraw(editor), 1) << "SetDirty alone keeps it dirty for one redraw";
}

TEST(IControlClamp, SetDirtyClampsToTheRangeAndPushesTheClampedValue)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap);
  editor.Attach(knob);
  editor.Open();
  editor.gfx()->ClampControl(kGain, -6.0, 6.0, false);
  EXPECT_DOUBLE_EQ(knob->GetClampLo(), 0.25) << "-6 dB of -12..12";
  EXPECT_DOUBLE_EQ(knob->GetClampHi(), 0.75);

  knob->SetValueFromUserInput(0.95);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.75) << "above the range";
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kGain)->Value(), 6.0) << "the clamped value reached the parameter";
  EXPECT_DOUBLE_EQ(editor.plug.LastEditedValue(), 0.75);
  knob->SetValueFromUserInput(-3.0);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25) << "below the range";

  editor.gfx()->SetParameterFromPlug(kGain, 1.0, true);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.75) << "plug-in values are clamped too";
}

TEST(IControlPush, ControlsWithoutParameterPushNothing)
{
  Editor editor;
  auto* panel = new IPanelControl(&editor.plug, IRECT(0, 0, 10, 10), &COLOR_WHITE);
  editor.Attach(panel);
  editor.Open();
  panel->SetValueFromUserInput(0.5);
  EXPECT_TRUE(editor.plug.events.empty()) << editor.plug.Trace();
  EXPECT_EQ(editor.plug.LastEditedParam(), -1);
}

TEST(IControlDisplays, ValueAndNameDisplaysFollowPushedValues)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  IText style;
  auto* value = new ITextControl(&editor.plug, IRECT(0, 100, 100, 120), &style, "");
  auto* name = new ITextControl(&editor.plug, IRECT(0, 120, 100, 140), &style, "");
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap);
  knob->AttachValueDisplay(value);
  knob->AttachNameDisplay(name);
  editor.Attach(value);
  editor.Attach(name);
  editor.Attach(knob);
  editor.Open();
  editor.Tick();

  knob->SetValueFromUserInput(0.75);
  EXPECT_STREQ(value->GetTextForPlug(), "6.0 dB") << "display of 0.75 of -12..12 dB with its label";
  EXPECT_STREQ(name->GetTextForPlug(), "Gain");
  EXPECT_TRUE(value->IsDirty());
  EXPECT_TRUE(name->IsDirty());

  editor.Tick();
  editor.Tick();
  knob->SetValueFromUserInput(0.7500001);
  EXPECT_STREQ(value->GetTextForPlug(), "6.0 dB");
  EXPECT_FALSE(value->IsDirty()) << "same text, nothing to redraw";
  EXPECT_FALSE(name->IsDirty());

  editor.gfx()->SetParameterFromPlug(kGain, 0.25, true);
  EXPECT_STREQ(value->GetTextForPlug(), "6.0 dB") << "values from the plug-in leave the displays alone";
}

TEST(IControlGreyAndHide, GreyedDrawsAtAQuarterAndTakesNoPressHiddenIsNeitherDrawnNorHit)
{
  auto strip = MakeStrip(10, 10, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 2);
  Editor editor;
  auto* panel = new IPanelControl(&editor.plug, IRECT(0, 0, 10, 10), &COLOR_WHITE);
  auto* under = new ISwitchControl(&editor.plug, 40, 40, kPower, &bitmap);
  auto* over = new ISwitchControl(&editor.plug, 40, 40, kMode, &bitmap);
  editor.Attach(panel);
  editor.Attach(under);
  editor.Attach(over);
  editor.Open();
  editor.Tick();
  ASSERT_EQ(editor.gfx()->GetPoint(5, 5).R, 255);

  panel->GrayOut(true);
  editor.RedrawAll();
  const int grey = editor.gfx()->GetPoint(5, 5).R;
  EXPECT_GE(grey, 62) << "white at weight 0.25 over black";
  EXPECT_LE(grey, 65);
  panel->GrayOut(false);
  editor.RedrawAll();
  EXPECT_EQ(editor.gfx()->GetPoint(5, 5).R, 255) << "full weight again";

  IMouseMod left = LeftButton();
  const double overBefore = over->GetValue(), underBefore = under->GetValue();
  over->GrayOut(true);
  editor.gfx()->OnMouseDown(45, 45, &left);
  editor.gfx()->OnMouseUp(45, 45, &left);
  EXPECT_DOUBLE_EQ(over->GetValue(), overBefore) << "a greyed control takes no press";
  EXPECT_NE(under->GetValue(), underBefore) << "the press went to the control below";
  over->GrayOut(false);

  over->Hide(true);
  under->Hide(true);
  EXPECT_TRUE(over->IsDirty()) << "hiding asks for a redraw";
  editor.RedrawAll();
  EXPECT_EQ(FrameAt(editor.gfx(), 45, 45), 0) << "hidden controls are not drawn";
  EXPECT_EQ(editor.gfx()->GetMouseControlIdx(45, 45), 0) << "nor hit: the background takes the press";
  over->Hide(false);
  editor.RedrawAll();
  EXPECT_NE(FrameAt(editor.gfx(), 45, 45), 0) << "shown again";
}

TEST(IControlPrompt, DisabledByDefaultThenFieldCentredOrMenuOverTheControl)
{
  auto strip = MakeStrip(31, 31, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor(200, 200, kAPIVST2);
  auto* gain = new IKnobMultiControl(&editor.plug, 10, 20, kGain, &bitmap);
  auto* mode = new IKnobMultiControl(&editor.plug, 100, 20, kMode, &bitmap);
  editor.Attach(gain);
  editor.Attach(mode);
  editor.Open();
  IMouseMod right = RightButton();

  editor.gfx()->OnMouseDown(20, 30, &right);
  editor.gfx()->OnMouseUp(20, 30, &right);
  EXPECT_TRUE(editor.gfx()->ShownTextEntries().empty()) << "prompting starts disabled";

  gain->SetPromptDisabled(false);
  editor.gfx()->GetScript().typedTexts.push_back("3.5");
  editor.gfx()->OnMouseDown(20, 30, &right);
  editor.gfx()->OnMouseUp(20, 30, &right);
  ASSERT_EQ(editor.gfx()->ShownTextEntries().size(), 1u) << "a right press prompts outside VST3";
  // Rectangle (10, 20, 41, 51): centre (int)(51 * 0.5) = 25, (int)(71 * 0.5) = 35.
  EXPECT_EQ(editor.gfx()->ShownTextEntries()[0].area, IRECT(5, 27, 45, 43)) << "40 x 16 centred";
  EXPECT_NEAR(gain->GetValue(), (3.5 + 12.0) / 24.0, 1e-12) << "the typed value";
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kGain)->Value(), 3.5);

  mode->SetPromptDisabled(false);
  editor.gfx()->GetScript().menuChoices.push_back(2);
  mode->PromptUserInput();
  ASSERT_EQ(editor.gfx()->ShownMenus().size(), 1u) << "display texts prompt a menu";
  EXPECT_EQ(editor.gfx()->ShownMenus()[0].area, IRECT(100, 20, 131, 51)) << "the control's own rectangle";
  EXPECT_DOUBLE_EQ(mode->GetValue(), 1.0) << "the third of three choices";

  auto* none = new IPanelControl(&editor.plug, IRECT(0, 0, 5, 5), &COLOR_WHITE);
  editor.gfx()->AttachControl(none);
  none->SetPromptDisabled(false);
  none->PromptUserInput();
  EXPECT_EQ(editor.gfx()->ShownTextEntries().size(), 1u) << "no parameter, no prompt";
}

TEST(IControlAux, AuxiliaryValuesArriveFromThePlugAndGoBackTogether)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap);
  knob->AddAuxParam(kSteps);
  knob->AddAuxParam(kPower);
  editor.Attach(knob);
  editor.Open();
  EXPECT_EQ(knob->AuxParamIdx(kPower), 1);
  EXPECT_EQ(knob->AuxParamIdx(kMode), -1);
  EXPECT_EQ(knob->GetAuxParam(2), nullptr);
  EXPECT_DOUBLE_EQ(knob->GetAuxParam(0)->Value(), 0.5) << "Steps 2 of 0..4 arrived with AttachGraphics";
  editor.Tick();

  editor.gfx()->SetParameterFromPlug(kSteps, 0.75, true);
  EXPECT_DOUBLE_EQ(knob->GetAuxParam(0)->Value(), 0.75);
  EXPECT_EQ(TicksThatDraw(editor), 2) << "an auxiliary value redraws like the value";
  editor.gfx()->SetParameterFromPlug(kSteps, 0.75, true);
  EXPECT_EQ(TicksThatDraw(editor), 0) << "the same auxiliary value changes nothing";

  knob->GetAuxParam(1)->StoreValue(0.0);
  knob->SetAllAuxParamsFromGUI();
  EXPECT_DOUBLE_EQ(editor.plug.GetParam(kSteps)->Value(), 3.0);
  EXPECT_FALSE(editor.plug.GetParam(kPower)->Bool());
}

TEST(IControlBadInput, ValuesThatAreNotNumbersChangeNothing)
{
  auto strip = MakeStrip(10, 10, 61);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  Editor editor;
  auto* knob = new IKnobMultiControl(&editor.plug, 20, 20, kGain, &bitmap);
  knob->AddAuxParam(kSteps);
  editor.Attach(knob);
  editor.Open();
  while (editor.Tick())
  {
  }
  const double value = knob->GetValue(), aux = knob->GetAuxParam(0)->Value();
  editor.plug.events.clear();

  editor.gfx()->SetParameterFromPlug(kGain, std::nan(""), true);
  editor.gfx()->SetParameterFromPlug(kSteps, HUGE_VAL, true);
  knob->SetValueFromUserInput(std::nan(""));
  EXPECT_DOUBLE_EQ(knob->GetValue(), value) << "not shown as the top of the range";
  EXPECT_DOUBLE_EQ(knob->GetAuxParam(0)->Value(), aux);
  EXPECT_FALSE(knob->IsDirty());
  EXPECT_TRUE(editor.plug.events.empty()) << editor.plug.Trace();
}
