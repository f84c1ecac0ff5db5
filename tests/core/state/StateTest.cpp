#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "StatePlug.h"

namespace
{
const char* const kDefaultStateHex = "00 00 00 00 00 00 00 00 "  // Mic Placement 0
                                     "00 00 00 00 00 00 14 40 "  // Cabinet Size 5
                                     "00 00 00 00 00 00 14 40 "  // Character 5
                                     "00 00 00 00 00 00 14 40 "  // Output 5
                                     "00 00 00 00 00 00 F0 3F";  // Bypass 1
} // namespace

TEST(ParamState, DefaultStateIsFortyBytesOfDoubles)
{
  StatePlug plug;
  ByteChunk chunk;
  ASSERT_TRUE(plug.SerializeState(&chunk));
  EXPECT_EQ(chunk.Size(), 40);
  EXPECT_EQ(Hex(BytesOf(chunk)), kDefaultStateHex);

  // The host's copy: the state followed by the bypass flag as an int32.
  const int32_t bypassed = 1;
  EXPECT_EQ(chunk.Append(&bypassed), 44);

  ByteChunk appended;
  appended.AppendBytes("ab", 2);
  ASSERT_TRUE(plug.SerializeParams(&appended));
  EXPECT_EQ(appended.Size(), 42) << "the state is appended after what the chunk held";
  EXPECT_FALSE(plug.SerializeParams(nullptr));

  StatePlug none(1, 0);
  ByteChunk empty;
  EXPECT_TRUE(none.SerializeParams(&empty)) << "no parameters is a successful empty state";
  EXPECT_EQ(empty.Size(), 0);
}

TEST(ParamState, RoundTripIsBitExact)
{
  std::mt19937_64 rng(99);
  StatePlug source, target;
  for (int round = 0; round < 50; ++round)
  {
    for (int i = 0; i < 4; ++i)
    {
      // Arbitrary bit patterns inside the range, not just multiples of the step.
      const double v = std::ldexp(static_cast<double>(rng() >> 11), -53) * 10.0;
      source.GetParam(i)->Set(v);
    }
    source.GetParam(4)->Set(static_cast<double>(rng() & 1));
    ByteChunk chunk;
    ASSERT_TRUE(source.SerializeState(&chunk));
    target.changed.clear();
    ASSERT_EQ(target.UnserializeState(&chunk, 0), 40) << "round " << round;
    for (int i = 0; i < 5; ++i)
    {
      const double a = source.GetParam(i)->Value(), b = target.GetParam(i)->Value();
      EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "round " << round << " parameter " << i;
    }
    EXPECT_EQ(target.changed, (std::vector<int>{0, 1, 2, 3, 4})) << "round " << round;
  }
}

TEST(ParamState, ReadsFromAnOffsetAndReturnsThePositionAfter)
{
  StatePlug plug;
  ByteChunk chunk;
  chunk.AppendBytes("xyz", 3);
  std::vector<unsigned char> state = BytesOfDoubles({1.5, 2.5, 3.5, 4.5, 0.0});
  chunk.AppendBytes(state.data(), 40);
  chunk.AppendBytes("tail", 4);
  EXPECT_EQ(plug.UnserializeParams(&chunk, 3), 43);
  EXPECT_EQ(ValuesOf(plug), (std::vector<double>{1.5, 2.5, 3.5, 4.5, 0.0}));
}

TEST(ParamState, ShortChunkSetsWhatItHasAndZeroAtItsEnd)
{
  StatePlug plug;
  plug.GetParam(4)->Set(1.0);
  std::vector<unsigned char> bytes = BytesOfDoubles({1.0, 2.0, 3.0, 4.0, 1.0});
  bytes.pop_back(); // 39 bytes
  ByteChunk chunk;
  FillChunk(&chunk, bytes);
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), -1);
  EXPECT_EQ(ValuesOf(plug), (std::vector<double>{1.0, 2.0, 3.0, 4.0, 0.0}));
  EXPECT_EQ(plug.changed, (std::vector<int>{0, 1, 2, 3, 4}));

  // Ending inside parameter 1: parameter 1 becomes 0 clamped, the later ones stay.
  StatePlug other;
  other.GetParam(1)->InitDouble("Knob", 5.0, 2.0, 10.0, 0.1);
  FillChunk(&chunk, std::vector<unsigned char>(bytes.begin(), bytes.begin() + 12));
  EXPECT_EQ(other.UnserializeParams(&chunk, 0), -1);
  EXPECT_EQ(ValuesOf(other), (std::vector<double>{1.0, 2.0, 5.0, 5.0, 1.0})) << "0 clamps to the minimum 2";
  EXPECT_EQ(other.changed.size(), 5u);

  StatePlug fromNull;
  EXPECT_EQ(fromNull.UnserializeParams(nullptr, 0), -1) << "a null chunk reads as empty";
  EXPECT_EQ(fromNull.GetParam(0)->Value(), 0.0);
  EXPECT_EQ(fromNull.GetParam(1)->Value(), 5.0);
}

