#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CoreTestSupport.h"
#include "LICE_MemBitmap.h"
#include "lice_blit.h"

namespace
{
struct Canvas : EditorRig
{
  Canvas() : EditorRig(64, 64)
  {
    Attach();
    screen = graphics->GetDrawBitmap();
    LICE_Clear(screen, 0xFF000000u);
  }
  bool Lit(int x, int y) { return LICE_GETR(LICE_GetPixel(screen, x, y)) > 100; }
  LICE_IBitmap* screen;
};
const IColor kRed(255, 255, 0, 0);
} // namespace

TEST(DrawingOps, PixelsPointsAndReadingBack)
{
  Canvas c;
  EXPECT_TRUE(c.graphics->ForcePixel(&kRed, 3, 4));
  EXPECT_EQ(c.graphics->GetPoint(3, 4), kRed);
  EXPECT_TRUE(c.graphics->ForcePixel(&kRed, -1, 4)) << "outside the bitmap: nothing written, no fault";
  EXPECT_TRUE(c.graphics->ForcePixel(&kRed, 64, 63));
  EXPECT_TRUE(c.graphics->ForcePixel(&kRed, 0, 1 << 20));
  EXPECT_FALSE(c.Lit(0, 5)) << "x = 64 did not wrap to the next row";
  c.graphics->DrawPoint(&kRed, 9.6f, 10.4f);
  EXPECT_TRUE(c.Lit(10, 10)) << "points round to the nearest pixel";
  EXPECT_EQ(c.graphics->GetPoint(100, 100), COLOR_TRANSPARENT) << "outside reads as nothing";
  EXPECT_EQ(static_cast<LICE_pixel*>(c.graphics->GetBits())[4 * c.screen->getRowSpan() + 3], kRed.Packed());
}

TEST(DrawingOps, RectangleOutlinesIncludeTheRightAndBottomEdges)
{
  Canvas c;
  IRECT r(10, 10, 20, 30);
  c.graphics->DrawRect(&kRed, &r);
  EXPECT_TRUE(c.Lit(10, 10));
  EXPECT_TRUE(c.Lit(20, 30)) << "(R, B) is drawn";
  EXPECT_TRUE(c.Lit(15, 30));
  EXPECT_TRUE(c.Lit(20, 15));
  EXPECT_FALSE(c.Lit(15, 15)) << "an outline, not a fill";
  IRECT area(0, 40, 40, 60);
  c.graphics->DrawVerticalLine(&kRed, &area, 0.5f);
  EXPECT_TRUE(c.Lit(20, 50));
  EXPECT_FALSE(c.Lit(19, 50));
  c.graphics->DrawHorizontalLine(&kRed, &area, 0.25f);
  EXPECT_TRUE(c.Lit(5, 55)) << "y = B - (int)(H x 0.25)";
  c.graphics->DrawVerticalLine(&kRed, &area, 7.0f);
  EXPECT_TRUE(c.Lit(40, 45)) << "fractions are limited to 0..1";
}

TEST(DrawingOps, RadialLinesPointUpAtZeroAndTurnClockwise)
{
  Canvas c;
  c.graphics->DrawRadialLine(&kRed, 32.0f, 32.0f, 0.0f, 5.0f, 20.0f);
  EXPECT_TRUE(c.Lit(32, 20));
  EXPECT_FALSE(c.Lit(32, 44));
  EXPECT_FALSE(c.Lit(32, 30)) << "nothing inside the inner radius";
  c.graphics->DrawRadialLine(&kRed, 32.0f, 32.0f, static_cast<float>(M_PI / 2), 5.0f, 20.0f);
  EXPECT_TRUE(c.Lit(45, 32)) << "a quarter turn points right";
  EXPECT_FALSE(c.Lit(19, 32));
}

TEST(DrawingOps, FilledShapesAndBlends)
{
  Canvas c;
  IRECT r(10, 10, 40, 30);
  c.graphics->FillRoundRect(&kRed, &r, nullptr, 6, false);
  EXPECT_FALSE(c.Lit(10, 10)) << "the corner is rounded off";
  EXPECT_TRUE(c.Lit(16, 10)) << "the top edge starts after the radius";
  EXPECT_TRUE(c.Lit(25, 20));
  EXPECT_TRUE(c.Lit(39, 20)) << "the right edge reaches R - 1";
  EXPECT_FALSE(c.Lit(40, 20));
  EXPECT_FALSE(c.Lit(39, 29)) << "the bottom right corner is rounded too";

  IRECT sq(0, 40, 10, 50);
  const IChannelBlend half(IChannelBlend::kBlendClobber, 0.5f);
  c.graphics->FillIRect(&COLOR_WHITE, &sq, &half);
  const IColor mixed = c.graphics->GetPoint(5, 45);
  EXPECT_NEAR(mixed.R, 128, 2) << "opaque copy at half weight";
  const IChannelBlend add(IChannelBlend::kBlendAdd, 1.0f);
  c.graphics->FillIRect(&COLOR_WHITE, &sq, &add);
  EXPECT_EQ(c.graphics->GetPoint(5, 45).R, 255) << "adding white saturates";

  c.graphics->FillCircle(&kRed, 50, 50, 5.0f);
  EXPECT_TRUE(c.Lit(50, 50));
  EXPECT_TRUE(c.Lit(55, 50));
  EXPECT_FALSE(c.Lit(55, 55));
  c.graphics->FillTriangle(&kRed, 50, 2, 60, 2, 50, 12);
  EXPECT_TRUE(c.Lit(52, 4));
  EXPECT_FALSE(c.Lit(59, 11));
}

TEST(DrawingOps, ARotatedBitmapTurnsAboutItsCentre)
{
  Canvas c;
  auto bmp = std::make_unique<LICE_MemBitmap>(20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) bmp->getBits()[y * bmp->getRowSpan() + x] = y < 10 ? 0xFFFF0000u : 0xFF0000FFu;
  IBitmap image(bmp.get(), 20, 20);
  c.graphics->DrawRotatedBitmap(&image, 32, 32, 0.0);
  EXPECT_TRUE(c.Lit(32, 25)) << "unturned: red on top";
  EXPECT_FALSE(c.Lit(32, 39));
  LICE_Clear(c.screen, 0xFF000000u);
  c.graphics->DrawRotatedBitmap(&image, 32, 32, M_PI);
  EXPECT_FALSE(c.Lit(32, 25)) << "half a turn: red below";
  EXPECT_TRUE(c.Lit(32, 39));
  EXPECT_FALSE(c.Lit(32, 50)) << "the image stays about its centre";
}
