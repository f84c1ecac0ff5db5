#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CabinetState.h"
#include "DC.h"
#include "ProcessorONE.h"
#include "ProcessorTHREE.h"
#include "ProcessorTWO.h"
#include "Smooth.h"

namespace
{
struct Coefficients
{
  std::vector<double> b, a;
};

Coefficients Of(const ProcessorONE& r)
{
  return {{r.b0, r.b1, r.b2, r.b3, r.b4, r.b5, r.b6, r.b7}, {r.a0, r.a1, r.a2, r.a3, r.a4, r.a5, r.a6, r.a7}};
}
Coefficients Of(const ProcessorTWO& r) { return {{r.b0, r.b1, r.b2, r.b3}, {r.a0, r.a1, r.a2, r.a3}}; }
Coefficients Of(const ProcessorTHREE& r)
{
  return {{r.b0, r.b1, r.b2, r.b3, r.b4, r.b5}, {r.a0, r.a1, r.a2, r.a3, r.a4, r.a5}};
}

// Agreement to the 10 significant digits a value is quoted with.
void ExpectTenDigits(double expected, double actual, const std::string& what)
{
  const double halfUnit = 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(expected))) - 9.0);
  EXPECT_NEAR(actual, expected, halfUnit * 1.001) << what;
}

void ExpectCoefficients(const Coefficients& c, double a0, const std::vector<double>& b, const std::vector<double>& a,
                        const char* filter)
{
  ASSERT_EQ(c.b.size(), b.size());
  ExpectTenDigits(a0, c.a[0], std::string(filter) + " a0");
  for (size_t j = 0; j < b.size(); ++j)
  {
    ExpectTenDigits(b[j], c.b[j] / c.a[0], std::string(filter) + " b" + std::to_string(j) + "/a0");
    ExpectTenDigits(a[j], c.a[j] / c.a[0], std::string(filter) + " a" + std::to_string(j) + "/a0");
  }
}

TEST(FilterRecords, CalcAtDefaultControls48k)
{
  ProcessorONE one;
  one.Calc(48000, 0.5, 0.6833333333333333);
  ExpectCoefficients(Of(one), 0.6783694915,
                     {0.003832107469, 0.0043679366, -0.01040917775, -0.01198569236, 0.009383978666, 0.01092952049,
                      -0.00280690838, -0.003311764729},
                     {1, -5.437369804, 12.95178231, -17.64001219, 14.9307611, -7.893705325, 2.420731847,
                      -0.3321879312},
                     "ProcessorONE");

  ProcessorTWO two;
  two.Calc(48000, 0.18, 0.5);
  ExpectCoefficients(Of(two), 0.3730111866, {0.9909113062, -2.864319115, 2.755904311, -0.8824965025},
                     {1, -2.879601864, 2.760420259, -0.8808020032}, "ProcessorTWO");

  ProcessorTHREE three;
  three.Calc(48000, 0.15, 0.31666666666666665);
  ExpectCoefficients(Of(three), 0.3438806806,
                     {1.31263025, -5.304697396, 8.210230464, -5.926408441, 1.877767641, -0.1695225177},
                     {1, -4.548197512, 8.232194258, -7.406267913, 3.308747747, -0.5864765784}, "ProcessorTHREE");
}

TEST(FilterRecords, CalcKeepsHistoriesAndZerosSitWhereDesigned)
{
  ProcessorONE one;
  one.x3 = 0.25;
  one.y7 = -0.5;
  one.Calc(44100, 0.3, 0.4);
  EXPECT_EQ(one.x3, 0.25);
  EXPECT_EQ(one.y7, -0.5);
  // One zero at DC and four at Nyquist: the numerator vanishes at z = 1 and z = -1.
  const Coefficients c = Of(one);
  double atDc = 0, atNyquist = 0, scale = 0;
  for (size_t j = 0; j < c.b.size(); ++j)
  {
    atDc += c.b[j];
    atNyquist += (j % 2 ? -1 : 1) * c.b[j];
    scale += std::fabs(c.b[j]);
  }
  EXPECT_LT(std::fabs(atDc), 1e-14 * scale);
  EXPECT_LT(std::fabs(atNyquist), 1e-14 * scale);
}

TEST(FilterRecords, ProcessIsDirectFormOneDividedByA0)
{
  ProcessorTWO f;
  f.b0 = 1.0;
  f.b1 = 0.5;
  f.b3 = 0.25;
  f.a0 = 2.0;
  f.a1 = -1.0;
  f.a2 = 0.5;
  // Impulse response by hand: y[n] = (b·x - a1 y[n-1] - a2 y[n-2] - a3 y[n-3]) / a0.
  const double expected[] = {0.5, 0.5, 0.125, 0.0625, 0.0};
  const double input[] = {1, 0, 0, 0, 0};
  for (int i = 0; i < 5; ++i)
  {
    const double y = f.Process(input[i]);
    EXPECT_DOUBLE_EQ(y, expected[i]) << "sample " << i;
  }
  EXPECT_EQ(f.x1, 0.0);
  EXPECT_EQ(f.y1, 0.0);
  EXPECT_EQ(f.y2, 0.0625);
  EXPECT_EQ(f.y3, 0.125);
}

TEST(FilterRecords, DcBlockerAndSmootherSteps)
{
  DC dc;
  EXPECT_EQ(dc.Process(1.0), 1.0);
  EXPECT_EQ(dc.Process(1.0), 0.999);
  EXPECT_EQ(dc.Process(0.0), 0.999 * 0.999 - 1.0);
  EXPECT_EQ(dc.x1, 0.0);

  OnePoleSmoother s;
  EXPECT_EQ(s.Advance(0.7), 0.7) << "construction state passes the target straight through";
  s.a0 = 0.25;
  s.b1 = 0.75;
  EXPECT_EQ(s.Advance(1.0), 0.75 * 0.7 + 0.25);
}

TEST(FilterRecords, BlockPreparationTargetsAndWeights)
{
  CabinetState s;
  CabinetControls c;
  c.micValue = 10;
  c.sizeValue = 10;
  c.characterValue = 3;
  c.outputValue = 5;
  s.PrepareBlock(48000, c);
  const double p = std::exp((1.0 / 48000) * (-6.283185307179586));
  for (const OnePoleSmoother* sm :
       {&s.micSmoother, &s.sizeSmoother, &s.characterSmoother, &s.outputSmoother, &s.derivedSizeSmoother})
  {
    EXPECT_EQ(sm->b1, p);
    EXPECT_EQ(sm->a0, 1.0 - p);
    EXPECT_EQ(sm->z, 0.0);
  }
  EXPECT_EQ(s.micTarget, 0.5);
  EXPECT_EQ(s.sizeTarget, 1.0);
  EXPECT_EQ(s.characterTarget, 0.3);
  EXPECT_EQ(s.outputTarget, 1.0);
  EXPECT_EQ(s.derivedSizeTarget, -1.0 * -0.07999999999999999 + 0.18);

  c.sizeValue = 0;
  c.micValue = 0;
  s.PrepareBlock(44100, c);
  EXPECT_EQ(s.micTarget, 0.15);
  EXPECT_EQ(s.derivedSizeTarget, -0.07999999999999999 + 0.18);
  EXPECT_NE(s.derivedSizeTarget, -0.08 + 0.18) << "the span is the double difference 0.1 - 0.18";
}
} // namespace
