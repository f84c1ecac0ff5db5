#pragma once
#include <cstddef>
#include <cstring>

// Copies text into a fixed field, truncating and always terminating.
inline void CopyTextField(char* dst, size_t dstSize, const char* src)
{
  if (!dst || dstSize == 0) return;
  size_t n = 0;
  if (src)
    while (n + 1 < dstSize && src[n]) ++n;
  if (n) std::memcpy(dst, src, n);
  dst[n] = 0;
}

template <size_t N>
inline void CopyTextField(char (&dst)[N], const char* src)
{
  CopyTextField(dst, N, src);
}
