#pragma once

class LICE_IBitmap;

// The editor's images as the platform finds them: only the last path
// component of name counts, its extension must be png (any case), and the
// image is <bundle>/Contents/Resources/<base name>.png, the bundle being the
// one that holds the loaded module (or the raster library's resource root
// when one is set). "resources/img/BG.png" is Contents/Resources/BG.png.
// Null for a missing name, another extension or an unreadable image; the
// caller owns the result.
LICE_IBitmap* LoadImageFromBundle(const char* name);
