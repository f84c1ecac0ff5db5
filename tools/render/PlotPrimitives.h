#pragma once
// Drawing pieces a chart needs beyond the raster library's calls: thick
// antialiased polylines, and text in one font measured, placed and turned.
#include <memory>
#include <string>
#include <vector>

#include "LICE_CachedFont.h"
#include "LICE_IBitmap.h"

namespace render {

// A polyline width pixels wide, clipped to clip. Joints are drawn once: each
// pixel takes the largest coverage of any segment, then is blended once.
void DrawPolyline(LICE_IBitmap* bitmap, const std::vector<float>& x, const std::vector<float>& y, float width,
                  LICE_pixel color, const LICE_Rect& clip);

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
