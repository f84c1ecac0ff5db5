#pragma once
// The editor drawn at given settings into a PNG. The editor draws through the
// graphics core and the headless platform, linked here directly, since no
// VST3 call hands out a view's pixels.
#include <string>

#include "Settings.h"

class LICE_MemBitmap;

namespace render {

// False when this build has no editor to draw.
bool EditorSnapshotAvailable();

// Draws the whole editor at the settings (unset knobs at their defaults;
// bypass shows the switch off) with the images in resourcesDir, scaled by
// scale with the bilinear scaled blit when it is not 1.
bool DrawEditorSnapshot(const std::string& resourcesDir, const Settings& settings, double scale,
                        LICE_MemBitmap* out, std::string* error);

// The images come from bundlePath's Contents/Resources.
bool WriteEditorSnapshot(const std::string& path, const std::string& bundlePath, const Settings& settings,
                         double scale, std::string* error);

} // namespace render
