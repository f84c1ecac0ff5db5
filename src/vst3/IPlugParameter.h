#pragma once
// One of the plug-in's own parameters as the host sees it: title, units, step
// count, default and flags are read once from the IParam; conversions ask the
// IParam every time, so they follow its range, shape and display texts.
#include "IParam.h"
#include "public.sdk/source/vst/vstparameters.h"

class IPlugParameter : public Steinberg::Vst::Parameter
{
public:
  IPlugParameter(IParam* param, Steinberg::Vst::ParamID tag, Steinberg::Vst::UnitID unitID);
  ~IPlugParameter() override;

  // [main thread] The IParam's display text, numbers with a '.' under any locale.
  void toString(Steinberg::Vst::ParamValue normalized, Steinberg::Vst::String128 string) const SMTG_OVERRIDE;
  // [main thread] Reads the number the text starts with (0 when it starts with
  // none); false only for a text that reads as not-a-number.
  bool fromString(const Steinberg::Vst::TChar* string,
                  Steinberg::Vst::ParamValue& normalized) const SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plainValue) const SMTG_OVERRIDE;

  OBJ_METHODS(IPlugParameter, Steinberg::Vst::Parameter)

private:
  IParam* mParam; // owned by the plug-in base, which outlives the parameter container
};
