#pragma once
#include "LICE_IBitmap.h"

// PNG decoding into 32-bit bitmaps (straight alpha, 0xAARRGGBB). Each loader
// fills the supplied bitmap (resizing it) or, given null, returns a new
// LICE_MemBitmap the caller owns. Failures return null silently; a supplied
// bitmap is never deleted but may have been resized.
// Images wider or taller than 16384 pixels, or larger than 256 MiB decoded,
// are refused before any pixel memory is allocated.
// Threads: [any thread]; no shared state apart from the resource root.

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp = nullptr);
// Bytes past the end of the buffer read as zeros (a truncated image may still
// decode); nothing beyond data + len is ever read.
LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, int len, LICE_IBitmap* bmp = nullptr);
// Loads <bundle>/Contents/Resources/<name>, the bundle being the one holding
// this module (<bundle>/Contents/x86_64-linux/<module>.so), or <root>/<name>
// once LICE_SetResourceRoot has set a root. Null for names over 400 characters.
LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp = nullptr);
// Embedded resources do not exist on this platform: always null.
LICE_IBitmap* LICE_LoadPNGFromResource(void* module, const char* resid, LICE_IBitmap* bmp = nullptr);

// [main thread] Directory that named resources resolve against instead of
// the bundle's Resources folder; null or "" restores the bundle lookup.
void LICE_SetResourceRoot(const char* dir);
// The bundle holding this module, false when the module is not in one.
bool LICE_GetBundlePath(char* buf, int bufSize);
// <bundle> from a module path <bundle>/Contents/x86_64-linux/<file>.
bool LICE_BundleFromModulePath(const char* modulePath, char* buf, int bufSize);

// The process-wide list of image loaders, PNG first.
struct LICE_ImageLoader
{
  // checkFileName: refuse paths whose extension is not the loader's.
  LICE_IBitmap* (*load)(const char* path, bool checkFileName, LICE_IBitmap* bmp);
  // File-type list for open dialogs: pairs of zero-terminated texts, ended by an empty one.
  const char* (*typeList)();
  LICE_ImageLoader* next;
};
LICE_ImageLoader* LICE_FirstImageLoader();
// [main thread] Puts a loader at the head of the list; the loader must outlive its use.
void LICE_RegisterImageLoader(LICE_ImageLoader* loader);
// Tries each loader in turn.
LICE_IBitmap* LICE_LoadImage(const char* path, LICE_IBitmap* bmp = nullptr, bool checkFileName = true);
