#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ArtworkImages.h"
#include "lice_blit.h"
#include "lice_png.h"

using artworktest::Frame;
using artworktest::Image;
using artworktest::Luma;

namespace {

constexpr double kPi = 3.14159265358979;

struct Strip
{
  const char* file;
  int frames;
};
const Strip kKnobs[] = {{"SIZE.png", 61}, {"CHA.png", 61}, {"OUT.png", 61}};
const int kKnobRowY[] = {77, 181, 285};

// Every image is where the editor looks for it, with the frame count it
// loads it with, and fits the area its control owns on the 702 x 436 panel.
TEST(ArtworkImages, SizesAndFramesFitThePanel)
{
  auto bg = Image("BG.png");
  ASSERT_TRUE(bg) << "BG.png";
  EXPECT_EQ(bg->getWidth(), 702);
  EXPECT_EQ(bg->getHeight(), 436);

  auto sw = Image("BYPASS.png");
  ASSERT_TRUE(sw) << "BYPASS.png";
  EXPECT_EQ(sw->getHeight() % 2, 0) << "BYPASS.png holds two equal frames";
  EXPECT_LE(sw->getWidth(), 158) << "switch width";
  EXPECT_LE(sw->getHeight() / 2, 65) << "switch frame height";
  EXPECT_LE(12 + sw->getHeight() / 2, 77) << "the switch stays above the first knob";

  auto mic = Image("MIC.png");
  ASSERT_TRUE(mic) << "MIC.png";
  EXPECT_EQ(mic->getHeight() % 61, 0) << "MIC.png holds 61 equal frames";
  EXPECT_LE(mic->getHeight() / 61, 268) << "mic frame height";
  EXPECT_LE(182 + mic->getWidth(), 702) << "the mic strip stays on the panel";

  for (size_t i = 0; i < 3; ++i)
  {
    auto k = Image(kKnobs[i].file);
    ASSERT_TRUE(k) << kKnobs[i].file;
    EXPECT_EQ(k->getHeight(), 61 * k->getWidth()) << kKnobs[i].file << ": 61 square frames";
    EXPECT_GE(k->getWidth(), 80) << kKnobs[i].file;
    EXPECT_LE(k->getWidth(), 104) << kKnobs[i].file << " fits its 104-pixel row";
    EXPECT_LE(25 + k->getWidth(), 182) << kKnobs[i].file << " stays left of the mic strip";
    EXPECT_LE(kKnobRowY[i] + k->getWidth(), i + 1 < 3 ? kKnobRowY[i + 1] : 436) << kKnobs[i].file;
  }
}

TEST(ArtworkImages, LoadThroughTheResourceRoot)
{
  LICE_SetResourceRoot(MURAX_RESOURCE_DIR);
  for (const char* f : {"BG.png", "BYPASS.png", "MIC.png", "SIZE.png", "CHA.png", "OUT.png"})
  {
    std::unique_ptr<LICE_IBitmap> b(LICE_LoadPNGFromNamedResource(f));
    EXPECT_TRUE(b) << f;
  }
  LICE_SetResourceRoot(nullptr);
}

TEST(ArtworkImages, DecodedTotalStaysUnder48MiB)
{
  double bytes = 0;
  for (const char* f : {"BG.png", "BYPASS.png", "MIC.png", "SIZE.png", "CHA.png", "OUT.png"})
  {
    auto b = Image(f);
    ASSERT_TRUE(b) << f;
    bytes += 4.0 * b->getWidth() * b->getHeight();
  }
  EXPECT_LT(bytes, 48.0 * 1024 * 1024);
}

TEST(ArtworkImages, BackgroundIsOpaqueAndNotFlat)
{
  auto bg = Image("BG.png");
  ASSERT_TRUE(bg);
  int transparent = 0;
  double lo = 255, hi = 0;
  for (int y = 0; y < bg->getHeight(); ++y)
    for (int x = 0; x < bg->getWidth(); ++x)
    {
      const LICE_pixel p = LICE_GetPixel(bg.get(), x, y);
      transparent += LICE_GETA(p) != 255;
      lo = std::min(lo, Luma(p)), hi = std::max(hi, Luma(p));
    }
  EXPECT_EQ(transparent, 0) << "pixels of BG.png that are not opaque";
  EXPECT_GT(hi - lo, 120) << "lettering and highlights stand out from the dark panel";
}

// The pointer is what changes between frames: the pixels much brighter than
// their average over the strip. Seen from the knob's centre (the centroid of
// its opaque disc) its angle must grow frame by frame across about 270 degrees.
TEST(ArtworkImages, KnobPointerTurnsClockwiseFrameByFrame)
{
  for (const Strip& s : kKnobs)
  {
    auto strip = Image(s.file);
    ASSERT_TRUE(strip) << s.file;
    const int w = strip->getWidth();
    std::vector<double> mean(static_cast<size_t>(w) * w, 0);
    for (int k = 0; k < s.frames; ++k)
      for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x) mean[static_cast<size_t>(y) * w + x] += Luma(Frame{strip.get(), s.frames, k}.at(x, y)) / s.frames;

    double cx = 0, cy = 0, n = 0;
    for (int y = 0; y < w; ++y)
      for (int x = 0; x < w; ++x)
        if (LICE_GETA(Frame{strip.get(), s.frames, 0}.at(x, y)) == 255) cx += x + 0.5, cy += y + 0.5, n += 1;
    ASSERT_GT(n, 0) << s.file << " has an opaque knob";
    cx /= n, cy /= n;

    std::vector<double> angles;
    for (int k = 0; k < s.frames; ++k)
    {
      double sx = 0, sy = 0, sw = 0;
      const Frame f{strip.get(), s.frames, k};
      for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x)
        {
          const double d = Luma(f.at(x, y)) - mean[static_cast<size_t>(y) * w + x];
          if (d <= 60) continue;
          sx += d * (x + 0.5 - cx), sy += d * (y + 0.5 - cy), sw += d;
        }
      ASSERT_GT(sw, 0) << s.file << " frame " << k + 1 << " differs from the others";
      // Clockwise from straight up, in degrees.
      angles.push_back(std::atan2(sx, -sy) * 180 / kPi);
    }
    // Frame 1 points down-left, the last down-right: unwrapping is not needed
    // as long as the path never crosses straight down.
    for (int k = 1; k < s.frames; ++k)
      EXPECT_GT(angles[k], angles[k - 1]) << s.file << " frame " << k + 1 << " turns past frame " << k;
    EXPECT_NEAR(angles.front(), -135, 20) << s.file << " first frame";
    EXPECT_NEAR(angles.back(), 135, 20) << s.file << " last frame";
    EXPECT_NEAR(angles[30], 0, 8) << s.file << " middle frame points up";
  }
}

