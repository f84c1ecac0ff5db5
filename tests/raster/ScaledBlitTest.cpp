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

constexpr int kFilter = LICE_MODE_FILTER_BILINEAR;

TEST(ScaledBlit, SameSizeIsAPlainBlit)
{
  std::mt19937 rng(1);
  const struct
  {
    float sx, sy;
    int mode;
  } cases[] = {{2, 1, 0},       {0, 0, kFilter}, {-1, 2, 0}, {1.02f, 0.98f, kFilter}, {1.3f, 2, 0}, {3, 2, 1},
               {0.5f, 1, 0x300}}; // only exactly 0x100 in the filter byte filters
  for (const auto& c : cases)
  {
    GuardedBitmap src(9, 7), a(8, 8), b(8, 8);
    src.randomize(rng);
    LICE_ScaledBlit(&a, &src, 1, 1, 5, 4, c.sx, c.sy, 5, 4, 1.0f, c.mode);
    LICE_Blit(&b, &src, 1, 1, static_cast<int>(std::floor(c.sx + 0.5f)), static_cast<int>(std::floor(c.sy + 0.5f)),
              5, 4, 1.0f, c.mode);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(hex(a.at(x, y)), hex(b.at(x, y))) << "src " << c.sx << "," << c.sy << " at " << x << "," << y;
  }
}

// The average of the (2k+1)^2 square around (cx, cy) inside the bitmap.
LICE_pixel boxAverage(GuardedBitmap& s, int cx, int cy, int k)
{
  unsigned sum[4] = {}, n = 0;
  for (int y = cy - k; y <= cy + k; ++y)
    for (int x = cx - k; x <= cx + k; ++x)
    {
      if (x < 0 || y < 0 || x >= s.getWidth() || y >= s.getHeight()) continue;
      for (int c = 0; c < 4; ++c) sum[c] += (s.at(x, y) >> (8 * c)) & 255;
      ++n;
    }
  LICE_pixel out = 0;
  for (int c = 0; c < 4; ++c) out |= (sum[c] / n) << (8 * c);
  return out;
}

TEST(ScaledBlit, FilteredReductionAveragesSquares)
{
  std::mt19937 rng(2);
  const struct
  {
    int srcSize, dstSize, kernel;
  } cases[] = {{16, 8, 1}, {12, 4, 1}, {16, 4, 2}, {20, 4, 2}};
  for (const auto& c : cases)
  {
    GuardedBitmap src(c.srcSize, c.srcSize), dst(c.dstSize, c.dstSize);
    src.randomize(rng);
    LICE_ScaledBlit(&dst, &src, 0, 0, c.dstSize, c.dstSize, 0, 0, static_cast<float>(c.srcSize),
                    static_cast<float>(c.srcSize), 1.0f, kFilter);
    const int step = c.srcSize / c.dstSize;
    for (int y = 0; y < c.dstSize; ++y)
      for (int x = 0; x < c.dstSize; ++x)
        ASSERT_EQ(hex(dst.at(x, y)), hex(boxAverage(src, x * step, y * step, c.kernel)))
            << c.srcSize << "->" << c.dstSize << " at " << x << "," << y;
  }
}

// A source rectangle starting left of (above) 0: the box window starts at the
// first position really sampled, so it never reaches the pixels before it.
TEST(ScaledBlit, BoxWindowStartsAtTheFirstSampledPosition)
{
  const struct
  {
    const char* name;
    int srcW, srcH, dx, dy, dw, dh;
    float sx, sy, sw, sh;
    int probeX, probeY, wantX, wantY;  // the destination pixel and the one source pixel it shows
    int skippedX, skippedY;            // the destination pixel whose sample is negative
  } cases[] = {
    {"columns", 3, 2, 0, 2, 2, 1, -0.5f, 1, 6, 3, 1, 2, 2, 1, 0, 2},
    {"rows", 2, 3, 2, 0, 1, 2, 1, -0.5f, 3, 6, 2, 1, 1, 2, 2, 0},
  };
  for (const auto& c : cases)
  {
    GuardedBitmap src(c.srcW, c.srcH), dst(4, 4);
    for (int y = 0; y < c.srcH; ++y)
      for (int x = 0; x < c.srcW; ++x) src.at(x, y) = px(40 * x + 7 * y, 10 * y + 3, 60 * x, 255);
    const LICE_pixel background = px(1, 2, 3, 4);
    dst.fill(background);
    LICE_ScaledBlit(&dst, &src, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, 1.0f, kFilter);
    EXPECT_EQ(hex(dst.at(c.probeX, c.probeY)), hex(src.at(c.wantX, c.wantY)))
        << c.name << ": the window holds only source pixel " << c.wantX << "," << c.wantY;
    for (int y = 0; y < 4; ++y)
    {
      for (int x = 0; x < 4; ++x)
      {
        if (x == c.probeX && y == c.probeY) continue;
        EXPECT_EQ(hex(dst.at(x, y)), hex(background)) << c.name << ": pixel " << x << "," << y
                                                      << (x == c.skippedX && y == c.skippedY ? " (negative sample)" : "");
      }
    }
  }
}

