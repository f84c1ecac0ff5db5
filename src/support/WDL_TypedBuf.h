#pragma once
#include "WDL_HeapBuf.h"

#include <type_traits>

// Growable array of trivially copyable values on a WDL_HeapBuf.
template <class T>
class WDL_TypedBuf
{
  static_assert(std::is_trivially_copyable<T>::value, "WDL_TypedBuf holds plain values only");

public:
  explicit WDL_TypedBuf(int granularityBytes = 4096) : hb_(granularityBytes) {}

  T* Get() const { return static_cast<T*>(hb_.Get()); }
  int GetSize() const { return hb_.GetSize() / static_cast<int>(sizeof(T)); }

  // Null (size unchanged) when the element count cannot be held.
  T* Resize(int count)
  {
    if (count < 0 || static_cast<long long>(count) * static_cast<long long>(sizeof(T)) > 0x7fffffffLL) return nullptr;
    return static_cast<T*>(hb_.Resize(count * static_cast<int>(sizeof(T))));
  }

  T* Add(const T& value)
  {
    const int n = GetSize();
    T* p = Resize(n + 1);
    if (!p) return nullptr;
    p[n] = value;
    return p + n;
  }

  void Free() { hb_.Free(); }

private:
  WDL_HeapBuf hb_;
};
