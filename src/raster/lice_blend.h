#pragma once
#include "LICE_IBitmap.h"

// The blend-mode word every drawing call takes. The operation is the low
// byte; drawing calls select on mode & (LICE_MODE_OP_MASK | LICE_MODE_SRC_ALPHA).
enum
{
  LICE_OP_COPY = 0,
  LICE_OP_ADD = 1,
  LICE_OP_DODGE = 2,
  LICE_OP_MUL = 3,
  LICE_OP_OVERLAY = 4,
  LICE_OP_HSVADJ = 5,
  LICE_OP_COUNT = 6,

  LICE_MODE_OP_MASK = 0xFF,
  // Blits only: copy source channel (mode & 3) into destination channel
  // ((mode >> 2) & 3) and nothing else.
  LICE_MODE_CHANCOPY = 0xF0,
  LICE_MODE_FILTER_BILINEAR = 0x100,
  // Scale each pixel's weight by that pixel's own alpha.
  LICE_MODE_SRC_ALPHA = 0x10000,
};

// Combines one source pixel with one destination pixel and returns the
// result. alpha is turned into a weight of (int)(alpha * 256), limited to
// 0..256; a weight of 0 (also NaN or negative alpha) returns dest.
LICE_pixel LICE_CombinePixels(LICE_pixel dest, LICE_pixel src, float alpha, int mode);

// The same in place on one pixel with the source as separate channels and an
// integer weight 0..256 (values outside are limited). The clamping twin limits
// each result channel to 0..255, for sources whose channels leave that range.
void LICE_CombinePixels2(LICE_pixel* dest, int r, int g, int b, int a, int weight, int mode);
void LICE_CombinePixels2Clamp(LICE_pixel* dest, int r, int g, int b, int a, int weight, int mode);
