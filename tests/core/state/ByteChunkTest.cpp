#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "Containers.h"
#include "StatePlug.h"

TEST(ByteChunk, AppendsValuesWithoutPadding)
{
  ByteChunk chunk;
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Data(), nullptr) << "an empty chunk has no data";

  const int32_t i = 0x04030201;
  const double d = 1.0;
  const char c = 'x';
  EXPECT_EQ(chunk.Append(&i), 4);
  EXPECT_EQ(chunk.AppendBool(true), 5);
  EXPECT_EQ(chunk.Append(&d), 13) << "no alignment before the double";
  EXPECT_EQ(chunk.AppendBool(false), 14);
  EXPECT_EQ(chunk.Append(&c), 15);
  EXPECT_EQ(chunk.AppendString("ab"), 21);
  EXPECT_EQ(chunk.AppendString(""), 25);
  EXPECT_EQ(chunk.AppendString(nullptr), 29) << "a null text is stored as empty";
  EXPECT_EQ(chunk.AppendBytes(nullptr, 3), 29);
  EXPECT_EQ(chunk.AppendBytes("zz", -1), 29);
  EXPECT_EQ(Hex(BytesOf(chunk)),
            "01 02 03 04 01 00 00 00 00 00 00 F0 3F 00 78 02 00 00 00 61 62 00 00 00 00 00 00 00 00");

  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Data(), nullptr);
}

TEST(ByteChunk, AppendsChunksIncludingItself)
{
  ByteChunk a, b;
  a.AppendBytes("abc", 3);
  b.AppendBytes("de", 2);
  EXPECT_EQ(a.AppendChunk(&b), 5);
  EXPECT_EQ(a.AppendChunk(nullptr), 5);
  ByteChunk empty;
  EXPECT_EQ(a.AppendChunk(&empty), 5);
  EXPECT_EQ(a.AppendChunk(&a), 10) << "appending a chunk to itself doubles it";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.Data()), 10), "abcdeabcde");

  // Past one 4096-byte step the storage moves while it is being appended.
  ByteChunk big;
  for (int n = 0; n < 3000; ++n)
  {
    const unsigned char byte = static_cast<unsigned char>(n * 7);
    big.AppendBytes(&byte, 1);
  }
  ASSERT_EQ(big.AppendChunk(&big), 6000);
  for (int n = 0; n < 3000; ++n)
    ASSERT_EQ(big.Data()[3000 + n], static_cast<unsigned char>(n * 7)) << "byte " << n << " of the copy";
}

TEST(ByteChunk, ReadsBackAndFailsAtTheEnd)
{
  ByteChunk chunk;
  const int32_t i = -5;
  const double d = -2.5;
  chunk.Append(&i);
  chunk.Append(&d);
  chunk.AppendBool(true);
  chunk.AppendString("hello");

  int32_t ri = 0;
  double rd = 0.0;
  bool rb = false;
  WDL_String rs;
  int pos = chunk.Read(&ri, 0);
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(ri, -5);
  pos = chunk.Read(&rd, pos);
  EXPECT_EQ(pos, 12);
  EXPECT_EQ(rd, -2.5);
  pos = chunk.ReadBool(&rb, pos);
  EXPECT_EQ(pos, 13);
  EXPECT_TRUE(rb);
  pos = chunk.ReadString(&rs, pos);
  EXPECT_EQ(pos, 22);
  EXPECT_STREQ(rs.Get(), "hello");

  // Every read past the end, or from a negative position, fails and leaves its value alone.
  double untouched = 42.0;
  EXPECT_EQ(chunk.Read(&untouched, 15), -1) << "8 bytes from 15 of 22";
  EXPECT_EQ(chunk.Read(&untouched, -1), -1);
  EXPECT_EQ(chunk.Read(&untouched, INT_MAX), -1);
  EXPECT_EQ(untouched, 42.0);
  bool flag = true;
  EXPECT_EQ(chunk.ReadBool(&flag, 22), -1);
  EXPECT_EQ(chunk.ReadBool(&flag, -1), -1);
  EXPECT_TRUE(flag);
  EXPECT_EQ(chunk.ReadString(&rs, 13 + 1), -1) << "misaligned length field runs past the end";
  EXPECT_EQ(chunk.ReadString(&rs, -4), -1);
  EXPECT_STREQ(rs.Get(), "hello");
  EXPECT_EQ(chunk.ReadBool(&flag, 0), 1) << "any non-zero byte is true";
  EXPECT_TRUE(flag);
}

TEST(ByteChunk, ReadStringCutsAtZeroAndRefusesHostileLengths)
{
  struct Case
  {
    const char* what;
    int32_t length;
    int expected;
  };
  const Case cases[] = {
    {"zero length", 0, 4},
    {"length of the rest", 6, 10},
    {"one past the rest", 7, -1},
    {"negative", -1, -1},
    {"negative back to the start", -4, -1},
    {"most negative", INT32_MIN, -1},
    {"start + 4 + length overflows", INT32_MAX, -1},
    {"start + 4 + length just overflows", INT32_MAX - 3, -1},
  };
  for (const Case& c : cases)
  {
    ByteChunk chunk;
    chunk.Append(&c.length);
    chunk.AppendBytes("ab\0cde", 6);
    WDL_String text("before");
    EXPECT_EQ(chunk.ReadString(&text, 0), c.expected) << c.what;
    const char* expectedText = c.expected < 0 ? "before" : (c.length == 0 ? "" : "ab");
    EXPECT_STREQ(text.Get(), expectedText) << c.what;
  }

  // Near the top of the int range the end position must not wrap either.
  ByteChunk chunk;
  chunk.AppendString("x");
  WDL_String text;
  EXPECT_EQ(chunk.ReadString(&text, INT_MAX - 2), -1);
  EXPECT_EQ(chunk.ReadString(nullptr, 0), -1);
}

TEST(ByteChunk, AssignAndCompare)
{
  ByteChunk a, b;
  EXPECT_TRUE(a.IsEqual(&b)) << "two empty chunks";
  EXPECT_FALSE(a.IsEqual(nullptr));
  ASSERT_TRUE(a.Assign("abc", 3));
  EXPECT_FALSE(a.IsEqual(&b));
  ASSERT_TRUE(b.Assign(nullptr, 3));
  EXPECT_EQ(Hex(BytesOf(b)), "00 00 00");
  ASSERT_TRUE(b.Assign("abc", 3));
  EXPECT_TRUE(a.IsEqual(&b));
  EXPECT_FALSE(b.Assign("x", -1));
  EXPECT_EQ(b.Size(), 3);
}
