#include "IFileSelectorControl.h"

IFileSelectorControl::IFileSelectorControl(IPlugBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap,
                                           EFileAction action, const char* dir, const char* extensions)
  : IControl(plug, rect, paramIdx), mBitmap(*bitmap), mDir(dir ? dir : ""), mExtensions(extensions ? extensions : ""),
    mFileAction(action)
{
}

void IFileSelectorControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  mState = kFSSelecting;
  SetDirty(false);
  graphics->PromptForFile(&mFile, mFileAction, &mDir, mExtensions.Get());
  double value = GetValue() + 1.0;
  if (value > 1.0) value = 0.0;
  SetValue(value);
  mState = kFSDone;
  SetDirty(true);
}

bool IFileSelectorControl::Draw(IGraphics* graphics)
{
  if (mState != kFSSelecting) return true;
  return graphics->DrawBitmap(&mBitmap, &mRECT, 0, 0, nullptr);
}

bool IFileSelectorControl::IsDirty()
{
  if (IControl::IsDirty()) return true;
  if (mState == kFSDone)
  {
    mState = kFSNone;
    return true;
  }
  return false;
}

void IFileSelectorControl::GetLastSelectedFileForPlug(WDL_String* str) const
{
  if (str) str->Set(mFile.Get());
}

void IFileSelectorControl::SetLastSelectedFileFromPlug(const char* file) { mFile.Set(file ? file : ""); }
