#pragma once
#include <X11/Xlib.h>

// Catches the X errors of one connection for the lifetime of the object.
// Xlib's error handler is process-wide and its default one exits the host, so
// a plug-in installs its own only around calls that may fail (a host window
// destroyed first, a refused MIT-SHM segment) and restores the previous one
// on the way out. Errors of other connections go on to the previous handler.
// The same goes for the process-wide handler of a lost connection (the X
// server gone): inside a trap our connection's loss does not end the host.
// Traps nest. [main thread]
//
// Without sync the trap costs no round trip: it still catches every error of
// its connection that Xlib reads while it lives, and since only our own calls
// ever read our connection, scoping each entry point this way keeps late
// errors (requests on a window the host destroyed) from the default handler.
class X11ErrorTrap
{
public:
  explicit X11ErrorTrap(Display* display, bool sync = true);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Syncs, then tells whether any request since construction failed.
  bool Failed();
  // The error code of the first failure, 0 when none.
  int ErrorCode() const { return mErrorCode; }

private:
  static int Handle(Display* display, XErrorEvent* error);
  // A lost connection of ours returns to Xlib, which then calls the
  // display's exit handler instead of ending the process.
  static int HandleIO(Display* display);

  Display* mDisplay;
  X11ErrorTrap* mOuter;
  int (*mPrevious)(Display*, XErrorEvent*);
  int (*mPreviousIO)(Display*);
  int mErrorCode = 0;
  bool mSync;
};
