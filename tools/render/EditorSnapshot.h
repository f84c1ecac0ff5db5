#pragma once
// The editor drawn at given settings into a PNG. The editor draws through the
// graphics core and the headless platform, linked here directly, since no
// VST3 call hands out a view's pixels.
#include <string>

#include "Settings.h"

namespace render {

// False when this build has no editor to draw.
bool EditorSnapshotAvailable();
bool WriteEditorSnapshot(const std::string& path, const Settings& settings, std::string* error);

} // namespace render
