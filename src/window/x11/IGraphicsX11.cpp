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

namespace
{
constexpr long kEditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               EnterWindowMask | LeaveWindowMask | StructureNotifyMask | FocusChangeMask;
// The read-out stays this long after the gesture's last step.
constexpr long long kReadoutLingerMs = 700;
constexpr int kClipboardWaitMs = 300;
// A tooltip shows once the pointer has rested this long on a control.
constexpr long long kTooltipDelayMs = 600;

long long NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

IGraphicsX11::IGraphicsX11(IPlugBase* plug, int width, int height, int refreshFPS)
  : IGraphics(plug, width, height, refreshFPS)
{
}

IGraphicsX11::~IGraphicsX11() { CloseWindow(); }

int IGraphicsX11::ScaledWidth() const { return static_cast<int>(std::ceil(mWidth * mScale - 1e-9)); }
int IGraphicsX11::ScaledHeight() const { return static_cast<int>(std::ceil(mHeight * mScale - 1e-9)); }
int IGraphicsX11::ToEditor(int physical) const { return static_cast<int>(physical / mScale); }
bool IGraphicsX11::UsesShm() const { return mSurface && mSurface->ShmAvailable(); }
void* IGraphicsX11::GetWindow() { return mWindow ? reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)) : nullptr; }
int IGraphicsX11::WindowEventFD() { return mDisplay ? ConnectionNumber(mDisplay) : -1; }
int IGraphicsX11::WindowTimerMs() const { return 1000 / (FPS() > 0 ? FPS() : 25); }
bool IGraphicsX11::ReadoutVisible() const { return mReadout && mReadout->Visible(); }
bool IGraphicsX11::TooltipVisible() const { return mTooltip && mTooltip->Visible(); }
::Window IGraphicsX11::ReadoutWindow() const { return mReadout ? mReadout->GetWindow() : 0; }

// ---- Opening and closing -----------------------------------------------------------

void* IGraphicsX11::OpenWindow(void* parentWindow)
{
  CloseWindow();
  const ::Window parent = static_cast<::Window>(reinterpret_cast<uintptr_t>(parentWindow));
  if (!parent) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  mConnectionLost = false;
  // Called instead of exit() when the server goes away (see X11ErrorTrap).
  XSetIOErrorExitHandler(
    display, [](Display*, void* self) { static_cast<IGraphicsX11*>(self)->mConnectionLost = true; }, this);

  XWindowAttributes pa = {};
  ::Window window = 0;
  {
    X11ErrorTrap trap(display);
    const Status ok = XGetWindowAttributes(display, parent, &pa);
    if (ok && !trap.Failed())
    {
      XSetWindowAttributes attrs = {};
      attrs.background_pixmap = None; // no clearing before each Expose
      attrs.border_pixel = 0;
      attrs.event_mask = kEditorEvents;
      window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(ScaledWidth()),
                             static_cast<unsigned>(ScaledHeight()), 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixmap | CWBorderPixel | CWEventMask, &attrs);
    }
    if (!window || trap.Failed()) window = 0;
  }
  if (!window)
  {
    XCloseDisplay(display);
    return nullptr;
  }

  mDisplay = display;
  X11ErrorTrap scope(mDisplay, false);
  mParent = parent;
  mWindow = window;
  mScreen = XScreenNumberOfScreen(pa.screen);
  mVisual = pa.visual;
  mDepth = pa.depth;
  mWindowGone = false;
  mXembedInfo = XInternAtom(mDisplay, "_XEMBED_INFO", False);
  mClipboard = XInternAtom(mDisplay, "CLIPBOARD", False);
  mUtf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
  mClipProp = XInternAtom(mDisplay, "MURAX_CLIPBOARD", False);
  // Format-32 data goes through Xlib as C longs: version 0, flags XEMBED_MAPPED.
  const long xembed[2] = {0, 1};
  XChangeProperty(mDisplay, mWindow, mXembedInfo, mXembedInfo, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(xembed), 2);
  mMasks = X11QueryModifierMasks(mDisplay);
  mClicks.Reset();
  ApplyScaleToWindow();
  XMapWindow(mDisplay, mWindow);
  XSync(mDisplay, False);

  mSurface.reset(new X11Surface(mDisplay, mWindow, static_cast<Visual*>(mVisual), mDepth));
  if (mSurface->ShmAvailable()) SwapDrawBitmap(true);
  if (mScale != 1.0) mScaled = mSurface->MakeBitmap(ScaledWidth(), ScaledHeight());
  mReadout.reset(new X11Readout(this, mDisplay, mScreen, mScale));

  // The first frame shows at once, not at the first tick.
  SetAllControlsDirty();
  IRECT all(0, 0, mWidth, mHeight);
  Draw(&all);
  XFlush(mDisplay);
  return GetWindow();
}

