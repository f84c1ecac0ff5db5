#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "LICE_MemBitmap.h"
#include "RasterTestUtil.h"
#include "lice_blit.h"

using rastertest::GuardedBitmap;
using rastertest::hex;
using rastertest::px;

namespace {

// Source pixel (x, y) is unique: 0xAARRGGBB with x in blue, y in green.
void numbered(GuardedBitmap& bm, unsigned alpha = 0xFF)
{
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x) bm.at(x, y) = px(0x80, y, x, alpha);
}

TEST(Blit, ClipsEveryEdge)
{
  struct Case
  {
    const char* name;
    int dstx, dsty;
    LICE_Rect r;
    int firstSrcX, firstSrcY, firstDstX, firstDstY, w, h;
  } cases[] = {
      {"whole", 2, 3, {0, 0, 6, 5}, 0, 0, 2, 3, 6, 5},
      {"source left -5 moves the destination", 0, 0, {-5, 0, 6, 5}, 0, 0, 5, 0, 5, 5},
      {"source top -2 moves the destination", 0, 0, {0, -2, 6, 5}, 0, 0, 0, 2, 6, 5},
      {"dstx -3 skips three columns", -3, 0, {0, 0, 6, 5}, 3, 0, 0, 0, 3, 5},
      {"dsty -4 skips four rows", 0, -4, {0, 0, 6, 5}, 0, 4, 0, 0, 6, 1},
      {"right edge", 8, 0, {0, 0, 6, 5}, 0, 0, 8, 0, 2, 5},
      {"bottom edge", 0, 7, {0, 0, 6, 5}, 0, 0, 0, 7, 6, 1},
      {"source rect past source size", 0, 0, {4, 3, 60, 50}, 4, 3, 0, 0, 2, 2},
  };
  for (const Case& c : cases)
  {
    GuardedBitmap src(6, 5), dst(10, 8);
    numbered(src);
    dst.fill(0x11111111u);
    LICE_Blit(&dst, &src, c.dstx, c.dsty, &c.r, 1.0f, LICE_OP_COPY);
    ASSERT_TRUE(dst.guardsIntact()) << c.name;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x)
      {
        const bool inside = x >= c.firstDstX && x < c.firstDstX + c.w && y >= c.firstDstY && y < c.firstDstY + c.h;
        const LICE_pixel want =
            inside ? px(0x80, c.firstSrcY + y - c.firstDstY, c.firstSrcX + x - c.firstDstX, 0xFF) : 0x11111111u;
        ASSERT_EQ(hex(dst.at(x, y)), hex(want)) << c.name << " at " << x << "," << y;
      }
  }
}

TEST(Blit, OutsideOrEmptyDrawsNothing)
{
  const struct
  {
    const char* name;
    int dstx, dsty, srcx, srcy, srcw, srch;
  } cases[] = {
      {"dstx at width", 10, 0, 0, 0, 6, 5},  {"dsty at height", 0, 8, 0, 0, 6, 5},
      {"empty rect", 0, 0, 2, 2, 0, 3},      {"negative width", 0, 0, 2, 2, -3, 3},
      {"rect left of source", 0, 0, -9, 0, 4, 5}, {"far left", INT_MIN, 0, 0, 0, 6, 5},
      {"huge rect", INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {"min rect", INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MAX, INT_MAX},
  };
  for (const auto& c : cases)
  {
    GuardedBitmap src(6, 5), dst(10, 8);
    numbered(src);
    LICE_Blit(&dst, &src, c.dstx, c.dsty, c.srcx, c.srcy, c.srcw, c.srch, 0.7f, LICE_OP_ADD);
    ASSERT_TRUE(dst.guardsIntact()) << c.name;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) ASSERT_EQ(dst.at(x, y), 0u) << c.name << " at " << x << "," << y;
  }
}

TEST(Blit, ExtremeOriginsStayInside)
{
  std::mt19937 rng(99);
  const int edges[] = {INT_MIN, INT_MIN + 1, -100000, -7, -1, 0, 1, 5, 9, 100000, INT_MAX - 1, INT_MAX};
  for (int i = 0; i < 3000; ++i)
  {
    GuardedBitmap src(6, 5), dst(10, 8, rng() & 1);
    src.randomize(rng);
    const auto pick = [&] { return (rng() & 1) ? edges[rng() % 12] : static_cast<int>(rng() % 30) - 15; };
    const int mode = static_cast<int>(rng() % 6) | ((rng() & 1) ? LICE_MODE_SRC_ALPHA : 0);
    LICE_Blit(&dst, &src, pick(), pick(), pick(), pick(), pick(), pick(), 0.6f, mode);
    ASSERT_TRUE(dst.guardsIntact()) << "case " << i;
  }
}

TEST(Blit, FastPathsRoundExactly)
{
  GuardedBitmap src(3, 1), dst(3, 1);
  src.at(0, 0) = px(1, 3, 255, 0x81);
  src.at(1, 0) = px(0, 0, 0, 0);
  src.at(2, 0) = px(200, 100, 50, 7);
  dst.fill(px(1, 5, 0, 0xFF));
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.5f, LICE_OP_COPY);
  // (s >> 1) + (d >> 1) per byte: 1 and 1 give 0, not the rule's 1.
  EXPECT_EQ(hex(dst.at(0, 0)), hex(px(0, 3, 127, 0xBF)));
  EXPECT_EQ(hex(dst.at(1, 0)), hex(px(0, 2, 0, 0x7F)));
  EXPECT_EQ(hex(dst.at(2, 0)), hex(px(100, 52, 25, 0x82)));

  LICE_Blit(&dst, &src, 0, 0, nullptr, 1.0f, LICE_OP_COPY);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(hex(dst.at(x, 0)), hex(src.at(x, 0))) << "alpha 1.0 copies x=" << x;

  // Just off 0.5 the general rule applies: 1 and 1 stay 1.
  dst.fill(px(1, 1, 1, 1));
  src.fill(px(1, 1, 1, 1));
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.501f, LICE_OP_COPY);
  EXPECT_EQ(hex(dst.at(0, 0)), hex(px(1, 1, 1, 1)));
}

