#pragma once
#include <memory>

#include "LICE_MemBitmap.h"

// The editor's background: the warm tolex panel with its piping, lettering
// and the recessed baffle carrying the speaker.
std::unique_ptr<LICE_MemBitmap> DrawBackground();