void IGraphicsX11::CloseWindow()
{
  if (!mDisplay) return;
  {
    // Closing syncs too: nothing it reads may reach the default handler.
    // After a lost connection Xlib's calls return at once: the same path
    // releases everything.
    X11ErrorTrap scope(mDisplay, false);
    TearDownWindow();
    XCloseDisplay(mDisplay);
  }
  mDisplay = nullptr;
  mWindow = mParent = 0;
  mDamage.Clear();
}

void IGraphicsX11::TearDownWindow()
{
  mInMenu = false;
  mTextEntry.reset();
  mReadout.reset();
  mTooltip.reset();
  mTipControl = -1;
  ShowMouseCursor();
  ReleaseMouseCapture();
  mLeftDown = mRightDown = false;
  if (mSurface)
  {
    mSurface->WaitIdle(200);
    // The segments belong to this connection: the editor keeps its image in
    // plain memory from here on.
    if (mSurface->ShmAvailable()) SwapDrawBitmap(false);
  }
  delete mScaled;
  mScaled = nullptr;
  mSurface.reset();
  {
    // The host may have destroyed its window, and ours with it, first.
    X11ErrorTrap trap(mDisplay);
    if (!mWindowGone) XDestroyWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
  }
}

bool IGraphicsX11::SwapDrawBitmap(bool toSurface)
{
  if (!mDrawBitmap || !mSurface) return false;
  LICE_SysBitmap* next = toSurface ? mSurface->MakeBitmap(mWidth, mHeight) : new LICE_SysBitmap(mWidth, mHeight);
  if (!next->getBits() && mWidth > 0 && mHeight > 0)
  {
    delete next;
    return false;
  }
  LICE_Blit(next, mDrawBitmap, 0, 0, 0, 0, mWidth, mHeight, 1.0f, 0);
  delete mDrawBitmap;
  mDrawBitmap = next;
  return true;
}

void IGraphicsX11::ApplyScaleToWindow()
{
  if (!mDisplay) return;
  const unsigned w = static_cast<unsigned>(ScaledWidth()), h = static_cast<unsigned>(ScaledHeight());
  X11ErrorTrap trap(mDisplay);
  XResizeWindow(mDisplay, mWindow, w, h);
  // Fixed size: some embedders size their socket from these.
  if (XSizeHints* hints = XAllocSizeHints())
  {
    hints->flags = PMinSize | PMaxSize | PBaseSize;
    hints->min_width = hints->max_width = hints->base_width = static_cast<int>(w);
    hints->min_height = hints->max_height = hints->base_height = static_cast<int>(h);
    XSetWMNormalHints(mDisplay, mWindow, hints);
    XFree(hints);
  }
}

bool IGraphicsX11::SetWindowScale(double scale)
{
  if (!(scale >= 1.0 && scale <= 3.0)) return false;
  if (scale == mScale) return true;
  mScale = scale;
  if (!mDisplay) return true;
  X11ErrorTrap scope(mDisplay, false);
  EndTextEntry(false);
  if (mSurface) mSurface->WaitIdle(200);
  delete mScaled;
  mScaled = mScale != 1.0 ? mSurface->MakeBitmap(ScaledWidth(), ScaledHeight()) : nullptr;
  mReadout.reset(new X11Readout(this, mDisplay, mScreen, mScale));
  mTooltip.reset();
  ApplyScaleToWindow();
  mDamage = IRECT(0, 0, mWidth, mHeight);
  PutScreen(mDamage);
  mDamage.Clear();
  return true;
}

