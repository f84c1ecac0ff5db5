#pragma once
// The raster library: 32-bit bitmaps, blend rules, blits, PNG loading,
// lines, shapes and cached fonts. Includes nothing outside this folder.
#include "LICE_CachedFont.h"
#include "LICE_IBitmap.h"
#include "LICE_MemBitmap.h"
#include "LICE_SysBitmap.h"
#include "lice_blend.h"
#include "lice_blit.h"
#include "lice_line.h"
#include "lice_png.h"
#include "lice_shapes.h"
