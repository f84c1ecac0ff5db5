// The command line's settings reach the plug-in's parameters, the pre-roll
// settles them, and the summary reports what happened.
#include <cmath>
#include <cstdio>
#include <string>

#include "RenderTestSupport.h"

namespace rendertest {
namespace {

// A 1 kHz tone's level follows "Output" by 20·log10(output / 5): the output
// gain is (output / 10) · 2 and nothing else in the chain depends on it.
TEST_F(RenderTest, OutputKnobMovesTheToneLevelByTheExpectedDb)
{
  const std::string in = Path("tone.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, Tone(2, 48000, 48000, 1000.0, 0.05)));
  ASSERT_EQ(Render({"--output", "5", in, Path("out5.wav")}).exitCode, 0);
  const double ref = RmsDb(ReadAudio(Path("out5.wav"), true).samples[0], 4800);
  for (double output : {10.0, 7.5, 2.5, 1.0})
  {
    char text[16];
    std::snprintf(text, sizeof text, "%g", output);
    const std::string out = Path(std::string("out") + text + ".wav");
    const RunResult run = Render({"--output", text, in, out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int ch = 0; ch < 2; ++ch)
    {
      const double level = RmsDb(ReadAudio(out, true).samples[static_cast<size_t>(ch)], 4800);
      EXPECT_NEAR(level - ref, 20.0 * std::log10(output / 5.0), 0.01) << "output " << output << " channel " << ch;
    }
  }
}

// Each knob reaches its own parameter: the same file with one knob changed
// matches the bundle driven with exactly that change, and differs from the defaults.
TEST_F(RenderTest, EachKnobReachesItsParameter)
{
  const std::string in = Path("in.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(1, 44100, 22050, 5)));
  const Audio defaults = Reference(in, 512, false, Knobs());
  struct
  {
    const char* option;
    double Knobs::*field;
  } knobs[] = {{"--mic", &Knobs::mic}, {"--size", &Knobs::size}, {"--character", &Knobs::character},
               {"--output", &Knobs::output}};
  for (const auto& k : knobs)
  {
    const std::string out = Path(std::string(k.option + 2) + ".wav");
    ASSERT_EQ(Render({k.option, "8.5", in, out}).exitCode, 0) << k.option;
    Knobs want;
    want.*(k.field) = 8.5;
    const Audio ref = Reference(in, 512, false, want);
    const Audio got = ReadAudio(out, true);
    double diffFromDefaults = 0.0;
    for (long long i = 0; i < got.Frames(); ++i)
    {
      ASSERT_EQ(static_cast<float>(got.samples[0][i]), static_cast<float>(ref.samples[0][i])) << k.option << " frame " << i;
      diffFromDefaults = std::fmax(diffFromDefaults, std::fabs(got.samples[0][i] - defaults.samples[0][i]));
    }
    EXPECT_GT(diffFromDefaults, 1e-3) << k.option << " changed nothing";
  }
}

// --bypass sets the effect's "Bypass" to 0: the output is the input, exactly.
TEST_F(RenderTest, BypassPassesTheInputThrough)
{
  const std::string in = Path("in.wav"), out = Path("out.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(2, 48000, 30000, 8)));
  const RunResult run = Render({"--bypass", "--output", "10", in, out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Audio a = ReadAudio(in, true), b = ReadAudio(out, true);
  ASSERT_EQ(b.Frames(), a.Frames());
  for (int ch = 0; ch < 2; ++ch)
    for (long long i = 0; i < a.Frames(); ++i) ASSERT_EQ(a.samples[ch][i], b.samples[ch][i]) << "frame " << i;
  EXPECT_NE(run.out.find("bypassed"), std::string::npos) << run.out;
}

// Without the pre-roll the output gain glides up from zero; with it the
// first samples are already at full level.
TEST_F(RenderTest, PrerollSettlesTheSmoothersBeforeTheFirstSample)
{
  const std::string in = Path("tone.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, Tone(1, 48000, 48000, 1000.0, 0.1)));
  ASSERT_EQ(Render({in, Path("pre.wav")}).exitCode, 0);
  ASSERT_EQ(Render({"--no-preroll", in, Path("cold.wav")}).exitCode, 0);
  const Audio pre = ReadAudio(Path("pre.wav"), true), cold = ReadAudio(Path("cold.wav"), true);
  auto rms = [](const std::vector<double>& x, size_t from, size_t n) {
    double s = 0.0;
    for (size_t i = from; i < from + n; ++i) s += x[i] * x[i];
    return 10.0 * std::log10(s / static_cast<double>(n));
  };
  // 48 samples = one period of 1 kHz; the first 10 ms against the last 100 ms.
  const double settled = rms(pre.samples[0], 43200, 4800);
  EXPECT_NEAR(rms(pre.samples[0], 480, 480), settled, 0.1) << "with pre-roll the start is at full level";
  EXPECT_LT(rms(cold.samples[0], 0, 480), settled - 20.0) << "without pre-roll the start is near silence";
  const Audio ref = Reference(in, 512, false, Knobs(), false);
  for (long long i = 0; i < 48000; ++i)
    ASSERT_EQ(static_cast<float>(cold.samples[0][i]), static_cast<float>(ref.samples[0][i])) << "frame " << i;
}

// The summary: levels in dBFS, clipped samples counted, length, speed.
TEST_F(RenderTest, SummaryReportsLevelsClippingLengthAndSpeed)
{
  const std::string in = Path("loud.wav"), out = Path("loud16.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_PCM_16, Tone(2, 48000, 72000, 200.0, 0.9)));
  const RunResult run = Render({"--output", "10", in, out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");

  Knobs loud;
  loud.output = 10;
  const Audio ref = Reference(in, 512, false, loud);
  long long overs = 0;
  double peak = 0.0;
  for (const auto& ch : ref.samples)
    for (double v : ch)
    {
      overs += std::fabs(static_cast<float>(v)) > 1.0f;
      peak = std::fmax(peak, std::fabs(static_cast<float>(v)));
    }
  ASSERT_GT(overs, 0) << "the test tone must clip at Output 10";
  EXPECT_NE(run.out.find("clipped    " + std::to_string(overs) + " samples"), std::string::npos) << run.out;
  // The 16-bit file holds full scale where the render went over.
  const std::vector<int> ints = ReadInts(out);
  long long atFullScale = 0;
  for (int v : ints) atFullScale += v >= 0x7FFF0000 || v <= -0x7FFF0000;
  EXPECT_GE(atFullScale, overs);

  double peakDb = 0.0, rmsDb = 0.0;
  const size_t at = run.out.find("  output     peak");
  ASSERT_NE(at, std::string::npos) << run.out;
  ASSERT_EQ(std::sscanf(run.out.c_str() + at, "  output peak %lf dBFS RMS %lf dBFS", &peakDb, &rmsDb), 2) << run.out;
  EXPECT_NEAR(peakDb, 20.0 * std::log10(peak), 0.06);
  EXPECT_NEAR(rmsDb, RmsDb(ref.samples[0]), 0.5);
  EXPECT_NE(run.out.find("input      peak   -0.9 dBFS"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("0:01.500 (72000 frames)"), std::string::npos) << run.out;
  double seconds = 0.0, speed = 0.0;
  const size_t time = run.out.find("  time       ");
  ASSERT_NE(time, std::string::npos) << run.out;
  ASSERT_EQ(std::sscanf(run.out.c_str() + time, "  time %lf s, %lf x real time", &seconds, &speed), 2) << run.out;
  EXPECT_GT(seconds, 0.0);
  // Both numbers are rounded: the time to 1 ms, the speed to 0.1.
  EXPECT_NEAR(speed * seconds, 1.5, 0.0005 * speed + 0.05 * seconds + 0.01) << "x real time is the length over the time";
  EXPECT_NE(run.out.find("mic 0.0, size 5.0, character 5.0, output 10.0"), std::string::npos) << run.out;
}

// Non-finite samples in a float file: the render goes on, the output stays
// finite, and the summary says how many there were.
TEST_F(RenderTest, NonFiniteInputSamplesAreReported)
{
  Audio a = TestSignal(2, 48000, 24000, 12);
  a.samples[0][1000] = NAN;
  a.samples[1][2000] = INFINITY;
  a.samples[1][2001] = -INFINITY;
  ASSERT_TRUE(WriteAudio(Path("bad.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, a));
  const RunResult run = Render({Path("bad.wav"), Path("out.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("warning    3 input samples were not finite numbers"), std::string::npos) << run.out;
  const Audio out = ReadAudio(Path("out.wav"), true);
  for (int ch = 0; ch < 2; ++ch)
    for (long long i = 0; i < out.Frames(); ++i) ASSERT_TRUE(std::isfinite(out.samples[ch][i])) << "frame " << i;
  EXPECT_GT(RmsDb(out.samples[0], 12000), -40.0) << "the channel recovers after the bad sample";
}

} // namespace
} // namespace rendertest
