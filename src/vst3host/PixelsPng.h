#pragma once
// Pixels read back from a window (or made by a test) written as a PNG file.
#include <cstdint>
#include <string>
#include <vector>

namespace vst3host {

// pixels: w x h words 0xAARRGGBB, row after row. withAlpha keeps the alpha
// byte; without it the image is opaque RGB (X servers leave that byte
// undefined). False when the file cannot be written.
bool WritePixelsPng(const std::string& path, int w, int h, const std::vector<uint32_t>& pixels, bool withAlpha);

} // namespace vst3host
