#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "Base64.h"
#include "StatePlug.h"

namespace
{
// Runs every reader over bytes from every start position (and a few extreme
// ones); answers must be -1 or a position inside the data, and the plug-in
// must come out with terminated names and in-range parameter values. The
// sanitizer build turns any stray read into a failure.
void SweepReaders(const std::vector<unsigned char>& bytes, const std::string& what)
{
  ByteChunk chunk;
  FillChunk(&chunk, bytes);
  const int size = chunk.Size();
  std::vector<int> starts = {INT_MIN, -1000, INT_MAX, INT_MAX - 3, INT_MAX - 7, size + 1};
  for (int start = -2; start <= size; ++start) starts.push_back(start);

  StatePlug plug(3);
  for (int start : starts)
  {
    const std::string where = what + " from " + std::to_string(start);
    auto inside = [&](int pos, int minimum) { return pos == -1 || (pos >= minimum && pos <= size); };

    double d = 0.0;
    int32_t i = 0;
    bool b = false;
    WDL_String s;
    ASSERT_TRUE(inside(chunk.Read(&d, start), start)) << where;
    ASSERT_TRUE(inside(chunk.Read(&i, start), start)) << where;
    ASSERT_TRUE(inside(chunk.ReadBool(&b, start), start)) << where;
    ASSERT_TRUE(inside(chunk.ReadString(&s, start), start)) << where;
    ASSERT_LE(s.GetLength(), size) << where;

    const int afterParams = plug.UnserializeParams(&chunk, start);
    ASSERT_TRUE(start < 0 ? afterParams == start : inside(afterParams, start)) << where;
    const int afterBank = plug.UnserializePresets(&chunk, start);
    ASSERT_TRUE(start < 0 ? afterBank == start : inside(afterBank, start)) << where;
    for (int p = 0; p < plug.GetPresetCount(); ++p)
      ASSERT_LT(std::strlen(plug.GetPresetName(p)), static_cast<size_t>(IPreset::kNameSize)) << where;
    for (int p = 0; p < plug.GetParamCount(); ++p)
    {
      const IParam* param = plug.GetParam(p);
      ASSERT_TRUE(param->Value() >= param->GetMin() && param->Value() <= param->GetMax())
        << where << ": parameter " << p << " is " << param->Value();
    }
  }
}

std::vector<unsigned char> ValidBank()
{
  StatePlug plug(3);
  plug.MakeDefaultPreset("-", 1);
  plug.MakePreset("second", 1.0, 2.0, 3.0, 4.0, 0);
  ByteChunk bank;
  plug.SerializePresets(&bank);
  return BytesOf(bank);
}
} // namespace

TEST(HostileBytes, EveryTruncationOfABank)
{
  const std::vector<unsigned char> bank = ValidBank();
  ASSERT_EQ(bank.size(), (4 + 1 + 1 + 40) + (4 + 6 + 1 + 40) + (4 + 5 + 1));
  for (size_t n = 0; n <= bank.size(); ++n)
    SweepReaders(std::vector<unsigned char>(bank.begin(), bank.begin() + static_cast<long>(n)),
                 "bank cut to " + std::to_string(n) + " bytes");
}

TEST(HostileBytes, SeededRandomBuffers)
{
  std::mt19937 rng(20240607);
  const int32_t hostileLengths[] = {-1, INT32_MIN, INT32_MAX, INT32_MAX - 3, 0, 1, 300};
  const double hostileValues[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308, 12.0, -0.0};
  for (int round = 0; round < 300; ++round)
  {
    std::vector<unsigned char> bytes(rng() % 120);
    for (auto& byte : bytes) byte = static_cast<unsigned char>(rng());
    // Plant lengths and values a hostile writer would choose at random places.
    for (int k = 0; k < 3 && bytes.size() >= 8; ++k)
    {
      const size_t at = rng() % (bytes.size() - 7);
      if (rng() & 1)
        std::memcpy(&bytes[at], &hostileLengths[rng() % 7], 4);
      else
        std::memcpy(&bytes[at], &hostileValues[rng() % 7], 8);
    }
    SweepReaders(bytes, "random buffer " + std::to_string(round));
  }
}

TEST(HostileBytes, Base64TextAndSizes)
{
  std::mt19937 rng(42);
  const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=*\xff";
  for (int round = 0; round < 500; ++round)
  {
    std::string text(rng() % 64, 'A');
    for (char& c : text) c = alphabet[rng() % (sizeof alphabet - 1)];
    const int size = static_cast<int>(rng() % 40) - 4;

    std::vector<unsigned char> out(48, 0xEE);
    const int written = Base64Decode(text.c_str(), out.data(), size);
    ASSERT_TRUE(written >= 0 && written <= (size > 0 ? size : 0)) << "round " << round;
    for (size_t k = static_cast<size_t>(size > 0 ? size : 0); k < out.size(); ++k)
      ASSERT_EQ(out[k], 0xEE) << "round " << round << ": wrote past " << size;

    StatePlug plug(1);
    plug.MakePresetFromBlob("blob", text.c_str(), size);
    ASSERT_EQ(plug.GetPreset(0)->mChunk.Size(), size > 0 ? size : 0) << "round " << round << " text " << text;
  }
}
