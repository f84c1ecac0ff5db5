#include "BitmapStorage.h"

#include "LICE_IBitmap.h"

BitmapStorage s_bitmapCache;

BitmapStorage::~BitmapStorage()
{
  WDL_MutexLock lock(&mMutex);
  for (int i = mEntries.GetSize() - 1; i >= 0; --i) delete mEntries.Get(i)->mBitmap;
  mEntries.DeleteAll(true);
}

LICE_IBitmap* BitmapStorage::Find(int id)
{
  if (id == -1) return nullptr;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < mEntries.GetSize(); ++i)
    if (mEntries.Get(i)->mID == id) return mEntries.Get(i)->mBitmap;
  return nullptr;
}

void BitmapStorage::Add(LICE_IBitmap* bitmap, int id)
{
  if (!bitmap) return;
  WDL_MutexLock lock(&mMutex);
  mEntries.Add(new Entry{id, bitmap});
}

bool BitmapStorage::Remove(LICE_IBitmap* bitmap)
{
  if (!bitmap) return false;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < mEntries.GetSize(); ++i)
    if (mEntries.Get(i)->mBitmap == bitmap)
    {
      mEntries.Delete(i, true);
      delete bitmap;
      return true;
    }
  return false;
}

int BitmapStorage::Count()
{
  WDL_MutexLock lock(&mMutex);
  return mEntries.GetSize();
}
