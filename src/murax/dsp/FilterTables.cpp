#include "FilterTables.h"

namespace
{
constexpr int kMaxOrder = 7;

double LiteralSum(int order, const double* patterns, const double* table, const double* fsPower, const double* term,
                  int j)
{
  double sum = 0.0;
  for (int t = 0; t < kTermCount; ++t)
    for (int k = 0; k <= order; ++k)
      sum += table[t * (order + 1) + k] * patterns[k * (order + 1) + j] * fsPower[k] * term[t];
  return sum;
}
} // namespace

void LiteralFilterCoefficients(int order, const double* patterns, const double* numerator, const double* denominator,
                               double fs, double u, double v, double* b, double* a)
{
  double fsPower[kMaxOrder + 1];
  fsPower[0] = 1.0;
  for (int k = 1; k <= order; ++k)
    fsPower[k] = fsPower[k - 1] * fs;
  const double term[kTermCount] = {1.0, u, v, u * u, u * v, u * u * v};
  for (int j = 0; j <= order; ++j)
  {
    b[j] = LiteralSum(order, patterns, numerator, fsPower, term, j);
    a[j] = LiteralSum(order, patterns, denominator, fsPower, term, j);
  }
}
