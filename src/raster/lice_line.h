#pragma once
#include "LICE_IBitmap.h"
#include "lice_blend.h"

// Clips the segment to 0 <= x < width, 0 <= y < height. False when nothing
// of it is inside (or the clipper gives up after 33 passes).
bool ClipLine(int& x1, int& y1, int& x2, int& y2, int width, int height);

// [any thread] A line with both end points drawn. Only the operation byte of
// mode counts; the colour's four channels, alpha included, are the source.
void LICE_Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel color, float alpha, int mode,
               bool antialias);