TEST(ParamState, NegativeStartChangesNothingButReportsEveryParameter)
{
  StatePlug plug;
  ByteChunk chunk;
  FillChunk(&chunk, BytesOfDoubles({9.0, 9.0, 9.0, 9.0, 0.0}));
  const std::vector<double> before = ValuesOf(plug);
  EXPECT_EQ(plug.UnserializeParams(&chunk, -1), -1);
  EXPECT_EQ(plug.UnserializeParams(&chunk, -7), -7) << "a negative start comes back as it was";
  EXPECT_EQ(ValuesOf(plug), before);
  EXPECT_EQ(plug.changed, (std::vector<int>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4}));

  StatePlug none(1, 0);
  EXPECT_EQ(none.UnserializeParams(&chunk, 0), 0) << "no parameters reads nothing";
}

TEST(ParamState, ClampsFiniteValuesAndRestoresDefaultsForNonFinite)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case
  {
    const char* what;
    double stored;
    double expected; // parameter 1: range 0..10, default 5
  };
  const Case cases[] = {
    {"above the range", 12.0, 10.0},       {"below the range", -3.0, 0.0},
    {"largest double", 1.7e308, 10.0},    {"NaN", nan, 5.0},
    {"+Inf", inf, 5.0},                    {"-Inf", -inf, 5.0},
    {"negative NaN", -nan, 5.0},           {"smallest subnormal", 4.9e-324, 4.9e-324},
  };
  for (const Case& c : cases)
  {
    StatePlug plug;
    plug.GetParam(1)->Set(7.0);
    ByteChunk chunk;
    FillChunk(&chunk, BytesOfDoubles({1.0, c.stored, 2.0, 3.0, 0.0}));
    EXPECT_EQ(plug.UnserializeParams(&chunk, 0), 40) << c.what;
    EXPECT_EQ(plug.GetParam(1)->Value(), c.expected) << c.what;
    EXPECT_EQ(plug.GetParam(2)->Value(), 2.0) << c.what << ": the parameters after it still read";
  }
}

TEST(ParamState, CompareStateInSinglePrecision)
{
  StatePlug plug;
  ByteChunk chunk;
  ASSERT_TRUE(plug.SerializeState(&chunk));
  EXPECT_TRUE(plug.CompareState(chunk.Data(), 0)) << "a state equals itself";

  std::vector<unsigned char> bytes = BytesOfDoubles({-1.0, 0.0, 5.0, 5.0, 5.0, 1.0}); // one value before the state
  EXPECT_TRUE(plug.CompareState(bytes.data(), 1)) << "startPos counts doubles";
  EXPECT_FALSE(plug.CompareState(bytes.data(), 0));

  struct Case
  {
    const char* what;
    double stored; // for parameter 1, whose value is 5
    bool equal;
  };
  const Case cases[] = {
    {"0.0001 apart", 5.0001, false},
    {"1e-7 apart, same float", 5.0000001, true},
    {"NaN", std::numeric_limits<double>::quiet_NaN(), false},
    {"beyond the float range", 1e300, false},
  };
  for (const Case& c : cases)
  {
    bytes = BytesOfDoubles({0.0, c.stored, 5.0, 5.0, 1.0});
    EXPECT_EQ(plug.CompareState(bytes.data(), 0), c.equal) << c.what;
  }
  EXPECT_FALSE(plug.CompareState(nullptr, 0));
  EXPECT_FALSE(plug.CompareState(bytes.data(), -1));
  StatePlug none(1, 0);
  EXPECT_TRUE(none.CompareState(nullptr, 0)) << "no parameters compare equal";
}
