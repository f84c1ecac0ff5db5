#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "RasterTestUtil.h"
#include "lice_blit.h"

using rastertest::GuardedBitmap;
using rastertest::hex;
using rastertest::px;

namespace {

TEST(FillRect, CopyExactWeights)
{
  const LICE_pixel c = px(200, 100, 40, 0x80), p = px(8, 4, 255, 0xFF);
  const struct
  {
    float alpha;
    LICE_pixel want;
  } cases[] = {
      {1.0f, c},
      // (c >> 2) + (p >> 2) + (p >> 1) per byte.
      {0.25f, px(50 + 2 + 4, 25 + 1 + 2, 10 + 63 + 127, 0x20 + 0x3F + 0x7F)},
      {0.5f, px(100 + 4, 50 + 2, 20 + 127, 0x40 + 0x7F)},
      {0.75f, px(100 + 50 + 2, 50 + 25 + 1, 20 + 10 + 63, 0x40 + 0x20 + 0x3F)},
      // w = 76: s + (d - s) * 180 / 256 with the weight as source alpha, so
      // alpha moves toward 76: 200 - 135, 100 - 67, 40 + 151, 76 + 125.
      {0.3f, px(65, 33, 191, 201)},
  };
  for (const auto& k : cases)
  {
    GuardedBitmap bm(3, 2);
    bm.fill(p);
    LICE_FillRect(&bm, 0, 0, 3, 2, c, k.alpha, LICE_OP_COPY);
    EXPECT_EQ(hex(bm.at(2, 1)), hex(k.want)) << "alpha " << k.alpha;
  }
}

TEST(FillRect, SourceAlphaScalesTheWeight)
{
  GuardedBitmap bm(1, 1);
  bm.fill(px(1, 3, 5, 0xFF));
  // 1.0 * 128 / 255 -> weight 128 -> the exact half form.
  LICE_FillRect(&bm, 0, 0, 1, 1, px(255, 255, 255, 128), 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA);
  EXPECT_EQ(hex(bm.at(0, 0)), hex(px(127 + 0, 127 + 1, 127 + 2, 0x40 + 0x7F)));
  bm.fill(px(1, 3, 5, 0xFF));
  LICE_FillRect(&bm, 0, 0, 1, 1, px(255, 255, 255, 0), 1.0f, LICE_OP_ADD | LICE_MODE_SRC_ALPHA);
  EXPECT_EQ(hex(bm.at(0, 0)), hex(px(1, 3, 5, 0xFF))) << "a transparent colour adds nothing";
}

TEST(FillRect, OtherOperationsUseTheWeightAsSourceAlpha)
{
  GuardedBitmap bm(1, 1);
  bm.fill(px(10, 20, 30, 40));
  LICE_FillRect(&bm, 0, 0, 1, 1, px(100, 100, 100, 0), 0.5f, LICE_OP_ADD);
  // d + 100 * 128 / 256 on colours; alpha 40 + 128 * 128 / 256.
  EXPECT_EQ(hex(bm.at(0, 0)), hex(px(60, 70, 80, 104)));
  LICE_FillRect(&bm, 0, 0, 1, 1, px(100, 100, 100, 0), 0.5f, 9);
  EXPECT_EQ(hex(bm.at(0, 0)), hex(px(60, 70, 80, 104))) << "unknown operation";
}

TEST(FillRect, ClipsEveryEdgeAndExtremes)
{
  const struct
  {
    int x, y, w, h;
    int x0, y0, x1, y1;  // expected filled area
  } cases[] = {
      {-2, -3, 5, 6, 0, 0, 3, 3},      {4, 5, 10, 10, 4, 5, 6, 7},    {6, 0, 3, 3, 0, 0, 0, 0},
      {0, 7, 3, 3, 0, 0, 0, 0},        {1, 1, 0, 3, 0, 0, 0, 0},      {1, 1, -4, 3, 0, 0, 0, 0},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 0, 0},                {INT_MAX, 0, INT_MAX, 5, 0, 0, 0, 0},
      {-5, -5, INT_MAX, INT_MAX, 0, 0, 6, 7},                          {INT_MIN + 3, 2, INT_MAX, 1, 0, 2, 2, 3},
  };
  for (const auto& c : cases)
    for (int mode : {LICE_OP_COPY, LICE_OP_MUL})
    {
      GuardedBitmap bm(6, 7, mode != 0);
      bm.fill(0xFFFFFFFFu);
      LICE_FillRect(&bm, c.x, c.y, c.w, c.h, 0, 1.0f, mode);
      ASSERT_TRUE(bm.guardsIntact()) << c.x << "," << c.y << " " << c.w << "x" << c.h;
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 6; ++x)
        {
          const bool in = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
          // MUL by black keeps alpha: the weight 256 stands in for the source alpha.
          const LICE_pixel filled = mode == 0 ? 0u : 0xFF000000u;
          ASSERT_EQ(bm.at(x, y), in ? filled : 0xFFFFFFFFu)
              << c.x << "," << c.y << " " << c.w << "x" << c.h << " mode " << mode << " at " << x << "," << y;
        }
    }
}

