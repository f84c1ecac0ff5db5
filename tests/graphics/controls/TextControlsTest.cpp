// Text controls: plain and caption text, glyph-strip text, URL and file
// selector presses.
#include <gtest/gtest.h>

#include <cstdint>

#include "CommaLocale.h"
#include "ControlTestKit.h"
#include "IBitmapMonoText.h"
#include "IBitmapTextControl.h"
#include "ICaptionControl.h"
#include "IFileSelectorControl.h"
#include "ITextControl.h"
#include "IURLControl.h"

using namespace controltest;

namespace
{
int LitPixels(IGraphics* g, const IRECT& r)
{
  int n = 0;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x)
    {
      const IColor c = g->GetPoint(x, y);
      n += (c.R | c.G | c.B) != 0;
    }
  return n;
}

uint64_t PixelHash(IGraphics* g, const IRECT& r)
{
  uint64_t h = 1469598103934665603ull;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x) h = (h ^ g->GetPoint(x, y).Packed()) * 1099511628211ull;
  return h;
}

IText WhiteText(int size = 14, IText::EAlign align = IText::kAlignNear)
{
  IText t(size, &COLOR_WHITE);
  t.mAlign = align;
  return t;
}
} // namespace

TEST(TextControl, DrawsItsTextAndRedrawsOnlyWhenTheTextChanges)
{
  Editor editor;
  IText style = WhiteText();
  auto* text = new ITextControl(&editor.plug, IRECT(10, 10, 150, 30), &style, "CABINET");
  auto* empty = new ITextControl(&editor.plug, IRECT(10, 50, 150, 70), &style, "");
  editor.Attach(text);
  editor.Attach(empty);
  editor.Open();
  editor.Tick();
  EXPECT_GT(LitPixels(editor.gfx(), IRECT(10, 10, 150, 30)), 20) << "the text is drawn";
  EXPECT_EQ(LitPixels(editor.gfx(), IRECT(10, 50, 150, 70)), 0) << "an empty text draws nothing";
  EXPECT_EQ(text->ParamIdx(), -1);
  const uint64_t before = PixelHash(editor.gfx(), IRECT(10, 10, 150, 30));

  editor.Tick();
  text->SetTextFromPlug("CABINET");
  EXPECT_FALSE(text->IsDirty()) << "the same text";
  text->SetTextFromPlug("MIC");
  EXPECT_TRUE(text->IsDirty());
  EXPECT_STREQ(text->GetTextForPlug(), "MIC");
  editor.Tick();
  EXPECT_NE(PixelHash(editor.gfx(), IRECT(10, 10, 150, 30)), before) << "the new text replaced the old";
}

TEST(CaptionControl, ShowsTheParameterWithItsLabelRebuiltOnEveryDraw)
{
  Editor editor(200, 200, kAPIVST2);
  IText style = WhiteText();
  auto* gain = new ICaptionControl(&editor.plug, IRECT(10, 10, 150, 30), kGain, &style, true);
  auto* bare = new ICaptionControl(&editor.plug, IRECT(10, 40, 150, 60), kGain, &style, false);
  auto* mode = new ICaptionControl(&editor.plug, IRECT(10, 70, 150, 90), kMode, &style, true);
  editor.Attach(gain);
  editor.Attach(bare);
  editor.Attach(mode);
  editor.Open();
  editor.Tick();
  EXPECT_STREQ(gain->GetTextForPlug(), "0.0 dB");
  EXPECT_STREQ(bare->GetTextForPlug(), "0.0");
  EXPECT_STREQ(mode->GetTextForPlug(), "Crunch ") << "a display text, then the space before the (empty) label";
  EXPECT_GT(LitPixels(editor.gfx(), IRECT(10, 10, 150, 30)), 20);
  const uint64_t before = PixelHash(editor.gfx(), IRECT(10, 10, 150, 30));

  // As processing does it: the parameter first, then the controls.
  editor.plug.GetParam(kGain)->SetNormalized(0.75);
  editor.gfx()->SetParameterFromPlug(kGain, 0.75, true);
  editor.Tick();
  EXPECT_STREQ(gain->GetTextForPlug(), "6.0 dB");
  EXPECT_NE(PixelHash(editor.gfx(), IRECT(10, 10, 150, 30)), before);

  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(20, 20, &left);
  editor.gfx()->OnMouseUp(20, 20, &left);
  EXPECT_TRUE(editor.gfx()->ShownTextEntries().empty()) << "prompting is the layout's choice";
  gain->SetPromptDisabled(false);
  editor.gfx()->GetScript().typedTexts.push_back("-3");
  editor.gfx()->OnMouseDown(20, 20, &left);
  editor.gfx()->OnMouseUp(20, 20, &left);
  ASSERT_EQ(editor.gfx()->ShownTextEntries().size(), 1u) << "a left press asks for the value";
  editor.Tick();
  EXPECT_STREQ(gain->GetTextForPlug(), "-3.0 dB");
  editor.gfx()->OnMouseDblClick(20, 20, &left);
  EXPECT_EQ(editor.gfx()->ShownTextEntries().size(), 2u) << "so does a double click";
}

