#include "Containers.h"

#include <cstdint>

int ByteChunk::AppendString(const char* text)
{
  const size_t textLength = text ? std::strlen(text) : 0;
  if (textLength > 0x7fffffffu - 4u) return Size(); // the length field could not hold it
  const int32_t length = static_cast<int32_t>(textLength);
  const int size = Size();
  if (Append(&length) != size + 4) return size;
  if (AppendBytes(text, length) != size + 4 + length)
  {
    mBytes.Resize(size); // no length field without its text
    return size;
  }
  return Size();
}

int ByteChunk::ReadString(WDL_String* text, int startPos) const
{
  int32_t length = 0;
  const int pos = Read(&length, startPos);
  // 64-bit arithmetic: a hostile length must not wrap the end position.
  if (!text || pos < 0 || length < 0 || !Fits(pos, length)) return -1;
  text->Set(reinterpret_cast<const char*>(Data() + pos), length); // stops at the first zero byte
  return pos + length;
}

bool ByteChunk::Assign(const void* data, int n)
{
  if (n < 0) return false;
  if (!mBytes.Resize(n) && n) return false; // an empty buffer may answer null
  if (n) data ? std::memcpy(Data(), data, static_cast<size_t>(n)) : std::memset(Data(), 0, static_cast<size_t>(n));
  return true;
}

int ByteChunk::AppendChunk(const ByteChunk* other)
{
  if (!other) return Size();
  if (other != this) return AppendBytes(other->Data(), other->Size());
  // Growing may move the storage the source points into: grow first, then copy.
  const int size = Size();
  if (!size || size > 0x7fffffff - size || !mBytes.Resize(size + size)) return size;
  std::memcpy(Data() + size, Data(), static_cast<size_t>(size));
  return Size();
}
