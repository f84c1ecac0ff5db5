#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <utility>

#include "RasterTestUtil.h"
#include "lice_line.h"

using rastertest::GuardedBitmap;
using rastertest::hex;
using rastertest::lit;
using rastertest::PixelSet;
using rastertest::px;

namespace {

TEST(ClipLine, HandComputedIntersections)
{
  const struct
  {
    int x1, y1, x2, y2, w, h;
    bool ok;
    int cx1, cy1, cx2, cy2;
  } cases[] = {
      {-10, 5, 10, 5, 8, 8, true, 0, 5, 7, 5},
      // (20, 10) leaves bottom and right: bottom first gives (20, 9), then the
      // right edge y = 0 + (int)(9 * 10 / 20) = 4.
      {0, 0, 20, 10, 10, 10, true, 0, 0, 9, 4},
      {3, -6, 3, 20, 5, 5, true, 3, 0, 3, 4},
      {-5, -5, -1, 3, 10, 10, false, 0, 0, 0, 0},
      {12, 0, 15, 9, 10, 10, false, 0, 0, 0, 0},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 10, 10, true, 0, 0, 9, 9},
      {2, 2, 3, 3, 0, 10, false, 0, 0, 0, 0},
  };
  for (const auto& c : cases)
  {
    int x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    EXPECT_EQ(ClipLine(x1, y1, x2, y2, c.w, c.h), c.ok) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    if (!c.ok) continue;
    EXPECT_EQ(x1, c.cx1) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    EXPECT_EQ(y1, c.cy1) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    EXPECT_EQ(x2, c.cx2) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    EXPECT_EQ(y2, c.cy2) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST(Line, HorizontalVerticalAndPoint)
{
  GuardedBitmap bm(8, 6);
  LICE_Line(&bm, 5, 3, 2, 3, 0x80FF0000u, 1.0f, LICE_OP_COPY, false);
  EXPECT_EQ(lit(bm), (PixelSet{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
  EXPECT_EQ(hex(bm.at(4, 3)), "80FF0000") << "the colour's alpha byte is written unchanged";
  bm.fill(0);
  LICE_Line(&bm, 6, 4, 6, 1, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  EXPECT_EQ(lit(bm), (PixelSet{{6, 1}, {6, 2}, {6, 3}, {6, 4}}));
  bm.fill(0);
  LICE_Line(&bm, 1, 2, 1, 2, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  EXPECT_EQ(lit(bm), (PixelSet{{1, 2}}));
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(Line, ExactCopyForms)
{
  const LICE_pixel c = px(200, 101, 40, 0x81), p = px(9, 5, 255, 0xFF);
  const struct
  {
    float alpha;
    LICE_pixel want;
  } cases[] = {
      {0.5f, px(100 + 4, 50 + 2, 20 + 127, 0x40 + 0x7F)},
      {0.25f, px(50 + 2 + 4, 25 + 1 + 2, 10 + 63 + 127, 0x20 + 0x3F + 0x7F)},
      {0.75f, px(100 + 50 + 2, 50 + 25 + 1, 20 + 10 + 63, 0x40 + 0x20 + 0x3F)},
      // Weight 128 off exactly 0.5: (d + s) >> 1 per channel.
      {0.5009f, px(104, 53, 147, 0xC0)},
  };
  for (const auto& k : cases)
    for (bool vertical : {false, true})
    {
      GuardedBitmap bm(4, 4);
      bm.fill(p);
      if (vertical)
        LICE_Line(&bm, 1, 0, 1, 3, c, k.alpha, LICE_OP_COPY, false);
      else
        LICE_Line(&bm, 0, 1, 3, 1, c, k.alpha, LICE_OP_COPY, false);
      EXPECT_EQ(hex(bm.at(1, 1)), hex(k.want)) << "alpha " << k.alpha << (vertical ? " vertical" : " horizontal");
      EXPECT_EQ(hex(bm.at(2, 2)), hex(p)) << "alpha " << k.alpha;
    }
}

TEST(Line, AntialiasedDiagonalQuarters)
{
  GuardedBitmap bm(6, 6);
  LICE_Line(&bm, 1, 1, 4, 4, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
    {
      LICE_pixel want = 0;
      if (x == y && x >= 1 && x <= 4) want = 0xBEBEBEBEu;  // (c >> 1) + (c >> 2)
      for (int k = 1; k <= 3; ++k)
        if ((x == k + 1 && y == k) || (x == k && y == k + 1)) want = 0x3F3F3F3Fu;
      EXPECT_EQ(hex(bm.at(x, y)), hex(want)) << x << "," << y;
    }
  // Other alphas weigh the line by 3/4 and its neighbours by 1/4 with the rule.
  bm.fill(0);
  LICE_Line(&bm, 4, 4, 1, 1, 0xFFFFFFFFu, 0.5f, LICE_OP_ADD, true);
  EXPECT_EQ(hex(bm.at(2, 2)), hex(px(95, 95, 95, 95)));  // 255 * 96 / 256
  EXPECT_EQ(hex(bm.at(2, 3)), hex(px(31, 31, 31, 31)));  // 255 * 32 / 256
  EXPECT_EQ(bm.at(0, 1), 0u);
}

TEST(Line, GeneralLineIsSymmetric)
{
  GuardedBitmap bm(12, 5);
  LICE_Line(&bm, 0, 0, 10, 3, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  const PixelSet want = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 2}, {9, 3}, {10, 3}};
  EXPECT_EQ(lit(bm), want);
  bm.fill(0);
  LICE_Line(&bm, 10, 3, 0, 0, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  EXPECT_EQ(lit(bm), want) << "drawn the other way round";
}

TEST(Line, AntialiasedGeneralWeights)
{
  GuardedBitmap bm(5, 2);
  LICE_Line(&bm, 0, 0, 4, 1, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  // Slope 16384: ends at full weight; then weights 191 and 64; the middle
  // takes 255 - 128 and its neighbour 128, each through the COPY rule.
  const unsigned want[2][5] = {{255, 191, 127, 64, 0}, {0, 64, 128, 191, 255}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(hex(bm.at(x, y)), hex(want[y][x] * 0x01010101u)) << x << "," << y;
}

TEST(Line, ClippedLinesEndOnTheEdge)
{
  GuardedBitmap bm(10, 5);
  LICE_Line(&bm, -5, 2, 20, 2, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  EXPECT_EQ(lit(bm).size(), 10u);
  EXPECT_NE(bm.at(9, 2), 0u);
  bm.fill(0);
  LICE_Line(&bm, -20, -20, -1, 30, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, true);
  EXPECT_TRUE(lit(bm).empty()) << "entirely outside";
  bm.fill(0);
  LICE_Line(&bm, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  // The bottom crossing is taken at y = height and stored on the last row:
  // the clipped line runs (0, 0)-(5, 4).
  EXPECT_EQ(lit(bm), (PixelSet{{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 4}}));
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(Line, FlippedBitmapsUseLogicalRows)
{
  GuardedBitmap bm(6, 4, true);
  LICE_Line(&bm, 0, 0, 5, 0, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
  LICE_Line(&bm, 0, 1, 4, 3, 0xFFFFFFFFu, 0.6f, LICE_OP_ADD, true);
  EXPECT_EQ(bm.at(5, 0), 0xFFFFFFFFu);
  EXPECT_NE(bm.at(4, 3), 0u);
  EXPECT_TRUE(bm.guardsIntact());
}

// Property sweep: unantialiased lines inside the bitmap light M + 1 pixels,
// one per major step, within half a pixel (plus rounding) of the true line,
// and are point-symmetric about their middle except the middle pixel itself.
TEST(Line, RandomLinesAgainstTheIdealLine)
{
  std::mt19937 rng(31);
  for (int i = 0; i < 3000; ++i)
  {
    GuardedBitmap bm(40, 30);
    const int x1 = static_cast<int>(rng() % 40), y1 = static_cast<int>(rng() % 30);
    const int x2 = static_cast<int>(rng() % 40), y2 = static_cast<int>(rng() % 30);
    LICE_Line(&bm, x1, y1, x2, y2, 0xFFFFFFFFu, 1.0f, LICE_OP_COPY, false);
    const PixelSet got = lit(bm);
    const int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1), M = std::max(adx, ady);
    ASSERT_EQ(got.size(), static_cast<size_t>(M + 1)) << "case " << i << ": " << x1 << "," << y1 << " " << x2 << "," << y2;
    for (const auto& [x, y] : got)
    {
      double err;
      if (adx > ady)
        err = std::fabs(y - (y1 + (y2 - y1) * double(x - x1) / (x2 - x1)));
      else if (ady)
        err = std::fabs(x - (x1 + (x2 - x1) * double(y - y1) / (y2 - y1)));
      else
        err = 0;
      ASSERT_LE(err, 0.55) << "case " << i << ": " << x1 << "," << y1 << " " << x2 << "," << y2 << " pixel " << x
                           << "," << y;
      const std::pair<int, int> mirror{x1 + x2 - x, y1 + y2 - y};
      const bool middle = (M % 2 == 0) && (adx > ady ? 2 * x == x1 + x2 : 2 * y == y1 + y2);
      if (!middle)
      {
        ASSERT_TRUE(got.count(mirror)) << "case " << i << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(Line, RandomExtremesStayInside)
{
  std::mt19937 rng(32);
  const int edges[] = {INT_MIN, INT_MIN + 1, -70000, -1, 0, 3, 7, 8, 70000, INT_MAX - 1, INT_MAX};
  for (int i = 0; i < 20000; ++i)
  {
    GuardedBitmap bm(8, 7, rng() & 1);
    const auto pick = [&] { return (rng() % 3 == 0) ? edges[rng() % 11] : static_cast<int>(rng() % 20) - 6; };
    const float alphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.3f, 1e9f, NAN, -1.0f};
    const int x1 = pick(), y1 = pick(), x2 = pick(), y2 = pick();
    LICE_Line(&bm, x1, y1, x2, y2, static_cast<LICE_pixel>(rng()), alphas[rng() % 8], static_cast<int>(rng() % 7),
              rng() & 1);
    ASSERT_TRUE(bm.guardsIntact()) << "case " << i << ": " << x1 << "," << y1 << " " << x2 << "," << y2;
  }
}

}  // namespace
