#include "X11ErrorTrap.h"

namespace
{
X11ErrorTrap* g_innermost = nullptr;
}

X11ErrorTrap::X11ErrorTrap(Display* display) : mDisplay(display), mOuter(g_innermost)
{
  // Errors of earlier requests belong to whoever made them.
  XSync(mDisplay, False);
  g_innermost = this;
  mPrevious = XSetErrorHandler(&X11ErrorTrap::Handle);
}

X11ErrorTrap::~X11ErrorTrap()
{
  XSync(mDisplay, False);
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
