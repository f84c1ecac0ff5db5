#pragma once

class IGraphics;
class IPlugBase;

// The one place that chooses the editor's platform class: a new surface of
// that size for plug, its bundle identifier set. Defined once per platform
// target (headless for tests and tools; the bundle links the window layer's).
IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int refreshFPS);

// Where the editor's images are found.
extern const char* const kMuraxBundleID;
