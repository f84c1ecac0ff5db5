#include <gtest/gtest.h>

#include <cstdio>

#include "ClassicNumbers.h"
#include "CommaLocale.h"
#include "CoreTestSupport.h"
#include "ICaptionControl.h"
#include "IPopupMenu.h"
#include "ITextControl.h"
#include "lice_blit.h"
#include "TextEntryFilter.h"

TEST(PopupMenuModel, InsertionPrefixesAndChecks)
{
  IPopupMenu menu;
  menu.AddItem("a");
  menu.AddItem("b");
  menu.AddItem("end", 5);
  menu.AddItem("front", -3);
  menu.AddSeparator(2);
  ASSERT_EQ(menu.GetNItems(), 5);
  const char* order[] = {"front", "a", "", "b", "end"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(menu.GetItemText(i), order[i]) << "item " << i;
  EXPECT_TRUE(menu.GetItem(2)->GetIsSeparator());
  EXPECT_EQ(menu.GetItem(5), nullptr);
  EXPECT_EQ(menu.GetItem(-1), nullptr);

  menu.SetPrefix(4);
  EXPECT_EQ(menu.GetPrefix(), 0) << "only styles 0 to 3";
  for (int i = 0; i < 6; ++i) menu.AddItem("x");
  menu.SetPrefix(3);
  WDL_String title;
  menu.GetItemTitle(9, &title);
  EXPECT_STREQ(title.Get(), "010: x");
  menu.SetPrefix(2);
  menu.GetItemTitle(0, &title);
  EXPECT_STREQ(title.Get(), "01: front");

  IPopupMenu three;
  for (const char* t : {"p", "q", "r"}) three.AddItem(t, -1, IPopupMenuItem::kChecked);
  three.CheckItemAlone(1);
  EXPECT_FALSE(three.IsItemChecked(0));
  EXPECT_TRUE(three.IsItemChecked(1));
  EXPECT_FALSE(three.IsItemChecked(2));
  EXPECT_FALSE(three.CheckItem(7, true));
  EXPECT_FALSE(three.IsItemChecked(7));
  EXPECT_EQ(three.GetChosenItemIdx(), -1);
}

TEST(TextEntryFilter, EachParameterKindTakesItsCharactersUpToTheLength)
{
  IParam real, whole, choice, nothing;
  real.InitDouble("Real", 0.0, -100.0, 100.0, 0.1);
  whole.InitInt("Whole", 0, -10, 10);
  choice.InitEnum("Choice", 0, 3);
  EXPECT_FALSE(TextEntryAccepts(&real, 32, "1a")) << "a letter";
  EXPECT_TRUE(TextEntryAccepts(&real, 32, "-12.5"));
  EXPECT_TRUE(TextEntryAccepts(&real, 32, "+3"));
  EXPECT_FALSE(TextEntryAccepts(&whole, 32, "1.5")) << "an int takes no '.'";
  EXPECT_TRUE(TextEntryAccepts(&whole, 32, "-7"));
  EXPECT_FALSE(TextEntryAccepts(&choice, 32, "1,5"));
  EXPECT_FALSE(TextEntryAccepts(&nothing, 32, "1")) << "a parameter of no kind takes no characters";
  EXPECT_TRUE(TextEntryAccepts(&nothing, 32, ""));
  const std::string full(32, '1');
  EXPECT_TRUE(TextEntryAccepts(&real, 32, full.c_str()));
  EXPECT_FALSE(TextEntryAccepts(&real, 32, (full + "1").c_str())) << "a 33rd character";
  EXPECT_TRUE(TextEntryAccepts(nullptr, 0, "anything at all")) << "no parameter, no limit: no filter";
}

namespace
{
struct PromptRig : EditorRig
{
  PromptRig() : EditorRig(200, 100)
  {
    plug.GetParam(0)->InitEnum("Mode", 1, 3);
    plug.GetParam(0)->SetDisplayText(0, "Soft");
    plug.GetParam(0)->SetDisplayText(1, "Warm");
    plug.GetParam(0)->SetDisplayText(2, "Loud");
    plug.GetParam(1)->InitDouble("Gain", 2.5, -20.0, 20.0, 0.1);
    plug.GetParam(2)->InitInt("Count", 3, 0, 8);
    for (int i = 0; i < 3; ++i)
    {
      probes[i] = new ProbeControl(&plug, IRECT(10 + 60 * i, 10, 60 + 60 * i, 60), i);
      probes[i]->SetPromptDisabled(false);
      graphics->AttachControl(probes[i]);
    }
    Attach();
  }
  ProbeControl* probes[3];
};
} // namespace

TEST(Prompt, AnEnumGetsAMenuWithTheCurrentTextChecked)
{
  PromptRig rig;
  rig.graphics->GetScript().menuChoices = {2, -1};
  IRECT area(1, 2, 3, 4);
  rig.graphics->PromptUserInput(rig.probes[0], rig.plug.GetParam(0), &area);
  ASSERT_EQ(rig.graphics->ShownMenus().size(), 1u);
  const auto& menu = rig.graphics->ShownMenus()[0];
  ASSERT_EQ(menu.titles.size(), 3u);
  EXPECT_EQ(menu.titles[0], "Soft");
  EXPECT_EQ(menu.titles[2], "Loud");
  EXPECT_EQ(menu.flags[0], 0);
  EXPECT_EQ(menu.flags[1], IPopupMenuItem::kChecked) << "the current value";
  EXPECT_EQ(menu.area, area);
  EXPECT_DOUBLE_EQ(rig.probes[0]->GetValue(), rig.plug.GetParam(0)->GetNormalized(2.0));
  EXPECT_EQ(rig.plug.GetParam(0)->Int(), 2) << "the choice reaches the plug-in";

  rig.graphics->PromptUserInput(rig.probes[0], rig.plug.GetParam(0), &area);
  EXPECT_EQ(rig.plug.GetParam(0)->Int(), 2) << "closing the menu changes nothing";
  EXPECT_EQ(rig.graphics->ShownTextEntries().size(), 0u);

  rig.graphics->PromptUserInput(nullptr, rig.plug.GetParam(0), &area);
  rig.graphics->PromptUserInput(rig.probes[0], nullptr, &area);
  rig.graphics->PromptUserInput(rig.probes[0], rig.plug.GetParam(0), nullptr);
  EXPECT_EQ(rig.graphics->ShownMenus().size(), 2u) << "nothing happens when anything is missing";
}

TEST(Prompt, NumbersGetATextFieldAndTypedTextBecomesTheValue)
{
  PromptRig rig;
  rig.graphics->GetScript().typedTexts = {"-12.5", "7x.5", "abc"};
  IRECT area(0, 0, 40, 16);
  IParam* gain = rig.plug.GetParam(1);
  rig.graphics->PromptUserInput(rig.probes[1], gain, &area);
  ASSERT_EQ(rig.graphics->ShownTextEntries().size(), 1u);
  EXPECT_EQ(rig.graphics->ShownTextEntries()[0].initialText, "2.5");
  EXPECT_EQ(rig.graphics->ShownTextEntries()[0].param, gain);
  EXPECT_DOUBLE_EQ(gain->Value(), -12.5);
  EXPECT_DOUBLE_EQ(rig.probes[1]->GetValue(), gain->GetNormalized(-12.5));

  rig.graphics->PromptUserInput(rig.probes[1], gain, &area);
  EXPECT_EQ(rig.graphics->ShownTextEntries()[1].confirmedText, "7.5") << "the field refuses the letter";
  EXPECT_DOUBLE_EQ(gain->Value(), 7.5);

  rig.graphics->PromptUserInput(rig.probes[1], gain, &area);
  EXPECT_EQ(rig.graphics->ShownTextEntries()[2].confirmedText, "");
  EXPECT_DOUBLE_EQ(gain->Value(), 0.0) << "no number reads as 0";
}

TEST(Prompt, IntegersGetAFieldBoolsAMenuAndTextsMapToValues)
{
  PromptRig rig;
  IRECT area(0, 0, 40, 16);
  IParam* count = rig.plug.GetParam(2);
  rig.graphics->GetScript().typedTexts = {"5", "1.5"};
  rig.graphics->PromptUserInput(rig.probes[2], count, &area);
  ASSERT_EQ(rig.graphics->ShownTextEntries().size(), 1u) << "an int gets a text field";
  EXPECT_EQ(rig.graphics->ShownTextEntries()[0].initialText, "3");
  EXPECT_EQ(count->Int(), 5);
  rig.graphics->PromptUserInput(rig.probes[2], count, &area);
  EXPECT_EQ(rig.graphics->ShownTextEntries()[1].confirmedText, "15") << "the field refuses the '.'";
  EXPECT_EQ(count->Int(), 8) << "15 is limited to the range";

  IParam on;
  on.InitBool("On", false);
  rig.graphics->GetScript().menuChoices = {1};
  rig.graphics->PromptUserInput(rig.probes[2], &on, &area);
  ASSERT_EQ(rig.graphics->ShownMenus().size(), 1u) << "a bool with its display texts gets a menu";
  EXPECT_EQ(rig.graphics->ShownMenus()[0].titles[1], "on");
  EXPECT_EQ(rig.graphics->ShownMenus()[0].flags[0], IPopupMenuItem::kChecked);
  EXPECT_DOUBLE_EQ(rig.probes[2]->GetValue(), 1.0);

  rig.graphics->SetFromStringAfterPrompt(rig.probes[0], rig.plug.GetParam(0), "Loud");
  EXPECT_EQ(rig.plug.GetParam(0)->Int(), 2);
  rig.graphics->SetFromStringAfterPrompt(rig.probes[0], rig.plug.GetParam(0), "Nowhere");
  EXPECT_EQ(rig.plug.GetParam(0)->Int(), 0) << "an unknown text sets 0";
  rig.graphics->SetFromStringAfterPrompt(rig.probes[0], rig.plug.GetParam(0), "1");
  EXPECT_EQ(rig.plug.GetParam(0)->Int(), 1) << "a typed position, all such a field can take";
  rig.graphics->SetFromStringAfterPrompt(rig.probes[2], &on, "0");
  EXPECT_DOUBLE_EQ(rig.probes[2]->GetValue(), 0.0);
  rig.graphics->SetFromStringAfterPrompt(rig.probes[0], nullptr, "Loud");
  EXPECT_EQ(rig.plug.GetParam(0)->Int(), 1) << "nothing without a parameter";
}

TEST(Prompt, AControlsOwnPromptPicksItsRectangle)
{
  PromptRig rig;
  rig.graphics->GetScript().typedTexts = {"3"};
  rig.probes[1]->PromptUserInput();
  ASSERT_EQ(rig.graphics->ShownTextEntries().size(), 1u);
  EXPECT_EQ(rig.graphics->ShownTextEntries()[0].area, IRECT(75, 27, 115, 43)) << "40 x 16 about the centre";
  EXPECT_DOUBLE_EQ(rig.plug.GetParam(1)->Value(), 3.0);
  rig.probes[0]->PromptUserInput();
  ASSERT_EQ(rig.graphics->ShownMenus().size(), 1u);
  EXPECT_EQ(rig.graphics->ShownMenus()[0].area, IRECT(10, 10, 60, 60)) << "menus take the control's rectangle";
}

TEST(Prompt, NumbersIgnoreADecimalCommaLocale)
{
  testkit::CommaLocale comma;
  if (comma.Name().empty()) GTEST_SKIP() << "no locale with a decimal comma can be found or built (package 'locales')";
  PromptRig rig;
  ASSERT_TRUE(comma.Install());
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 2.5);
  ASSERT_STREQ(check, "2,5") << "the locale really has a decimal comma";
  rig.graphics->GetScript().typedTexts = {"7.5"};
  IRECT area(0, 0, 40, 16);
  rig.graphics->PromptUserInput(rig.probes[1], rig.plug.GetParam(1), &area);
  const std::string shown = rig.graphics->ShownTextEntries()[0].initialText;
  std::snprintf(check, sizeof check, "%.1f", 2.5);
  EXPECT_EQ(shown, "2.5") << "under " << comma.Name();
  EXPECT_DOUBLE_EQ(rig.plug.GetParam(1)->Value(), 7.5) << "under " << comma.Name();
  EXPECT_DOUBLE_EQ(ParseClassicNumber("0.25"), 0.25);
  EXPECT_STREQ(check, "2,5") << "the editor leaves the host's locale as it found it";
}

