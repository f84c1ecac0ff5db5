#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "RasterTestUtil.h"
#include "lice_blend.h"

using rastertest::hex;
using rastertest::px;

namespace {

// The rules written out channel by channel, as plainly as the arithmetic
// allows, to check the table-driven loops against.
int refChannel(int op, int d, int s, int w)
{
  switch (op)
  {
    case LICE_OP_COPY: return s + (d - s) * (256 - w) / 256;
    case LICE_OP_ADD: return std::min(255, d + s * w / 256);
    case LICE_OP_DODGE:
    {
      const int t = s * w / 256;
      const int v = t < 255 ? d * 256 / (256 - t) : d * 256;
      return std::max(0, std::min(255, v));
    }
    case LICE_OP_MUL: return ((s * w + (256 - w) * 256) * d) >> 16;
    case LICE_OP_OVERLAY:
    {
      const int o = (256 - w) * 128;
      const int v = ((32768 - s * w - o) * d / 256 + s * w + o) * d;
      return v > 0x7FFFFF ? 255 : std::max(0, v >> 15);
    }
  }
  return d;
}

LICE_pixel refCombine(LICE_pixel d, LICE_pixel s, int w, int mode)
{
  const int op = mode & 0xFF;
  const bool useSA = (mode & LICE_MODE_SRC_ALPHA) != 0;
  int dc[4], sc[4];
  for (int c = 0; c < 4; ++c) dc[c] = (d >> (8 * c)) & 255, sc[c] = (s >> (8 * c)) & 255;
  const int sa = sc[3];
  int out[4];
  if (op == LICE_OP_COPY && useSA)
  {
    if (sa == 0) return d;
    if (w == 256)
    {
      for (int c = 0; c < 3; ++c) out[c] = sc[c] + (dc[c] - sc[c]) * (255 - sa) / 256;
      out[3] = std::min(255, dc[3] + sa);
    }
    else
    {
      const int ws = w * (sa + 1) / 256;
      for (int c = 0; c < 3; ++c) out[c] = sc[c] + (dc[c] - sc[c]) * (256 - ws) / 256;
      out[3] = std::min(255, dc[3] + ws);
    }
  }
  else
  {
    if (useSA)
    {
      if (sa == 0 && (op == LICE_OP_ADD || op == LICE_OP_MUL)) return d;
      w = w * (sa + 1) / 256;
    }
    for (int c = 0; c < 4; ++c) out[c] = refChannel(op, dc[c], sc[c], w);
  }
  return static_cast<LICE_pixel>(out[0] | (out[1] << 8) | (out[2] << 16)) | (static_cast<LICE_pixel>(out[3]) << 24);
}

float alphaFor(int w) { return static_cast<float>(w) / 256.0f; }

struct HandCase
{
  const char* name;
  LICE_pixel dest, src;
  int weight, mode;
  LICE_pixel expect;
};

// Values worked out by hand from the rules; weights 1, 128, 255, 256 and
// source alphas 0, 1, 128, 255.
const HandCase kHandCases[] = {
    {"copy w256 replaces alpha too", px(1, 2, 3, 4), px(200, 100, 50, 7), 256, 0, px(200, 100, 50, 7)},
    {"copy w128", px(200, 100, 0, 0), px(100, 200, 255, 255), 128, 0, px(150, 150, 128, 128)},
    {"copy w1 barely moves", px(0, 255, 0, 0), px(255, 0, 0, 0), 1, 0, px(1, 254, 0, 0)},
    {"copy w255 nearly source", px(0, 255, 0, 0), px(255, 0, 0, 0), 255, 0, px(255, 0, 0, 0)},
    {"copySA sa0 leaves", px(9, 9, 9, 9), px(255, 255, 255, 0), 256, 0x10000, px(9, 9, 9, 9)},
    {"copySA w256 sa255 writes colour, alpha 255", px(9, 9, 9, 9), px(10, 20, 30, 255), 256, 0x10000,
     px(10, 20, 30, 255)},
    {"copySA w256 sa128 over opaque", px(0, 0, 0, 255), px(255, 255, 255, 128), 256, 0x10000,
     px(129, 129, 129, 255)},
    {"copySA w256 sa1", px(0, 0, 0, 0), px(255, 255, 255, 1), 256, 0x10000, px(2, 2, 2, 1)},
    {"copySA w128 sa128", px(0, 0, 0, 100), px(255, 255, 255, 128), 128, 0x10000, px(64, 64, 64, 164)},
    {"copySA w1 sa255", px(0, 0, 0, 0), px(255, 255, 255, 255), 1, 0x10000, px(1, 1, 1, 1)},
    {"add saturates", px(200, 200, 200, 200), px(100, 100, 100, 100), 256, 1, px(255, 255, 255, 255)},
    {"add w128", px(200, 0, 10, 0), px(100, 0, 0, 0), 128, 1, px(250, 0, 10, 0)},
    {"add w1 adds nothing", px(5, 5, 5, 5), px(255, 255, 255, 255), 1, 1, px(5, 5, 5, 5)},
    {"addSA sa0 leaves", px(5, 5, 5, 5), px(255, 255, 255, 0), 256, 0x10001, px(5, 5, 5, 5)},
    {"addSA sa128", px(10, 10, 10, 0), px(200, 200, 200, 128), 256, 0x10001, px(110, 110, 110, 64)},
    {"dodge half", px(100, 100, 100, 100), px(128, 128, 128, 128), 256, 2, px(200, 200, 200, 200)},
    {"dodge full source", px(1, 0, 100, 0), px(255, 255, 255, 255), 256, 2, px(255, 0, 255, 0)},
    {"dodge w128", px(100, 100, 100, 0), px(200, 200, 200, 0), 128, 2, px(164, 164, 164, 0)},
    {"dodgeSA sa0 scales to w/256", px(100, 100, 100, 0), px(255, 255, 255, 0), 256, 0x10002,
     px(100, 100, 100, 0)},
    {"mul w256", px(200, 200, 200, 255), px(100, 100, 100, 255), 256, 3, px(78, 78, 78, 254)},
    {"mul w128", px(200, 0, 0, 0), px(100, 0, 0, 0), 128, 3, px(139, 0, 0, 0)},
    {"mul w1", px(200, 0, 0, 0), px(100, 0, 0, 0), 1, 3, px(199, 0, 0, 0)},
    {"mulSA sa0 leaves", px(200, 0, 0, 0), px(0, 0, 0, 0), 256, 0x10003, px(200, 0, 0, 0)},
    {"overlay w256", px(100, 0, 255, 255), px(200, 0, 255, 255), 256, 4, px(134, 0, 255, 255)},
    {"overlay w128", px(100, 0, 0, 0), px(200, 0, 0, 0), 128, 4, px(117, 0, 0, 0)},
    {"hsv neutral source keeps colour, takes source alpha", px(255, 0, 0, 255), px(128, 128, 128, 77), 256, 5,
     px(255, 0, 0, 77)},
    {"hsv value down to black", px(255, 0, 0, 255), px(128, 128, 0, 255), 256, 5, px(0, 0, 0, 255)},
    {"hsv saturation out to white", px(255, 0, 0, 255), px(128, 0, 128, 255), 256, 5, px(255, 255, 255, 255)},
    {"unknown operation draws nothing", px(1, 2, 3, 4), px(9, 9, 9, 9), 256, 6, px(1, 2, 3, 4)},
    {"operation 0xEF draws nothing", px(1, 2, 3, 4), px(9, 9, 9, 9), 256, 0xEF, px(1, 2, 3, 4)},
};

TEST(Blend, HandComputedValues)
{
  for (const HandCase& c : kHandCases)
    EXPECT_EQ(hex(LICE_CombinePixels(c.dest, c.src, alphaFor(c.weight), c.mode)), hex(c.expect)) << c.name;
}

TEST(Blend, HandComputedValuesInPlace)
{
  for (const HandCase& c : kHandCases)
  {
    LICE_pixel p = c.dest;
    LICE_CombinePixels2(&p, LICE_GETR(c.src), LICE_GETG(c.src), LICE_GETB(c.src), LICE_GETA(c.src), c.weight, c.mode);
    EXPECT_EQ(hex(p), hex(c.expect)) << c.name;
  }
}

TEST(Blend, HueTurnsByAThirdFromRedToGreen)
{
  // Red 214 shifts the hue by 256 * (214 + 107 - 192) / 256 = 129 of 384.
  const LICE_pixel out = LICE_CombinePixels(px(255, 0, 0, 255), px(214, 128, 128, 255), 1.0f, 5);
  EXPECT_LE(LICE_GETR(out), 4u) << hex(out);
  EXPECT_EQ(LICE_GETG(out), 255u) << hex(out);
  EXPECT_LE(LICE_GETB(out), 8u) << hex(out);
}

TEST(Blend, HsvRoundTripWithNeutralSourceStaysClose)
{
  std::mt19937 rng(7);
  for (int i = 0; i < 5000; ++i)
  {
    const LICE_pixel d = static_cast<LICE_pixel>(rng());
    const LICE_pixel out = LICE_CombinePixels(d, px(128, 128, 128, 255), 1.0f, 5);
    for (int sh = 0; sh < 24; sh += 8)
      // A hue unit is a 64th of a sector, worth up to 4 levels of a channel.
      EXPECT_NEAR(static_cast<int>((out >> sh) & 255), static_cast<int>((d >> sh) & 255), 4)
          << "dest " << hex(d) << " channel " << sh / 8 << " -> " << hex(out);
  }
}

TEST(Blend, ZeroWeightAndBadAlphasChangeNothing)
{
  const float alphas[] = {0.0f, 1.0f / 512.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::infinity()};
  for (int mode : {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005})
    for (float a : alphas)
      EXPECT_EQ(hex(LICE_CombinePixels(0x11223344u, 0xFFFFFFFFu, a, mode)), "11223344")
          << "mode " << mode << " alpha " << a;
}

TEST(Blend, HugeAlphaActsAsFullWeight)
{
  for (int mode : {0, 1, 2, 3, 4, 0x10000, 0x10001})
  {
    const LICE_pixel d = px(10, 100, 200, 30), s = px(200, 50, 25, 128);
    const LICE_pixel full = LICE_CombinePixels(d, s, 1.0f, mode);
    EXPECT_EQ(hex(LICE_CombinePixels(d, s, 1e30f, mode)), hex(full)) << "mode " << mode;
    EXPECT_EQ(hex(LICE_CombinePixels(d, s, std::numeric_limits<float>::infinity(), mode)), hex(full))
        << "mode " << mode;
  }
}

TEST(Blend, ClampedTwinsLimitOutOfRangeSources)
{
  LICE_pixel p = px(100, 100, 100, 100);
  LICE_CombinePixels2Clamp(&p, 400, -50, 255, 300, 256, LICE_OP_COPY);
  EXPECT_EQ(hex(p), hex(px(255, 0, 255, 255)));
  p = px(200, 200, 200, 200);
  LICE_CombinePixels2Clamp(&p, 600, -100, 256, 0, 256, LICE_OP_MUL);
  // (600 * 256 * 200) >> 16 = 468 -> 255; negative -> 0; 256 * 256 * 200 >> 16 = 200.
  EXPECT_EQ(hex(p), hex(px(255, 0, 200, 0)));
  p = px(10, 10, 10, 10);
  LICE_CombinePixels2Clamp(&p, 1 << 30, INT32_MIN, 0, 0, 256, LICE_OP_COPY);
  EXPECT_EQ(hex(p), hex(px(255, 0, 0, 0))) << "extreme inputs neither overflow nor wrap";
}

TEST(Blend, RandomSweepMatchesReference)
{
  std::mt19937 rng(12345);
  const int weights[] = {1, 2, 64, 127, 128, 129, 200, 255, 256};
  for (int i = 0; i < 200000; ++i)
  {
    const int mode = static_cast<int>(rng() % 5) | ((rng() & 1) ? LICE_MODE_SRC_ALPHA : 0);
    const int w = (rng() & 1) ? weights[rng() % 9] : 1 + static_cast<int>(rng() % 256);
    LICE_pixel d = static_cast<LICE_pixel>(rng()), s = static_cast<LICE_pixel>(rng());
    if (rng() % 4 == 0) s = (s & 0x00FFFFFFu) | ((rng() & 1) ? 0xFF000000u : 0u);  // alpha edges
    const LICE_pixel got = LICE_CombinePixels(d, s, alphaFor(w), mode);
    const LICE_pixel want = refCombine(d, s, w, mode);
    ASSERT_EQ(hex(got), hex(want)) << "case " << i << " mode " << std::hex << mode << std::dec << " w " << w
                                   << " d " << hex(d) << " s " << hex(s);
  }
}

}  // namespace
