// The source-alpha COPY blit at full weight skips the arithmetic for opaque
// and transparent runs; it must still give exactly what the rule gives.
#include <gtest/gtest.h>

#include <random>

#include "LICE_MemBitmap.h"
#include "lice_blend.h"
#include "lice_blit.h"

namespace
{
// Alpha comes in runs: opaque, transparent or anything, of random lengths,
// so the fast paths start and end at every position within a group of pixels.
void FillRuns(LICE_MemBitmap& bmp, std::mt19937& rng)
{
  std::uniform_int_distribution<int> runLength(1, 19), kind(0, 3), byte(0, 255);
  int left = 0, current = 0;
  for (int y = 0; y < bmp.getHeight(); ++y)
    for (int x = 0; x < bmp.getWidth(); ++x)
    {
      if (left-- <= 0)
      {
        left = runLength(rng);
        current = kind(rng);
      }
      const unsigned a = current == 0 ? 255u : current == 1 ? 0u : current == 2 ? 254u : static_cast<unsigned>(byte(rng));
      bmp.getBits()[y * bmp.getRowSpan() + x] =
        LICE_RGBA(static_cast<unsigned>(byte(rng)), static_cast<unsigned>(byte(rng)), static_cast<unsigned>(byte(rng)), a);
    }
}
} // namespace

TEST(SourceAlphaBlit, FastRunsAreBitIdenticalToTheRuleOnRandomImages)
{
  std::mt19937 rng(20261209);
  for (int trial = 0; trial < 40; ++trial)
  {
    const int w = 1 + static_cast<int>(rng() % 97), h = 1 + static_cast<int>(rng() % 13);
    LICE_MemBitmap src(w, h), dest(w + 7, h + 3), expected(w + 7, h + 3);
    FillRuns(src, rng);
    FillRuns(dest, rng);
    for (int y = 0; y < dest.getHeight(); ++y)
      for (int x = 0; x < dest.getWidth(); ++x)
        expected.getBits()[y * expected.getRowSpan() + x] = dest.getBits()[y * dest.getRowSpan() + x];
    const int dx = static_cast<int>(rng() % 8), dy = static_cast<int>(rng() % 4);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        LICE_pixel& e = expected.getBits()[(y + dy) * expected.getRowSpan() + x + dx];
        e = LICE_CombinePixels(e, src.getBits()[y * src.getRowSpan() + x], 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA);
      }
    LICE_Blit(&dest, &src, dx, dy, nullptr, 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA);
    int bad = 0;
    for (int y = 0; y < dest.getHeight(); ++y)
      for (int x = 0; x < dest.getWidth(); ++x)
      {
        const LICE_pixel got = dest.getBits()[y * dest.getRowSpan() + x];
        const LICE_pixel want = expected.getBits()[y * expected.getRowSpan() + x];
        if (got != want && !bad++)
          ADD_FAILURE() << "trial " << trial << " (" << w << "x" << h << " at " << dx << "," << dy << ") pixel " << x
                        << "," << y << ": " << std::hex << got << " instead of " << want;
      }
    EXPECT_EQ(bad, 0) << "trial " << trial;
  }
}

TEST(SourceAlphaBlit, OpaqueRunsCopyAndTransparentRunsKeepTheDestination)
{
  LICE_MemBitmap src(16, 1), dest(16, 1);
  for (int x = 0; x < 16; ++x)
  {
    src.getBits()[x] = x < 8 ? LICE_RGBA(10, 20, 30, 255) : LICE_RGBA(200, 200, 200, 0);
    dest.getBits()[x] = LICE_RGBA(1, 2, 3, 40);
  }
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA);
  for (int x = 0; x < 16; ++x)
    EXPECT_EQ(dest.getBits()[x], x < 8 ? LICE_RGBA(10, 20, 30, 255) : LICE_RGBA(1, 2, 3, 40)) << "pixel " << x;
}
