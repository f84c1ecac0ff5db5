#include "X11PopupMenu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

#include "IGraphics.h"
#include "IPopupMenu.h"
#include "LICE_CachedFont.h"
#include "LICE_SysBitmap.h"
#include "X11ErrorTrap.h"
#include "X11Surface.h"
#include "lice_blit.h"
#include "lice_line.h"
#include "lice_shapes.h"

namespace
{
constexpr LICE_pixel kBackground = 0xFFF2F2F2u;
constexpr LICE_pixel kBorder = 0xFF707070u;
constexpr LICE_pixel kText = 0xFF101010u;
constexpr LICE_pixel kDisabled = 0xFF9A9A9Au;
constexpr LICE_pixel kHighlight = 0xFF3468B8u;
constexpr LICE_pixel kHighlightText = 0xFFFFFFFFu;

long long NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

IText MenuStyle(double scale) { return IText(static_cast<int>(13 * scale)); }
} // namespace

X11MenuLevel::X11MenuLevel(IGraphics* gui, Display* display, int screen, IPopupMenu* menu, int rootX, int rootY,
                           double scale)
  : mGui(gui), mDisplay(display), mScreen(screen), mMenu(menu), mScale(scale), mX(rootX), mY(rootY)
{
  IText style = MenuStyle(mScale);
  LICE_CachedFont* font = mGui->CacheFont(&style);
  const int line = font ? font->GetLineHeight() : 14;
  const int rowH = line + static_cast<int>(6 * mScale), sepH = static_cast<int>(7 * mScale);
  int widest = static_cast<int>(60 * mScale);
  int y = 2;
  for (int i = 0; i < mMenu->GetNItems(); ++i)
  {
    const IPopupMenuItem* item = mMenu->GetItem(i);
    const int h = item->GetIsSeparator() ? sepH : rowH;
    mTops.push_back(y);
    mHeights.push_back(h);
    y += h;
    if (font && !item->GetIsSeparator())
    {
      WDL_String title;
      mMenu->GetItemTitle(i, &title);
      LICE_Rect r = {0, 0, 0, 0};
      font->DrawText(nullptr, title.Get(), -1, &r, LICE_DT_SINGLELINE | LICE_DT_CALCRECT);
      const int indent = item->GetIsTitle() ? static_cast<int>(12 * mScale) : 0;
      widest = std::max(widest, r.right - r.left + indent);
    }
  }
  mW = widest + static_cast<int>(44 * mScale);
  mH = y + 2;
  // Keep the menu on the screen.
  const int sw = DisplayWidth(mDisplay, mScreen), sh = DisplayHeight(mDisplay, mScreen);
  if (mX + mW > sw) mX = std::max(0, sw - mW);
  if (mY + mH > sh) mY = std::max(0, sh - mH);

  XSetWindowAttributes attrs = {};
  attrs.override_redirect = True;
  attrs.background_pixmap = None;
  attrs.border_pixel = 0;
  attrs.save_under = True;
  attrs.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                     StructureNotifyMask;
  mWindow = XCreateWindow(mDisplay, RootWindow(mDisplay, mScreen), mX, mY, static_cast<unsigned>(mW),
                          static_cast<unsigned>(mH), 0, CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWBackPixmap | CWBorderPixel | CWSaveUnder | CWEventMask, &attrs);
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  mBitmap = new LICE_SysBitmap(mW, mH);
  XMapRaised(mDisplay, mWindow);
  Redraw();
}

X11MenuLevel::~X11MenuLevel()
{
  X11ErrorTrap trap(mDisplay);
  if (mGC) XFreeGC(mDisplay, mGC);
  XDestroyWindow(mDisplay, mWindow);
  delete mBitmap;
}

bool X11MenuLevel::Contains(int rootX, int rootY) const
{
  return rootX >= mX && rootX < mX + mW && rootY >= mY && rootY < mY + mH;
}

int X11MenuLevel::ItemAt(int rootX, int rootY) const
{
  if (!Contains(rootX, rootY)) return -1;
  const int y = rootY - mY;
  for (size_t i = 0; i < mTops.size(); ++i)
    if (y >= mTops[i] && y < mTops[i] + mHeights[i]) return static_cast<int>(i);
  return -1;
}

