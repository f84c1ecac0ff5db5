#include "MURAX.h"

#include "IGraphics.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"
#include "MakeGraphics.h"

const char* const kMuraxBundleID = "com.TindermoorAudio.vst3.MURAX";

namespace
{
enum EImages
{
  BG_ID = 101,
  MIC_ID = 102,
  CHA_ID = 103,
  BYPASS_ID = 104,
  SIZE_ID = 105,
  OUT_ID = 106,
};
constexpr int kKnobFrames = 61;
} // namespace

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
  IGraphics* graphics = MakeGraphics(this, kEditorWidth, kEditorHeight, 0);
  graphics->SetBundleID(kMuraxBundleID);
  graphics->AttachBackground(BG_ID, "resources/img/BG.png");
  IBitmap bitmap = graphics->LoadIBitmap(BYPASS_ID, "resources/img/BYPASS.png", 2);
  graphics->AttachControl(new ISwitchControl(this, 24, 12, kBypass, &bitmap));
  bitmap = graphics->LoadIBitmap(MIC_ID, "resources/img/MIC.png", kKnobFrames);
  graphics->AttachControl(new IKnobMultiControl(this, 182, 0, kMicPlacement, &bitmap, kHorizontal, 0.5));
  bitmap = graphics->LoadIBitmap(SIZE_ID, "resources/img/SIZE.png", kKnobFrames);
  graphics->AttachControl(new IKnobMultiControl(this, 25, 77, kCabinetSize, &bitmap, kVertical, 2.0));
  bitmap = graphics->LoadIBitmap(CHA_ID, "resources/img/CHA.png", kKnobFrames);
  graphics->AttachControl(new IKnobMultiControl(this, 25, 181, kCharacter, &bitmap, kVertical, 2.0));
  bitmap = graphics->LoadIBitmap(OUT_ID, "resources/img/OUT.png", kKnobFrames);
  graphics->AttachControl(new IKnobMultiControl(this, 25, 285, kOutput, &bitmap, kVertical, 2.0));
  AttachGraphics(graphics);
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
