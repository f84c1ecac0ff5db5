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
#include "X11Scaler.h"
#include "X11Surface.h"
#include "X11TextEntry.h"
#include "IGraphicsX11Detail.h"

namespace
{
constexpr long kEditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               EnterWindowMask | LeaveWindowMask | StructureNotifyMask | FocusChangeMask;
} // namespace

using x11detail::NowMs;

IGraphicsX11::IGraphicsX11(IPlugBase* plug, int width, int height, int refreshFPS)
  : IGraphics(plug, width, height, refreshFPS)
{
}

IGraphicsX11::~IGraphicsX11() { CloseWindow(); }

int IGraphicsX11::ScaledWidth() const { return static_cast<int>(std::ceil(mWidth * mScale - 1e-9)); }
int IGraphicsX11::ScaledHeight() const { return static_cast<int>(std::ceil(mHeight * mScale - 1e-9)); }
int IGraphicsX11::ToEditor(int physical) const { return static_cast<int>(physical / mScale); }
bool IGraphicsX11::UsesShm() const { return mSurface && mSurface->ShmAvailable(); }
bool IGraphicsX11::ScreenBusy() const { return mSurface && mSurface->Busy(); }
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
  // One pixel more around the area: bilinear taps reach into the neighbours.
  const IRECT wide(l > 0 ? l - 1 : 0, t > 0 ? t - 1 : 0, r + 1, b + 1);
  X11ScaleArea(mDrawBitmap, mScaled, mScale, wide);
  mSurface->Put(mScaled, wide);
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
