#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "LICE_CachedFont.h"
#include "RasterTestUtil.h"

using rastertest::GuardedBitmap;

namespace {

std::unique_ptr<LICE_CachedFont> makeFont(int height, int weight = 400, int quality = 0, const char* face = "Monaco")
{
  auto font = std::make_unique<LICE_CachedFont>();
  LICE_HFONT h = LICE_CreateFont(height, 0, 0, 0, weight, false, false, false, quality, face);
  if (!h || !font->SetFromHFont(h, 0x600)) return nullptr;
  return font;
}

struct Ink
{
  int count = 0, left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

// Pixels that differ from the background.
Ink inkOf(GuardedBitmap& bm, LICE_pixel background)
{
  Ink ink;
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      if (bm.at(x, y) != background)
      {
        ++ink.count;
        ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

TEST(CachedFont, MissingFaceFallsBackAndLineHeightFollowsTheRequest)
{
  for (int h = 8; h <= 40; ++h)
  {
    auto font = makeFont(h);
    ASSERT_TRUE(font) << "height " << h;
    EXPECT_NEAR(font->GetLineHeight(), h, 1) << "height " << h;
  }
  auto byEm = makeFont(-20);
  ASSERT_TRUE(byEm);
  EXPECT_GT(byEm->GetLineHeight(), 20) << "an em of 20 pixels needs a taller line";
  LICE_HFONT none = LICE_CreateFont(12, 0, 0, 0, 400, true, false, false, 0, "NoSuchFace_murax");
  ASSERT_NE(none, nullptr);
  EXPECT_NE(std::string(LICE_GetFontFile(none)), "");
  LICE_DestroyFont(none);
  LICE_CachedFont empty;
  EXPECT_FALSE(empty.SetFromHFont(nullptr));
  LICE_Rect r{0, 0, 10, 10};
  EXPECT_EQ(empty.DrawText(nullptr, "x", -1, &r, 0), 0);
}

TEST(CachedFont, MeasuresLinesAndWidths)
{
  auto font = makeFont(12);
  ASSERT_TRUE(font);
  LICE_Rect one{0, 0, 0, 0};
  EXPECT_EQ(font->DrawText(nullptr, "Mic Placement", -1, &one, LICE_DT_CALCRECT), font->GetLineHeight());
  EXPECT_EQ(one.bottom, font->GetLineHeight());
  EXPECT_GT(one.right, 40);
  EXPECT_LT(one.right, 120);
  LICE_Rect two{5, 7, 0, 0};
  font->DrawText(nullptr, "Mic\nPlacement", -1, &two, LICE_DT_CALCRECT);
  EXPECT_EQ(two.bottom - two.top, 2 * font->GetLineHeight());
  LICE_Rect cut{0, 0, 0, 0};
  font->DrawText(nullptr, "Mic Placement", 3, &cut, LICE_DT_CALCRECT);
  LICE_Rect mic{0, 0, 0, 0};
  font->DrawText(nullptr, "Mic", -1, &mic, LICE_DT_CALCRECT);
  EXPECT_EQ(cut.right, mic.right) << "strcnt limits the text";
  auto bold = makeFont(12, 700);
  ASSERT_TRUE(bold);
  LICE_Rect wide{0, 0, 0, 0};
  bold->DrawText(nullptr, "Mic Placement", -1, &wide, LICE_DT_CALCRECT);
  EXPECT_GT(wide.right, one.right) << "bold is wider";
}

TEST(CachedFont, DrawsInsideTheRectangleWithAlignment)
{
  auto font = makeFont(14);
  ASSERT_TRUE(font);
  font->SetTextColor(0xFF000000u);
  LICE_Rect size{0, 0, 0, 0};
  font->DrawText(nullptr, "Output", -1, &size, LICE_DT_CALCRECT);
  const int textW = size.right;

  for (unsigned align : {0u, 1u, 2u})
  {
    GuardedBitmap bm(120, 30);
    bm.fill(0xFFFFFFFFu);
    LICE_Rect r{10, 5, 110, 25};
    font->DrawText(&bm, "Output", -1, &r, align | LICE_DT_NOCLIP);
    ASSERT_TRUE(bm.guardsIntact());
    const Ink ink = inkOf(bm, 0xFFFFFFFFu);
    ASSERT_GT(ink.count, 30) << "align " << align;
    EXPECT_GE(ink.top, 5) << "align " << align;
    EXPECT_LE(ink.bottom, 5 + font->GetLineHeight()) << "align " << align;
    const int expectLeft = align == 0 ? 10 : align == 1 ? 10 + (100 - textW) / 2 : 110 - textW;
    EXPECT_NEAR(ink.left, expectLeft, 2) << "align " << align;
    EXPECT_NEAR(ink.right, expectLeft + textW - 1, 3) << "align " << align;
  }
}

TEST(CachedFont, ClipsUnlessToldNotTo)
{
  auto font = makeFont(14);
  ASSERT_TRUE(font);
  GuardedBitmap bm(60, 20);
  bm.fill(0xFFFFFFFFu);
  LICE_Rect r{-30, -4, 20, 10};
  font->DrawText(&bm, "WWWWWW", -1, &r, 0);
  EXPECT_TRUE(bm.guardsIntact());
  Ink ink = inkOf(bm, 0xFFFFFFFFu);
  EXPECT_GT(ink.count, 0);
  EXPECT_LT(ink.right, 20);
  EXPECT_LT(ink.bottom, 10);
  bm.fill(0xFFFFFFFFu);
  font->DrawText(&bm, "WWWWWWWWWW", -1, &r, LICE_DT_NOCLIP);
  EXPECT_TRUE(bm.guardsIntact());
  ink = inkOf(bm, 0xFFFFFFFFu);
  EXPECT_GE(ink.right, 20) << "no clipping runs past the rectangle";
}

TEST(CachedFont, ColourAlphaAndMonochromeQuality)
{
  auto font = makeFont(12);
  ASSERT_TRUE(font);
  GuardedBitmap bm(80, 20);
  bm.fill(0xFFFFFFFFu);
  LICE_Rect r{0, 0, 80, 20};
  font->SetTextColor(0x00FF0000u);  // transparent red
  font->DrawText(&bm, "Size", -1, &r, LICE_DT_USEFGALPHA);
  EXPECT_EQ(inkOf(bm, 0xFFFFFFFFu).count, 0) << "alpha 0 with the use-alpha flag draws nothing";
  font->DrawText(&bm, "Size", -1, &r, 0);
  EXPECT_GT(inkOf(bm, 0xFFFFFFFFu).count, 10) << "without the flag the colour's alpha is ignored";
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x)
      EXPECT_EQ(LICE_GETR(bm.at(x, y)), 255u) << "red text on white keeps red at 255, " << x << "," << y;

  auto mono = makeFont(12, 400, LICE_FONT_QUALITY_NONANTIALIASED);
  ASSERT_TRUE(mono);
  mono->SetTextColor(0xFF000000u);
  bm.fill(0xFFFFFFFFu);
  mono->DrawText(&bm, "Character", -1, &r, 0);
  int inked = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x)
    {
      const LICE_pixel p = bm.at(x, y);
      EXPECT_TRUE(p == 0xFFFFFFFFu || p == 0xFF000000u) << "one-bit glyphs, " << x << "," << y;
      inked += p == 0xFF000000u;
    }
  EXPECT_GT(inked, 20);
}

}  // namespace