TEST(Prompt, CaptionsAndValueDisplaysIgnoreADecimalCommaLocale)
{
  testkit::CommaLocale comma;
  if (comma.Name().empty()) GTEST_SKIP() << "no locale with a decimal comma can be found or built (package 'locales')";
  PromptRig rig;
  IText style(14, &COLOR_WHITE, "DejaVu Sans");
  auto* display = new ITextControl(&rig.plug, IRECT(0, 70, 60, 90), &style);
  auto* caption = new ICaptionControl(&rig.plug, IRECT(70, 70, 200, 100), 1, &style, false);
  rig.probes[1]->AttachValueDisplay(display);
  rig.graphics->AttachControl(display);
  rig.graphics->AttachControl(caption);
  const IRECT all(0, 0, 200, 100);
  auto captionPixels = [&] {
    LICE_Clear(rig.graphics->GetDrawBitmap(), 0xFF000000u);
    IRECT r = all;
    rig.graphics->Draw(&r);
    std::vector<LICE_pixel> px;
    for (int y = 70; y < 100; ++y)
      for (int x = 70; x < 200; ++x) px.push_back(LICE_GetPixel(rig.graphics->GetDrawBitmap(), x, y));
    return px;
  };
  const std::vector<LICE_pixel> plain = captionPixels();

  ASSERT_TRUE(comma.Install());
  rig.graphics->SetParameterFromGUI(1, rig.plug.GetParam(1)->GetNormalized(7.5));
  EXPECT_EQ(std::string(display->GetTextForPlug()).substr(0, 3), "7.5") << "under " << comma.Name();
  rig.graphics->SetParameterFromGUI(1, rig.plug.GetParam(1)->GetNormalized(2.5));
  EXPECT_EQ(std::string(display->GetTextForPlug()).substr(0, 3), "2.5") << "under " << comma.Name();
  const std::vector<LICE_pixel> underComma = captionPixels();
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 2.5);
  EXPECT_STREQ(check, "2,5") << "the host's locale is left as it was";
  EXPECT_TRUE(plain == underComma) << "the caption reads 2.5 under either locale";
  int ink = 0;
  for (LICE_pixel p : plain) ink += LICE_GETR(p) > 128;
  EXPECT_GT(ink, 10) << "the caption drew something";
}