// Only the microphone is in the strip: it moves right from frame to frame
// over a good part of the width, and never touches the frame's edges, so it
// is whole in every frame and nothing else of the panel is covered.
TEST(ArtworkImages, MicMovesRightAndLeavesTheRestTransparent)
{
  auto strip = Image("MIC.png");
  ASSERT_TRUE(strip);
  const int frames = 61;
  const Frame first{strip.get(), frames, 0};
  const int w = first.width(), h = first.height();
  std::vector<double> cx;
  for (int k = 0; k < frames; ++k)
  {
    const Frame f{strip.get(), frames, k};
    double sx = 0, sa = 0;
    int clear = 0, edge = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        const unsigned a = LICE_GETA(f.at(x, y));
        sx += a * (x + 0.5), sa += a;
        clear += a == 0;
        if ((x == 0 || x == w - 1 || y == h - 1) && a != 0) ++edge;
      }
    ASSERT_GT(sa, 0) << "frame " << k + 1 << " is empty";
    cx.push_back(sx / sa);
    EXPECT_GT(clear, 0.8 * w * h) << "frame " << k + 1 << ": fully transparent pixels";
    EXPECT_EQ(edge, 0) << "frame " << k + 1 << ": opaque pixels on the left, right or bottom edge";
  }
  for (int k = 1; k < frames; ++k) EXPECT_GE(cx[k], cx[k - 1]) << "frame " << k + 1 << " moves left";
  EXPECT_GT(cx.back() - cx.front(), 0.3 * w) << "travel across the strip";
  EXPECT_LT(cx.back() - cx.front(), 0.6 * w) << "travel across the strip";
}

