#pragma once
#include <clocale>
#include <cstdlib>
#include <locale.h>

// Numbers the editor shows or reads use '.' as the decimal point whatever
// locale the host runs under.

// Formats under the C locale while it lives; only the calling thread is
// affected, and its own locale comes back afterwards. [UI thread, no allocation]
class ScopedClassicLocale
{
public:
  ScopedClassicLocale() : mPrevious(Classic() ? uselocale(Classic()) : nullptr) {}
  ~ScopedClassicLocale()
  {
    if (mPrevious) uselocale(mPrevious);
  }
  ScopedClassicLocale(const ScopedClassicLocale&) = delete;
  ScopedClassicLocale& operator=(const ScopedClassicLocale&) = delete;

  // Made once per process and kept for its lifetime.
  static locale_t Classic()
  {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
  }

private:
  locale_t mPrevious;
};

// The decimal number at the start of text (after white space), 0 when there
// is none or it is not finite.
double ParseClassicNumber(const char* text);
