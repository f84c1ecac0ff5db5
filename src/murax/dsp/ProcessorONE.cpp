#include "ProcessorONE.h"

#include "RecordFields.h"

void ProcessorONE::Calc(double fs, double u, double v)
{
  LiteralCalc(*this, kFieldsONE, kPatternsONE, kNumeratorONE, kDenominatorONE, fs, u, v);
}

double ProcessorONE::Process(double x)
{
  const double y = (b0 * x + b1 * x1 + b2 * x2 + b3 * x3 + b4 * x4 + b5 * x5 + b6 * x6 + b7 * x7 - a1 * y1 - a2 * y2 -
                    a3 * y3 - a4 * y4 - a5 * y5 - a6 * y6 - a7 * y7) /
                   a0;
  ShiftHistories(*this, kFieldsONE, x, y);
  return y;
}
