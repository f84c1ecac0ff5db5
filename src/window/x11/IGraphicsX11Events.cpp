// The editor window's events: mouse, exposures, the field, menus, tooltips.
#include "IGraphicsX11.h"

#include <poll.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>

// Our headers before Xlib's: it defines Bool and Status as macros.
#include "BundleImage.h"
#include "IControl.h"
#include "IParam.h"
#include "IPlugBase.h"
#include "IPopupMenu.h"
#include "LICE_SysBitmap.h"
#include "lice_blit.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include "X11ErrorTrap.h"
#include "X11PopupMenu.h"
#include "X11Readout.h"
#include "X11Services.h"
#include "X11Surface.h"
#include "X11TextEntry.h"
#include "IGraphicsX11Detail.h"

using x11detail::NowMs;
using x11detail::kReadoutLingerMs;
using x11detail::kClipboardWaitMs;
using x11detail::kTooltipDelayMs;

// ---- Events --------------------------------------------------------------------------

void IGraphicsX11::HandleEvent(XEvent& ev)
{
  if (mSurface && mSurface->HandleEvent(ev)) return;
  if (mTextEntry && ev.xany.window == mTextEntry->GetWindow())
  {
    switch (ev.type)
    {
    case KeyPress:
    {
      const X11TextEntry::Result result = mTextEntry->HandleKey(ev.xkey);
      if (result != X11TextEntry::kContinue) EndTextEntry(result == X11TextEntry::kApply);
      break;
    }
    case Expose:
      if (ev.xexpose.count == 0) mTextEntry->Redraw();
      break;
    case FocusOut:
      // Leaving the field applies it, as a click elsewhere does. Focus moving
      // to or from under the pointer (PointerRoot focus) is not leaving.
      if (ev.xfocus.mode == NotifyNormal && ev.xfocus.detail != NotifyInferior && ev.xfocus.detail != NotifyPointer &&
          ev.xfocus.detail != NotifyPointerRoot && ev.xfocus.detail != NotifyDetailNone)
        EndTextEntry(true);
      break;
    case ButtonPress:
      if (ev.xbutton.button == 1) mTextEntry->PlaceCaret(ev.xbutton.x);
      if (ev.xbutton.button >= 4 && ev.xbutton.button <= 7)
      {
        // The wheel over the field closes it and then turns what lies below.
        XEvent moved = ev;
        moved.xbutton.window = mWindow;
        moved.xbutton.x += mTextEntry->GetX();
        moved.xbutton.y += mTextEntry->GetY();
        HandleButton(moved, true);
      }
      break;
    default: break;
    }
    return;
  }
  if (mReadout && ev.xany.window == mReadout->GetWindow())
  {
    if (ev.type == Expose && ev.xexpose.count == 0) mReadout->Redraw();
    return;
  }
  if (mTooltip && ev.xany.window == mTooltip->GetWindow())
  {
    if (ev.type == Expose && ev.xexpose.count == 0) mTooltip->Redraw();
    return;
  }
  if (ev.xany.window != mWindow) return;

  switch (ev.type)
  {
  case Expose:
  {
    const XExposeEvent& e = ev.xexpose;
    const IRECT area(static_cast<int>(std::floor(e.x / mScale)), static_cast<int>(std::floor(e.y / mScale)),
                     static_cast<int>(std::ceil((e.x + e.width) / mScale)),
                     static_cast<int>(std::ceil((e.y + e.height) / mScale)));
    mDamage = mDamage.Union(area);
    if (e.count == 0 && !mInMenu) Redraw();
    break;
  }
  case ButtonPress: HandleButton(ev, true); break;
  case ButtonRelease: HandleButton(ev, false); break;
  case MotionNotify:
  {
    // Only the latest position of a run of motion events matters.
    XEvent next;
    while (XCheckTypedWindowEvent(mDisplay, mWindow, MotionNotify, &next)) ev = next;
    HandleMotion(ev);
    break;
  }
  case LeaveNotify:
    HideTooltip();
    if (ev.xcrossing.mode == NotifyNormal && !mLeftDown && !mRightDown) OnMouseOut();
    break;
  case MapNotify:
    mMapped = true;
    mDamage = IRECT(0, 0, mWidth, mHeight);
    break;
  case UnmapNotify: mMapped = false; break;
  case DestroyNotify:
    if (ev.xdestroywindow.window == mWindow) mWindowGone = true;
    break;
  default: break;
  }
}

