#include "IPlugParameter.h"

#include <cmath>
#include <cstdlib>

#include "VST3Text.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugParameter::IPlugParameter(IParam* param, ParamID tag, UnitID unitID) : mParam(param)
{
  info.id = tag;
  info.unitId = unitID;
  WidenText(param->GetNameForHost(), info.title, 128);
  info.shortTitle[0] = 0;
  WidenText(param->GetLabelForHost(), info.units, 128);
  info.stepCount = param->Type() == IParam::kTypeDouble ? 0 : static_cast<int32>(param->GetMax() - param->GetMin());
  const double range = param->GetMax() - param->GetMin();
  info.defaultNormalizedValue = std::pow((param->GetDefault() - param->GetMin()) / range, 1.0 / param->GetShape());
  valueNormalized = info.defaultNormalizedValue;
  info.flags = param->GetCanAutomate() ? ParameterInfo::kCanAutomate : 0;
  precision = param->GetPrecision();
}

IPlugParameter::~IPlugParameter() = default;

void IPlugParameter::toString(ParamValue normalized, String128 string) const
{
  char text[IParam::kTextSize];
  {
    ScopedClassicNumbers classic;
    mParam->GetDisplayForHost(normalized, true, text, sizeof text, true);
  }
  WidenText(text, string, 128);
}

bool IPlugParameter::fromString(const TChar* string, ParamValue& normalized) const
{
  char text[128];
  NarrowText(string, text, sizeof text);
  double plain;
  {
    ScopedClassicNumbers classic;
    plain = std::strtod(text, nullptr);
  }
  if (std::isnan(plain)) return false;
  normalized = mParam->GetNormalized(plain);
  return true;
}

ParamValue IPlugParameter::toPlain(ParamValue normalized) const { return mParam->GetNonNormalized(normalized); }

ParamValue IPlugParameter::toNormalized(ParamValue plainValue) const { return mParam->GetNormalized(plainValue); }
