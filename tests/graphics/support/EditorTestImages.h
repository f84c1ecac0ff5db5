#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "LICE_IBitmap.h"

// The six editor images the tests load: the bundle's own artwork when the
// build draws it, else stand-ins written here of the right sizes and frame
// counts (transparent, half-transparent and opaque parts, a colour per frame).
namespace editortest
{
// The folder holding BG.png, BYPASS.png, MIC.png, SIZE.png, CHA.png and OUT.png.
// This is the one place that decides which images the tests use.
const std::string& EditorImagesFolder();

// Points the raster library's named resources at EditorImagesFolder().
void UseEditorImages();

// Writes an 8-bit RGBA PNG of 0xAARRGGBB pixels; false on failure.
bool WritePNG(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

// A decoded image file, owned by the caller; null when unreadable.
LICE_IBitmap* LoadImageFile(const std::string& fileName);
} // namespace editortest