TEST(ScaledBlit, BilinearFractions)
{
  GuardedBitmap src(2, 2), dst(1, 1);
  src.at(0, 0) = px(0, 0, 0, 255);
  src.at(1, 0) = px(100, 0, 0, 255);
  src.at(0, 1) = px(200, 0, 0, 255);
  src.at(1, 1) = px(40, 0, 0, 255);
  const struct
  {
    float sx, sy;
    unsigned red;
  } cases[] = {
      // w11 = 8192, w01 = 8192, w10 = 24576, w00 = 24576: 6062080 >> 16 = 92.
      {0.25f, 0.5f, 92},
      // fx = fy = 65535: the product passes 2^31; w11 = 65534, w01 = w10 = 1: 40.
      {65535.0f / 65536.0f, 65535.0f / 65536.0f, 40},
      {0.5f, 0.0f, 50},
      {0.0f, 0.5f, 100},
  };
  for (const auto& c : cases)
  {
    dst.fill(0);
    // A source size of 1.5 keeps the same-size shortcut out of the way.
    LICE_ScaledBlit(&dst, &src, 0, 0, 1, 1, c.sx, c.sy, 1.5f, 1.5f, 1.0f, kFilter);
    EXPECT_EQ(LICE_GETR(dst.at(0, 0)), c.red) << "sample at " << c.sx << "," << c.sy;
    EXPECT_EQ(LICE_GETA(dst.at(0, 0)), 255u) << "sample at " << c.sx << "," << c.sy;
  }
}

TEST(ScaledBlit, BilinearFallsBackAtTheWindowEdge)
{
  GuardedBitmap src(2, 1), dst(4, 1);
  src.at(0, 0) = px(0, 0, 0, 255);
  src.at(1, 0) = px(200, 0, 0, 255);
  LICE_ScaledBlit(&dst, &src, 0, 0, 4, 1, 0, 0, 2, 1, 1.0f, kFilter);
  const unsigned want[] = {0, 100, 200, 200};  // positions 0, 0.5, 1, 1.5
  for (int x = 0; x < 4; ++x) EXPECT_EQ(LICE_GETR(dst.at(x, 0)), want[x]) << "x " << x;
}

TEST(ScaledBlit, NearestUpscaleAndHalfWeight)
{
  GuardedBitmap src(3, 1), dst(6, 1);
  for (int x = 0; x < 3; ++x) src.at(x, 0) = px(10 * (x + 1), 0, 0, 255);
  LICE_ScaledBlit(&dst, &src, 0, 0, 6, 1, 0, 0, 3, 1, 1.0f, 0);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(LICE_GETR(dst.at(x, 0)), 10u * (x / 2 + 1)) << "x " << x;
  dst.fill(px(1, 1, 1, 1));
  src.fill(px(1, 1, 1, 1));
  LICE_ScaledBlit(&dst, &src, 0, 0, 6, 1, 0, 0, 3, 1, 0.5f, 0);
  EXPECT_EQ(hex(dst.at(0, 0)), "00000000") << "weight 128 takes the 32-bit half mix";
}

TEST(ScaledBlit, MirroringReadsOnlyTheSource)
{
  GuardedBitmap src(4, 1), dst(4, 1);
  for (int x = 0; x < 4; ++x) src.at(x, 0) = px(x + 1, 0, 0, 255);
  dst.fill(0x99999999u);
  LICE_ScaledBlit(&dst, &src, 4, 0, -4, 1, 0, 0, 4, 1, 1.0f, 0);
  // Positions run 4, 3, 2, 1: the first lies on the window's right edge and
  // leaves its pixel alone.
  EXPECT_EQ(hex(dst.at(0, 0)), "99999999");
  for (int x = 1; x < 4; ++x) EXPECT_EQ(LICE_GETR(dst.at(x, 0)), static_cast<unsigned>(5 - x)) << "x " << x;
}

// A zero source inside canaries: any destination pixel that is not zero
// afterwards was computed from memory outside the source.
TEST(ScaledBlit, RandomGeometryNeverReadsOrWritesOutside)
{
  std::mt19937 rng(77);
  std::uniform_real_distribution<float> pos(-12.0f, 20.0f), size(-20.0f, 20.0f);
  for (int i = 0; i < 4000; ++i)
  {
    GuardedBitmap src(7, 5, rng() & 1), dst(9, 8, rng() & 1);
    const int dw = static_cast<int>(rng() % 41) - 20, dh = static_cast<int>(rng() % 41) - 20;
    const int dx = static_cast<int>(rng() % 30) - 12, dy = static_cast<int>(rng() % 30) - 12;
    const float sx = pos(rng), sy = pos(rng), sw = size(rng), sh = size(rng);
    const int mode = (rng() & 1) ? kFilter : 0;
    LICE_ScaledBlit(&dst, &src, dx, dy, dw, dh, sx, sy, sw, sh, 1.0f, mode);
    ASSERT_TRUE(dst.guardsIntact()) << "case " << i;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 9; ++x)
        ASSERT_EQ(dst.at(x, y), 0u) << "case " << i << " dst " << dx << "," << dy << " " << dw << "x" << dh
                                    << " src " << sx << "," << sy << " " << sw << "x" << sh << " mode " << mode
                                    << " at " << x << "," << y;
  }
}

