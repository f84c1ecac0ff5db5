#pragma once
#include "Canvas.h"

// The guitar speaker seen from the front, with the shadow it casts on the
// baffle: a shader of panel coordinates for Canvas::layer.
Rgba SpeakerAt(float x, float y);
