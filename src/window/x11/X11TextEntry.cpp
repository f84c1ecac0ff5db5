#include "X11TextEntry.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "IControl.h"
#include "IGraphics.h"
#include "LICE_CachedFont.h"
#include "LICE_SysBitmap.h"
#include "TextEntryFilter.h"
#include "X11ErrorTrap.h"
#include "X11Surface.h"
#include "lice_blit.h"

namespace
{
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
} // namespace

X11TextEntry::X11TextEntry(IGraphics* gui, Display* display, ::Window parent, Visual* visual, int depth,
                           IControl* control, IParam* param, const IText& text, const IRECT& area, double scale,
                           const char* initial)
  : mGui(gui), mDisplay(display), mVisual(visual), mDepth(depth), mControl(control), mParam(param), mStyle(text)
{
  mStyle.mSize = static_cast<int>(static_cast<int>(text.mSize * 0.9) * scale);
  mStyle.mCached = nullptr;
  mX = static_cast<int>(area.L * scale);
  mY = static_cast<int>(area.T * scale);
  mW = static_cast<int>(area.W() * scale);
  mH = static_cast<int>(area.H() * scale);
  if (mW < 4) mW = 4;
  if (mH < 4) mH = 4;
  mText = initial ? initial : "";
  mCaret = mText.size();

  XSetWindowAttributes attrs = {};
  attrs.background_pixmap = None;
  attrs.border_pixel = 0;
  // Presses and releases in the field stay in it; they never reach the controls below.
  attrs.event_mask = ExposureMask | KeyPressMask | FocusChangeMask | ButtonPressMask | ButtonReleaseMask;
  mWindow = XCreateWindow(mDisplay, parent, mX, mY, static_cast<unsigned>(mW), static_cast<unsigned>(mH), 0,
                          CopyFromParent, InputOutput, CopyFromParent, CWBackPixmap | CWBorderPixel | CWEventMask,
                          &attrs);
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  mBitmap = new LICE_SysBitmap(mW, mH);
  XMapRaised(mDisplay, mWindow);
  Redraw();
}

X11TextEntry::~X11TextEntry()
{
  ReturnFocus();
  {
    X11ErrorTrap trap(mDisplay);
    if (mGC) XFreeGC(mDisplay, mGC);
    XDestroyWindow(mDisplay, mWindow);
  }
  delete mBitmap;
}

void X11TextEntry::TakeFocus()
{
  X11ErrorTrap trap(mDisplay);
  XGetInputFocus(mDisplay, &mPrevFocus, &mPrevRevert);
  // Only a viewable window can take the focus; a refusal leaves the entry
  // working for keys the pointer delivers.
  XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
  mHasFocus = !trap.Failed();
}

void X11TextEntry::ReturnFocus()
{
  if (!mHasFocus) return;
  mHasFocus = false;
  X11ErrorTrap trap(mDisplay);
  ::Window current = 0;
  int revert = 0;
  XGetInputFocus(mDisplay, &current, &revert);
  if (current != mWindow) return; // someone else took it meanwhile
  const ::Window back = mPrevFocus == None || mPrevFocus == mWindow ? PointerRoot : mPrevFocus;
  XSetInputFocus(mDisplay, back, mPrevRevert, CurrentTime);
  if (trap.Failed()) XSetInputFocus(mDisplay, PointerRoot, RevertToPointerRoot, CurrentTime);
}

bool X11TextEntry::Insert(const char* utf8)
{
  if (!utf8 || !*utf8) return false;
  std::string next = mText;
  next.insert(mCaret, utf8);
  const int limit = mParam ? mControl->GetTextEntryLength() : 0;
  if (!TextEntryAccepts(mParam, limit, next.c_str())) return false;
  mText = next;
  mCaret += std::string(utf8).size();
  return true;
}

void X11TextEntry::PlaceCaret(int x)
{
  LICE_CachedFont* font = mGui->CacheFont(&mStyle);
  if (!font) return;
  size_t best = 0;
  int bestDistance = -1;
  for (size_t i = 0; i <= mText.size(); ++i)
  {
    if (i < mText.size() && IsContinuation(mText[i])) continue;
    LICE_Rect r = {0, 0, 0, 0};
    font->DrawText(mBitmap, mText.c_str(), static_cast<int>(i), &r,
                   LICE_DT_SINGLELINE | LICE_DT_CALCRECT | LICE_DT_NOCLIP);
    const int d = std::abs(mTextLeft + (r.right - r.left) - x);
    if (bestDistance < 0 || d < bestDistance)
    {
      bestDistance = d;
      best = i;
    }
  }
  mCaret = best;
  Redraw();
}