TEST(ScaledBlit, AbsurdValuesDrawNothing)
{
  GuardedBitmap src(4, 4), dst(4, 4);
  src.fill(0xFFFFFFFFu);
  const float bad[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f};
  for (float v : bad)
  {
    LICE_ScaledBlit(&dst, &src, 0, 0, 4, 4, v, 0, 4, 4, 1.0f, kFilter);
    LICE_ScaledBlit(&dst, &src, 0, 0, 4, 4, 0, 0, v, 4, 1.0f, 0);
    if (!std::isfinite(v)) LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, v, false, 1.0f, 0);
    LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, v, 4, 0.5f, false, 1.0f, 0);
  }
  for (float a : {0.0f, -1.0f, NAN, -INFINITY})
  {
    LICE_ScaledBlit(&dst, &src, 0, 0, 3, 3, 0, 0, 4, 4, a, 0);
    LICE_RotatedBlit(&dst, &src, 0, 0, 3, 3, 0, 0, 4, 4, 0.1f, false, a, 0);
  }
  LICE_ScaledBlit(&dst, &src, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 4, 4, 1.0f, 0);  // ends at -1
  ASSERT_TRUE(dst.guardsIntact());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.at(x, y), 0u) << x << "," << y;
}

TEST(ScaledBlit, ExtremeDestinationsStayInside)
{
  const int edges[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, 3, INT_MAX - 1, INT_MAX};
  for (int a : edges)
    for (int b : edges)
    {
      GuardedBitmap src(4, 4), dst(4, 4);
      src.fill(0xFFFFFFFFu);
      LICE_ScaledBlit(&dst, &src, a, b, b, a, 0, 0, 4, 4, 1.0f, kFilter);
      LICE_ScaledBlit(&dst, &src, b, a, a, b, 0.5f, 0.5f, 3, 3, 0.7f, 0);
      LICE_RotatedBlit(&dst, &src, a, b, b, a, 0, 0, 4, 4, 0.3f, false, 1.0f, kFilter);
      ASSERT_TRUE(dst.guardsIntact()) << a << " " << b;
    }
}

TEST(RotatedBlit, ZeroAngleIsAPlainBlit)
{
  std::mt19937 rng(3);
  for (int mode : {0, kFilter, LICE_MODE_SRC_ALPHA | kFilter, 1})
  {
    GuardedBitmap src(6, 5), a(8, 8), b(8, 8);
    src.randomize(rng);
    LICE_RotatedBlit(&a, &src, 1, 2, 6, 5, 0, 0, 6, 5, 0.0f, false, 1.0f, mode);
    LICE_Blit(&b, &src, 1, 2, nullptr, 1.0f, mode);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(hex(a.at(x, y)), hex(b.at(x, y))) << "mode " << mode << " at " << x << "," << y;
  }
}

TEST(RotatedBlit, QuarterTurn)
{
  GuardedBitmap src(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.at(x, y) = px(x, y, 0, 255);
  for (int mode : {0, kFilter})
  {
    GuardedBitmap dst(4, 4);
    dst.fill(0x77777777u);
    LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, static_cast<float>(M_PI / 2), true, 1.0f, mode);
    ASSERT_TRUE(dst.guardsIntact());
    // Destination (i, j) samples source (j, 4 - i); column 0 would sample row 4.
    for (int j = 0; j < 4; ++j)
    {
      EXPECT_EQ(hex(dst.at(0, j)), "77777777") << "mode " << mode << " row " << j;
      for (int i = 1; i < 4; ++i)
        EXPECT_EQ(hex(dst.at(i, j)), hex(src.at(j, 4 - i))) << "mode " << mode << " at " << i << "," << j;
    }
  }
}

TEST(RotatedBlit, RandomAnglesStayInside)
{
  std::mt19937 rng(8);
  std::uniform_real_distribution<float> ang(-10.0f, 10.0f), pos(-6.0f, 10.0f), off(-3.0f, 3.0f);
  for (int i = 0; i < 3000; ++i)
  {
    GuardedBitmap src(6, 6, rng() & 1), dst(8, 7, rng() & 1);
    const int dw = static_cast<int>(rng() % 25) - 12, dh = static_cast<int>(rng() % 25) - 12;
    const int mode = ((rng() & 1) ? kFilter : 0) | ((rng() & 1) ? LICE_MODE_SRC_ALPHA : 0);
    LICE_RotatedBlit(&dst, &src, static_cast<int>(rng() % 16) - 6, static_cast<int>(rng() % 16) - 6, dw, dh,
                     pos(rng), pos(rng), pos(rng) + 3, pos(rng) + 3, ang(rng), rng() & 1, 1.0f, mode,
                     off(rng), off(rng));
    ASSERT_TRUE(dst.guardsIntact()) << "case " << i;
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.at(x, y), 0u) << "case " << i << " at " << x << "," << y;
  }
}

}  // namespace