// The speaker in the background and the microphone strip over it agree:
// the speaker's centre is where the highlights of the four bolts holding its
// basket balance out, and the microphone's head (the bottom of its opaque
// part) starts over that centre and ends inside the bolt circle, at the cone.
TEST(ArtworkImages, MicStartsOverTheDustCapAndEndsAtTheConesEdge)
{
  auto bg = Image("BG.png");
  auto strip = Image("MIC.png");
  ASSERT_TRUE(bg && strip);
  const int micX = 182;
  double sx = 0, sy = 0, n = 0;
  std::vector<std::pair<int, int>> bolts;
  for (int y = 0; y < bg->getHeight(); ++y)
    for (int x = micX; x < bg->getWidth(); ++x)
    {
      const LICE_pixel p = LICE_GetPixel(bg.get(), x, y);
      const int warmth = static_cast<int>(LICE_GETR(p)) - static_cast<int>(LICE_GETB(p));
      if (Luma(p) > 140 && std::abs(warmth) < 20) sx += x + 0.5, sy += y + 0.5, n += 1, bolts.push_back({x, y});
    }
  ASSERT_GT(n, 8) << "chrome bolt highlights on the speaker";
  const double cx = sx / n, cy = sy / n;
  double boltR = 0;
  for (const auto& b : bolts) boltR += std::hypot(b.first + 0.5 - cx, b.second + 0.5 - cy) / n;
  ASSERT_GT(boltR, 100) << "the bolts sit on the basket's rim";

  auto head = [&](int k, double* hx, double* hy) {
    const Frame f{strip.get(), 61, k};
    int bottom = -1;
    for (int y = 0; y < f.height(); ++y)
      for (int x = 0; x < f.width(); ++x)
        if (LICE_GETA(f.at(x, y)) == 255) bottom = y;
    double ax = 0, ay = 0, an = 0;
    for (int y = std::max(0, bottom - 30); y <= bottom; ++y)
      for (int x = 0; x < f.width(); ++x)
        if (LICE_GETA(f.at(x, y)) == 255) ax += x + 0.5, ay += y + 0.5, an += 1;
    *hx = micX + ax / an, *hy = ay / an;
  };
  double x1, y1, x61, y61;
  head(0, &x1, &y1);
  head(60, &x61, &y61);
  EXPECT_NEAR(x1, cx, 10) << "frame 1: the head is over the speaker's centre";
  EXPECT_NEAR(y1, cy, 40) << "frame 1: the head is over the speaker's centre";
  EXPECT_NEAR(y61, y1, 3) << "the head moves horizontally";
  EXPECT_GT(x61 - cx, 0.7 * boltR) << "frame 61: the head is out at the cone's edge";
  EXPECT_LT(x61 - cx, 0.95 * boltR) << "frame 61: the head is still over the cone, inside the basket";
}

// Frame 1 (bypassed) has its lamp dark, frame 2 (running) lit: the brightest
// reddish spot of frame 2 is far darker in frame 1.
TEST(ArtworkImages, SwitchLampLightsInTheRunningFrame)
{
  auto strip = Image("BYPASS.png");
  ASSERT_TRUE(strip);
  const Frame off{strip.get(), 2, 0}, on{strip.get(), 2, 1};
  std::vector<std::pair<double, int>> warm;
  for (int y = 0; y < on.height(); ++y)
    for (int x = 0; x < on.width(); ++x)
    {
      const LICE_pixel p = on.at(x, y);
      if (LICE_GETR(p) > LICE_GETB(p) + 40) warm.push_back({Luma(p), y * on.width() + x});
    }
  ASSERT_GE(warm.size(), 20u) << "frame 2 has a lit, warm lamp";
  std::sort(warm.rbegin(), warm.rend());
  double litSum = 0, darkSum = 0;
  for (size_t i = 0; i < 20; ++i)
  {
    litSum += warm[i].first;
    darkSum += Luma(off.at(warm[i].second % on.width(), warm[i].second / on.width()));
  }
  EXPECT_GT(litSum / 20, 150) << "lit lamp brightness";
  EXPECT_LT(darkSum / 20, 0.5 * litSum / 20) << "the same pixels in frame 1";
}

}  // namespace
