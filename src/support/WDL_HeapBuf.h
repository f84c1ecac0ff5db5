#pragma once
#include <cstddef>
#include <cstdlib>
#include <cstring>

// Growable byte storage. Capacity grows in multiples of the granularity so
// repeated small growth does not reallocate every time. Allocation failure
// leaves the buffer as it was and is reported by a null result, never by an
// exception, because callers sit behind C-style plug-in boundaries.
class WDL_HeapBuf
{
public:
  explicit WDL_HeapBuf(int granularity = 4096) : granularity_(granularity > 0 ? granularity : 1) {}
  ~WDL_HeapBuf() { std::free(buf_); }

  WDL_HeapBuf(const WDL_HeapBuf&) = delete;
  WDL_HeapBuf& operator=(const WDL_HeapBuf&) = delete;

  void* Get() const { return size_ ? buf_ : nullptr; }
  int GetSize() const { return size_; }
  int GetCapacity() const { return capacity_; }

  // Returns the storage, or null (size unchanged) when newSize cannot be held.
  void* Resize(int newSize)
  {
    if (newSize < 0) return nullptr;
    if (newSize > capacity_ && !Reserve(newSize)) return nullptr;
    size_ = newSize;
    return buf_;
  }

  bool Reserve(int bytes)
  {
    if (bytes <= capacity_) return true;
    const long long g = granularity_;
    const long long want = (static_cast<long long>(bytes) + g - 1) / g * g;
    if (want > 0x7fffffffLL) return false;
    void* nb = std::realloc(buf_, static_cast<size_t>(want));
    if (!nb) return false;
    buf_ = nb;
    capacity_ = static_cast<int>(want);
    return true;
  }

  void Free()
  {
    std::free(buf_);
    buf_ = nullptr;
    size_ = capacity_ = 0;
  }

private:
  void* buf_ = nullptr;
  int size_ = 0;
  int capacity_ = 0;
  int granularity_;
};
