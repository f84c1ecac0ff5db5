#include "ICaptionControl.h"

#include <cstdio>

#include "ClassicNumbers.h"
#include "IPlugBase.h"

ICaptionControl::ICaptionControl(IPlugBase* plug, IRECT rect, int paramIdx, IText* text, bool showParamLabel)
  : ITextControl(plug, rect, paramIdx, text, ""), mShowParamLabel(showParamLabel)
{
}

void ICaptionControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* mod)
{
  if (mod && (mod->L || mod->R)) PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int /*x*/, int /*y*/, IMouseMod* /*mod*/) { PromptUserInput(); }

bool ICaptionControl::Draw(IGraphics* graphics)
{
  IParam* param = mPlug ? mPlug->GetParam(mParamIdx) : nullptr;
  if (param)
  {
    char text[IParam::kTextSize * 3];
    {
      // The parameter's value is written by the audio thread under this mutex.
      WDL_MutexLock lock(&mPlug->GetMutex());
      ScopedClassicNumbers classic;
      char shown[IParam::kTextSize * 2];
      param->GetDisplayForHost(param->Value(), false, shown, sizeof(shown), true);
      if (mShowParamLabel)
        std::snprintf(text, sizeof(text), "%s %s", shown, param->GetLabelForHost());
      else
        std::snprintf(text, sizeof(text), "%s", shown);
    }
    mStr.Set(text);
  }
  return ITextControl::Draw(graphics);
}
