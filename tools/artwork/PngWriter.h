#pragma once
#include "LICE_IBitmap.h"

// Writes a bitmap as an 8-bit RGBA PNG; false (and no file left behind) on
// any failure.
bool WritePng(const char* path, LICE_IBitmap* bmp);
