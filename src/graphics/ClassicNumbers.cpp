#include "ClassicNumbers.h"

#include <cmath>
#include <cstdlib>

double ParseClassicNumber(const char* text)
{
  if (!text) return 0.0;
  const locale_t classic = ScopedClassicNumbers::Classic();
  const double v = classic ? strtod_l(text, nullptr, classic) : std::strtod(text, nullptr);
  return std::isfinite(v) ? v : 0.0;
}
