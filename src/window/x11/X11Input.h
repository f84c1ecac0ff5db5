#pragma once
#include "IGraphicsStructs.h"

// Xlib's Display, without pulling Xlib's macros (Bool, Status...) into
// every file that includes this one.
typedef struct _XDisplay Display;

// Pure translations from X input to the editor's terms, kept apart from the
// window so they can be checked without a server.

// Which modifier bits mean Alt and Super on this server (from its modifier
// map), and which mean NumLock, so it can be ignored.
struct X11ModifierMasks
{
  // Mod1, Mod4 and Mod2 on most servers.
  unsigned alt = 1u << 3;
  unsigned super = 1u << 6;
  unsigned numLock = 1u << 4;
};
X11ModifierMasks X11QueryModifierMasks(Display* display);

// The mouse modifiers for an event with this state: left-button and motion
// events and the wheel set L, right-button events set R instead; Super (the
// Command key's place) adds R to a left event, so Super-click reaches the
// controls as a right click; Shift, Control, Alt give S, C, A. Lock and
// NumLock are ignored.
IMouseMod X11MouseMod(unsigned state, bool rightButton, const X11ModifierMasks& masks);

// Double clicks by the server's time stamps and distance.
class X11ClickCounter
{
public:
  static constexpr unsigned long kMaxIntervalMs = 400;
  static constexpr int kMaxDistance = 5;

  // A left press at (x, y) at server time t: true when it completes a double
  // click. The press after a double click starts afresh.
  bool Press(int x, int y, unsigned long t);
  void Reset() { mHave = false; }

private:
  bool mHave = false;
  int mX = 0, mY = 0;
  unsigned long mTime = 0;
};
