#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Base64.h"

namespace
{
std::string Encode(const std::vector<unsigned char>& bytes)
{
  std::vector<char> text(static_cast<size_t>(Base64EncodedLength(static_cast<int>(bytes.size()))) + 1);
  const int length = Base64Encode(bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()));
  return length < 0 ? "<failed>" : std::string(text.data(), static_cast<size_t>(length));
}

std::vector<unsigned char> Decode(const char* text, int size)
{
  std::vector<unsigned char> out(static_cast<size_t>(size) + 4, 0xEE); // guard bytes after the buffer
  const int written = Base64Decode(text, out.data(), size);
  for (size_t i = static_cast<size_t>(size); i < out.size(); ++i)
    EXPECT_EQ(out[i], 0xEE) << "decode of \"" << text << "\" wrote past " << size << " bytes";
  out.resize(static_cast<size_t>(written));
  return out;
}
} // namespace

TEST(Base64, EncodesGroupsAndPadding)
{
  const struct
  {
    std::vector<unsigned char> bytes;
    const char* text;
  } cases[] = {
    {{}, ""},
    {{0x00}, "AA=="},
    {{0x00, 0x01}, "AAE="},
    {{0x00, 0x01, 0x02}, "AAEC"},
    {{'M', 'a', 'n'}, "TWFu"},
    {{0xFB, 0xFF, 0xBF}, "+/+/"},
    {{0xFF, 0xFF, 0xFF, 0xFF}, "/////w=="},
  };
  for (const auto& c : cases) EXPECT_EQ(Encode(c.bytes), c.text) << "bytes of length " << c.bytes.size();
}

TEST(Base64, EncodeRefusesShortBuffer)
{
  const unsigned char bytes[] = {1, 2, 3};
  char text[5] = "xxxx";
  EXPECT_EQ(Base64Encode(bytes, 3, text, 4), -1) << "4 characters need 5 bytes with the terminator";
  EXPECT_STREQ(text, "") << "a refused encode leaves an empty text";
  EXPECT_EQ(Base64Encode(bytes, 3, text, 5), 4);
  EXPECT_STREQ(text, "AQID");
  EXPECT_EQ(Base64EncodedLength(1533), 2044) << "largest chunk a 2048-character text held";
  EXPECT_EQ(Base64EncodedLength(1534), 2048);
  EXPECT_EQ(Base64EncodedLength(0x7fffffff), -1) << "length past an int";
}

TEST(Base64, DecodesToFixedSize)
{
  EXPECT_EQ(Decode("AAEC", 3), (std::vector<unsigned char>{0, 1, 2}));
  EXPECT_EQ(Decode("AAE=", 4), (std::vector<unsigned char>{0, 1})) << "'=' ends the text";
  EXPECT_EQ(Decode("AAEC", 2), (std::vector<unsigned char>{0, 1})) << "bytes beyond the size are dropped";
  EXPECT_EQ(Decode("TW*Fu", 3), (std::vector<unsigned char>{'M'})) << "a character outside the alphabet ends it";
  EXPECT_EQ(Decode("", 3).size(), 0u);
  EXPECT_EQ(Decode("A", 3).size(), 0u) << "6 bits make no byte";
  EXPECT_EQ(Base64Decode(nullptr, nullptr, 0), 0);
  unsigned char one = 7;
  EXPECT_EQ(Base64Decode(nullptr, &one, 1), 0);
  EXPECT_EQ(one, 7);
}

TEST(Base64, RandomBytesRoundTrip)
{
  std::mt19937 rng(1234);
  for (int n = 0; n < 200; ++n)
  {
    std::vector<unsigned char> bytes(static_cast<size_t>(n));
    for (auto& b : bytes) b = static_cast<unsigned char>(rng());
    const std::string text = Encode(bytes);
    ASSERT_EQ(static_cast<int>(text.size()), Base64EncodedLength(n)) << "length " << n;
    EXPECT_EQ(Decode(text.c_str(), n), bytes) << "round trip of " << n << " random bytes";
  }
}