void IGraphicsX11::Resize(int w, int h)
{
  if (w == mWidth && h == mHeight) return;
  // The controls go: nothing may keep pointing at them.
  if (mDisplay)
  {
    X11ErrorTrap scope(mDisplay, false);
    EndTextEntry(false);
    HideTooltip();
  }
  if (mSurface) mSurface->WaitIdle(200);
  IGraphics::Resize(w, h);
  if (!mDisplay) return;
  X11ErrorTrap scope(mDisplay, false);
  if (mSurface->ShmAvailable()) SwapDrawBitmap(true);
  delete mScaled;
  mScaled = mScale != 1.0 ? mSurface->MakeBitmap(ScaledWidth(), ScaledHeight()) : nullptr;
  ApplyScaleToWindow();
}

// ---- Drawing -------------------------------------------------------------------------

bool IGraphicsX11::DrawScreen(IRECT* r)
{
  if (!mWindow || mWindowGone || mConnectionLost) return false;
  X11ErrorTrap scope(mDisplay, false);
  IRECT area = r ? *r : IRECT(0, 0, mWidth, mHeight);
  area = area.Union(mDamage);
  mDamage.Clear();
  PutScreen(area);
  return true;
}

void IGraphicsX11::PutScreen(const IRECT& editorArea)
{
  if (!mSurface || editorArea.Empty()) return;
  if (mScale == 1.0 || !mScaled)
  {
    mSurface->Put(mDrawBitmap, editorArea);
    return;
  }
  // Only the dirty area is scaled on its way to the screen.
  const int l = static_cast<int>(std::floor(editorArea.L * mScale)), t = static_cast<int>(std::floor(editorArea.T * mScale));
  int r = static_cast<int>(std::ceil(editorArea.R * mScale)), b = static_cast<int>(std::ceil(editorArea.B * mScale));
  if (r > ScaledWidth()) r = ScaledWidth();
  if (b > ScaledHeight()) b = ScaledHeight();
  if (r <= l || b <= t) return;
  if (std::floor(mScale) == mScale)
  {
    // Whole factors stay sharp: each pixel becomes a k x k block, one row
    // widened and then copied k - 1 times.
    const int k = static_cast<int>(mScale);
    const IRECT src(editorArea.L < 0 ? 0 : editorArea.L, editorArea.T < 0 ? 0 : editorArea.T,
                    editorArea.R > mWidth ? mWidth : editorArea.R, editorArea.B > mHeight ? mHeight : editorArea.B);
    const LICE_pixel* in = mDrawBitmap->getBits();
    LICE_pixel* out = mScaled->getBits();
    const int inSpan = mDrawBitmap->getRowSpan(), outSpan = mScaled->getRowSpan();
    for (int y = src.T; y < src.B; ++y)
    {
      const LICE_pixel* row = in + static_cast<size_t>(y) * inSpan;
      LICE_pixel* first = out + static_cast<size_t>(y) * k * outSpan + src.L * k;
      LICE_pixel* o = first;
      for (int x = src.L; x < src.R; ++x)
        for (int i = 0; i < k; ++i) *o++ = row[x];
      const size_t bytes = static_cast<size_t>(src.R - src.L) * k * sizeof(LICE_pixel);
      for (int i = 1; i < k; ++i) std::memcpy(first + static_cast<size_t>(i) * outSpan, first, bytes);
    }
    mSurface->Put(mScaled, IRECT(src.L * k, src.T * k, src.R * k, src.B * k));
    return;
  }
  LICE_ScaledBlit(mScaled, mDrawBitmap, l, t, r - l, b - t, static_cast<float>(l / mScale),
                  static_cast<float>(t / mScale), static_cast<float>((r - l) / mScale),
                  static_cast<float>((b - t) / mScale), 1.0f, 0x100);
  mSurface->Put(mScaled, IRECT(l, t, r, b));
}

