#include "X11ErrorTrap.h"

namespace
{
X11ErrorTrap* g_innermost = nullptr;
}

X11ErrorTrap::X11ErrorTrap(Display* display, bool sync) : mDisplay(display), mOuter(g_innermost), mSync(sync)
{
  g_innermost = this;
  mPrevious = XSetErrorHandler(&X11ErrorTrap::Handle);
  mPreviousIO = XSetIOErrorHandler(&X11ErrorTrap::HandleIO);
  // Errors of earlier requests on this connection are absorbed here, not
  // counted: the connection is ours, so they are ours, and the previous
  // handler may be Xlib's default one.
  if (mSync)
  {
    XSync(mDisplay, False);
    mErrorCode = 0;
  }
}

X11ErrorTrap::~X11ErrorTrap()
{
  if (mSync) XSync(mDisplay, False);
  XSetIOErrorHandler(mPreviousIO);
  XSetErrorHandler(mPrevious);
  g_innermost = mOuter;
}

bool X11ErrorTrap::Failed()
{
  XSync(mDisplay, False);
  return mErrorCode != 0;
}

int X11ErrorTrap::Handle(Display* display, XErrorEvent* error)
{
  for (X11ErrorTrap* t = g_innermost; t; t = t->mOuter)
    if (t->mDisplay == display)
    {
      if (!t->mErrorCode) t->mErrorCode = error->error_code;
      return 0;
    }
  // Not ours: what was installed before the outermost trap decides.
  X11ErrorTrap* outermost = g_innermost;
  while (outermost && outermost->mOuter) outermost = outermost->mOuter;
  auto previous = outermost ? outermost->mPrevious : nullptr;
  return previous ? previous(display, error) : 0;
}

int X11ErrorTrap::HandleIO(Display* display)
{
  for (X11ErrorTrap* t = g_innermost; t; t = t->mOuter)
    if (t->mDisplay == display) return 0;
  X11ErrorTrap* outermost = g_innermost;
  while (outermost && outermost->mOuter) outermost = outermost->mOuter;
  auto previous = outermost ? outermost->mPreviousIO : nullptr;
  return previous ? previous(display) : 0;
}
