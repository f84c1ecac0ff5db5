#pragma once
#include "IGraphicsStructs.h"

class LICE_IBitmap;

// Bilinear upscaling of the editor's bitmap for fractional HiDPI factors,
// in fixed point and only over the area asked for. The destination pixel
// (X, Y) samples the source at ((X + 0.5) / scale - 0.5, (Y + 0.5) / scale
// - 0.5), clamped to the source's edges; alpha is not carried (the screen
// ignores it). [any thread; touches only the two bitmaps]
void X11ScaleArea(LICE_IBitmap* src, LICE_IBitmap* dst, double scale, const IRECT& dstArea);
