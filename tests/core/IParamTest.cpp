#include "IParam.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
std::string Display(const IParam& p, double value, bool normalized = false, bool texts = true)
{
  char buf[32];
  p.GetDisplayForHost(value, normalized, buf, sizeof buf, texts);
  return buf;
}
} // namespace

TEST(IParamInit, DoublePrecisionFollowsTheStep)
{
  IParam p;
  p.InitDouble("Gain", 5.0, 0.0, 10.0, 0.1);
  EXPECT_EQ(p.GetPrecision(), 1);
  EXPECT_EQ(Display(p, 5.0), "5.0");
  EXPECT_EQ(Display(p, 0.0), "0.0");

  IParam whole;
  whole.InitDouble("Whole", 0.0, 0.0, 10.0, 1.0);
  EXPECT_EQ(whole.GetPrecision(), 0);
  EXPECT_EQ(Display(whole, 2.7), "2");

  IParam fine;
  fine.InitDouble("Fine", 0.0, 0.0, 1.0, 1e-7);
  EXPECT_EQ(fine.GetPrecision(), 6) << "precision stops at six decimals";

  IParam hundredths;
  hundredths.InitDouble("H", 0.0, 0.0, 1.0, 0.01);
  EXPECT_EQ(hundredths.GetPrecision(), 2);
}

TEST(IParamInit, RangesAreWidenedToAtLeastOneStep)
{
  IParam i;
  i.InitInt("Int", 3, 3, 2);
  EXPECT_EQ(i.GetMax(), 4.0);
  IParam e0, e1, e5;
  e0.InitEnum("E", 0, 0);
  e1.InitEnum("E", 0, 1);
  e5.InitEnum("E", 0, 5);
  EXPECT_EQ(e0.GetMax(), 1.0);
  EXPECT_EQ(e1.GetMax(), 1.0);
  EXPECT_EQ(e5.GetMax(), 4.0);
  IParam d;
  d.InitDouble("D", 0.0, 1.0, 1.05, 0.1);
  EXPECT_DOUBLE_EQ(d.GetMax(), 1.1);
}

TEST(IParamInit, KindIsSetOnceAndShapeZeroIsIgnored)
{
  IParam p;
  p.InitInt("A", 0, 0, 10);
  p.InitDouble("B", 0.0, 0.0, 10.0, 0.1, "", "", 2.0);
  EXPECT_EQ(p.Type(), IParam::kTypeInt);
  EXPECT_EQ(p.GetShape(), 2.0);
  p.SetShape(0.0);
  EXPECT_EQ(p.GetShape(), 2.0);
  p.InitDouble("C", 0.0, 0.0, 10.0, 0.1, "", "", 0.0);
  EXPECT_EQ(p.GetShape(), 2.0) << "InitDouble with shape 0 keeps the previous shape";
}

TEST(IParamInit, LongTextsAreTruncatedAndTerminated)
{
  const std::string longText(100, 'x');
  IParam p;
  p.InitDouble(longText.c_str(), 0.0, 0.0, 1.0, 0.1, longText.c_str(), longText.c_str());
  p.SetDisplayText(0, longText.c_str());
  EXPECT_EQ(std::strlen(p.GetNameForHost()), 31u);
  EXPECT_EQ(std::strlen(p.GetParamGroupForHost()), 31u);
  EXPECT_EQ(std::strlen(p.GetDisplayText(0)), 31u);
  IParam q;
  q.InitInt("Q", 1, 0, 2, longText.c_str());
  EXPECT_EQ(std::strlen(q.GetLabelForHost()), 31u);
}

TEST(IParamConversion, NormalisedToPlainSnapsAndClampsAbove)
{
  IParam i;
  i.InitInt("Int", 0, 0, 10);
  i.SetNormalized(0.26);
  EXPECT_EQ(i.Value(), 3.0);
  i.SetNormalized(0.25);
  EXPECT_EQ(i.Value(), 3.0) << "halfway goes up";
  i.SetNormalized(1.2);
  EXPECT_EQ(i.Value(), 10.0);

  IParam d;
  d.InitDouble("D", 0.0, 0.0, 10.0, 0.1);
  d.SetNormalized(0.123);
  EXPECT_DOUBLE_EQ(d.Value(), 1.23) << "doubles do not snap";
  d.SetNormalized(-0.1);
  EXPECT_LT(d.Value(), 0.0) << "no lower clamp";
  d.SetNormalized(1.2);
  EXPECT_EQ(d.Value(), 10.0);
}