TEST(Blit, ChannelCopyWritesOneByte)
{
  GuardedBitmap src(4, 2), dst(4, 2);
  numbered(src, 0x5A);
  dst.fill(0x11223344u);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.3f, 0xF3);  // source alpha -> destination blue
  ASSERT_TRUE(dst.guardsIntact());
  for (int x = 0; x < 4; ++x) EXPECT_EQ(hex(dst.at(x, 1)), "1122335A") << "x " << x;
  LICE_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0xF0 | (2 << 2) | 0);  // blue -> red
  EXPECT_EQ(hex(dst.at(3, 0)), "1103335A");
}

TEST(Blit, WeightedLoopsMatchPerPixelCombine)
{
  std::mt19937 rng(4242);
  for (int i = 0; i < 4000; ++i)
  {
    const int w = 1 + static_cast<int>(rng() % 37);
    GuardedBitmap src(w, 1), dst(w, 1), want(w, 1);
    src.randomize(rng);
    dst.randomize(rng);
    for (int x = 0; x < w; ++x)
    {
      if (rng() % 3 == 0) src.at(x, 0) &= 0x00FFFFFFu;            // transparent
      else if (rng() % 3 == 0) src.at(x, 0) |= 0xFF000000u;      // opaque
    }
    const int mode = static_cast<int>(rng() % 6) | ((rng() & 1) ? LICE_MODE_SRC_ALPHA : 0);
    const float alpha = (rng() % 4 == 0) ? 1.0f : static_cast<float>(1 + rng() % 255) / 256.0f;
    if ((mode & 0xFF) == LICE_OP_COPY && !(mode & LICE_MODE_SRC_ALPHA) && alpha == 0.5f) continue;
    for (int x = 0; x < w; ++x) want.at(x, 0) = LICE_CombinePixels(dst.at(x, 0), src.at(x, 0), alpha, mode);
    LICE_Blit(&dst, &src, 0, 0, nullptr, alpha, mode);
    ASSERT_TRUE(dst.guardsIntact());
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(hex(dst.at(x, 0)), hex(want.at(x, 0)))
          << "case " << i << " mode " << std::hex << mode << std::dec << " alpha " << alpha << " x " << x;
  }
}

TEST(Blit, FlippedBitmapsAddressLogicalRows)
{
  for (int flips = 0; flips < 4; ++flips)
  {
    GuardedBitmap src(5, 4, flips & 1), dst(7, 6, flips & 2);
    numbered(src);
    LICE_Blit(&dst, &src, 1, 2, 0, 1, 5, 3, 1.0f, LICE_OP_COPY);
    ASSERT_TRUE(dst.guardsIntact());
    EXPECT_EQ(hex(dst.at(1, 2)), hex(px(0x80, 1, 0, 0xFF))) << "flips " << flips;
    EXPECT_EQ(hex(dst.at(5, 4)), hex(px(0x80, 3, 4, 0xFF))) << "flips " << flips;
    EXPECT_EQ(dst.at(1, 5), 0u) << "flips " << flips;
    LICE_Blit(&dst, &src, 0, 0, 0, 0, 1, 1, 0.5f, LICE_OP_ADD);
    EXPECT_EQ(hex(dst.at(0, 0)), hex(px(0x40, 0, 0, 0x7F))) << "flips " << flips;
  }
}

TEST(Blit, OverlappingBlitWithinOneBitmapReadsTheOriginal)
{
  std::mt19937 rng(5);
  for (int mode : {0, 1, 0x10000})
    for (float alpha : {1.0f, 0.3f})
    {
      GuardedBitmap bm(9, 7), copy(9, 7);
      bm.randomize(rng);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) copy.at(x, y) = bm.at(x, y);
      LICE_Blit(&bm, &bm, 2, 1, 0, 0, 6, 5, alpha, mode);
      GuardedBitmap want(9, 7);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) want.at(x, y) = copy.at(x, y);
      LICE_Blit(&want, &copy, 2, 1, 0, 0, 6, 5, alpha, mode);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
          ASSERT_EQ(hex(bm.at(x, y)), hex(want.at(x, y))) << "mode " << mode << " alpha " << alpha << " at " << x
                                                          << "," << y;
    }
}

TEST(Blit, CopyResizesAndDuplicates)
{
  GuardedBitmap src(5, 3);
  numbered(src, 0x42);
  LICE_MemBitmap dst(1, 1);
  LICE_Copy(&dst, &src);
  ASSERT_EQ(dst.getWidth(), 5);
  ASSERT_EQ(dst.getHeight(), 3);
  EXPECT_EQ(hex(dst.getBits()[2 * dst.getRowSpan() + 4]), hex(px(0x80, 2, 4, 0x42)));
  LICE_Copy(nullptr, &src);
  LICE_Copy(&dst, nullptr);
}

}  // namespace
