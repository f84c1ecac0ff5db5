#include <gtest/gtest.h>

#include <string>

#include "TextCopy.h"
#include "WDL_HeapBuf.h"
#include "WDL_PtrList.h"
#include "WDL_String.h"
#include "WDL_TypedBuf.h"

TEST(HeapBuf, GrowsInGranularityStepsAndRefusesImpossibleSizes)
{
  WDL_HeapBuf buf(4096);
  ASSERT_NE(buf.Resize(10), nullptr);
  EXPECT_EQ(buf.GetCapacity(), 4096);
  ASSERT_NE(buf.Resize(4097), nullptr);
  EXPECT_EQ(buf.GetCapacity(), 8192);
  EXPECT_EQ(buf.Resize(-1), nullptr);
  EXPECT_EQ(buf.Resize(0x7fffffff), nullptr) << "rounding up would pass the int range";
  EXPECT_EQ(buf.GetSize(), 4097) << "a failed resize keeps the old size";
}

TEST(TypedBuf, ElementCountsThatOverflowBytesAreRefused)
{
  WDL_TypedBuf<double> buf;
  EXPECT_EQ(buf.Resize(0x7fffffff / 4), nullptr);
  ASSERT_NE(buf.Add(1.5), nullptr);
  ASSERT_NE(buf.Add(2.5), nullptr);
  EXPECT_EQ(buf.GetSize(), 2);
  EXPECT_EQ(buf.Get()[1], 2.5);
}

TEST(PtrList, InsertDeleteAndOwnership)
{
  static int deleted = 0;
  struct Item
  {
    ~Item() { ++deleted; }
  };
  WDL_PtrList<Item> list;
  Item* a = list.Add(new Item);
  Item* b = list.Insert(0, new Item);
  Item* c = list.Insert(99, new Item);
  EXPECT_EQ(list.Get(0), b);
  EXPECT_EQ(list.Get(1), a);
  EXPECT_EQ(list.Get(2), c);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Find(c), 2);
  list.Delete(1, true);
  EXPECT_EQ(deleted, 1);
  list.DeleteAll(true);
  EXPECT_EQ(deleted, 3);
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(String, SetAppendFormatAndBounds)
{
  WDL_String s("abc");
  s.Append("defgh", 2);
  EXPECT_STREQ(s.Get(), "abcde");
  s.Set("xyz\0hidden", 10);
  EXPECT_STREQ(s.Get(), "xyz") << "a bounded copy stops at the terminator";
  s.SetFormatted(5, "%d-%s", 12345, "long");
  EXPECT_STREQ(s.Get(), "12345");
  const std::string big(1000, 'q');
  s.Set(big.c_str());
  EXPECT_EQ(s.GetLength(), 1000);
  WDL_String copy(s);
  EXPECT_EQ(std::string(copy.Get()), big);
  WDL_String empty;
  EXPECT_STREQ(empty.Get(), "");
}

TEST(TextCopy, TruncatesAndTerminates)
{
  char field[8];
  CopyTextField(field, "0123456789");
  EXPECT_STREQ(field, "0123456");
  CopyTextField(field, nullptr);
  EXPECT_STREQ(field, "");
}
