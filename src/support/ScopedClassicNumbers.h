#pragma once
#include <clocale>
#include <locale.h>

// Formats and parses numbers with '.' as the decimal point while it lives,
// whatever locale the host runs under. Only the calling thread is affected,
// and its own locale comes back afterwards. [any thread, no allocation]
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

  // The C locale, made once per process and kept for its lifetime; null only
  // when it could not be made.
  static locale_t Classic()
  {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
  }

private:
  locale_t mPrevious;
};
