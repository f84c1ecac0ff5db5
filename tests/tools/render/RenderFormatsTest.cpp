// Every supported format, mono and stereo, 44.1/48/96 kHz, odd lengths and
// block sizes: the renderer's output equals the bundle's own block-by-block
// output in the in-repo host (bit for bit for float files, after the same
// quantisation for integer ones, length and level for Ogg Vorbis).
#include <cmath>
#include <cstring>
#include <string>

#include "RenderTestSupport.h"

namespace rendertest {
namespace {

struct FormatCase
{
  const char* name;
  int format;
  int channels;
  int rate;
  long long frames;
  int block;
  bool useDouble;
  const char* extension;
};

enum Compare
{
  kExact,      // float samples, bit for bit
  kQuantised,  // integers after the same conversion
  kLevel,      // lossy: length and level
};

Compare HowToCompare(int format)
{
  const int sub = format & SF_FORMAT_SUBMASK;
  if (sub == SF_FORMAT_VORBIS) return kLevel;
  if (sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_DOUBLE) return kExact;
  return kQuantised;
}

class RenderFormats : public RenderTest, public ::testing::WithParamInterface<FormatCase>
{
};

TEST_P(RenderFormats, OutputEqualsTheBundleBlockByBlock)
{
  const FormatCase& c = GetParam();
  const std::string in = Path(std::string("in.") + c.extension), out = Path(std::string("out.") + c.extension);
  ASSERT_TRUE(WriteAudio(in, c.format, TestSignal(c.channels, c.rate, c.frames, 11u + c.channels)));
  std::vector<std::string> args = {"--block", std::to_string(c.block), "--mic", "3.5", "--size", "7",
                                   "--character", "4", "--output", "6"};
  if (c.useDouble) args.push_back("--double");
  args.push_back(in);
  args.push_back(out);
  const RunResult run = Render(args);
  ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
  EXPECT_EQ(run.err, "") << c.name << ": nothing on stderr when it is not a terminal";

  const Audio got = ReadAudio(out, !c.useDouble);
  ASSERT_EQ(got.channels, c.channels) << c.name;
  ASSERT_EQ(got.rate, c.rate) << c.name;
  EXPECT_EQ(got.format, c.format) << c.name << ": the output keeps the input's container and subtype";
  ASSERT_EQ(got.Frames(), c.frames) << c.name;

  Knobs knobs;
  knobs.mic = 3.5, knobs.size = 7, knobs.character = 4, knobs.output = 6;
  const Audio ref = Reference(in, c.block, c.useDouble, knobs);
  ASSERT_EQ(ref.Frames(), c.frames) << c.name;

  switch (HowToCompare(c.format))
  {
    case kExact:
      for (int ch = 0; ch < c.channels; ++ch)
        for (long long i = 0; i < c.frames; ++i)
        {
          const double want = (c.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT
                                  ? static_cast<double>(static_cast<float>(ref.samples[ch][i]))
                                  : ref.samples[ch][i];
          ASSERT_EQ(std::memcmp(&got.samples[ch][i], &want, sizeof want), 0)
            << c.name << ": channel " << ch << " frame " << i << " got " << got.samples[ch][i] << " want " << want;
        }
      break;
    case kQuantised:
    {
      const std::string refPath = Path(std::string("ref.") + c.extension);
      ASSERT_TRUE(WriteAudio(refPath, c.format, ref));
      const std::vector<int> a = ReadInts(out), b = ReadInts(refPath);
      ASSERT_EQ(a.size(), b.size()) << c.name;
      size_t differ = 0;
      for (size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i];
      EXPECT_EQ(differ, 0u) << c.name << ": samples that differ after quantisation";
      break;
    }
    case kLevel:
      for (int ch = 0; ch < c.channels; ++ch)
        EXPECT_NEAR(RmsDb(got.samples[ch]), RmsDb(ref.samples[ch]), 0.25) << c.name << ": channel " << ch;
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
  AllFormats, RenderFormats,
  ::testing::Values(
    FormatCase{"wav_float_stereo_48k", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 48000 + 37, 512, false, "wav"},
    FormatCase{"wav_float_mono_44k_block1", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100, 10007, 1, false, "wav"},
    FormatCase{"wav_float_stereo_96k_double", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 96000, 30011, 333, true, "wav"},
    FormatCase{"wav_double_mono_48k_double", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 48000, 20001, 4096, true, "wav"},
    FormatCase{"wav_pcm16_stereo_96k", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 96000, 50003, 333, false, "wav"},
    FormatCase{"wav_pcm24_mono_48k", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 48000, 24001, 4096, false, "wav"},
    FormatCase{"wav_pcm32_stereo_44k", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 2, 44100, 22051, 64, false, "wav"},
    FormatCase{"aiff_float_stereo_44k", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 2, 44100, 30001, 100, false, "aiff"},
    FormatCase{"aiff_pcm16_mono_96k", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 96000, 40009, 777, false, "aiff"},
    FormatCase{"aiff_pcm24_stereo_48k", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 48000, 9999, 512, false, "aiff"},
    FormatCase{"flac_pcm16_stereo_44k", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100, 33333, 517, false, "flac"},
    FormatCase{"flac_pcm24_mono_48k", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1, 48000, 24000, 256, false, "flac"},
    FormatCase{"flac_pcm16_mono_96k_double", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 96000, 19997, 1000, true, "flac"},
    FormatCase{"ogg_vorbis_stereo_48k", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 48000, 96000 + 5, 512, false, "ogg"},
    FormatCase{"ogg_vorbis_mono_44k", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 44100, 44100 * 2 + 1, 300, false, "ogg"}),
  [](const ::testing::TestParamInfo<FormatCase>& p) { return std::string(p.param.name); });

// --format picks another container; the subtype follows the input where the
// new container can hold it.
TEST_F(RenderTest, FormatOptionConvertsTheContainer)
{
  const std::string in = Path("in.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_PCM_16, TestSignal(2, 48000, 12000, 3)));
  struct
  {
    const char* formatArg;
    const char* file;
    int want;
  } cases[] = {{"flac", "a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
               {"aiff:float", "b.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
               {"ogg", "c.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
               {"wav:pcm24", "d.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24}};
  for (const auto& c : cases)
  {
    const RunResult run = Render({"--format", c.formatArg, in, Path(c.file)});
    ASSERT_EQ(run.exitCode, 0) << c.formatArg << ": " << run.err;
    const Audio got = ReadAudio(Path(c.file), true);
    EXPECT_EQ(got.format, c.want) << c.formatArg;
    EXPECT_EQ(got.Frames(), 12000) << c.formatArg;
  }
  // A float copy of the same render holds the unquantised samples the 16-bit one rounds.
  const Audio ref = Reference(in, 512, false, Knobs());
  const Audio f = ReadAudio(Path("b.aiff"), true);
  for (int ch = 0; ch < 2; ++ch)
    for (long long i = 0; i < 12000; ++i)
      ASSERT_EQ(static_cast<float>(f.samples[ch][i]), static_cast<float>(ref.samples[ch][i])) << "frame " << i;
}

} // namespace
} // namespace rendertest
