#pragma once
#include "IControl.h"

// An invisible area that opens a web address, or a backup address when the
// first cannot be opened.
class IURLControl : public IControl
{
public:
  static constexpr int kURLSize = 256;
  static constexpr int kErrMsgSize = 1024;

  IURLControl(IPlugBase* plug, IRECT rect, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* /*graphics*/) override { return true; }

  const char* GetURL() const { return mURL; }
  const char* GetBackupURL() const { return mBackupURL; }
  const char* GetErrMsg() const { return mErrMsg; }

protected:
  char mURL[kURLSize] = {};
  char mBackupURL[kURLSize] = {};
  char mErrMsg[kErrMsgSize] = {};
};
