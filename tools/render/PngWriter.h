#pragma once
// 32-bit raster bitmaps to PNG bytes (RGBA, straight alpha) with libpng.
#include <string>
#include <utility>
#include <vector>

class LICE_IBitmap;

namespace render {

using PngText = std::vector<std::pair<std::string, std::string>>;

// text: tEXt chunks (keyword, value). False when libpng fails.
bool EncodePng(LICE_IBitmap* bitmap, const PngText& text, std::string* bytes);

} // namespace render