TEST(FillRect, BadAlphasDrawNothing)
{
  GuardedBitmap bm(2, 2);
  for (float a : {0.0f, -1.0f, NAN, -INFINITY, 0.001f})
    for (int mode : {0, 1, 2, 3, 4, 5})
    {
      LICE_FillRect(&bm, 0, 0, 2, 2, 0xFFFFFFFFu, a, mode);
      ASSERT_EQ(bm.at(1, 1), 0u) << "alpha " << a << " mode " << mode;
    }
  LICE_FillRect(&bm, 0, 0, 2, 2, 0xFF102030u, INFINITY, LICE_OP_COPY);
  EXPECT_EQ(hex(bm.at(1, 1)), "FF102030") << "infinite alpha is full weight";
}

TEST(ClearRect, MasksAndOrs)
{
  GuardedBitmap bm(4, 3);
  bm.fill(0x80112233u);
  LICE_ClearRect(&bm, -1, 1, 3, 5, 0x00FFFFFFu, 0);
  ASSERT_TRUE(bm.guardsIntact());
  EXPECT_EQ(hex(bm.at(0, 0)), "80112233");
  EXPECT_EQ(hex(bm.at(1, 2)), "00112233");
  EXPECT_EQ(hex(bm.at(2, 2)), "80112233");
  LICE_ClearRect(&bm, 0, 0, INT_MAX, INT_MAX, 0xFF0000FFu, 0x0000AA00u);
  EXPECT_EQ(hex(bm.at(3, 0)), "8000AA33");
  LICE_Clear(&bm, 0x12345678u);
  ASSERT_TRUE(bm.guardsIntact());
  EXPECT_EQ(hex(bm.at(3, 2)), "12345678");
}

TEST(Pixel, GetOutsideIsZero)
{
  GuardedBitmap bm(3, 2);
  bm.fill(0xFFFFFFFFu);
  EXPECT_EQ(LICE_GetPixel(&bm, -1, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 2), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, INT_MIN, INT_MAX), 0u);
  EXPECT_EQ(LICE_GetPixel(nullptr, 0, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 1), 0xFFFFFFFFu);
}

TEST(Pixel, PutUsesExactFormsAndTheColoursAlpha)
{
  const LICE_pixel c = px(200, 100, 40, 0x80), p = px(8, 4, 255, 0xFF);
  const struct
  {
    float alpha;
    int mode;
    LICE_pixel want;
  } cases[] = {
      {1.0f, 0, c},
      {0.25f, 0, px(56, 28, 200, 0xDE)},
      {0.5f, 0, px(104, 52, 147, 0xBF)},
      {0.75f, 0, px(152, 76, 93, 0x9F)},
      // w = 76, s + (d - s) * 180 / 256 with the colour's own alpha as the
      // source alpha: 200 - 135, 100 - 67, 40 + 151, 128 + 89.
      {0.3f, 0, px(65, 33, 191, 217)},
      {1.0f, LICE_MODE_SRC_ALPHA, c},  // the flag is not consulted
      {1.0f, LICE_OP_ADD, px(208, 104, 255, 0xFF)},
  };
  for (const auto& k : cases)
  {
    GuardedBitmap bm(2, 2);
    bm.fill(p);
    LICE_PutPixel(&bm, 1, 1, c, k.alpha, k.mode);
    EXPECT_EQ(hex(bm.at(1, 1)), hex(k.want)) << "alpha " << k.alpha << " mode " << k.mode;
    EXPECT_EQ(hex(bm.at(0, 1)), hex(p)) << "neighbour, alpha " << k.alpha;
  }
  GuardedBitmap bm(2, 2);
  for (int x : {-1, 2, INT_MIN, INT_MAX}) LICE_PutPixel(&bm, x, 0, c, 1.0f, 0);
  EXPECT_TRUE(bm.guardsIntact());
}

}  // namespace
