#pragma once
#include <cstddef>

#include "WDL_Mutex.h"
#include "WDL_PtrList.h"

class LICE_CachedFont;
struct IText;

// The process-wide font cache keyed by text size, orientation, style and the
// exact font name; colour, alignment and quality are not part of the key.
// Threads: [any thread]; each operation holds the storage's recursive mutex.
class FontStorage
{
public:
  FontStorage() = default;
  ~FontStorage();
  FontStorage(const FontStorage&) = delete;
  FontStorage& operator=(const FontStorage&) = delete;

  LICE_CachedFont* Find(const IText* text);
  // The storage owns font from now on; null is ignored.
  void Add(LICE_CachedFont* font, const IText* text);
  int Count();
  WDL_Mutex& Mutex() { return mMutex; }

private:
  struct Entry
  {
    int mSize, mOrientation, mStyle;
    char mFace[32];
    LICE_CachedFont* mFont;
  };

  WDL_PtrList<Entry> mEntries;
  WDL_Mutex mMutex;
};

extern FontStorage s_fontCache;
