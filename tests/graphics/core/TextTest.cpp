#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "FontStorage.h"
#include "LICE_CachedFont.h"
#include "lice_blit.h"

namespace
{
// The extent the font itself reports for a text.
void Extent(LICE_CachedFont* font, const char* text, int* w, int* h)
{
  LICE_Rect r = {0, 0, 0, 0};
  font->DrawText(nullptr, text, -1, &r, LICE_DT_NOCLIP | LICE_DT_CALCRECT);
  *w = r.right - r.left;
  *h = r.bottom - r.top;
}
} // namespace

TEST(TextMeasuring, EachAlignmentPlacesTheExtentInTheRectangle)
{
  EditorRig rig;
  rig.Attach();
  char text[] = "Cabinet 42";
  IText style(14, &COLOR_WHITE, "DejaVu Sans", IText::kStyleNormal, IText::kAlignNear);
  LICE_CachedFont* font = rig.graphics->CacheFont(&style);
  ASSERT_NE(font, nullptr) << "a font is found";
  int w = 0, h = 0;
  Extent(font, text, &w, &h);
  ASSERT_GT(w, 20);
  ASSERT_GT(h, 5);

  LICE_Clear(rig.graphics->GetDrawBitmap(), 0);
  IRECT r(10, 10, 100, 30);
  EXPECT_TRUE(rig.graphics->MeasureIText(&style, text, &r));
  EXPECT_EQ(r, IRECT(10, 10, 10 + w, 10 + h)) << "near";
  style.mAlign = IText::kAlignCenter;
  r = IRECT(10, 10, 100, 30);
  rig.graphics->MeasureIText(&style, text, &r);
  EXPECT_EQ(r, IRECT(55 - w / 2, 10, 55 - w / 2 + w, 10 + h)) << "centre";
  style.mAlign = IText::kAlignFar;
  r = IRECT(10, 10, 100, 30);
  rig.graphics->MeasureIText(&style, text, &r);
  EXPECT_EQ(r, IRECT(100 - w, 10, 100, 10 + h)) << "far";
  EXPECT_EQ(rig.graphics->GetDrawBitmap()->getBits()[0], 0u) << "measuring draws nothing";
}

TEST(TextDrawing, DrawsInTheTextColourAndCachesOneFontPerKey)
{
  EditorRig rig(120, 40);
  rig.Attach();
  LICE_IBitmap* screen = rig.graphics->GetDrawBitmap();
  LICE_Clear(screen, 0xFF000000u);
  const IColor red(255, 255, 0, 0);
  IText style(16, &red, "DejaVu Sans", IText::kStyleBold, IText::kAlignNear);
  char text[] = "MMMM";
  IRECT r(4, 4, 116, 36);
  EXPECT_TRUE(rig.graphics->DrawIText(&style, text, &r));
  int lit = 0, foreign = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
    {
      const LICE_pixel p = LICE_GetPixel(screen, x, y);
      if (LICE_GETR(p) > 128) ++lit;
      if (LICE_GETG(p) || LICE_GETB(p)) ++foreign;
      if (LICE_GETR(p) && !r.Contains(x, y)) ADD_FAILURE() << "ink outside the rectangle at " << x << "," << y;
    }
  EXPECT_GT(lit, 60) << "four bold capitals leave ink";
  EXPECT_EQ(foreign, 0) << "only the text colour is drawn";

  const int fonts = s_fontCache.Count();
  IText sameKey(16, &COLOR_BLUE, "DejaVu Sans", IText::kStyleBold, IText::kAlignFar);
  EXPECT_EQ(rig.graphics->CacheFont(&sameKey), style.mCached) << "colour and alignment are not part of the key";
  IText otherSize(17, &red, "DejaVu Sans", IText::kStyleBold);
  EXPECT_NE(rig.graphics->CacheFont(&otherSize), style.mCached);
  EXPECT_EQ(s_fontCache.Count(), fonts + 1);

  LICE_Clear(screen, 0xFF000000u);
  char empty[] = "";
  EXPECT_TRUE(rig.graphics->DrawIText(&style, empty, &r));
  EXPECT_TRUE(rig.graphics->DrawIText(&style, nullptr, &r));
  EXPECT_EQ(LICE_GetPixel(screen, 10, 10), 0xFF000000u) << "no text draws nothing";
}

TEST(TextDrawing, TheFontMeetsTheRequestedLineHeight)
{
  EditorRig rig;
  rig.Attach();
  for (int size : {9, 12, 20, 31})
  {
    IText style(size, &COLOR_BLACK, "DejaVu Sans");
    LICE_CachedFont* font = rig.graphics->CacheFont(&style);
    ASSERT_NE(font, nullptr) << size;
    EXPECT_NEAR(font->GetLineHeight(), size, 1) << "size " << size;
  }
}