void IGraphicsX11::Redraw()
{
  if (!mWindow || mWindowGone || mConnectionLost) return;
  // The draw bitmap may be the segment the server is still reading.
  if (mSurface->Busy()) return;
  // Exposed areas and the dirty union become one Draw: a partial Draw cleans
  // every control, so nothing dirty may lie outside the area it draws.
  IRECT area = mDamage;
  const bool dirty = IsDirty(&area);
  if (!dirty && area.Empty()) return;
  mDamage.Clear();
  Draw(&area);
}

bool IGraphicsX11::WaitForScreen(int timeoutMs)
{
  if (!mSurface) return false;
  X11ErrorTrap scope(mDisplay, false);
  const bool ok = mSurface->WaitIdle(timeoutMs);
  if (mDisplay) XSync(mDisplay, False);
  return ok;
}

// ---- The run loop's two entry points -------------------------------------------------

void IGraphicsX11::DrainEvents(bool alreadyQueuedOnly)
{
  // Only what is queued or readable now: never a blocking read. Events Xlib
  // pulled in during a round trip sit in its queue with the fd quiet.
  while (mDisplay && !mConnectionLost && (alreadyQueuedOnly ? XEventsQueued(mDisplay, QueuedAlready) : XPending(mDisplay)) > 0)
  {
    XEvent ev;
    XNextEvent(mDisplay, &ev);
    HandleEvent(ev);
  }
}

void IGraphicsX11::OnWindowEvents()
{
  if (!mDisplay || mConnectionLost) return;
  X11ErrorTrap scope(mDisplay, false);
  DrainEvents(false);
}

void IGraphicsX11::OnWindowTimer()
{
  if (!mDisplay || mConnectionLost) return;
  X11ErrorTrap scope(mDisplay, false);
  DrainEvents(false);
  if (!mDisplay || mConnectionLost) return;
  if (mReadout && mReadout->Visible() && !mLeftDown && !mRightDown && NowMs() >= mReadoutHideAtMs) mReadout->Hide();
  UpdateTooltip();
  Redraw();
  // What the redraw's requests brought into the queue, without another read.
  DrainEvents(true);
}

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

// ---- Cursor, clipboard, images ---------------------------------------------------------

void IGraphicsX11::HideMouseCursor()
{
  if (mCursorHidden || !mDisplay) return;
  ::Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  X11ErrorTrap trap(mDisplay);
  if (XQueryPointer(mDisplay, mWindow, &root, &child, &rx, &ry, &wx, &wy, &mask))
  {
    mHiddenMousePointX = rx;
    mHiddenMousePointY = ry;
  }
  XFixesHideCursor(mDisplay, mWindow);
  mCursorHidden = !trap.Failed();
}

void IGraphicsX11::ShowMouseCursor()
{
  if (!mCursorHidden || !mDisplay) return;
  X11ErrorTrap trap(mDisplay);
  XWarpPointer(mDisplay, None, RootWindow(mDisplay, mScreen), 0, 0, 0, 0, mHiddenMousePointX, mHiddenMousePointY);
  XFixesShowCursor(mDisplay, mWindow);
  mCursorHidden = trap.Failed();
}

bool IGraphicsX11::GetTextFromClipboard(WDL_String* text)
{
  if (text) text->Set("");
  if (!text || !mDisplay || !mWindow) return false;
  X11ErrorTrap scope(mDisplay, false);
  if (XGetSelectionOwner(mDisplay, mClipboard) == None) return false;
  XDeleteProperty(mDisplay, mWindow, mClipProp);
  XConvertSelection(mDisplay, mClipboard, mUtf8, mClipProp, mWindow, CurrentTime);
  XFlush(mDisplay);
  // A bounded wait on our own connection only; other events stay queued.
  XEvent ev;
  bool answered = false;
  const long long end = NowMs() + kClipboardWaitMs;
  while (!answered && NowMs() < end)
  {
    if (XCheckTypedWindowEvent(mDisplay, mWindow, SelectionNotify, &ev))
    {
      answered = true;
      break;
    }
    pollfd p = {ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&p, 1, 10);
    XEventsQueued(mDisplay, QueuedAfterReading);
  }
  if (!answered || ev.xselection.property == None) return false;
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  bool ok = false;
  if (XGetWindowProperty(mDisplay, mWindow, mClipProp, 0, 1 << 20, True, AnyPropertyType, &type, &format, &n, &after,
                         &data) == Success)
  {
    // Incremental transfers (huge selections) are not taken.
    if (data && format == 8 && type != XInternAtom(mDisplay, "INCR", False))
    {
      text->Set(reinterpret_cast<const char*>(data), static_cast<int>(n));
      ok = n > 0;
    }
    if (data) XFree(data);
  }
  return ok;
}

