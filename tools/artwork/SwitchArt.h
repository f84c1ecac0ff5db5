#pragma once
#include <memory>

#include "LICE_MemBitmap.h"

// The bypass switch's two frames, stacked: a bat toggle and a jewel lamp;
// frame 1 bypassed (lever down, lamp dark), frame 2 running (lever up, lamp lit).
std::unique_ptr<LICE_MemBitmap> DrawSwitchStrip();
