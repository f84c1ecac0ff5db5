#include <gtest/gtest.h>

#include "IGraphicsStructs.h"
#include "lice_blend.h"

TEST(IRECTOperations, EmptinessContainsAndTheOneSidedIntersection)
{
  EXPECT_TRUE(IRECT().Empty());
  EXPECT_FALSE(IRECT(5, 5, 5, 9).Empty()) << "zero width with a non-zero field is not empty";
  EXPECT_FALSE(IRECT().Contains(0, 0)) << "the empty rectangle contains nothing";
  const IRECT r(10, 20, 30, 40);
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_FALSE(r.Contains(30, 25)) << "right edge exclusive";
  EXPECT_FALSE(r.Contains(15, 40)) << "bottom edge exclusive";
  const IRECT right(30, 20, 50, 40);
  EXPECT_TRUE(r.Intersects(right)) << "a right edge on the other's left edge intersects";
  EXPECT_FALSE(right.Intersects(r)) << "but not the other way round";
  EXPECT_FALSE(r.Intersects(IRECT()));
  EXPECT_EQ(r.Intersect(IRECT(25, 0, 100, 30)), IRECT(25, 20, 30, 30));
  EXPECT_EQ(r.Intersect(IRECT(100, 100, 120, 120)), IRECT()) << "disjoint rectangles intersect in the empty one";
  EXPECT_EQ(r.Union(IRECT()), r);
  EXPECT_EQ(IRECT().Union(r), r);
  EXPECT_EQ(r.Union(IRECT(0, 50, 5, 60)), IRECT(0, 20, 30, 60));
}

TEST(BlendMapping, EachMethodGivesItsWeightAndModeWord)
{
  EXPECT_EQ(LiceBlendMode(nullptr), 0x10000);
  EXPECT_EQ(LiceWeight(nullptr), 1.0f);
  const struct
  {
    int method;
    int mode;
  } cases[] = {{0, 0x10000}, {1, 0}, {2, 0x10001}, {3, 0x10002}, {7, 0x10000}};
  for (const auto& c : cases)
  {
    IChannelBlend blend(c.method, 0.25f);
    EXPECT_EQ(LiceBlendMode(&blend), c.mode) << "method " << c.method;
    EXPECT_EQ(LiceWeight(&blend), 0.25f) << "method " << c.method;
  }
}

TEST(IColorAndIText, PackingConstantsAndTextDefaults)
{
  EXPECT_EQ(COLOR_ORANGE.Packed(), 0xFFFF7F00u);
  EXPECT_EQ(COLOR_TRANSPARENT.Packed(), 0u);
  EXPECT_EQ(IColor(0x1FF, 0x100, 2, 3).Packed(), 0xFF000203u) << "only the low byte of each channel";
  EXPECT_EQ(IColor::FromPacked(0x80102030u), IColor(0x80, 0x10, 0x20, 0x30));
  IText t;
  EXPECT_STREQ(t.mFont, "Monaco");
  EXPECT_EQ(t.mSize, 10);
  EXPECT_EQ(t.mColor, COLOR_BLACK);
  const IText big(24, &COLOR_RED, "A font name far longer than thirty-one characters");
  EXPECT_EQ(std::string(big.mFont).size(), 31u) << "font names keep 31 characters";
  EXPECT_EQ(big.mColor, COLOR_RED);
  EXPECT_EQ(big.mTextEntryBGColor, DEFAULT_TEXT_ENTRY_BGCOLOR);
}
