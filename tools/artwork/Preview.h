#pragma once
#include <string>

#include "LICE_IBitmap.h"

// The six images composed as the editor draws them (source alpha over the
// background), for looking at the artwork outside a host. Writes <prefix>.png
// with the defaults (running, knobs centred, mic on the dust cap), <prefix>-edge.png
// with the mic at the cone's edge, <prefix>-bypassed.png with the switch off
// and the knobs at both ends, and a 2× enlargement of each (-2x).
struct ArtworkImages
{
  LICE_IBitmap* background;
  LICE_IBitmap* bypass;
  LICE_IBitmap* mic;
  LICE_IBitmap* knob;
};
bool WritePreviews(const ArtworkImages& images, const std::string& prefix);