TEST(IParamConversion, PlainToNormalisedClampsAndHonoursShape)
{
  IParam d;
  d.InitDouble("D", 0.0, 0.0, 10.0, 0.1, "", "", 2.0);
  d.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(d.Value(), 2.5);
  EXPECT_DOUBLE_EQ(d.GetNormalized(2.5), 0.5);
  EXPECT_EQ(d.GetNormalized(11.0), 1.0);
  EXPECT_EQ(d.GetNormalized(-1.0), 0.0);
  EXPECT_DOUBLE_EQ(d.GetNonNormalized(0.5), 2.5);

  d.Set(42.0);
  EXPECT_EQ(d.Value(), 10.0);
  d.Set(-42.0);
  EXPECT_EQ(d.Value(), 0.0);

  IParam db;
  db.InitDouble("dB", -6.0, -60.0, 12.0, 0.1);
  EXPECT_NEAR(db.DBToAmp(), 0.501187, 1e-6);
}

TEST(IParamDisplay, TextsReplaceNumbersAndEmptyTheLabel)
{
  IParam b;
  b.InitBool("On", true, "lbl");
  EXPECT_EQ(Display(b, 0.0), "off");
  EXPECT_EQ(Display(b, 1.0), "on");
  EXPECT_EQ(Display(b, 0.0, false, false), "0");
  EXPECT_EQ(Display(b, 1.0, false, false), "1");
  EXPECT_STREQ(b.GetLabelForHost(), "") << "a value with a text shows no label";

  IParam e;
  e.InitEnum("Mode", 0, 3, "lbl");
  e.SetDisplayText(0, "A");
  e.SetDisplayText(2, "C");
  EXPECT_EQ(Display(e, 2.9), "C");
  EXPECT_EQ(Display(e, 1.0), "1") << "no text for 1";
  EXPECT_EQ(Display(e, 1.0, true), "C") << "normalised 1 is plain 2";
  e.Set(1.0);
  EXPECT_STREQ(e.GetLabelForHost(), "lbl");
}

TEST(IParamDisplay, TextLookupsAndIndexing)
{
  IParam e;
  e.InitEnum("Mode", 0, 3);
  e.SetDisplayText(5, "five");
  e.SetDisplayText(5, "again");
  e.SetDisplayText(7, "seven");
  EXPECT_EQ(e.GetNDisplayTexts(), 3);
  EXPECT_STREQ(e.GetDisplayText(5), "five") << "first match wins";
  EXPECT_STREQ(e.GetDisplayText(6), "");
  int value = -1;
  EXPECT_STREQ(e.GetDisplayTextAtIdx(2, &value), "seven");
  EXPECT_EQ(value, 7);
  value = -1;
  EXPECT_STREQ(e.GetDisplayTextAtIdx(3, &value), "");
  EXPECT_STREQ(e.GetDisplayTextAtIdx(-1, &value), "");
  EXPECT_EQ(value, -1);
  EXPECT_TRUE(e.MapDisplayText("seven", &value));
  EXPECT_EQ(value, 7);
  value = 99;
  EXPECT_FALSE(e.MapDisplayText("Seven", &value)) << "case-sensitive";
  EXPECT_EQ(value, 99);
}

TEST(IParamDisplay, FormattingIsBoundedByTheCallersBuffer)
{
  IParam d;
  d.InitDouble("D", 0.0, 0.0, 10.0, 1e-6);
  char buf[32];
  std::memset(buf, '#', sizeof buf);
  d.GetDisplayForHost(1e300, true, buf, sizeof buf);
  EXPECT_EQ(std::strlen(buf), 31u);

  IParam i;
  i.InitInt("I", 0, 0, 10);
  i.GetDisplayForHost(1e300, true, buf, sizeof buf);
  EXPECT_STREQ(buf, "2147483647") << "huge values saturate instead of overflowing the integer";
  char tiny[4];
  d.GetDisplayForHost(123456.0, false, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "123");
}
