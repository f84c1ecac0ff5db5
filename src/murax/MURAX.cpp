#include "MURAX.h"

MURAX::MURAX(IPlugInstanceInfo instanceInfo)
  : MuraxWrapper(instanceInfo, kNumParams, "1-1 2-2", 1, "MURAX", "", "TindermoorAudio", kVersion, kUniqueID, kMfrID,
                 0, false, false, false)
{
  GetParam(kBypass)->InitInt("Bypass", 1, 0, 1, "", "");
  static const char* const kKnobNames[] = {"Mic Placement", "Cabinet Size", "Character", "Output"};
  static const double kKnobDefaults[] = {0.0, 5.0, 5.0, 5.0};
  for (int i = kMicPlacement; i <= kOutput; ++i)
  {
    IParam* param = GetParam(i);
    param->InitDouble(kKnobNames[i], kKnobDefaults[i], 0.0, 10.0, 0.1, "", "", 1.0);
    param->SetShape(1.0);
  }
  // Hosts ask the editor's size before the editor surface exists.
  SetEditorSize(702, 436);
  MakeDefaultPreset("-", 1);
}

MURAX::~MURAX() = default;

void MURAX::Reset() { WDL_MutexLock lock(&mMutex); }

void MURAX::OnParamChange(int paramIdx)
{
  WDL_MutexLock lock(&mMutex);
  double* copies[] = {&mControls.micValue, &mControls.sizeValue, &mControls.characterValue, &mControls.outputValue};
  if (paramIdx >= kMicPlacement && paramIdx <= kOutput) *copies[paramIdx] = GetParam(paramIdx)->Value();
}

void MURAX::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  // The bypass parameter's writers hold the same mutex as this block, so one
  // read serves every sample of it.
  const bool effectOn = static_cast<int>(GetParam(kBypass)->Value()) == 1;
  mChain.Process(inputs, outputs, nFrames, GetSampleRate(), mControls, effectOn);
}

IPlugBase* MakePlug()
{
  static WDL_Mutex sConstructionMutex;
  WDL_MutexLock lock(&sConstructionMutex);
  return new MURAX(IPlugInstanceInfo{});
}
