#include "IURLControl.h"

#include "IGraphics.h"
#include "TextCopy.h"

IURLControl::IURLControl(IPlugBase* plug, IRECT rect, const char* url, const char* backupURL,
                         const char* errMsgOnFailure)
  : IControl(plug, rect)
{
  CopyTextField(mURL, url);
  CopyTextField(mBackupURL, backupURL);
  CopyTextField(mErrMsg, errMsgOnFailure);
}

void IURLControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*mod*/)
{
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  bool opened = false;
  if (mURL[0]) opened = graphics->OpenURL(mURL, mErrMsg, nullptr, nullptr);
  if (!opened && mBackupURL[0]) graphics->OpenURL(mBackupURL, mErrMsg, nullptr, nullptr);
}
