#pragma once
// Thick antialiased polylines for chart curves.
#include <vector>

#include "LICE_IBitmap.h"

namespace render {

// A polyline width pixels wide, clipped to clip. Joints are drawn once: each
// pixel takes the largest coverage of any segment, then is blended once.
void DrawPolyline(LICE_IBitmap* bitmap, const std::vector<float>& x, const std::vector<float>& y, float width,
                  LICE_pixel color, const LICE_Rect& clip);

} // namespace render