bool X11MenuLevel::Choosable(int item) const
{
  const IPopupMenuItem* it = mMenu->GetItem(item);
  return it && it->GetEnabled() && !it->GetIsSeparator() && !it->GetSubmenu();
}

int X11MenuLevel::ItemRootY(int item) const
{
  return item >= 0 && item < static_cast<int>(mTops.size()) ? mY + mTops[static_cast<size_t>(item)] : mY;
}

void X11MenuLevel::SetHover(int item)
{
  if (item == mHover) return;
  mHover = item;
  Redraw();
}

void X11MenuLevel::Step(int dir)
{
  const int n = mMenu->GetNItems();
  if (n <= 0) return;
  int i = mHover;
  for (int tries = 0; tries < n; ++tries)
  {
    i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
    const IPopupMenuItem* it = mMenu->GetItem(i);
    if (it && it->GetEnabled() && !it->GetIsSeparator())
    {
      SetHover(i);
      return;
    }
  }
}

void X11MenuLevel::Redraw()
{
  if (!mBitmap || !mBitmap->getBits()) return;
  LICE_Clear(mBitmap, kBackground);
  IText style = MenuStyle(mScale);
  LICE_CachedFont* font = mGui->CacheFont(&style);
  const int checkW = static_cast<int>(20 * mScale);
  for (int i = 0; i < mMenu->GetNItems(); ++i)
  {
    const IPopupMenuItem* item = mMenu->GetItem(i);
    const int top = mTops[static_cast<size_t>(i)], h = mHeights[static_cast<size_t>(i)];
    if (item->GetIsSeparator())
    {
      LICE_Line(mBitmap, 4, top + h / 2, mW - 5, top + h / 2, kDisabled, 1.0f, 0, false);
      continue;
    }
    const bool hot = i == mHover && item->GetEnabled();
    if (hot) LICE_FillRect(mBitmap, 2, top, mW - 4, h, kHighlight, 1.0f, 0);
    const LICE_pixel color = !item->GetEnabled() ? kDisabled : hot ? kHighlightText : kText;
    if (item->GetChecked())
    {
      // A tick drawn as two strokes: no font needs the glyph.
      const int cx = checkW / 2 + 2, cy = top + h / 2, s = std::max(2, static_cast<int>(3 * mScale));
      LICE_Line(mBitmap, cx - 2 * s, cy, cx - s / 2, cy + s + s / 2, color, 1.0f, 0, true);
      LICE_Line(mBitmap, cx - s / 2, cy + s + s / 2, cx + 2 * s, cy - 2 * s, color, 1.0f, 0, true);
    }
    if (item->GetSubmenu())
    {
      const int ax = mW - static_cast<int>(12 * mScale), ay = top + h / 2, s = std::max(3, static_cast<int>(4 * mScale));
      LICE_FillTriangle(mBitmap, ax, ay - s, ax, ay + s, ax + s, ay, color, 1.0f, 0);
    }
    if (font)
    {
      WDL_String title;
      mMenu->GetItemTitle(i, &title);
      font->SetTextColor(color);
      font->SetCombineMode(0x10000, 1.0f);
      const int indent = item->GetIsTitle() ? static_cast<int>(12 * mScale) : 0;
      LICE_Rect r = {checkW + 4 + indent, top, mW - static_cast<int>(16 * mScale), top + h};
      font->DrawText(mBitmap, title.Get(), -1, &r, LICE_DT_SINGLELINE | LICE_DT_VCENTER);
    }
  }
  LICE_Line(mBitmap, 0, 0, mW - 1, 0, kBorder, 1.0f, 0, false);
  LICE_Line(mBitmap, 0, mH - 1, mW - 1, mH - 1, kBorder, 1.0f, 0, false);
  LICE_Line(mBitmap, 0, 0, 0, mH - 1, kBorder, 1.0f, 0, false);
  LICE_Line(mBitmap, mW - 1, 0, mW - 1, mH - 1, kBorder, 1.0f, 0, false);

  X11PutBitmap(mDisplay, mWindow, mGC, DefaultVisual(mDisplay, mScreen), DefaultDepth(mDisplay, mScreen), mBitmap,
               IRECT(0, 0, mW, mH), 0, 0);
  XFlush(mDisplay);
}

