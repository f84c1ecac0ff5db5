#pragma once
#include <memory>

#include "LICE_MemBitmap.h"

// The "Mic Placement" strip: a dynamic microphone over the speaker, nothing
// else, moving from the dust cap (frame 1) to the cone's edge (last frame).
std::unique_ptr<LICE_MemBitmap> DrawMicStrip();
