#pragma once
// The bundle's generated images, loaded once for all cases, and the pixel
// measures the cases share.
#include <memory>
#include <string>

#include "LICE_IBitmap.h"

namespace artworktest {

// Loads <resources>/<file>, null when it is missing or unreadable.
std::shared_ptr<LICE_IBitmap> Image(const std::string& file);

// Frame `index` (0-based) of a strip of `frames` stacked vertically, as a view.
struct Frame
{
  LICE_IBitmap* strip;
  int frames, index;
  int width() const { return strip->getWidth(); }
  int height() const { return strip->getHeight() / frames; }
  LICE_pixel at(int x, int y) const;
};

// Rec. 601 luma of a pixel weighted by its alpha, 0..255.
double Luma(LICE_pixel p);

}  // namespace artworktest
