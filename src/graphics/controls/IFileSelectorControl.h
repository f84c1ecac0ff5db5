#pragma once
#include "IControl.h"
#include "IGraphics.h"

// A press opens the platform's file dialog; the image shows while the dialog
// is open, and each completed choice nudges the value so the plug-in notices.
class IFileSelectorControl : public IControl
{
public:
  enum EFileSelectorState
  {
    kFSNone,
    kFSSelecting,
    kFSDone
  };

  IFileSelectorControl(IPlugBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap, EFileAction action,
                       const char* dir = "", const char* extensions = "");

  // [UI thread]
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;
  // Dirty, or once after a completed choice.
  bool IsDirty() override;

  void GetLastSelectedFileForPlug(WDL_String* str) const;
  void SetLastSelectedFileFromPlug(const char* file);
  EFileSelectorState GetState() const { return mState; }

protected:
  IBitmap mBitmap;
  WDL_String mDir, mFile, mExtensions;
  EFileAction mFileAction;
  EFileSelectorState mState = kFSNone;
};
