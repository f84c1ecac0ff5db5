#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "RenderTestSupport.h"
#include "lice.h"

using namespace rendertest;

namespace
{
const std::string kResources = std::string(MURAX_BUNDLE_PATH) + "/Contents/Resources";
const std::string kClassID = "F2AEE70D00DE4F4E54646D724D525831";

std::unique_ptr<LICE_IBitmap> LoadPng(const std::string& path)
{
  return std::unique_ptr<LICE_IBitmap>(LICE_LoadPNG(path.c_str(), nullptr));
}

LICE_pixel At(LICE_IBitmap* b, int x, int y) { return b->getBits()[y * b->getRowSpan() + x]; }

// The bounding box of the pixels that differ between two pictures of the same size.
struct Box
{
  int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
  bool Empty() const { return r < 0; }
};
Box Differences(LICE_IBitmap* a, LICE_IBitmap* b)
{
  Box box;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      if (At(a, x, y) != At(b, x, y))
      {
        box.l = std::min(box.l, x);
        box.t = std::min(box.t, y);
        box.r = std::max(box.r, x + 1);
        box.b = std::max(box.b, y + 1);
      }
  return box;
}

int Channel(LICE_pixel p, int shift) { return static_cast<int>((p >> shift) & 255u); }
} // namespace

using RenderSnapshot = RenderTest;

TEST_F(RenderSnapshot, DefaultsAreTheBundlesSnapshotAndEachSettingMovesOnlyItsControl)
{
  auto bundleShot = LoadPng(kResources + "/Snapshots/" + kClassID + "_snapshot.png");
  ASSERT_TRUE(bundleShot) << "the build writes the bundle's snapshot";
  ASSERT_EQ(bundleShot->getWidth(), 702);
  ASSERT_EQ(bundleShot->getHeight(), 436);

  ASSERT_EQ(Render({"-q", "--snapshot", Path("defaults.png")}).exitCode, 0);
  auto defaults = LoadPng(Path("defaults.png"));
  ASSERT_TRUE(defaults);
  EXPECT_TRUE(Differences(defaults.get(), bundleShot.get()).Empty()) << "both paths draw the same editor";
  for (int y = 0; y < 436; y += 7)
    for (int x = 0; x < 702; x += 7) ASSERT_EQ(At(defaults.get(), x, y) >> 24, 255u) << "opaque at " << x << "," << y;

  struct Case
  {
    std::vector<std::string> args;
    int l, t, r, b;   // the control the setting belongs to
  } cases[] = {
    {{"--size", "0"}, 25, 77, 115, 167},
    {{"--character", "10"}, 25, 181, 115, 271},
    {{"--output", "2.5"}, 25, 285, 115, 375},
    {{"--bypass"}, 24, 12, 24 + 96, 12 + 64},
    {{"--mic", "10"}, 182, 0, 182 + 456, 268},
  };
  for (const Case& c : cases)
  {
    std::vector<std::string> args = {"-q", "--snapshot", Path("moved.png")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_EQ(Render(args).exitCode, 0) << c.args[0];
    auto moved = LoadPng(Path("moved.png"));
    ASSERT_TRUE(moved);
    const Box box = Differences(defaults.get(), moved.get());
    ASSERT_FALSE(box.Empty()) << c.args[0] << " changes the picture";
    EXPECT_GE(box.l, c.l) << c.args[0];
    EXPECT_GE(box.t, c.t) << c.args[0];
    EXPECT_LE(box.r, c.r) << c.args[0];
    EXPECT_LE(box.b, c.b) << c.args[0];
  }
}

TEST_F(RenderSnapshot, TheDoubleSizeSnapshotIsTheEditorScaledUp)
{
  auto one = LoadPng(kResources + "/Snapshots/" + kClassID + "_snapshot.png");
  auto two = LoadPng(kResources + "/Snapshots/" + kClassID + "_snapshot_2.0x.png");
  ASSERT_TRUE(one && two);
  ASSERT_EQ(two->getWidth(), 1404);
  ASSERT_EQ(two->getHeight(), 872);
  // Bilinear doubling: each source pixel's 2 x 2 block blends it with its neighbours only.
  double worst = 0;
  for (int y = 1; y < 435; y += 5)
    for (int x = 1; x < 701; x += 5)
      for (int shift : {0, 8, 16})
      {
        double sum = 0;
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx) sum += Channel(At(two.get(), 2 * x + dx, 2 * y + dy), shift);
        // Within the span of the pixel's 3 x 3 neighbourhood in the original.
        double lo = 255, hi = 0;
        for (int ny = -1; ny <= 1; ++ny)
          for (int nx = -1; nx <= 1; ++nx)
          {
            const double v = Channel(At(one.get(), x + nx, y + ny), shift);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
          }
        lo -= 1;
        hi += 1;
        const double avg = sum / 4;
        worst = std::max(worst, std::max(lo - avg, avg - hi));
      }
  EXPECT_LE(worst, 0.0) << "a scaled pixel strays outside its source neighbourhood by " << worst;
}

TEST_F(RenderSnapshot, ABundleWithoutImagesIsAClearErrorAndWritesNothing)
{
  ASSERT_EQ(std::system(("mkdir '" + Path("copy") + "'").c_str()), 0);
  const std::string fake = Path("copy/MURAX.vst3");
  ASSERT_EQ(std::system(("cp -R '" + std::string(MURAX_BUNDLE_PATH) + "' '" + fake + "' && rm '" + fake +
                         "/Contents/Resources/MIC.png'")
                          .c_str()),
            0);
  const RunResult r = Render({"--bundle", fake, "--snapshot", Path("editor.png")});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("MIC.png"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  EXPECT_TRUE(ReadBytes(Path("editor.png")).empty()) << "no file after a failure";
}

TEST_F(RenderSnapshot, TheModuleInfoListsBothSnapshots)
{
  const std::string json = ReadBytes(kResources + "/moduleinfo.json");
  for (const char* suffix : {"_snapshot.png", "_snapshot_2.0x.png"})
  {
    const std::string path = "Snapshots/" + kClassID + suffix;
    EXPECT_NE(json.find("\"Path\": \"" + path + "\""), std::string::npos) << path;
    EXPECT_TRUE(LoadPng(kResources + "/" + path)) << path << " exists and decodes";
  }
  EXPECT_NE(json.find("\"Scale Factor\": 1.0"), std::string::npos);
  EXPECT_NE(json.find("\"Scale Factor\": 2.0"), std::string::npos);
}
