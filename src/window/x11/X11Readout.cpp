#include "X11Readout.h"

#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include "IGraphics.h"
#include "LICE_CachedFont.h"
#include "LICE_SysBitmap.h"
#include "X11Surface.h"
#include "lice_blit.h"
#include "lice_line.h"

namespace
{
constexpr LICE_pixel kBackground = 0xFF202428u;
constexpr LICE_pixel kBorder = 0xFF8A9098u;
constexpr LICE_pixel kTextColor = 0xFFF4F4F4u;
} // namespace

X11Readout::X11Readout(IGraphics* gui, Display* display, int screen, double scale)
  : mGui(gui), mDisplay(display), mScreen(screen), mScale(scale)
{
  XSetWindowAttributes attrs = {};
  attrs.override_redirect = True;
  attrs.background_pixmap = None;
  attrs.border_pixel = 0;
  attrs.event_mask = ExposureMask;
  mWindow = XCreateWindow(mDisplay, RootWindow(mDisplay, mScreen), 0, 0, 8, 8, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWBackPixmap | CWBorderPixel | CWEventMask, &attrs);
  int eventBase = 0, errorBase = 0;
  // No input region at all: clicks and motion fall through to what lies below.
  if (XShapeQueryExtension(mDisplay, &eventBase, &errorBase))
    XShapeCombineRectangles(mDisplay, mWindow, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
}

X11Readout::~X11Readout()
{
  if (mGC) XFreeGC(mDisplay, mGC);
  XDestroyWindow(mDisplay, mWindow);
  delete mBitmap;
}

void X11Readout::Show(const char* text, int x, int y)
{
  mText = text ? text : "";
  IText style(static_cast<int>(12 * mScale));
  LICE_CachedFont* font = mGui->CacheFont(&style);
  LICE_Rect extent = {0, 0, 0, 0};
  if (font) font->DrawText(nullptr, mText.c_str(), -1, &extent, LICE_DT_SINGLELINE | LICE_DT_CALCRECT);
  const int pad = static_cast<int>(4 * mScale);
  const int w = extent.right - extent.left + 2 * pad, h = (font ? font->GetLineHeight() : 12) + 2 * pad;
  if (w != mW || h != mH || !mBitmap)
  {
    mW = w;
    mH = h;
    delete mBitmap;
    mBitmap = new LICE_SysBitmap(mW, mH);
  }
  XMoveResizeWindow(mDisplay, mWindow, x, y, static_cast<unsigned>(mW), static_cast<unsigned>(mH));
  if (!mVisible) XMapRaised(mDisplay, mWindow);
  mVisible = true;
  Redraw();
}

void X11Readout::Hide()
{
  if (!mVisible) return;
  XUnmapWindow(mDisplay, mWindow);
  XFlush(mDisplay);
  mVisible = false;
}

void X11Readout::Redraw()
{
  if (!mVisible || !mBitmap || !mBitmap->getBits()) return;
  LICE_Clear(mBitmap, kBackground);
  LICE_Line(mBitmap, 0, 0, mW - 1, 0, kBorder, 1.0f, 0, false);
  LICE_Line(mBitmap, 0, mH - 1, mW - 1, mH - 1, kBorder, 1.0f, 0, false);
  LICE_Line(mBitmap, 0, 0, 0, mH - 1, kBorder, 1.0f, 0, false);
  LICE_Line(mBitmap, mW - 1, 0, mW - 1, mH - 1, kBorder, 1.0f, 0, false);
  IText style(static_cast<int>(12 * mScale));
  if (LICE_CachedFont* font = mGui->CacheFont(&style))
  {
    font->SetTextColor(kTextColor);
    font->SetCombineMode(0x10000, 1.0f);
    LICE_Rect r = {0, 0, mW, mH};
    font->DrawText(mBitmap, mText.c_str(), -1, &r, LICE_DT_SINGLELINE | LICE_DT_CENTER | LICE_DT_VCENTER);
  }
  X11PutBitmap(mDisplay, mWindow, mGC, DefaultVisual(mDisplay, mScreen), DefaultDepth(mDisplay, mScreen), mBitmap,
               IRECT(0, 0, mW, mH), 0, 0);
  XFlush(mDisplay);
}