namespace
{
class MenuLoop
{
public:
  MenuLoop(X11MenuSession& s) : mS(s) {}

  IPopupMenu* Run(IPopupMenu* menu, int rootX, int rootY)
  {
    mLevels.emplace_back(new X11MenuLevel(mS.gui, mS.display, mS.screen, menu, rootX, rootY, mS.scale));
    WaitMapped(mLevels.back()->GetWindow());
    const ::Window grabWindow = mLevels.front()->GetWindow();
    {
      X11ErrorTrap trap(mS.display);
      mS.pointerGrabbed = XGrabPointer(mS.display, grabWindow, True,
                                       ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                                       GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
      mS.keyboardGrabbed =
        XGrabKeyboard(mS.display, grabWindow, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    }
    // A button still down opened the menu; its release is not a choice.
    ::Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(mS.display, grabWindow, &root, &child, &rx, &ry, &wx, &wy, &mask);
    mOpeningRelease = (mask & (Button1Mask | Button2Mask | Button3Mask)) != 0;

    long long lastEvent = NowMs();
    const int fd = ConnectionNumber(mS.display);
    while (!mDone)
    {
      if (!XPending(mS.display))
      {
        const bool grabbed = mS.pointerGrabbed && mS.keyboardGrabbed;
        if (!grabbed && NowMs() - lastEvent > mS.idleTimeoutMs) break;
        pollfd p = {fd, POLLIN, 0};
        poll(&p, 1, 50);
        continue;
      }
      XEvent ev;
      XNextEvent(mS.display, &ev);
      lastEvent = NowMs();
      Handle(ev);
    }

    {
      X11ErrorTrap trap(mS.display);
      if (mS.pointerGrabbed) XUngrabPointer(mS.display, CurrentTime);
      if (mS.keyboardGrabbed) XUngrabKeyboard(mS.display, CurrentTime);
    }
    IPopupMenu* chosenMenu = nullptr;
    if (mChosenLevel >= 0)
    {
      chosenMenu = mLevels[static_cast<size_t>(mChosenLevel)]->Menu();
      chosenMenu->SetChosenItemIdx(mChosenItem);
    }
    mLevels.clear();
    XSync(mS.display, False);
    return chosenMenu;
  }

private:
  void WaitMapped(::Window w)
  {
    const long long end = NowMs() + 500;
    XEvent ev;
    while (NowMs() < end)
    {
      if (XCheckTypedWindowEvent(mS.display, w, MapNotify, &ev)) return;
      pollfd p = {ConnectionNumber(mS.display), POLLIN, 0};
      poll(&p, 1, 10);
    }
  }

  int LevelAt(int x, int y) const
  {
    for (int i = static_cast<int>(mLevels.size()) - 1; i >= 0; --i)
      if (mLevels[static_cast<size_t>(i)]->Contains(x, y)) return i;
    return -1;
  }

  bool OwnWindow(::Window w) const
  {
    for (auto& l : mLevels)
      if (l->GetWindow() == w) return true;
    return false;
  }

  void CloseDeeper(int level)
  {
    while (static_cast<int>(mLevels.size()) > level + 1) mLevels.pop_back();
  }

  void OpenSubmenu(int level, int item)
  {
    X11MenuLevel* l = mLevels[static_cast<size_t>(level)].get();
    IPopupMenu* sub = l->Menu()->GetItem(item)->GetSubmenu();
    if (!sub || !l->Menu()->GetItem(item)->GetEnabled()) return;
    CloseDeeper(level);
    mLevels.emplace_back(new X11MenuLevel(mS.gui, mS.display, mS.screen, sub, l->RootX() + l->Width() - 2,
                                          l->ItemRootY(item), mS.scale));
  }

  void Choose(int level, int item)
  {
    mChosenLevel = level;
    mChosenItem = item;
    mDone = true;
  }

  void Pointer(int x, int y)
  {
    const int level = LevelAt(x, y);
    if (level < 0) return;
    X11MenuLevel* l = mLevels[static_cast<size_t>(level)].get();
    const int item = l->ItemAt(x, y);
    l->SetHover(item);
    if (item >= 0 && l->Menu()->GetItem(item)->GetSubmenu())
    {
      if (static_cast<int>(mLevels.size()) <= level + 1 ||
          mLevels[static_cast<size_t>(level) + 1]->Menu() != l->Menu()->GetItem(item)->GetSubmenu())
        OpenSubmenu(level, item);
    }
    else if (item >= 0)
      CloseDeeper(level);
  }

  void Handle(XEvent& ev)
  {
    switch (ev.type)
    {
    case MotionNotify:
      mMoved = true;
      Pointer(ev.xmotion.x_root, ev.xmotion.y_root);
      return;
    case ButtonPress:
    case ButtonRelease:
    {
      if (ev.xbutton.button >= 4) return; // the wheel neither chooses nor closes
      const int x = ev.xbutton.x_root, y = ev.xbutton.y_root;
      const int level = LevelAt(x, y);
      const bool release = ev.type == ButtonRelease;
      if (level < 0)
      {
        if (release && mOpeningRelease)
        {
          mOpeningRelease = false;
          return;
        }
        // With the grab only a press outside closes; without it any button
        // event seen outside does, since the rest may never reach us.
        if (!release || !mS.pointerGrabbed) mDone = true;
        return;
      }
      X11MenuLevel* l = mLevels[static_cast<size_t>(level)].get();
      const int item = l->ItemAt(x, y);
      if (!release)
      {
        mOpeningRelease = false;
        mPressedInside = true;
        Pointer(x, y);
        return;
      }
      if (mOpeningRelease && !mPressedInside && !mMoved)
      {
        mOpeningRelease = false;
        return;
      }
      mOpeningRelease = false;
      if (item >= 0 && l->Choosable(item)) Choose(level, item);
      return;
    }
    case KeyPress:
    {
      KeySym sym = XLookupKeysym(&ev.xkey, 0);
      X11MenuLevel* l = mLevels.back().get();
      const int level = static_cast<int>(mLevels.size()) - 1;
      if (sym == XK_Escape) mDone = true;
      else if (sym == XK_Down) l->Step(1);
      else if (sym == XK_Up) l->Step(-1);
      else if (sym == XK_Left && level > 0) CloseDeeper(level - 1);
      else if ((sym == XK_Right || sym == XK_Return || sym == XK_KP_Enter) && l->Hover() >= 0)
      {
        if (l->Menu()->GetItem(l->Hover())->GetSubmenu())
        {
          OpenSubmenu(level, l->Hover());
          mLevels.back()->Step(1);
        }
        else if (sym != XK_Right && l->Choosable(l->Hover()))
          Choose(level, l->Hover());
      }
      return;
    }
    case Expose:
      if (OwnWindow(ev.xexpose.window))
      {
        if (ev.xexpose.count == 0)
          for (auto& lv : mLevels)
            if (lv->GetWindow() == ev.xexpose.window) lv->Redraw();
        return;
      }
      break;
    case UnmapNotify:
    case DestroyNotify:
      if (ev.xany.window == mS.editor)
      {
        mDone = true;
        return;
      }
      break;
    case FocusOut:
      if (ev.xany.window == mS.editor && !mS.keyboardGrabbed && ev.xfocus.mode == NotifyNormal)
      {
        mDone = true;
        return;
      }
      break;
    default: break;
    }
    if (ev.type == MotionNotify || ev.type == KeyPress || ev.type == KeyRelease || ev.type == EnterNotify ||
        ev.type == LeaveNotify)
      return;
    if (mS.passOn) mS.passOn(ev);
  }

  X11MenuSession& mS;
  std::vector<std::unique_ptr<X11MenuLevel>> mLevels;
  bool mDone = false;
  bool mOpeningRelease = false;
  bool mPressedInside = false;
  bool mMoved = false;
  int mChosenLevel = -1, mChosenItem = -1;
};
} // namespace

IPopupMenu* X11RunPopupMenu(X11MenuSession& session, IPopupMenu* menu, int rootX, int rootY)
{
  if (!menu || !session.display || menu->GetNItems() <= 0) return nullptr;
  MenuLoop loop(session);
  return loop.Run(menu, rootX, rootY);
}