void IGraphicsX11::HandleButton(const XEvent& event, bool press)
{
  const XButtonEvent& ev = event.xbutton;
  HideTooltip();
  const int x = ToEditor(ev.x), y = ToEditor(ev.y);
  mPrevX = x;
  mPrevY = y;
  if (ev.button >= 4 && ev.button <= 7)
  {
    if (!press) return; // the wheel reports on press only
    if (mTextEntry) EndTextEntry(false);
    IMouseMod mod = X11MouseMod(ev.state, false, mMasks);
    const int delta = ev.button == 4 ? 1 : ev.button == 5 ? -1 : 0;
    OnMouseWheel(x, y, &mod, delta);
    const int idx = GetMouseControlIdx(x, y);
    if (delta && idx >= 0 && GetControl(idx)->ParamIdx() >= 0)
    {
      ShowReadoutFor(GetControl(idx)->ParamIdx(), ev.x_root, ev.y_root);
      mReadoutHideAtMs = NowMs() + kReadoutLingerMs;
    }
    return;
  }
  if (ev.button != 1 && ev.button != 3) return;
  const bool right = ev.button == 3;
  IMouseMod mod = X11MouseMod(ev.state, right, mMasks);
  if (press)
  {
    // A press in the editor is a press outside the field: leaving it applies it.
    if (mTextEntry) EndTextEntry(true);
    (right ? mRightDown : mLeftDown) = true;
    if (!right && mClicks.Press(x, y, ev.time))
      OnMouseDblClick(x, y, &mod);
    else
    {
      if (right) mClicks.Reset();
      OnMouseDown(x, y, &mod);
    }
  }
  else
  {
    (right ? mRightDown : mLeftDown) = false;
    OnMouseUp(x, y, &mod);
    mReadoutHideAtMs = NowMs() + kReadoutLingerMs;
  }
}

void IGraphicsX11::HandleMotion(const XEvent& event)
{
  const XMotionEvent& ev = event.xmotion;
  const int x = ToEditor(ev.x), y = ToEditor(ev.y);
  mPrevX = x;
  mPrevY = y;
  const bool left = (ev.state & Button1Mask) != 0, right = (ev.state & Button3Mask) != 0;
  if (left || right)
  {
    if (mTextEntry) return; // drags are ignored while a field is open
    IMouseMod mod = X11MouseMod(ev.state, !left, mMasks);
    OnMouseDrag(x, y, &mod);
    const int idx = GetMouseCapture();
    if (idx >= 0 && idx < NControls() && GetControl(idx)->ParamIdx() >= 0)
      ShowReadoutFor(GetControl(idx)->ParamIdx(), ev.x_root, ev.y_root);
    return;
  }
  IMouseMod mod = X11MouseMod(ev.state, false, mMasks);
  OnMouseOver(x, y, &mod);
  if (TooltipsEnabled())
  {
    const int idx = GetMouseControlIdx(x, y, true);
    if (idx != mTipControl)
    {
      if (mTooltip) mTooltip->Hide();
      mTipControl = idx;
      mTipAtMs = NowMs() + kTooltipDelayMs;
    }
    mTipX = ev.x_root;
    mTipY = ev.y_root;
  }
}

void IGraphicsX11::HideTooltip()
{
  if (mTooltip) mTooltip->Hide();
  mTipControl = -1;
}

void IGraphicsX11::UpdateTooltip()
{
  if (!TooltipsEnabled() || mTipControl < 0 || mTipControl >= NControls() || NowMs() < mTipAtMs) return;
  if (mTooltip && mTooltip->Visible()) return;
  IControl* c = GetControl(mTipControl);
  const char* tip = c->GetToolTip();
  if (c->IsHidden() || !tip || !*tip) return;
  if (!mTooltip) mTooltip.reset(new X11Readout(this, mDisplay, mScreen, mScale));
  const int offset = static_cast<int>(18 * mScale);
  mTooltip->Show(tip, mTipX + offset / 2, mTipY + offset);
}