LICE_IBitmap* IGraphicsX11::OSLoadBitmap(int, const char* name) { return LoadImageFromBundle(name); }

// ---- Desktop services ------------------------------------------------------------------

bool IGraphicsX11::OpenURL(const char* url, const char*, const char*, const char*)
{
  if (!url || !*url) return false;
  return X11SpawnDetached({"xdg-open", url});
}

void IGraphicsX11::HostPath(WDL_String* path)
{
  if (path) path->Set(X11ModulePath().c_str());
}

void IGraphicsX11::PluginPath(WDL_String* path)
{
  if (path) path->Set(X11BundleParent(X11ModulePath()).c_str());
}

void IGraphicsX11::DesktopPath(WDL_String* path)
{
  if (path) path->Set(X11DesktopFolder().c_str());
}

void IGraphicsX11::AppSupportPath(WDL_String* path, bool isSystem)
{
  if (path) path->Set(isSystem ? "/usr/share" : X11DataFolder().c_str());
}

void IGraphicsX11::SandboxSafeAppSupportPath(WDL_String* path)
{
  if (path) path->Set((X11HomeFolder() + "/Music").c_str());
}

int IGraphicsX11::ShowMessageBox(const char* text, const char* caption, int type)
{
  // The desktop's own dialog helper when one is installed; without it the
  // box cannot be shown and no button counts as pressed.
  std::vector<std::string> args = {"zenity", "--title", caption ? caption : "", "--text", text ? text : "",
                                   "--no-markup"};
  if (type == 4 || type == 3)
  {
    args.insert(args.begin() + 1, "--question");
    args.push_back("--ok-label=Yes");
    args.push_back("--cancel-label=No");
    if (type == 3) args.push_back("--extra-button=Cancel");
  }
  else if (type == 1)
  {
    args.insert(args.begin() + 1, "--question");
    args.push_back("--ok-label=OK");
    args.push_back("--cancel-label=Cancel");
  }
  else
    args.insert(args.begin() + 1, "--info");
  std::string out;
  int code = -1;
  if (X11FindProgram("zenity").empty()) return 0;
  X11RunForOutput(args, &out, &code);
  if (code == 0) return 1;
  if (type == 3 && out.find("Cancel") != std::string::npos) return 2;
  if (code == 1 && (type == 4 || type == 3)) return 7;
  return 0;
}

void IGraphicsX11::PromptForFile(WDL_String* fileName, EFileAction action, WDL_String* dir, const char* extensions)
{
  if (!fileName) return;
  if (!mWindow)
  {
    fileName->Set("");
    return;
  }
  std::string start = dir && dir->Get()[0] ? dir->Get() : X11HomeFolder() + "/Desktop";
  if (dir && !dir->Get()[0]) dir->Set("~/Desktop");
  if (!start.empty() && start.back() != '/') start += '/';
  const std::string suggested = fileName->Get();
  fileName->Set("");
  std::vector<std::string> args = {"zenity", "--file-selection", "--filename=" + start + suggested};
  if (action == kFileSave) args.push_back("--save");
  std::string filter;
  for (const char* p = extensions ? extensions : ""; *p;)
  {
    while (*p == ' ') ++p;
    const char* e = p;
    while (*e && *e != ' ') ++e;
    if (e > p) filter += (filter.empty() ? "*." : " *.") + std::string(p, e);
    p = e;
  }
  if (!filter.empty()) args.push_back("--file-filter=" + filter);
  std::string out;
  if (!X11RunForOutput(args, &out, nullptr)) return;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  if (out.empty()) return;
  fileName->Set(out.c_str());
  if (dir)
  {
    const size_t slash = out.rfind('/');
    dir->Set(slash == std::string::npos ? "" : out.substr(0, slash + 1).c_str());
  }
}
