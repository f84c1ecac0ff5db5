#include "FontStorage.h"

#include <cstring>

#include "IGraphicsStructs.h"
#include "LICE_CachedFont.h"

FontStorage s_fontCache;

FontStorage::~FontStorage()
{
  WDL_MutexLock lock(&mMutex);
  for (int i = mEntries.GetSize() - 1; i >= 0; --i) delete mEntries.Get(i)->mFont;
  mEntries.DeleteAll(true);
}

LICE_CachedFont* FontStorage::Find(const IText* text)
{
  if (!text) return nullptr;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < mEntries.GetSize(); ++i)
  {
    const Entry* e = mEntries.Get(i);
    if (e->mSize == text->mSize && e->mOrientation == text->mOrientation && e->mStyle == text->mStyle &&
        std::strncmp(e->mFace, text->mFont, sizeof(e->mFace)) == 0)
      return e->mFont;
  }
  return nullptr;
}

void FontStorage::Add(LICE_CachedFont* font, const IText* text)
{
  if (!font || !text) return;
  Entry* e = new Entry{text->mSize, text->mOrientation, static_cast<int>(text->mStyle), {}, font};
  const size_t n = strnlen(text->mFont, sizeof(e->mFace) - 1);
  std::memcpy(e->mFace, text->mFont, n);
  e->mFace[n] = 0;
  WDL_MutexLock lock(&mMutex);
  mEntries.Add(e);
}

int FontStorage::Count()
{
  WDL_MutexLock lock(&mMutex);
  return mEntries.GetSize();
}
