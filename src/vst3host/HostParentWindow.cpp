#include "HostParentWindow.h"

#include <X11/Xutil.h>
#include <poll.h>

namespace vst3host {

std::unique_ptr<HostParentWindow> HostParentWindow::Open(const char* displayName, int width, int height, int x,
                                                         int y)
{
  Display* display = XOpenDisplay(displayName);
  if (!display) return nullptr;
  std::unique_ptr<HostParentWindow> parent(new HostParentWindow);
  parent->mDisplay = display;
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attrs = {};
  attrs.background_pixel = BlackPixel(display, screen);
  attrs.event_mask = StructureNotifyMask;
  // Xvfb runs without a window manager: override-redirect keeps the position exact.
  attrs.override_redirect = True;
  parent->mWindow = XCreateWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                  CWBackPixel | CWEventMask | CWOverrideRedirect, &attrs);
  XMapRaised(display, parent->mWindow);
  XEvent ev;
  // Wait for the map so children become viewable at once.
  for (int i = 0; i < 200; ++i)
  {
    if (XCheckTypedWindowEvent(display, parent->mWindow, MapNotify, &ev)) break;
    pollfd p = {ConnectionNumber(display), POLLIN, 0};
    poll(&p, 1, 10);
  }
  XSync(display, False);
  return parent;
}

HostParentWindow::~HostParentWindow()
{
  if (mWindow) XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

std::vector<::Window> HostParentWindow::Children()
{
  std::vector<::Window> out;
  if (!mWindow) return out;
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  XSync(mDisplay, False);
  if (XQueryTree(mDisplay, mWindow, &root, &parent, &children, &n))
  {
    out.assign(children, children + n);
    if (children) XFree(children);
  }
  return out;
}

std::vector<uint32_t> HostParentWindow::Capture(int x, int y, int w, int h)
{
  std::vector<uint32_t> out;
  if (!mWindow || w <= 0 || h <= 0) return out;
  XSync(mDisplay, False);
  XImage* image = XGetImage(mDisplay, mWindow, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                            ZPixmap);
  if (!image) return out;
  out.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out[static_cast<size_t>(j) * w + i] = XGetPixel(image, i, j) & 0xFFFFFFu;
  XDestroyImage(image);
  return out;
}

void HostParentWindow::Resize(int width, int height)
{
  if (!mWindow) return;
  XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(mDisplay, False);
}

void HostParentWindow::DestroyWindow()
{
  if (!mWindow) return;
  XDestroyWindow(mDisplay, mWindow);
  XSync(mDisplay, False);
  mWindow = 0;
}

bool HostParentWindow::GrabPointer()
{
  if (!mWindow) return false;
  const int rc = XGrabPointer(mDisplay, mWindow, False, ButtonPressMask | ButtonReleaseMask, GrabModeAsync,
                              GrabModeAsync, None, None, CurrentTime);
  XSync(mDisplay, False);
  return rc == GrabSuccess;
}

void HostParentWindow::UngrabPointer()
{
  XUngrabPointer(mDisplay, CurrentTime);
  XSync(mDisplay, False);
}

} // namespace vst3host
