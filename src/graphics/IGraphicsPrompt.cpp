// Asking the user for a parameter value: a menu of the display texts, or a
// text field whose confirmed text becomes the value.
#include <cstring>

#include "ClassicNumbers.h"
#include "IControl.h"
#include "IGraphics.h"
#include "IParam.h"
#include "IPopupMenu.h"

void IGraphics::PromptUserInput(IControl* control, IParam* param, IRECT* r)
{
  if (!control || !param || !r) return;
  const int n = param->GetNDisplayTexts();
  const bool menu = param->Type() == IParam::kTypeEnum || (param->Type() == IParam::kTypeBool && n > 0);
  ScopedClassicNumbers classic;
  char current[IParam::kTextSize * 2];
  param->GetDisplayForHost(param->Value(), false, current, sizeof(current), menu);
  if (!menu)
  {
    CreateTextEntry(control, control->GetText(), r, current, param);
    return;
  }
  IPopupMenu choices;
  for (int i = 0; i < n; ++i)
  {
    const char* title = param->GetDisplayText(i);
    choices.AddItem(title, -1, std::strcmp(title, current) == 0 ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
  }
  if (IPopupMenu* chosen = CreateIPopupMenu(&choices, r))
  {
    const int idx = chosen->GetChosenItemIdx();
    if (idx >= 0) control->SetValueFromUserInput(param->GetNormalized(static_cast<double>(idx)));
  }
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, IParam* param, const char* str)
{
  if (!param || !control) return;
  ScopedClassicNumbers classic; // the value display of the control formats the result
  double v = 0.0;
  if (param->Type() == IParam::kTypeBool || param->Type() == IParam::kTypeEnum)
  {
    // The field of a bool or enum takes only digits and signs, so without a
    // matching display text the typed number is the value (a bool without
    // texts would otherwise always read 0).
    int mapped = 0;
    if (str && param->MapDisplayText(str, &mapped)) v = mapped;
    else v = ParseClassicNumber(str);
  }
  else
    v = ParseClassicNumber(str);
  control->SetValueFromUserInput(param->GetNormalized(v));
}
