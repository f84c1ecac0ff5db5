#pragma once
#include <cstddef>

#include "WDL_Mutex.h"
#include "WDL_PtrList.h"

class LICE_IBitmap;

// The process-wide image cache: every editor instance shares each image
// loaded under a resource id, and images stay loaded after an editor closes.
// Bitmaps made at run time are kept under id -1 and never found by id.
// Threads: [any thread]; each operation holds the storage's recursive mutex.
class BitmapStorage
{
public:
  BitmapStorage() = default;
  ~BitmapStorage();
  BitmapStorage(const BitmapStorage&) = delete;
  BitmapStorage& operator=(const BitmapStorage&) = delete;

  // The first bitmap stored under id, or null (also for id -1).
  LICE_IBitmap* Find(int id);
  // The storage owns bitmap from now on; null is ignored.
  void Add(LICE_IBitmap* bitmap, int id = -1);
  // Deletes the entry holding bitmap and the bitmap itself; false when absent.
  bool Remove(LICE_IBitmap* bitmap);
  int Count();
  // Held by callers that must find, load and add as one step.
  WDL_Mutex& Mutex() { return mMutex; }

private:
  struct Entry
  {
    int mID;
    LICE_IBitmap* mBitmap;
  };

  WDL_PtrList<Entry> mEntries;
  WDL_Mutex mMutex;
};

extern BitmapStorage s_bitmapCache;
