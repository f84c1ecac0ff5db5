#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "LICE_MemBitmap.h"
#include "LICE_SysBitmap.h"

namespace {

bool aligned64(const void* p) { return (reinterpret_cast<uintptr_t>(p) & 63) == 0; }

TEST(MemBitmap, RowSpanFollowsLineAlignment)
{
  struct Case
  {
    unsigned align;
    int width, span;
  } cases[] = {{4, 5, 8}, {0, 5, 5}, {1, 5, 5}, {2, 5, 6}, {8, 5, 8}, {6, 5, 6}, {12, 5, 8}, {4, 8, 8}};
  for (const Case& c : cases)
  {
    LICE_MemBitmap bm(c.width, 3, c.align);
    EXPECT_EQ(bm.getRowSpan(), c.span) << "align " << c.align << " width " << c.width;
    EXPECT_TRUE(aligned64(bm.getBits())) << "align " << c.align;
  }
}

TEST(MemBitmap, EmptyUntilBothSidesPositive)
{
  LICE_MemBitmap none;
  EXPECT_EQ(none.getBits(), nullptr);
  LICE_MemBitmap half(0, 5);
  EXPECT_EQ(half.getBits(), nullptr);
  EXPECT_EQ(half.getWidth(), 0);
  EXPECT_FALSE(half.resize(0, 0)) << "same size reports no work";
}

TEST(MemBitmap, ShrinkKeepsMemoryGrowAddsAQuarter)
{
  LICE_MemBitmap bm(10, 10, 4);  // span 12: 480 bytes
  EXPECT_EQ(bm.getAllocatedBytes(), 480u);
  LICE_pixel* bits = bm.getBits();
  bits[0] = 0x12345678;
  EXPECT_TRUE(bm.resize(5, 5));
  EXPECT_EQ(bm.getBits(), bits) << "shrinking keeps the block";
  EXPECT_EQ(bm.getBits()[0], 0x12345678u) << "and the pixels";
  EXPECT_EQ(bm.getAllocatedBytes(), 480u);
  EXPECT_FALSE(bm.resize(5, 5));
  EXPECT_TRUE(bm.resize(20, 10));  // span 20: 800 bytes -> 1000
  EXPECT_EQ(bm.getAllocatedBytes(), 1000u);
  EXPECT_TRUE(aligned64(bm.getBits()));
  EXPECT_TRUE(bm.resize(0, 0));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getAllocatedBytes(), 0u);
}

TEST(MemBitmap, OverflowingSizesLeaveAnEmptyBitmap)
{
  const struct
  {
    int w, h;
  } cases[] = {{100000, 100000}, {INT_MAX, 1}, {1, INT_MAX}, {1 << 28, 2}, {-5, 10}, {10, -5}, {INT_MIN, INT_MIN}};
  for (const auto& c : cases)
  {
    LICE_MemBitmap bm(4, 4);
    EXPECT_TRUE(bm.resize(c.w, c.h)) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getBits(), nullptr) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getWidth(), 0) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getHeight(), 0) << c.w << "x" << c.h;
  }
}

TEST(SysBitmap, KeepsContextWithinAllocatedSpanAndHeight)
{
  LICE_SysBitmap bm(5, 3);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_TRUE(aligned64(bm.getBits()));
  EXPECT_EQ(bm.getRowSpan(), 8);
  void* dc = bm.getDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_TRUE(bm.resize(7, 2));
  EXPECT_EQ(bm.getDC(), dc);
  EXPECT_EQ(bm.getRowSpan(), 8);
  EXPECT_EQ(bm.getWidth(), 7);
  EXPECT_FALSE(bm.resize(7, 2));
  EXPECT_TRUE(bm.resize(9, 2));
  EXPECT_EQ(bm.getRowSpan(), 12);
  EXPECT_EQ(bm.getWidth(), 9);
}

TEST(SysBitmap, NegativeOrHugeSizesLeaveAnEmptyBitmap)
{
  const struct
  {
    int w, h;
    bool result;
  } cases[] = {{-5, 10, false}, {10, -5, false}, {0, 4, false}, {0x7FFFFFFD, 1, false}, {100000, 100000, true},
               {INT_MAX - 3, 1, true}};
  for (const auto& c : cases)
  {
    LICE_SysBitmap bm(4, 4);
    EXPECT_EQ(bm.resize(c.w, c.h), c.result) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getBits(), nullptr) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getDC(), nullptr) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getWidth(), 0) << c.w << "x" << c.h;
    EXPECT_EQ(bm.getHeight(), 0) << c.w << "x" << c.h;
  }
}

struct CountingOps
{
  static inline int created = 0, destroyed = 0;
  static inline LICE_pixel block[64 * 64];
  static void* create(int span, int h, void*) { return (span * h <= 64 * 64) ? (++created, block) : nullptr; }
  static LICE_pixel* bits(void* ctx, void*) { return static_cast<LICE_pixel*>(ctx); }
  static void destroy(void*, void*) { ++destroyed; }
};

TEST(SysBitmap, UsesInstalledContextOperations)
{
  const LICE_SysContextOps ops{CountingOps::create, CountingOps::bits, CountingOps::destroy, nullptr};
  LICE_SetSysContextOps(&ops);
  {
    LICE_SysBitmap bm(10, 10);
    EXPECT_EQ(bm.getBits(), CountingOps::block);
    EXPECT_EQ(CountingOps::created, 1);
    LICE_SysBitmap big(100, 100);
    EXPECT_EQ(big.getBits(), nullptr) << "a context that cannot be made leaves the bitmap empty";
    EXPECT_EQ(big.getWidth(), 0);
  }
  EXPECT_EQ(CountingOps::destroyed, 1);
  LICE_SetSysContextOps(nullptr);
  LICE_SysBitmap back(10, 10);
  EXPECT_NE(back.getBits(), CountingOps::block);
}

}  // namespace
