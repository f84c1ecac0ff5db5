#pragma once
#include <atomic>

#include "WDL_HeapBuf.h"

// One automatable parameter: its plain value with range, step and curve,
// the texts shown for it, and conversions between plain, normalised (0..1)
// and display forms. No lock of its own: writers hold the plug-in's mutex,
// except the host's controller calls, which may run beside an audio block;
// the value is therefore an atomic. Each value stands alone (nothing else is
// published through it), so relaxed ordering is enough.
class IParam
{
public:
  enum EParamKind
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4,
  };

  static constexpr int kTextSize = 32; // 31 characters and a terminator

  IParam();
  ~IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void InitBool(const char* name, bool defaultVal, const char* label = "", const char* group = "");
  void InitEnum(const char* name, int defaultVal, int nEnums, const char* label = "", const char* group = "");
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "", const char* group = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", const char* group = "", double shape = 1.0);

  void SetShape(double shape);
  void SetDisplayText(int value, const char* text);

  // Plain value, clamped into the range (state restore).
  void Set(double value);
  void SetNormalized(double normalizedValue);
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  int Int() const { return static_cast<int>(Value()); }
  bool Bool() const { return Value() >= 0.5; }
  double DBToAmp() const;

  double GetNormalized() const;
  double GetNormalized(double nonNormalizedValue) const;
  double GetNonNormalized(double normalizedValue) const;

  // Writes at most bufferSize - 1 characters and a terminator.
  void GetDisplayForHost(double value, bool normalized, char* buffer, int bufferSize, bool withDisplayText = true) const;
  // Current value, formatted.
  void GetDisplayForHost(char* buffer, int bufferSize, bool withDisplayText = true) const
  {
    GetDisplayForHost(Value(), false, buffer, bufferSize, withDisplayText);
  }

  const char* GetDisplayText(int value) const;
  const char* GetNameForHost() const { return mName; }
  const char* GetLabelForHost() const;
  const char* GetParamGroupForHost() const { return mParamGroup; }
  int GetNDisplayTexts() const;
  // Empty text for an index outside the entries.
  const char* GetDisplayTextAtIdx(int idx, int* value = nullptr) const;
  bool MapDisplayText(const char* text, int* value) const;
  void GetBounds(double* minVal, double* maxVal) const;

  EParamKind Type() const { return mType; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  double GetDefault() const { return mDefault; }
  double GetDefaultNormalized() const { return GetNormalized(mDefault); }
  int GetPrecision() const { return mDisplayPrecision; }
  bool GetCanAutomate() const { return mCanAutomate; }
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }

private:
  struct DisplayText
  {
    int mValue;
    char mText[kTextSize];
  };

  void InitCommon(EParamKind kind, const char* name, double defaultVal, const char* label, const char* group);
  const DisplayText* DisplayTexts() const { return static_cast<const DisplayText*>(mDisplayTexts.Get()); }

  EParamKind mType = kTypeNone;
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mParamGroup[kTextSize] = {};
  bool mCanAutomate = true;
  WDL_HeapBuf mDisplayTexts{4096};
};
