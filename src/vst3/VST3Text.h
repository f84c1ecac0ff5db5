#pragma once
// Text crossing the VST3 boundary: 8-bit framework texts against the SDK's
// UTF-16 strings, and number texts that must read the same under every locale.
#include "ScopedClassicNumbers.h"
#include "pluginterfaces/base/ftypes.h"

// Copies at most dstSize - 1 characters and terminates; bytes widen one to one.
inline void WidenText(const char* src, Steinberg::char16* dst, int dstSize)
{
  if (!dst || dstSize <= 0) return;
  int n = 0;
  if (src)
    for (; n + 1 < dstSize && src[n]; ++n) dst[n] = static_cast<Steinberg::char16>(static_cast<unsigned char>(src[n]));
  dst[n] = 0;
}

// Characters outside 8 bits become '?'.
inline void NarrowText(const Steinberg::char16* src, char* dst, int dstSize)
{
  if (!dst || dstSize <= 0) return;
  int n = 0;
  if (src)
    for (; n + 1 < dstSize && src[n]; ++n) dst[n] = src[n] < 256 ? static_cast<char>(src[n]) : '?';
  dst[n] = 0;
}
