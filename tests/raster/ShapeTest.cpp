#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <utility>

#include "RasterTestUtil.h"
#include "lice_shapes.h"

using rastertest::GuardedBitmap;
using rastertest::hex;
using rastertest::lit;
using rastertest::PixelSet;

namespace {

PixelSet disc(int cx, int cy, double r)
{
  PixelSet out;
  for (int y = cy - 20; y <= cy + 20; ++y)
    for (int x = cx - 20; x <= cx + 20; ++x)
      if (std::hypot(x - cx, y - cy) <= r) out.insert({x, y});
  return out;
}

TEST(FillCircle, PlainDiscHoldsPixelCentresWithinTheRadius)
{
  GuardedBitmap bm(11, 11);
  LICE_FillCircle(&bm, 5, 5, 2, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  EXPECT_EQ(lit(bm).size(), 13u);
  EXPECT_EQ(lit(bm), disc(5, 5, 2));
  bm.fill(0);
  LICE_FillCircle(&bm, 5, 5, 4.5f, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  EXPECT_EQ(lit(bm), disc(5, 5, 4.5));
}

TEST(FillCircle, AntialiasedEdgeWeights)
{
  GuardedBitmap bm(21, 21);
  LICE_FillCircle(&bm, 10, 10, 6, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  EXPECT_EQ(bm.at(10, 10), 0xFFFFFFFFu);
  EXPECT_EQ(bm.at(15, 10), 0xFFFFFFFFu) << "d = 5 is fully inside r - 0.5";
  // d = 6: coverage 0.5, weight 128: 255 + (0 - 255) * 128 / 256 = 128.
  EXPECT_EQ(hex(bm.at(16, 10)), "80808080");
  EXPECT_EQ(bm.at(17, 10), 0u);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x)
    {
      EXPECT_EQ(bm.at(x, y), bm.at(20 - x, y)) << x << "," << y;
      EXPECT_EQ(bm.at(x, y), bm.at(y, x)) << x << "," << y;
      if (std::hypot(x - 10, y - 10) >= 6.5)
      {
        EXPECT_EQ(bm.at(x, y), 0u) << x << "," << y;
      }
    }
}

TEST(Circle, RingPixelsLieOnTheCircle)
{
  for (bool aa : {false, true})
  {
    GuardedBitmap bm(31, 31);
    LICE_Circle(&bm, 15, 15, 10, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, aa);
    int count = 0;
    for (int y = 0; y < 31; ++y)
      for (int x = 0; x < 31; ++x)
      {
        const double off = std::fabs(std::hypot(x - 15, y - 15) - 10);
        if (bm.at(x, y)) ++count;
        if (off >= (aa ? 1.0 : 0.5))
        {
          EXPECT_EQ(bm.at(x, y), 0u) << "aa " << aa << " at " << x << "," << y;
        }
        if (off < 0.25)
        {
          EXPECT_NE(bm.at(x, y), 0u) << "aa " << aa << " at " << x << "," << y;
        }
        EXPECT_EQ(bm.at(x, y), bm.at(30 - x, y)) << "aa " << aa << " at " << x << "," << y;
        EXPECT_EQ(bm.at(x, y), bm.at(y, x)) << "aa " << aa << " at " << x << "," << y;
      }
    EXPECT_GT(count, 40) << "aa " << aa;
    // A closed curve: every ring pixel has at least two ring neighbours.
    for (const auto& [x, y] : lit(bm))
    {
      int neighbours = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if ((dx || dy) && bm.at(x + dx, y + dy)) ++neighbours;
      EXPECT_GE(neighbours, 2) << "aa " << aa << " at " << x << "," << y;
    }
  }
}

TEST(Arc, OnlyTheRequestedQuarter)
{
  GuardedBitmap bm(31, 31);
  // From up (0) to right (pi / 2), clockwise.
  LICE_Arc(&bm, 15, 15, 10, 0.0f, static_cast<float>(M_PI / 2), 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  int count = 0;
  for (const auto& [x, y] : lit(bm))
  {
    ++count;
    EXPECT_GE(x, 15) << x << "," << y;
    EXPECT_LE(y, 15) << x << "," << y;
  }
  EXPECT_GT(count, 14);
  EXPECT_NE(bm.at(15, 5), 0u) << "top of the circle";
  EXPECT_NE(bm.at(25, 15), 0u) << "right of the circle";
}

TEST(RoundRect, OutlineTouchesEachPixelOnce)
{
  for (bool aa : {false, true})
    for (int radius : {0, 1, 3, 50})
    {
      GuardedBitmap bm(20, 16);
      // ADD at a quarter: a pixel plotted twice would show twice the value.
      LICE_RoundRect(&bm, 2, 3, 14, 10, radius, 0xFFFFFFFFu, 0.25f, LICE_OP_ADD, aa);
      EXPECT_TRUE(bm.guardsIntact());
      for (const auto& [x, y] : lit(bm))
      {
        EXPECT_LE(bm.at(x, y), 0x3F3F3F3Fu) << "aa " << aa << " radius " << radius << " at " << x << "," << y;
        EXPECT_TRUE(x >= 2 && x <= 15 && y >= 3 && y <= 12) << "radius " << radius << " at " << x << "," << y;
      }
      const int r = std::min(radius, 4);
      EXPECT_EQ(bm.at(2 + 7, 3), 0x3F3F3F3Fu) << "top edge, radius " << radius;
      EXPECT_EQ(bm.at(15, 3 + 5), 0x3F3F3F3Fu) << "right edge, radius " << radius;
      if (r == 0)
      {
        EXPECT_EQ(lit(bm).size(), 2u * 14 + 2u * 8) << "aa " << aa;
        EXPECT_EQ(bm.at(2, 3), 0x3F3F3F3Fu);
      }
      else if (!aa && r >= 2)
      {
        EXPECT_EQ(bm.at(2, 3), 0u) << "rounded corner, radius " << radius;
      }
    }
}

TEST(FillPolygon, PixelCentresInsideOrOnTheEdge)
{
  GuardedBitmap bm(8, 8);
  LICE_FillTriangle(&bm, 0, 0, 4, 0, 0, 4, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY);
  PixelSet want;
  for (int y = 0; y <= 4; ++y)
    for (int x = 0; x + y <= 4; ++x) want.insert({x, y});
  EXPECT_EQ(lit(bm), want);

  bm.fill(0);
  const int xs[] = {1, 3, 3, 1}, ys[] = {1, 1, 3, 3};
  LICE_FillConvexPolygon(&bm, xs, ys, 4, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY);
  EXPECT_EQ(lit(bm).size(), 9u);
  EXPECT_NE(bm.at(3, 3), 0u);

  bm.fill(0);
  LICE_FillTriangle(&bm, -100, -50, 100, 4, -100, 60, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY);
  EXPECT_TRUE(bm.guardsIntact());
  EXPECT_NE(bm.at(0, 4), 0u);
}

TEST(Shapes, HonourOperationWeightAndSourceAlpha)
{
  GuardedBitmap bm(9, 9);
  LICE_FillCircle(&bm, 4, 4, 3, 0xFFFFFFFFu, 0.5f, LICE_OP_ADD, false);
  EXPECT_EQ(hex(bm.at(4, 4)), "7F7F7F7F");  // 255 * 128 / 256
  bm.fill(0x11111111u);
  LICE_FillCircle(&bm, 4, 4, 3, 0x00FFFFFFu, 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA, true);
  LICE_Circle(&bm, 4, 4, 3, 0x00FFFFFFu, 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA, true);
  const int xs[] = {0, 8, 4};
  const int ys[] = {0, 0, 8};
  LICE_FillConvexPolygon(&bm, xs, ys, 3, 0x00FFFFFFu, 1.0f, LICE_MODE_SRC_ALPHA);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(bm.at(x, y), 0x11111111u) << "transparent colour, " << x << "," << y;
  for (float bad : {NAN, -1.0f, 0.0f})
  {
    LICE_FillCircle(&bm, 4, 4, 3, 0xFFFFFFFFu, bad, LICE_OP_COPY, true);
    LICE_FillCircle(&bm, bad, 4, 3, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
    LICE_Arc(&bm, 4, 4, 3, bad, 1.0f, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
    LICE_RoundRect(&bm, 1, 1, bad, 5, 2, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  }
  EXPECT_EQ(bm.at(4, 4), 0x11111111u);
}

TEST(Shapes, RandomExtremesStayInside)
{
  std::mt19937 rng(55);
  const float edges[] = {-1e30f, -1e9f, -70000.0f, -3.0f, 0.0f, 2.5f, 6.0f, 70000.0f, 1e9f, 1e30f, INFINITY, NAN};
  const int iedges[] = {INT_MIN, INT_MIN + 1, -70000, -1, 0, 3, 7, 70000, INT_MAX - 1, INT_MAX};
  for (int i = 0; i < 4000; ++i)
  {
    GuardedBitmap bm(9, 7, rng() & 1);
    const auto f = [&] { return (rng() % 3 == 0) ? edges[rng() % 12] : static_cast<float>(rng() % 200) / 10.0f - 5; };
    const auto n = [&] { return (rng() % 3 == 0) ? iedges[rng() % 10] : static_cast<int>(rng() % 20) - 5; };
    const int mode = static_cast<int>(rng() % 6) | ((rng() & 1) ? LICE_MODE_SRC_ALPHA : 0);
    const LICE_pixel c = static_cast<LICE_pixel>(rng());
    const bool aa = rng() & 1;
    switch (rng() % 6)
    {
      case 0: LICE_Circle(&bm, f(), f(), f(), c, 0.8f, mode, aa); break;
      case 1: LICE_FillCircle(&bm, f(), f(), f(), c, 0.8f, mode, aa); break;
      case 2: LICE_Arc(&bm, f(), f(), f(), f(), f(), c, 0.8f, mode, aa); break;
      case 3: LICE_RoundRect(&bm, f(), f(), f(), f(), n(), c, 0.8f, mode, aa); break;
      case 4: LICE_FillTriangle(&bm, n(), n(), n(), n(), n(), n(), c, 0.8f, mode); break;
      default:
      {
        const int xs[] = {n(), n(), n(), n(), n()}, ys[] = {n(), n(), n(), n(), n()};
        LICE_FillConvexPolygon(&bm, xs, ys, static_cast<int>(rng() % 6), c, 0.8f, mode);
      }
    }
    ASSERT_TRUE(bm.guardsIntact()) << "case " << i;
  }
}

}  // namespace
