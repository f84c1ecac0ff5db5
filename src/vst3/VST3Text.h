#pragma once
// Text crossing the VST3 boundary: 8-bit framework texts against the SDK's
// UTF-16 strings, and number texts that must read the same under every locale.
#include <clocale>
#include <locale.h>

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

// Formats and parses numbers with '.' as the decimal point while it lives,
// whatever locale the host runs under. Only the calling thread is affected,
// and its own locale comes back afterwards. [main thread, no allocation]
class ScopedClassicNumbers
{
public:
  ScopedClassicNumbers() : mPrevious(Classic() ? uselocale(Classic()) : nullptr) {}
  ~ScopedClassicNumbers()
  {
    if (mPrevious) uselocale(mPrevious);
  }
  ScopedClassicNumbers(const ScopedClassicNumbers&) = delete;
  ScopedClassicNumbers& operator=(const ScopedClassicNumbers&) = delete;

private:
  // Made once per process and kept for its lifetime.
  static locale_t Classic()
  {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
  }

  locale_t mPrevious;
};
