#pragma once
#include <memory>

#include "LICE_MemBitmap.h"

// The film strip of a panel knob: frames stacked top to bottom, the pointer
// turning from the scale's first mark (frame 1) to its last.
std::unique_ptr<LICE_MemBitmap> DrawKnobStrip();
