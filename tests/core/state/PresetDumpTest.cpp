#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

#include "StatePlug.h"

namespace
{
std::string TempFile(const char* name)
{
  return ::testing::TempDir() + "murax_state_" + std::to_string(::getpid()) + "_" + name;
}

std::string ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One dumped line, as the compiler would see it.
struct BlobLine
{
  std::string name, base64;
  int size = -1;
};

// Reads a C string literal at text[pos] (just after its opening quote).
bool ReadLiteral(const std::string& text, size_t* pos, std::string* out)
{
  out->clear();
  while (*pos < text.size())
  {
    char c = text[(*pos)++];
    if (c == '"') return true;
    if (c == '\\' && *pos < text.size())
    {
      c = text[(*pos)++];
      if (c >= '0' && c <= '7')
      {
        int value = c - '0';
        for (int n = 0; n < 2 && *pos < text.size() && text[*pos] >= '0' && text[*pos] <= '7'; ++n)
          value = value * 8 + (text[(*pos)++] - '0');
        c = static_cast<char>(value);
      }
    }
    *out += c;
  }
  return false;
}

std::vector<BlobLine> ParseBlobLines(const std::string& text)
{
  std::vector<BlobLine> lines;
  const std::string head = "MakePresetFromBlob(\"";
  size_t pos = 0;
  while (text.compare(pos, head.size(), head) == 0)
  {
    pos += head.size();
    BlobLine line;
    if (!ReadLiteral(text, &pos, &line.name) || text.compare(pos, 3, ", \"") != 0) break;
    pos += 3;
    if (!ReadLiteral(text, &pos, &line.base64) || text.compare(pos, 2, ", ") != 0) break;
    pos += 2;
    const size_t end = text.find(");\n", pos);
    if (end == std::string::npos) break;
    line.size = std::stoi(text.substr(pos, end - pos));
    pos = end + 3;
    lines.push_back(line);
  }
  EXPECT_EQ(pos, text.size()) << "unparsed dump text: " << text.substr(pos);
  return lines;
}
} // namespace

TEST(PresetDump, BlobOfTheCurrentPreset)
{
  StatePlug plug(2);
  plug.MakePresetFromBlob("ignored", "AAEC", 3);
  const std::string path = TempFile("preset_blob.txt");
  plug.DumpPresetBlob(path.c_str());
  EXPECT_EQ(ReadFile(path), "MakePresetFromBlob(\"name\", \"AAEC\", 3);\n");

  plug.mCurrentPresetIdx = 1; // not initialised: its chunk is empty
  plug.DumpPresetBlob(path.c_str());
  EXPECT_EQ(ReadFile(path), "MakePresetFromBlob(\"name\", \"\", 0);\n");

  std::remove(path.c_str());
  plug.mCurrentPresetIdx = 2;
  plug.DumpPresetBlob(path.c_str());
  EXPECT_FALSE(std::ifstream(path).good()) << "no current preset, no file";
  plug.DumpPresetBlob("/nonexistent-dir/x.txt"); // cannot open: nothing happens
  plug.DumpPresetBlob(nullptr);
}

TEST(PresetDump, SourceCodeOfTheCurrentValues)
{
  StatePlug plug(1, 5, false);
  plug.GetParam(0)->InitDouble("Gain", 0.0, -100.0, 100.0, 0.1);
  plug.GetParam(1)->InitBool("On", false);
  plug.GetParam(2)->InitInt("Count", 0, -10, 10);
  plug.GetParam(3)->InitEnum("Mode", 0, 4);
  plug.GetParam(4)->InitBool("Off", true);
  plug.GetParam(0)->Set(-1.0 / 3.0);
  plug.GetParam(1)->Set(1.0);
  plug.GetParam(2)->Set(-2.7);
  plug.GetParam(3)->Set(2.9);
  plug.GetParam(4)->Set(0.4999);
  const char* enumNames[] = {"kGain", "kOn", "kCount", "kMode", "kOff"};
  const std::string path = TempFile("preset_src.txt");
  plug.DumpPresetSrcCode(path.c_str(), enumNames);
  EXPECT_EQ(ReadFile(path), "  MakePresetFromNamedParams(\"name\", 5,\n"
                            "    kGain, -0.333333,\n"
                            "    kOn, true,\n"
                            "    kCount, -2,\n"
                            "    kMode, 2,\n"
                            "    kOff, false);\n");

  plug.GetParam(0)->InitDouble("Gain", 0.0, -1e300, 1e300, 0.1);
  plug.GetParam(0)->Set(1e300); // far beyond a 32-character value text
  plug.DumpPresetSrcCode(path.c_str(), nullptr);
  const std::string text = ReadFile(path);
  char value[400];
  std::snprintf(value, sizeof value, "%.6f", 1e300);
  const std::string expected = std::string("  MakePresetFromNamedParams(\"name\", 5,\n    0, ") + value + ",\n    1, true";
  EXPECT_GT(std::string(value).size(), 300u);
  EXPECT_EQ(text.compare(0, expected.size(), expected), 0)
    << "missing enum names dump as indices, long values whole: " << text;
  std::remove(path.c_str());
}

TEST(PresetDump, BankLinesReadBackToTheSameBytes)
{
  std::mt19937 rng(7);
  StatePlug source(6);
  source.MakeDefaultPreset("-", 1);
  ByteChunk big; // 2000 bytes: past the 1533 that a 2048-character text once held
  for (int i = 0; i < 2000; ++i)
  {
    const unsigned char byte = static_cast<unsigned char>(rng());
    big.AppendBytes(&byte, 1);
  }
  source.MakePresetFromChunk("say \"hi\" \\ \x01 tab\t", &big);
  for (int size : {1533, 1534, 1})
  {
    ByteChunk part;
    part.AppendBytes(big.Data(), size);
    source.MakePresetFromChunk(("part " + std::to_string(size)).c_str(), &part);
  }
  // The sixth preset stays empty and dumps as an empty text.

  const std::string path = TempFile("bank_blob.txt");
  source.DumpBankBlob(path.c_str());
  const std::string text = ReadFile(path);
  const std::string first = "MakePresetFromBlob(\"-\", \"AAAAAAAAAAA";
  EXPECT_EQ(text.compare(0, first.size(), first), 0) << text.substr(0, 80);
  const std::vector<BlobLine> lines = ParseBlobLines(text);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1].name, "say \"hi\" \\ \x01 tab\t");
  EXPECT_EQ(lines[2].base64.size(), 2044u);
  EXPECT_EQ(lines[3].base64.size(), 2048u);
  EXPECT_EQ(lines[5].name, "empty");
  EXPECT_EQ(lines[5].base64, "");

  StatePlug target(6);
  for (const BlobLine& line : lines) target.MakePresetFromBlob(line.name.c_str(), line.base64.c_str(), line.size);
  for (int i = 0; i < 6; ++i)
  {
    EXPECT_STREQ(target.GetPresetName(i), source.GetPresetName(i)) << "preset " << i;
    EXPECT_TRUE(target.GetPreset(i)->mChunk.IsEqual(&source.GetPreset(i)->mChunk))
      << "preset " << i << ": " << source.GetPreset(i)->mChunk.Size() << " bytes dumped as " << lines[static_cast<size_t>(i)].size;
  }
  std::remove(path.c_str());
}