TEST(CaptionControl, NumbersKeepTheirPointUnderADecimalCommaLocale)
{
  testkit::CommaLocale comma;
  if (!comma.Install()) GTEST_SKIP() << "no decimal-comma locale could be found or built";
  Editor editor;
  IText style = WhiteText();
  auto* caption = new ICaptionControl(&editor.plug, IRECT(10, 10, 150, 30), kGain, &style, true);
  auto* display = new ITextControl(&editor.plug, IRECT(10, 40, 150, 60), &style, "");
  auto* knob = new ICaptionControl(&editor.plug, IRECT(10, 70, 150, 90), kGain, &style, false);
  knob->AttachValueDisplay(display);
  editor.Attach(caption);
  editor.Attach(display);
  editor.Attach(knob);
  editor.Open();
  // Set directly, as layout or host code may: the display is formatted here.
  knob->SetValueFromUserInput(0.75);
  editor.Tick();
  EXPECT_STREQ(caption->GetTextForPlug(), "6.0 dB") << "locale " << comma.Name();
  EXPECT_STREQ(display->GetTextForPlug(), "6.0 dB") << "locale " << comma.Name();
}

TEST(BitmapText, A1ShowsGlyphFrames34And18)
{
  // 95 glyphs of 4 x 6 from the space onward.
  auto glyphs = MakeStrip(4, 6, 95);
  IBitmap font = AsIBitmap(glyphs.get(), 95);
  Editor editor;
  IText near = WhiteText(10, IText::kAlignNear);
  IText far = WhiteText(10, IText::kAlignFar);
  IText centre = WhiteText(10, IText::kAlignCenter);
  auto* a1 = new IBitmapTextControl(&editor.plug, IRECT(10, 10, 60, 16), &font, "A1", &near, 4, 6, 0, false, false);
  auto* spaced = new IBitmapTextControl(&editor.plug, IRECT(10, 20, 60, 26), &font, "A1", &near, 4, 6, 2, false, false);
  auto* right = new IBitmapTextControl(&editor.plug, IRECT(10, 30, 60, 36), &font, "A1", &far, 4, 6, 0, false, false);
  auto* middle = new IBitmapTextControl(&editor.plug, IRECT(10, 40, 60, 46), &font, "A1", &centre, 4, 6, 0, false, false);
  auto* centred = new IBitmapTextControl(&editor.plug, IRECT(70, 10, 120, 30), &font, "A1", &near, 4, 6, 0, false, true);
  editor.Attach(a1);
  editor.Attach(spaced);
  editor.Attach(right);
  editor.Attach(middle);
  editor.Attach(centred);
  editor.Open();
  editor.Tick();
  IGraphics* g = editor.gfx();

  for (int x = 10; x < 14; ++x) EXPECT_EQ(FrameAt(g, x, 12), 34) << "'A' (65 - 31) at x " << x;
  for (int x = 14; x < 18; ++x) EXPECT_EQ(FrameAt(g, x, 12), 18) << "'1' (49 - 31) at x " << x;
  EXPECT_EQ(FrameAt(g, 18, 12), 0) << "two characters only";

  EXPECT_EQ(FrameAt(g, 13, 22), 34);
  EXPECT_EQ(FrameAt(g, 14, 22), 0) << "two pixels of spacing";
  EXPECT_EQ(FrameAt(g, 16, 22), 18);

  EXPECT_EQ(FrameAt(g, 51, 32), 0) << "far: the text ends at the right edge";
  EXPECT_EQ(FrameAt(g, 52, 32), 34);
  EXPECT_EQ(FrameAt(g, 59, 32), 18);

  EXPECT_EQ(FrameAt(g, 30, 42), 0) << "centre: 10 + (50 - 8) / 2 = 31";
  EXPECT_EQ(FrameAt(g, 31, 42), 34);
  EXPECT_EQ(FrameAt(g, 35, 42), 18);

  EXPECT_EQ(FrameAt(g, 70, 16), 0) << "vertical centring: 10 + (20 - 6) / 2 = 17";
  EXPECT_EQ(FrameAt(g, 70, 17), 34);
  EXPECT_EQ(FrameAt(g, 70, 22), 34);
  EXPECT_EQ(FrameAt(g, 70, 23), 0);
}

