#pragma once
#include "FilterTables.h"
#include "ProcessorONE.h"
#include "ProcessorTHREE.h"
#include "ProcessorTWO.h"

// Named record fields, in tap order, so the records can be packed for the kernels.
template <class R, int N>
struct RecordFields
{
  double R::*x[N];
  double R::*y[N];
  double R::*b[N + 1];
  double R::*a[N + 1];
};

inline constexpr RecordFields<ProcessorONE, 7> kFieldsONE = {
  {&ProcessorONE::x1, &ProcessorONE::x2, &ProcessorONE::x3, &ProcessorONE::x4, &ProcessorONE::x5, &ProcessorONE::x6,
   &ProcessorONE::x7},
  {&ProcessorONE::y1, &ProcessorONE::y2, &ProcessorONE::y3, &ProcessorONE::y4, &ProcessorONE::y5, &ProcessorONE::y6,
   &ProcessorONE::y7},
  {&ProcessorONE::b0, &ProcessorONE::b1, &ProcessorONE::b2, &ProcessorONE::b3, &ProcessorONE::b4, &ProcessorONE::b5,
   &ProcessorONE::b6, &ProcessorONE::b7},
  {&ProcessorONE::a0, &ProcessorONE::a1, &ProcessorONE::a2, &ProcessorONE::a3, &ProcessorONE::a4, &ProcessorONE::a5,
   &ProcessorONE::a6, &ProcessorONE::a7},
};
inline constexpr RecordFields<ProcessorTWO, 3> kFieldsTWO = {
  {&ProcessorTWO::x1, &ProcessorTWO::x2, &ProcessorTWO::x3},
  {&ProcessorTWO::y1, &ProcessorTWO::y2, &ProcessorTWO::y3},
  {&ProcessorTWO::b0, &ProcessorTWO::b1, &ProcessorTWO::b2, &ProcessorTWO::b3},
  {&ProcessorTWO::a0, &ProcessorTWO::a1, &ProcessorTWO::a2, &ProcessorTWO::a3},
};
inline constexpr RecordFields<ProcessorTHREE, 5> kFieldsTHREE = {
  {&ProcessorTHREE::x1, &ProcessorTHREE::x2, &ProcessorTHREE::x3, &ProcessorTHREE::x4, &ProcessorTHREE::x5},
  {&ProcessorTHREE::y1, &ProcessorTHREE::y2, &ProcessorTHREE::y3, &ProcessorTHREE::y4, &ProcessorTHREE::y5},
  {&ProcessorTHREE::b0, &ProcessorTHREE::b1, &ProcessorTHREE::b2, &ProcessorTHREE::b3, &ProcessorTHREE::b4,
   &ProcessorTHREE::b5},
  {&ProcessorTHREE::a0, &ProcessorTHREE::a1, &ProcessorTHREE::a2, &ProcessorTHREE::a3, &ProcessorTHREE::a4,
   &ProcessorTHREE::a5},
};

// Fills the record's coefficients by the literal evaluation of its tables.
template <class R, int N>
void LiteralCalc(R& record, const RecordFields<R, N>& f, const BilinearPatterns<N>& patterns,
                 const double (&numerator)[kTermCount][N + 1], const double (&denominator)[kTermCount][N + 1],
                 double fs, double u, double v)
{
  double b[N + 1];
  double a[N + 1];
  LiteralFilterCoefficients(N, &patterns.p[0][0], &numerator[0][0], &denominator[0][0], fs, u, v, b, a);
  for (int j = 0; j <= N; ++j)
  {
    record.*f.b[j] = b[j];
    record.*f.a[j] = a[j];
  }
}

// Direct form I history shift after output y for input x: x1 becomes x, y1 becomes y, the rest move down.
template <class R, int N>
void ShiftHistories(R& record, const RecordFields<R, N>& f, double x, double y)
{
  for (int j = N - 1; j > 0; --j)
  {
    record.*f.x[j] = record.*f.x[j - 1];
    record.*f.y[j] = record.*f.y[j - 1];
  }
  record.*f.x[0] = x;
  record.*f.y[0] = y;
}
