// The demo: without file names the renderer writes the phrase dry, the phrase
// through MURAX and the response plot, the same bytes on every run.
#include <cmath>
#include <memory>
#include <string>

#include "LICE_IBitmap.h"
#include "lice_png.h"
#include "RenderTestSupport.h"

namespace rendertest {
namespace {

TEST_F(RenderTest, DemoWritesThePhraseDryProcessedAndItsPlot)
{
  const RunResult run = Render({"--demo-dir", Path("demo")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "") << "no progress bar when stderr is not a terminal";
  EXPECT_NE(run.out.find("The demo is in " + Path("demo")), std::string::npos) << run.out;

  const Audio dry = ReadAudio(Path("demo/demo-dry.wav"), true);
  EXPECT_EQ(dry.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(dry.channels, 2);
  EXPECT_EQ(dry.rate, 48000);
  EXPECT_EQ(dry.Frames(), 8 * 48000);
  // A phrase, not silence and not a constant: notes start through the whole 8 s.
  for (int second = 0; second < 8; ++second)
  {
    std::vector<double> part(dry.samples[0].begin() + second * 48000, dry.samples[0].begin() + (second + 1) * 48000);
    EXPECT_GT(RmsDb(part), -45.0) << "second " << second << " is nearly silent";
  }
  double peak = 0.0, diff = 0.0;
  for (long long i = 0; i < dry.Frames(); ++i)
  {
    peak = std::fmax(peak, std::fabs(dry.samples[0][i]));
    diff = std::fmax(diff, std::fabs(dry.samples[0][i] - dry.samples[1][i]));
  }
  EXPECT_NEAR(20.0 * std::log10(peak), -6.0, 1.0);
  EXPECT_GT(diff, 0.01) << "the strings are spread across the stereo field";

  // The processed phrase is the dry one through the bundle.
  const Audio ref = Reference(Path("demo/demo-dry.wav"), 512, false, Knobs());
  ASSERT_TRUE(WriteAudio(Path("ref.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, ref));
  EXPECT_EQ(ReadInts(Path("demo/demo-murax.wav")), ReadInts(Path("ref.wav")));

  std::unique_ptr<LICE_IBitmap> plot(LICE_LoadPNG(Path("demo/response.png").c_str()));
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->getWidth(), 1200);

  // Deterministic: a second demo is byte for byte the first.
  ASSERT_EQ(Render({"--demo-dir", Path("again")}).exitCode, 0);
  for (const char* name : {"demo-dry.wav", "demo-murax.wav", "response.png"})
    EXPECT_EQ(ReadBytes(Path(std::string("again/") + name)), ReadBytes(Path(std::string("demo/") + name))) << name;
}

// The demo takes the settings too.
TEST_F(RenderTest, DemoFollowsTheSettings)
{
  ASSERT_EQ(Render({"--demo-dir", Path("a")}).exitCode, 0);
  ASSERT_EQ(Render({"--demo-dir", Path("b"), "--output", "10"}).exitCode, 0);
  const double a = RmsDb(ReadAudio(Path("a/demo-murax.wav"), true).samples[0]);
  const double b = RmsDb(ReadAudio(Path("b/demo-murax.wav"), true).samples[0]);
  EXPECT_NEAR(b - a, 6.02, 0.05);
}

} // namespace
} // namespace rendertest
