#pragma once
#include <cstddef>

// Coefficient tables of the three cabinet filters. Each filter is a bilinear-transformed analogue
// section; its digital coefficient j of either family is
//   sum over (t, k) of c[t][k] * P(N, k, j) * fs^k * t
// where t is a product of the two control values u and v and P(N, k, j) is the z^-j coefficient of
// (1 - z^-1)^k (1 + z^-1)^(N - k). Empty cells are zero.

// Control products the tables are indexed by (row order of every table).
enum FilterTerm
{
  kTermOne,
  kTermU,
  kTermV,
  kTermUU,
  kTermUV,
  kTermUUV,
  kTermCount
};

inline constexpr int kOrderONE = 7;
inline constexpr int kOrderTWO = 3;
inline constexpr int kOrderTHREE = 5;

inline constexpr double kNumeratorONE[][kOrderONE + 1] = {
  {0, 5.47161210022711e-11, 2.18864484009084e-14, 2.18864484009084e-17, 0, 0, 0, 0},
  {0, 0, 1.09432242004542e-13, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0, 0, 0},
};

inline constexpr double kDenominatorONE[][kOrderONE + 1] = {
  {5.72655048113701e-11, 5.48705984183308e-11, 1.46097679732367e-13, 5.87124998699329e-17, 1.15285405515135e-20,
   1.15632600171216e-24, 4.18042176459154e-29, 1.46112453965763e-33},
  {5.28918916148995e-25, -5.38349573758449e-16, -5.13711148822205e-16, 6.57140815763436e-19, 4.43294858325745e-22,
   1.10910252881109e-25, 1.41601917821069e-29, 6.64147518026189e-34},
  {2.69336066855655e-24, -1.14540401045819e-14, -1.09742701075599e-14, -2.85036082047303e-17, -9.6193756032248e-21,
   -1.04595772658465e-24, -3.91148825433117e-29, -1.39553442183155e-33},
  {0, 1.05783783229799e-27, -1.07669914751499e-18, -1.02936035610994e-18, -5.38610077436916e-22,
   -1.24074223386177e-25, -1.48243393001331e-29, -6.64147518026189e-34},
  {2.48765711627571e-38, -1.31112579407699e-28, 1.07678743572267e-19, 1.02743609056402e-19, -1.38164060423112e-22,
   -8.20516324851495e-26, -1.31551125716624e-29, -6.34333828105243e-34},
  {0, 4.97531423255143e-41, -2.62225158815309e-31, 2.15357487144062e-22, 2.05874861589663e-22,
   9.42552443146541e-26, 1.37894463997677e-29, 6.34333828105243e-34},
};

inline constexpr double kNumeratorTWO[][kOrderTWO + 1] = {
  {0, 0, 8.41102090517206e-13, 0},
  {0, 0, 0, 1.68220418103441e-15},
  {0, 0, 1.58698507644756e-11, 0},
  {0, 0, 0, 0},
  {0, 0, 0, 3.17397015289512e-14},
  {0, 0, 0, 0},
};

inline constexpr double kDenominatorTWO[][kOrderTWO + 1] = {
  {7.64281973309539e-07, 7.47181095180979e-10, 8.72852310042993e-13, 0},
  {0, 8.71281449572875e-09, 4.6685430408502e-12, 1.74570462008599e-15},
  {0, 3.5920893536613e-13, 1.58700432286232e-11, 0},
  {0, 0, 0, 0},
  {0, 0, 4.09498186317388e-15, 3.17400864572463e-14},
  {0, 0, 0, 0},
};

inline constexpr double kNumeratorTHREE[][kOrderTHREE + 1] = {
  {0, 1.70858097381046e-12, 1.91839471739438e-14, 3.03922383621404e-17, 9.71348786582931e-21, 0},
  {0, 0, 1.69798777177283e-13, 3.88945610159028e-16, 1.81950341749501e-19, 6.41090199144734e-24},
  {0, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 0},
};

inline constexpr double kDenominatorTHREE[][kOrderTHREE + 1] = {
  {1.81767568680935e-11, 2.08356528627583e-12, 2.14260920914559e-14, 3.35354678749475e-17, 1.06850503502138e-20, 0},
  {0, 1.20146034478828e-14, 1.37704852038183e-15, 1.41453771706759e-17, 2.21351896213821e-20, 7.05213323114109e-24},
  {0, -2.03577641146236e-14, -2.29635579212954e-15, -1.97869324088496e-17, 0, 0},
  {0, 0, 0, 0, 0, 0},
  {0, 0, -1.34361243156516e-17, -1.5155948228055e-18, -1.30593753898407e-20, 0},
  {0, 0, 0, 0, 0, 0},
};

static_assert(sizeof(kNumeratorONE) / sizeof(kNumeratorONE[0]) == kTermCount, "one row per control product");
static_assert(sizeof(kDenominatorONE) / sizeof(kDenominatorONE[0]) == kTermCount, "one row per control product");
static_assert(sizeof(kNumeratorTWO) / sizeof(kNumeratorTWO[0]) == kTermCount, "one row per control product");
static_assert(sizeof(kDenominatorTWO) / sizeof(kDenominatorTWO[0]) == kTermCount, "one row per control product");
static_assert(sizeof(kNumeratorTHREE) / sizeof(kNumeratorTHREE[0]) == kTermCount, "one row per control product");
static_assert(sizeof(kDenominatorTHREE) / sizeof(kDenominatorTHREE[0]) == kTermCount, "one row per control product");

constexpr double Binomial(int n, int r)
{
  if (r < 0 || r > n)
    return 0.0;
  double c = 1.0;
  for (int i = 1; i <= r; ++i)
    c = c * (n - r + i) / i;
  return c;
}

// P(N, k, j): coefficient of z^-j in (1 - z^-1)^k (1 + z^-1)^(N - k).
constexpr double BilinearPattern(int order, int k, int j)
{
  double sum = 0.0;
  for (int i = 0; i <= j; ++i)
    sum += (i % 2 ? -1.0 : 1.0) * Binomial(k, i) * Binomial(order - k, j - i);
  return sum;
}

static_assert(BilinearPattern(3, 0, 1) == 3 && BilinearPattern(3, 1, 2) == -1 && BilinearPattern(3, 2, 1) == -1 &&
                BilinearPattern(3, 3, 1) == -3 && BilinearPattern(3, 3, 3) == -1,
              "bilinear patterns for N = 3");

template <int Order>
struct BilinearPatterns
{
  double p[Order + 1][Order + 1] = {}; // [k][j]
  constexpr BilinearPatterns()
  {
    for (int k = 0; k <= Order; ++k)
      for (int j = 0; j <= Order; ++j)
        p[k][j] = BilinearPattern(Order, k, j);
  }
};

inline constexpr BilinearPatterns<kOrderONE> kPatternsONE;
inline constexpr BilinearPatterns<kOrderTWO> kPatternsTWO;
inline constexpr BilinearPatterns<kOrderTHREE> kPatternsTHREE;

template <int Columns>
constexpr bool TermRowIsZero(const double (&table)[kTermCount][Columns], int term)
{
  for (int k = 0; k < Columns; ++k)
    if (table[term][k] != 0.0)
      return false;
  return true;
}

// Straightforward evaluation, every cell of both tables in turn: b[0..order], a[0..order].
// patterns: P(order, k, j) at [k * (order + 1) + j].
void LiteralFilterCoefficients(int order, const double* patterns, const double* numerator, const double* denominator,
                               double fs, double u, double v, double* b, double* a);
