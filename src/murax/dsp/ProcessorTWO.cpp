#include "ProcessorTWO.h"

#include "FilterTables.h"

void ProcessorTWO::Calc(double fs, double u, double v)
{
  double b[kOrderTWO + 1];
  double a[kOrderTWO + 1];
  LiteralFilterCoefficients(kOrderTWO, &kPatternsTWO.p[0][0], &kNumeratorTWO[0][0], &kDenominatorTWO[0][0], fs, u,
                            v, b, a);
  b0 = b[0];
  b1 = b[1];
  b2 = b[2];
  b3 = b[3];
  a0 = a[0];
  a1 = a[1];
  a2 = a[2];
  a3 = a[3];
}

double ProcessorTWO::Process(double x)
{
  const double y = (b0 * x + b1 * x1 + b2 * x2 + b3 * x3 - a1 * y1 - a2 * y2 - a3 * y3) / a0;
  x3 = x2;
  x2 = x1;
  x1 = x;
  y3 = y2;
  y2 = y1;
  y1 = y;
  return y;
}