TEST(BitmapText, WrapsOverLinesOrCutsASingleLine)
{
  auto glyphs = MakeStrip(4, 6, 95);
  IBitmap font = AsIBitmap(glyphs.get(), 95);
  Editor editor;
  IText near = WhiteText(10, IText::kAlignNear);
  auto* wrapped =
    new IBitmapTextControl(&editor.plug, IRECT(10, 40, 22, 60), &font, "ABCDEF", &near, 4, 6, 0, true, false);
  auto* cut = new IBitmapTextControl(&editor.plug, IRECT(40, 40, 52, 60), &font, "ABCDEF", &near, 4, 6, 0, false, false);
  auto* narrow = new IBitmapTextControl(&editor.plug, IRECT(70, 40, 73, 60), &font, "AB", &near, 4, 6, 0, false, false);
  auto* beyond =
    new IBitmapTextControl(&editor.plug, IRECT(10, 80, 40, 86), &font, "A\x7f" "B", &near, 4, 6, 0, false, false);
  editor.Attach(beyond);
  editor.Attach(wrapped);
  editor.Attach(cut);
  editor.Attach(narrow);
  editor.Open();
  editor.Tick();
  IGraphics* g = editor.gfx();
  const char* lines[] = {"ABC", "DEF"};
  for (int line = 0; line < 2; ++line)
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(FrameAt(g, 10 + 4 * c, 40 + 6 * line), lines[line][c] - 31) << "line " << line << " char " << c;
  EXPECT_EQ(FrameAt(g, 10, 52), 0) << "nothing after the text";

  EXPECT_EQ(FrameAt(g, 48, 40), 'C' - 31) << "a single line holds what fits";
  EXPECT_EQ(FrameAt(g, 40, 46), 0) << "and does not wrap";
  EXPECT_EQ(LitPixels(g, IRECT(60, 40, 100, 60)), 0) << "no character fits in 3 px: nothing drawn";
  EXPECT_EQ(FrameAt(g, 10, 80), 'A' - 31);
  EXPECT_EQ(LitPixels(g, IRECT(14, 80, 18, 86)), 0) << "a character past the strip's last glyph draws nothing";
  EXPECT_EQ(FrameAt(g, 18, 80), 'B' - 31) << "and the text goes on after it";

  wrapped->SetTextFromPlug("ABCDEF");
  EXPECT_FALSE(wrapped->IsDirty());
  wrapped->SetTextFromPlug("");
  EXPECT_TRUE(wrapped->IsDirty());
  editor.Tick();
  EXPECT_EQ(FrameAt(g, 10, 40), 0) << "an empty text draws nothing";
}

TEST(URLControl, OpensTheURLAndTheBackupWhenThatFails)
{
  Editor editor;
  auto* url = new IURLControl(&editor.plug, IRECT(0, 0, 20, 20), "https://example.org/cab", "https://example.org/",
                              "no browser");
  auto* backupOnly = new IURLControl(&editor.plug, IRECT(30, 0, 50, 20), "", "https://example.org/b");
  editor.Attach(url);
  editor.Attach(backupOnly);
  editor.Open();
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(5, 5, &left);
  const auto& opened = editor.gfx()->OpenedURLs();
  ASSERT_EQ(opened.size(), 2u) << "the first failed, so the backup followed";
  EXPECT_EQ(opened[0], "https://example.org/cab");
  EXPECT_EQ(opened[1], "https://example.org/");

  editor.gfx()->GetScript().openURLSucceeds = true;
  editor.gfx()->OnMouseDown(5, 5, &left);
  EXPECT_EQ(opened.size(), 3u) << "success: no backup";
  editor.gfx()->OnMouseDown(35, 5, &left);
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_EQ(opened[3], "https://example.org/b") << "no URL: straight to the backup";
}

TEST(FileSelectorControl, AChoiceNudgesTheValueAndDirtiesOnce)
{
  auto image = MakeStrip(20, 20, 1);
  IBitmap bitmap = AsIBitmap(image.get(), 1);
  Editor editor;
  editor.plug.GetParam(kPower)->Set(0);
  auto* selector = new IFileSelectorControl(&editor.plug, IRECT(10, 10, 30, 30), kPower, &bitmap, kFileOpen, "/tmp",
                                            "wav aif");
  IMouseMod left = LeftButton();
  selector->OnMouseDown(15, 15, &left);
  EXPECT_EQ(selector->GetState(), IFileSelectorControl::kFSNone) << "without a surface nothing happens";
  editor.Attach(selector);
  editor.Open();
  editor.Tick();
  EXPECT_EQ(FrameAt(editor.gfx(), 15, 15), 0) << "draws nothing while not selecting";

  editor.gfx()->GetScript().files.push_back("/tmp/cab.wav");
  editor.gfx()->OnMouseDown(15, 15, &left);
  editor.gfx()->OnMouseUp(15, 15, &left);
  EXPECT_DOUBLE_EQ(selector->GetValue(), 1.0);
  WDL_String file;
  selector->GetLastSelectedFileForPlug(&file);
  EXPECT_STREQ(file.Get(), "/tmp/cab.wav");
  EXPECT_TRUE(editor.Tick());
  EXPECT_TRUE(editor.Tick()) << "once for the value, once for the completed choice";
  selector->SetClean();
  EXPECT_FALSE(selector->IsDirty()) << "the completed choice was reported once";

  editor.gfx()->OnMouseDown(15, 15, &left);
  EXPECT_DOUBLE_EQ(selector->GetValue(), 0.0) << "above 1 wraps to 0";
  selector->SetLastSelectedFileFromPlug("/tmp/other.wav");
  selector->GetLastSelectedFileForPlug(&file);
  EXPECT_STREQ(file.Get(), "/tmp/other.wav");
}
