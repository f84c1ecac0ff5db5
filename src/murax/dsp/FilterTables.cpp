#include "FilterTables.h"

#include <cmath>

namespace
{
// Term by term as the tables read: c[t][k] * P(N, k, j) * fs^k * t, the power
// by the power function. This is the oracle, so it stays unoptimised on purpose.
double LiteralSum(int order, const double* patterns, const double* table, double fs, const double* term, int j)
{
  double sum = 0.0;
  for (int t = 0; t < kTermCount; ++t)
    for (int k = 0; k <= order; ++k)
      sum += table[t * (order + 1) + k] * patterns[k * (order + 1) + j] * std::pow(fs, k) * term[t];
  return sum;
}
} // namespace

void LiteralFilterCoefficients(int order, const double* patterns, const double* numerator, const double* denominator,
                               double fs, double u, double v, double* b, double* a)
{
  const double term[kTermCount] = {1.0, u, v, u * u, u * v, u * u * v};
  for (int j = 0; j <= order; ++j)
  {
    b[j] = LiteralSum(order, patterns, numerator, fs, term, j);
    a[j] = LiteralSum(order, patterns, denominator, fs, term, j);
  }
}
