#include "IParam.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "TextCopy.h"

// The audio path reads values without the mutex; it must not lock either.
static_assert(std::atomic<double>::is_always_lock_free, "parameter values need lock-free atomics");

namespace
{
// Truncation toward zero that stays defined for values an int cannot hold.
int TruncToInt(double v)
{
  if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
  if (v >= 2147483647.0) return 2147483647;
  return static_cast<int>(v);
}
} // namespace

IParam::IParam() = default;

void IParam::InitCommon(EParamKind kind, const char* name, double defaultVal, const char* label, const char* group)
{
  if (mType == kTypeNone) mType = kind;
  CopyTextField(mName, name);
  CopyTextField(mLabel, label);
  CopyTextField(mParamGroup, group);
  mDefault = defaultVal;
  mValue.store(defaultVal, std::memory_order_relaxed);
  mDisplayPrecision = 0;
}

void IParam::InitBool(const char* name, bool defaultVal, const char* label, const char* group)
{
  InitCommon(kTypeBool, name, defaultVal ? 1.0 : 0.0, label, group);
  mMin = 0.0;
  mMax = 1.0;
  mStep = 1.0;
  mShape = 1.0;
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int nEnums, const char* label, const char* group)
{
  InitCommon(kTypeEnum, name, defaultVal, label, group);
  mMin = 0.0;
  mMax = nEnums - 1 > 1 ? nEnums - 1 : 1;
  mStep = 1.0;
  mShape = 1.0;
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label, const char* group)
{
  InitCommon(kTypeInt, name, defaultVal, label, group);
  mMin = minVal;
  mMax = maxVal > static_cast<double>(minVal) + 1.0 ? maxVal : static_cast<double>(minVal) + 1.0;
  mStep = 1.0;
  mShape = 1.0;
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                        const char* label, const char* group, double shape)
{
  InitCommon(kTypeDouble, name, defaultVal, label, group);
  mMin = minVal;
  mMax = maxVal > minVal + step ? maxVal : minVal + step;
  mStep = step;
  int k = 0;
  for (double s = step; k < 6 && std::floor(s) != s; s *= 10.0) ++k;
  mDisplayPrecision = k;
  SetShape(shape);
}

void IParam::SetShape(double shape)
{
  if (shape != 0.0) mShape = shape;
}

void IParam::SetDisplayText(int value, const char* text)
{
  const int n = GetNDisplayTexts();
  auto* entries = static_cast<DisplayText*>(mDisplayTexts.Resize((n + 1) * static_cast<int>(sizeof(DisplayText))));
  if (!entries) return;
  entries[n].mValue = value;
  CopyTextField(entries[n].mText, text);
}

void IParam::Set(double value)
{
  if (value < mMin) value = mMin;
  if (value > mMax) value = mMax;
  mValue.store(value, std::memory_order_relaxed);
}

void IParam::SetNormalized(double normalizedValue)
{
  double v = mMin + (mMax - mMin) * std::pow(normalizedValue, mShape);
  if (mType != kTypeDouble) v = std::floor(v / mStep + 0.5) * mStep;
  mValue.store(v < mMax ? v : mMax, std::memory_order_relaxed);
}

double IParam::DBToAmp() const { return std::exp(Value() * 0.1151292546497); }

double IParam::GetNormalized() const { return GetNormalized(Value()); }

double IParam::GetNormalized(double nonNormalizedValue) const
{
  double c = nonNormalizedValue;
  if (c < mMin) c = mMin;
  if (c > mMax) c = mMax;
  return std::pow((c - mMin) / (mMax - mMin), 1.0 / mShape);
}

double IParam::GetNonNormalized(double normalizedValue) const
{
  return mMin + (mMax - mMin) * std::pow(normalizedValue, mShape);
}

void IParam::GetDisplayForHost(double value, bool normalized, char* buffer, int bufferSize, bool withDisplayText) const
{
  if (!buffer || bufferSize <= 0) return;
  if (normalized) value = GetNonNormalized(value);
  if (withDisplayText && GetNDisplayTexts() > 0)
  {
    const char* text = GetDisplayText(TruncToInt(value));
    if (text[0])
    {
      CopyTextField(buffer, static_cast<size_t>(bufferSize), text);
      return;
    }
  }
  if (mDisplayPrecision > 0)
    std::snprintf(buffer, static_cast<size_t>(bufferSize), "%.*f", mDisplayPrecision, value);
  else
    std::snprintf(buffer, static_cast<size_t>(bufferSize), "%d", TruncToInt(value));
}

const char* IParam::GetDisplayText(int value) const
{
  const DisplayText* entries = DisplayTexts();
  for (int i = 0, n = GetNDisplayTexts(); i < n; ++i)
    if (entries[i].mValue == value) return entries[i].mText;
  return "";
}

const char* IParam::GetLabelForHost() const
{
  return GetDisplayText(TruncToInt(Value()))[0] ? "" : mLabel;
}

int IParam::GetNDisplayTexts() const
{
  return mDisplayTexts.GetSize() / static_cast<int>(sizeof(DisplayText));
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* value) const
{
  if (idx < 0 || idx >= GetNDisplayTexts()) return "";
  const DisplayText& entry = DisplayTexts()[idx];
  if (value) *value = entry.mValue;
  return entry.mText;
}

bool IParam::MapDisplayText(const char* text, int* value) const
{
  if (!text) return false;
  const DisplayText* entries = DisplayTexts();
  for (int i = 0, n = GetNDisplayTexts(); i < n; ++i)
  {
    if (std::strcmp(entries[i].mText, text) == 0)
    {
      if (value) *value = entries[i].mValue;
      return true;
    }
  }
  return false;
}

void IParam::GetBounds(double* minVal, double* maxVal) const
{
  if (minVal) *minVal = mMin;
  if (maxVal) *maxVal = mMax;
}