void IGraphicsX11::ShowReadoutFor(int paramIdx, int rootX, int rootY)
{
  if (!mReadout || !GetPlug()) return;
  IParam* param = GetPlug()->GetParam(paramIdx);
  if (!param) return;
  char text[128];
  param->GetDisplayForHost(text, sizeof(text));
  const int offset = static_cast<int>(16 * mScale);
  mReadout->Show(text, rootX + offset, rootY + offset);
}

bool IGraphicsX11::OnHostKeyDown(int key)
{
  if (mTextEntry) return false;
  return OnKeyDown(mPrevX, mPrevY, key);
}

// ---- Menus and text entry -------------------------------------------------------------

IPopupMenu* IGraphicsX11::CreateIPopupMenu(IPopupMenu* menu, IRECT* area)
{
  ReleaseMouseCapture();
  if (!mDisplay || !mWindow || !menu || mInMenu) return nullptr;
  X11ErrorTrap scope(mDisplay, false);
  EndTextEntry(false);
  int rootX = 0, rootY = 0;
  ::Window child = 0;
  const IRECT r = area ? *area : IRECT(mPrevX, mPrevY, mPrevX, mPrevY);
  {
    X11ErrorTrap trap(mDisplay);
    XTranslateCoordinates(mDisplay, mWindow, RootWindow(mDisplay, mScreen), static_cast<int>(r.L * mScale),
                          static_cast<int>(r.B * mScale), &rootX, &rootY, &child);
  }
  X11MenuSession session;
  session.gui = this;
  session.display = mDisplay;
  session.screen = mScreen;
  session.editor = mWindow;
  session.scale = mScale;
  session.idleTimeoutMs = mMenuIdleMs;
  session.passOn = [this](XEvent& ev) {
    // Exposures, completions and structure changes keep their meaning.
    if (ev.type != ButtonPress && ev.type != ButtonRelease) HandleEvent(ev);
  };
  mInMenu = true;
  IPopupMenu* chosen = X11RunPopupMenu(session, menu, rootX, rootY);
  mInMenu = false;
  mLeftDown = mRightDown = false;
  // Clicks in the menu came between: the next press is a first click.
  mClicks.Reset();
  // What the menu covered comes back now (or at the next tick).
  if (mDisplay) Redraw();
  return chosen;
}

void IGraphicsX11::CreateTextEntry(IControl* control, IText* text, IRECT* area, const char* str, IParam* param)
{
  if (!control || !mDisplay || !mWindow || mTextEntry) return;
  X11ErrorTrap scope(mDisplay, false);
  const IText style = text ? *text : IText();
  const IRECT r = area ? *area : *control->GetRECT();
  mTextEntry.reset(new X11TextEntry(this, mDisplay, mWindow, static_cast<Visual*>(mVisual), mDepth, control, param, style, r, mScale, str));
  XSync(mDisplay, False);
  mTextEntry->TakeFocus();
}

void IGraphicsX11::EndTextEntry(bool apply)
{
  if (!mTextEntry) return;
  // Taken out first: applying may redraw or even open another prompt.
  std::unique_ptr<X11TextEntry> entry = std::move(mTextEntry);
  const std::string text = entry->GetText();
  IControl* control = entry->GetControl();
  IParam* param = entry->GetParam();
  entry.reset();
  if (apply)
  {
    if (param)
      SetFromStringAfterPrompt(control, param, text.c_str());
    else
      control->TextFromTextEntry(text.c_str());
  }
  mDamage = mDamage.Union(IRECT(0, 0, mWidth, mHeight));
}

void IGraphicsX11::ForceEndUserEdit()
{
  if (!mDisplay) return;
  X11ErrorTrap scope(mDisplay, false);
  EndTextEntry(false);
}
