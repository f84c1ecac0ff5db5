#include "ProcessorTWO.h"

#include "RecordFields.h"

void ProcessorTWO::Calc(double fs, double u, double v)
{
  LiteralCalc(*this, kFieldsTWO, kPatternsTWO, kNumeratorTWO, kDenominatorTWO, fs, u, v);
}

double ProcessorTWO::Process(double x)
{
  const double y = (b0 * x + b1 * x1 + b2 * x2 + b3 * x3 - a1 * y1 - a2 * y2 - a3 * y3) / a0;
  ShiftHistories(*this, kFieldsTWO, x, y);
  return y;
}
