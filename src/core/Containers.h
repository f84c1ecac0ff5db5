#pragma once
#include <cstring>
#include <type_traits>

#include "WDL_HeapBuf.h"
#include "WDL_String.h"

// Growable byte array that state is written into value after value, in the
// machine's (little-endian) byte order without padding. Reads take a byte
// position and answer the next one, or -1 when the data ran out; a failed
// read leaves its destination untouched.
class ByteChunk
{
public:
  ByteChunk() = default;
  ByteChunk(const ByteChunk&) = delete;
  ByteChunk& operator=(const ByteChunk&) = delete;

  template <class T>
  int Append(const T* value)
  {
    static_assert(std::is_trivially_copyable<T>::value, "only plain values are stored");
    return AppendBytes(value, static_cast<int>(sizeof(T)));
  }

  // Out of memory (or a size past 2 GB) appends nothing; the caller sees the size unchanged.
  int AppendBytes(const void* data, int n)
  {
    const int size = Size();
    if (n <= 0 || !data || n > 0x7fffffff - size) return size;
    auto* dst = static_cast<unsigned char*>(mBytes.Resize(size + n));
    if (!dst) return size;
    std::memcpy(dst + size, data, static_cast<size_t>(n));
    return Size();
  }

  int AppendString(const char* text);
  int AppendBool(bool value)
  {
    const unsigned char byte = value ? 1 : 0;
    return AppendBytes(&byte, 1);
  }
  int AppendChunk(const ByteChunk* other);

  template <class T>
  int Read(T* value, int startPos) const
  {
    static_assert(std::is_trivially_copyable<T>::value, "only plain values are stored");
    if (!value || !Fits(startPos, static_cast<long long>(sizeof(T)))) return -1;
    std::memcpy(value, Data() + startPos, sizeof(T));
    return startPos + static_cast<int>(sizeof(T));
  }

  int ReadString(WDL_String* text, int startPos) const;
  int ReadBool(bool* value, int startPos) const
  {
    if (!value || !Fits(startPos, 1)) return -1;
    *value = Data()[startPos] != 0;
    return startPos + 1;
  }

  void Clear() { mBytes.Resize(0); }
  int Size() const { return mBytes.GetSize(); }
  // Replaces the contents with n bytes (null data gives zeros); false when out of memory.
  bool Assign(const void* data, int n);
  const unsigned char* Data() const { return static_cast<const unsigned char*>(mBytes.Get()); }
  unsigned char* Data() { return static_cast<unsigned char*>(mBytes.Get()); }
  bool IsEqual(const ByteChunk* other) const
  {
    return other && other->Size() == Size() && (!Size() || std::memcmp(Data(), other->Data(), Size()) == 0);
  }

private:
  bool Fits(long long startPos, long long n) const { return startPos >= 0 && startPos + n <= Size(); }

  WDL_HeapBuf mBytes{4096};
};
