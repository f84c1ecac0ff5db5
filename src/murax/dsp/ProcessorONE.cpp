#include "ProcessorONE.h"

#include "FilterTables.h"

void ProcessorONE::Calc(double fs, double u, double v)
{
  double b[kOrderONE + 1];
  double a[kOrderONE + 1];
  LiteralFilterCoefficients(kOrderONE, &kPatternsONE.p[0][0], &kNumeratorONE[0][0], &kDenominatorONE[0][0], fs, u,
                            v, b, a);
  b0 = b[0];
  b1 = b[1];
  b2 = b[2];
  b3 = b[3];
  b4 = b[4];
  b5 = b[5];
  b6 = b[6];
  b7 = b[7];
  a0 = a[0];
  a1 = a[1];
  a2 = a[2];
  a3 = a[3];
  a4 = a[4];
  a5 = a[5];
  a6 = a[6];
  a7 = a[7];
}

double ProcessorONE::Process(double x)
{
  const double y = (b0 * x + b1 * x1 + b2 * x2 + b3 * x3 + b4 * x4 + b5 * x5 + b6 * x6 + b7 * x7 - a1 * y1 - a2 * y2 - a3 * y3 - a4 * y4 - a5 * y5 - a6 * y6 - a7 * y7) / a0;
  x7 = x6;
  x6 = x5;
  x5 = x4;
  x4 = x3;
  x3 = x2;
  x2 = x1;
  x1 = x;
  y7 = y6;
  y6 = y5;
  y5 = y4;
  y4 = y3;
  y3 = y2;
  y2 = y1;
  y1 = y;
  return y;
}
