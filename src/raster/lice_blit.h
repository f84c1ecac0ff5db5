#pragma once
#include "LICE_IBitmap.h"
#include "lice_blend.h"

// Whole-area operations. Every function does nothing for a null bitmap or
// one without pixels, clips to the destination, and never reads outside the
// source. alpha is limited to 0..1; NaN or non-positive alpha draws nothing.
// Threads: [any thread] on bitmaps that thread owns; no locks, no allocation
// except where a blit reads and writes overlapping parts of one bitmap.

// srcrect null means the whole source.
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const LICE_Rect* srcrect, float alpha,
               int mode);
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch,
               float alpha, int mode);
// Resizes dest to src's size and copies src into it.
void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src);

// Negative destination sizes mirror. The filter bit selects bilinear
// sampling, or box averaging for reductions by 1.7 or more.
void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                     float srcy, float srcw, float srch, float alpha, int mode);
// The source rectangle turned by angle (radians) about its centre shifted by
// (rotxcent, rotycent), mapped onto the destination rectangle.
void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                      float srcy, float srcw, float srch, float angle, bool cliptosourcerect, float alpha, int mode,
                      float rotxcent = 0.0f, float rotycent = 0.0f);

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode);
void LICE_Clear(LICE_IBitmap* dest, LICE_pixel color);
// Every pixel p of the clipped rectangle becomes (p & mask) | orbits.
void LICE_ClearRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel mask = 0, LICE_pixel orbits = 0);

// 0 outside the bitmap.
LICE_pixel LICE_GetPixel(LICE_IBitmap* dest, int x, int y);
void LICE_PutPixel(LICE_IBitmap* dest, int x, int y, LICE_pixel color, float alpha, int mode);
