#include "Containers.h"

#include <cstdint>

int ByteChunk::AppendString(const char* text)
{
  const int32_t length = text ? static_cast<int32_t>(std::strlen(text)) : 0;
  Append(&length);
  return AppendBytes(text, length);
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
  if (n < 0 || !mBytes.Resize(n)) return false;
  if (n) data ? std::memcpy(Data(), data, static_cast<size_t>(n)) : std::memset(Data(), 0, static_cast<size_t>(n));
  return true;
}
