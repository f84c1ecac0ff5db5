#pragma once
// Chart text in one font: measured, placed by an anchor, or turned to read upwards.
#include <memory>
#include <string>

#include "LICE_CachedFont.h"
#include "LICE_IBitmap.h"

namespace render {

enum TextAnchor
{
  kAnchorLeft = 0,
  kAnchorCenter = 1,
  kAnchorRight = 2,
};

class PlotFont
{
public:
  // emPixels: the font's em in pixels; false when no font is installed.
  bool Create(int emPixels, bool bold);
  int Width(const std::string& text);
  int Height();
  // Text whose top edge is at y, anchored horizontally at x.
  void Draw(LICE_IBitmap* bitmap, const std::string& text, int x, int y, TextAnchor anchor, LICE_pixel color);
  // Text turned a quarter anticlockwise (reading upwards), centred on (cx, cy).
  void DrawUpwards(LICE_IBitmap* bitmap, const std::string& text, int cx, int cy, LICE_pixel color);

private:
  std::unique_ptr<LICE_CachedFont> mFont;
};

} // namespace render