X11TextEntry::Result X11TextEntry::HandleKey(XKeyEvent& ev)
{
  char chars[32] = {};
  KeySym sym = 0;
  const int n = XLookupString(&ev, chars, sizeof(chars) - 1, &sym, nullptr);
  switch (sym)
  {
  case XK_Return:
  case XK_KP_Enter: return kApply;
  case XK_Escape: return kCancel;
  case XK_BackSpace:
    if (mCaret > 0)
    {
      size_t from = mCaret - 1;
      while (from > 0 && IsContinuation(mText[from])) --from;
      mText.erase(from, mCaret - from);
      mCaret = from;
    }
    break;
  case XK_Delete:
  case XK_KP_Delete:
    if (mCaret < mText.size())
    {
      size_t to = mCaret + 1;
      while (to < mText.size() && IsContinuation(mText[to])) ++to;
      mText.erase(mCaret, to - mCaret);
    }
    break;
  case XK_Left:
  case XK_KP_Left:
    while (mCaret > 0 && IsContinuation(mText[--mCaret])) {}
    break;
  case XK_Right:
  case XK_KP_Right:
    if (mCaret < mText.size())
      while (++mCaret < mText.size() && IsContinuation(mText[mCaret])) {}
    break;
  case XK_Home:
  case XK_KP_Home: mCaret = 0; break;
  case XK_End:
  case XK_KP_End: mCaret = mText.size(); break;
  default:
    // Printable input only; control characters never enter the field.
    if (n > 0 && static_cast<unsigned char>(chars[0]) >= 0x20 && chars[0] != 0x7F)
    {
      chars[n] = 0;
      Insert(chars);
    }
    break;
  }
  Redraw();
  return kContinue;
}

void X11TextEntry::Redraw()
{
  if (!mBitmap || !mBitmap->getBits()) return;
  LICE_Clear(mBitmap, mStyle.mTextEntryBGColor.Packed() | 0xFF000000u);
  LICE_CachedFont* font = mGui->CacheFont(&mStyle);
  int caretX = 2;
  if (font)
  {
    font->SetTextColor(mStyle.mTextEntryFGColor.Packed() | 0xFF000000u);
    font->SetCombineMode(0x10000, 1.0f);
    LICE_Rect full = {0, 0, 0, 0}, before = {0, 0, 0, 0};
    font->DrawText(mBitmap, mText.c_str(), -1, &full, LICE_DT_SINGLELINE | LICE_DT_CALCRECT | LICE_DT_NOCLIP);
    font->DrawText(mBitmap, mText.c_str(), static_cast<int>(mCaret), &before,
                   LICE_DT_SINGLELINE | LICE_DT_CALCRECT | LICE_DT_NOCLIP);
    const int textW = full.right - full.left;
    int left = 2;
    if (mStyle.mAlign == IText::kAlignCenter) left = (mW - textW) / 2;
    if (mStyle.mAlign == IText::kAlignFar) left = mW - 2 - textW;
    // A long text keeps the caret in sight.
    caretX = left + (before.right - before.left);
    if (caretX > mW - 2) left -= caretX - (mW - 2);
    if (caretX < 1) left += 1 - caretX;
    caretX = left + (before.right - before.left);
    mTextLeft = left;
    LICE_Rect r = {left, 0, mW + textW, mH};
    font->DrawText(mBitmap, mText.c_str(), -1, &r, LICE_DT_SINGLELINE | LICE_DT_VCENTER);
  }
  LICE_FillRect(mBitmap, caretX, 2, 1, mH - 4, mStyle.mTextEntryFGColor.Packed() | 0xFF000000u, 1.0f, 0);
  X11PutBitmap(mDisplay, mWindow, mGC, mVisual, mDepth, mBitmap, IRECT(0, 0, mW, mH), 0, 0);
  XFlush(mDisplay);
}
