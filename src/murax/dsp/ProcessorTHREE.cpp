#include "ProcessorTHREE.h"

#include "RecordFields.h"

void ProcessorTHREE::Calc(double fs, double u, double v)
{
  LiteralCalc(*this, kFieldsTHREE, kPatternsTHREE, kNumeratorTHREE, kDenominatorTHREE, fs, u, v);
}

double ProcessorTHREE::Process(double x)
{
  const double y =
    (b0 * x + b1 * x1 + b2 * x2 + b3 * x3 + b4 * x4 + b5 * x5 - a1 * y1 - a2 * y2 - a3 * y3 - a4 * y4 - a5 * y5) / a0;
  ShiftHistories(*this, kFieldsTHREE, x, y);
  return y;
}
