#pragma once
#include <X11/Xlib.h>

#include <string>

#include "IGraphicsStructs.h"

class IControl;
class IGraphics;
class IParam;
class LICE_SysBitmap;

// The editable field of a prompt: a child window of the editor drawn by us
// (text-entry colours, the font at 90 % of the style's size, the style's
// alignment, a caret), holding the keyboard focus while it is open and
// giving it back when it closes. The prompt's character filter and length
// limit decide what may be typed. [main thread]
class X11TextEntry
{
public:
  enum Result
  {
    kContinue,
    kApply,  // Enter
    kCancel, // Escape
  };

  // area is in editor pixels; scale maps it to the window.
  X11TextEntry(IGraphics* gui, Display* display, ::Window parent, Visual* visual, int depth, IControl* control,
               IParam* param, const IText& text, const IRECT& area, double scale, const char* initial);
  ~X11TextEntry();
  X11TextEntry(const X11TextEntry&) = delete;
  X11TextEntry& operator=(const X11TextEntry&) = delete;

  ::Window GetWindow() const { return mWindow; }
  // Where the field sits in the editor's window (physical pixels).
  int GetX() const { return mX; }
  int GetY() const { return mY; }
  IControl* GetControl() const { return mControl; }
  IParam* GetParam() const { return mParam; }
  const std::string& GetText() const { return mText; }
  size_t GetCaret() const { return mCaret; }

  Result HandleKey(XKeyEvent& ev);
  // Inserts at the caret when the filter and the limit allow the result.
  bool Insert(const char* utf8);
  // Puts the caret at the character boundary nearest x (field pixels).
  void PlaceCaret(int x);
  void Redraw();
  // Takes the keyboard focus (remembering who had it) and gives it back.
  void TakeFocus();
  void ReturnFocus();

private:
  IGraphics* mGui;
  Display* mDisplay;
  ::Window mWindow = 0;
  Visual* mVisual;
  int mDepth;
  IControl* mControl;
  IParam* mParam;
  IText mStyle; // at the size the field shows
  int mX, mY, mW, mH;
  std::string mText;
  size_t mCaret = 0;
  int mTextLeft = 2; // where the text starts, as last drawn
  LICE_SysBitmap* mBitmap = nullptr;
  GC mGC = nullptr;
  ::Window mPrevFocus = 0;
  int mPrevRevert = RevertToParent;
  bool mHasFocus = false;
};
