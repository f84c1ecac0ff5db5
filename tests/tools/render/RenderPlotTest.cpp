// The response plot: its data (measured through the bundle) against the
// cabinet's known whole-chain magnitudes, and the picture itself.
#include <cmath>
#include <algorithm>
#include <complex>
#include <map>
#include <sstream>
#include <string>

#include "LICE_IBitmap.h"
#include "lice_blit.h"
#include "lice_png.h"
#include "RenderTestSupport.h"

namespace rendertest {
namespace {

struct PlotData
{
  std::vector<std::string> labels;
  std::vector<double> hz;
  std::vector<std::vector<double>> db;   // per curve
};

PlotData ReadCsv(const std::string& path)
{
  PlotData d;
  std::istringstream in(ReadBytes(path));
  std::string line;
  std::getline(in, line);
  size_t pos = 0;
  while ((pos = line.find('"', pos)) != std::string::npos)
  {
    const size_t end = line.find('"', pos + 1);
    d.labels.push_back(line.substr(pos + 1, end - pos - 1));
    pos = end + 1;
  }
  d.db.resize(d.labels.size());
  while (std::getline(in, line))
  {
    std::istringstream row(line);
    std::string cell;
    std::getline(row, cell, ',');
    d.hz.push_back(std::stod(cell));
    for (auto& curve : d.db)
    {
      std::getline(row, cell, ',');
      curve.push_back(std::stod(cell));
    }
  }
  return d;
}

// Linear in log frequency between the two grid points around hz.
double At(const PlotData& d, size_t curve, double hz)
{
  for (size_t i = 0; i + 1 < d.hz.size(); ++i)
    if (d.hz[i] <= hz && hz <= d.hz[i + 1])
    {
      const double t = std::log(hz / d.hz[i]) / std::log(d.hz[i + 1] / d.hz[i]);
      return d.db[curve][i] + t * (d.db[curve][i + 1] - d.db[curve][i]);
    }
  return NAN;
}

// The DC blocker y = 0.999·y1 + x − x1 at hz.
double DcBlockerDb(double hz, double rate)
{
  const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * hz / rate);
  return 20.0 * std::log10(std::abs((1.0 - z1) / (1.0 - 0.999 * z1)));
}

struct Expected
{
  double hz, db;
};

void ExpectChain(const PlotData& d, size_t curve, double rate, const std::vector<Expected>& table, const char* what)
{
  for (const Expected& e : table)
    EXPECT_NEAR(At(d, curve, e.hz) - DcBlockerDb(e.hz, rate), e.db, 0.05) << what << " at " << e.hz << " Hz";
}

TEST_F(RenderTest, PlotDataMatchTheChainAtSettledDefaults48k)
{
  const RunResult run = Render({"--plot", Path("r.png"), "--plot-data", Path("r.csv")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const PlotData d = ReadCsv(Path("r.csv"));
  ASSERT_EQ(d.labels.size(), 1u);
  ASSERT_GT(d.hz.size(), 500u);
  EXPECT_NEAR(d.hz.front(), 20.0, 0.2);
  EXPECT_NEAR(d.hz.back(), 20000.0, 200.0);
  ExpectChain(d, 0, 48000.0, {{100, 4.42}, {1000, 2.88}, {3000, 4.75}, {8000, -21.23}}, "defaults, 48 kHz");
}

TEST_F(RenderTest, PlotDataMatchTheChainAtTheExtremeSettings44k)
{
  // The plot runs at the input's rate.
  const std::string in = Path("in.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(1, 44100, 4410, 2)));
  const RunResult run = Render({"--mic", "10", "--size", "0", "--character", "10", "--output", "10", "--plot-data",
                                Path("r.csv"), in, Path("out.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const PlotData d = ReadCsv(Path("r.csv"));
  ASSERT_EQ(d.labels.size(), 1u);
  EXPECT_EQ(d.labels[0], "mic 10.0, size 0.0, character 10.0, output 10.0");
  ExpectChain(d, 0, 44100.0, {{100, -12.69}, {1000, 6.75}, {3000, -2.09}, {8000, -29.55}},
              "mic 10, size 0, character 10, output 10, 44.1 kHz");
}

TEST_F(RenderTest, CompareOverlaysEachSettingOnTheCommandLineOnes)
{
  const RunResult run = Render({"--output", "10", "--plot", Path("c.png"), "--plot-data", Path("c.csv"), "--compare",
                                "mic=0,size=5", "mic=10,size=0,character=10", "bypass"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const PlotData d = ReadCsv(Path("c.csv"));
  ASSERT_EQ(d.labels.size(), 3u);
  EXPECT_EQ(d.labels[0], "mic 0.0, size 5.0, character 5.0, output 10.0");
  EXPECT_EQ(d.labels[2], "mic 0.0, size 5.0, character 5.0, output 10.0, bypassed");
  // Output 10 doubles the defaults' response; the second curve is the extreme one plus the same +6.02 dB.
  ExpectChain(d, 0, 48000.0, {{100, 4.42 + 6.02}, {1000, 2.88 + 6.02}, {8000, -21.23 + 6.02}}, "first curve");
  // A bypassed effect passes the impulse unchanged: flat at 0 dB.
  for (size_t i = 0; i < d.hz.size(); ++i) ASSERT_NEAR(d.db[2][i], 0.0, 1e-6) << d.hz[i] << " Hz bypassed";
}

// Pixels of exactly one colour in the picture.
int CountColour(LICE_IBitmap* bm, LICE_pixel colour)
{
  int n = 0;
  for (int y = 0; y < bm->getHeight(); ++y)
    for (int x = 0; x < bm->getWidth(); ++x) n += LICE_GetPixel(bm, x, y) == colour;
  return n;
}

TEST_F(RenderTest, PlotPictureHasTheChartItsCurvesAndALegend)
{
  ASSERT_EQ(Render({"--plot", Path("one.png")}).exitCode, 0);
  ASSERT_EQ(Render({"--plot", Path("three.png"), "--compare", "mic=0", "mic=10", "size=10"}).exitCode, 0);
  std::unique_ptr<LICE_IBitmap> one(LICE_LoadPNG(Path("one.png").c_str()));
  std::unique_ptr<LICE_IBitmap> three(LICE_LoadPNG(Path("three.png").c_str()));
  ASSERT_TRUE(one && three) << "the plots decode as PNG";
  EXPECT_EQ(one->getWidth(), 1200);
  EXPECT_EQ(one->getHeight(), 720);

  const LICE_pixel blue = LICE_RGBA(31, 105, 180, 255), orange = LICE_RGBA(222, 110, 20, 255),
                   green = LICE_RGBA(40, 150, 70, 255), title = LICE_RGBA(28, 32, 38, 255),
                   grid = LICE_RGBA(214, 218, 225, 255), zero = LICE_RGBA(150, 156, 166, 255);
  // One curve 1000 pixels across, about two pixels thick at full coverage.
  EXPECT_GT(CountColour(one.get(), blue), 1500);
  EXPECT_EQ(CountColour(one.get(), orange), 0) << "a single curve has no second colour";
  EXPECT_GT(CountColour(one.get(), title), 300) << "title text";
  EXPECT_GT(CountColour(one.get(), grid), 3000) << "grid lines";
  EXPECT_GT(CountColour(one.get(), zero), 500) << "the 0 dB line";
  for (LICE_pixel c : {blue, orange, green}) EXPECT_GT(CountColour(three.get(), c), 1000) << std::hex << c;

  // The legend: one swatch per curve, short horizontal strokes that start
  // in the same column, which the curves of the chart itself never line up to.
  auto swatchStarts = [](LICE_IBitmap* bm, LICE_pixel c) {
    std::vector<int> starts;
    for (int y = 0; y < bm->getHeight(); ++y)
      for (int x = 0, run = 0; x < bm->getWidth(); ++x)
      {
        run = LICE_GetPixel(bm, x, y) == c ? run + 1 : 0;
        if (run == 24) starts.push_back(x - 23);
      }
    return starts;
  };
  const std::vector<int> b = swatchStarts(three.get(), blue), o = swatchStarts(three.get(), orange),
                         g = swatchStarts(three.get(), green);
  bool aligned = false;
  for (int x : b)
    aligned |= std::find(o.begin(), o.end(), x) != o.end() && std::find(g.begin(), g.end(), x) != g.end();
  EXPECT_TRUE(aligned) << "three legend swatches in one column";

  // Log frequency axis: the 100 Hz, 1 kHz and 10 kHz grid lines are equally spaced.
  auto columnIsGrid = [&](int x) { return LICE_GetPixel(one.get(), x, 200) == grid; };
  std::vector<int> majors;
  for (int x = 97; x < 1163; ++x)
    if (columnIsGrid(x)) majors.push_back(x);
  // 50, 100, 200, 500, 1k, 2k, 5k, 10k inside the frame (20 Hz and 20 kHz lie on its edges).
  ASSERT_EQ(majors.size(), 8u);
  EXPECT_NEAR(majors[4] - majors[1], majors[7] - majors[4], 1) << "decades are equally wide";
  EXPECT_NEAR(majors[2] - majors[1], (majors[4] - majors[1]) * std::log10(2.0), 1.5) << "200 Hz at log10(2) of a decade";
}
} // namespace
} // namespace rendertest
