#include "X11Input.h"

#include <X11/Xlib.h>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <cstdlib>

X11ModifierMasks X11QueryModifierMasks(Display* display)
{
  X11ModifierMasks masks;
  XModifierKeymap* map = XGetModifierMapping(display);
  if (!map) return masks;
  unsigned alt = 0, super = 0, numLock = 0;
  for (int mod = 0; mod < 8; ++mod)
    for (int k = 0; k < map->max_keypermod; ++k)
    {
      const KeyCode code = map->modifiermap[mod * map->max_keypermod + k];
      if (!code) continue;
      const KeySym sym = XkbKeycodeToKeysym(display, code, 0, 0);
      const unsigned bit = 1u << mod;
      if (mod < 3) continue; // Shift, Lock, Control have fixed bits
      if (sym == XK_Alt_L || sym == XK_Alt_R || sym == XK_Meta_L || sym == XK_Meta_R) alt |= bit;
      if (sym == XK_Super_L || sym == XK_Super_R || sym == XK_Hyper_L || sym == XK_Hyper_R) super |= bit;
      if (sym == XK_Num_Lock) numLock |= bit;
    }
  XFreeModifiermap(map);
  if (alt) masks.alt = alt;
  if (super) masks.super = super & ~alt;
  if (numLock) masks.numLock = numLock;
  return masks;
}

IMouseMod X11MouseMod(unsigned state, bool rightButton, const X11ModifierMasks& masks)
{
  state &= ~(LockMask | masks.numLock);
  IMouseMod mod;
  mod.L = !rightButton;
  mod.R = rightButton || (state & masks.super) != 0;
  mod.S = (state & ShiftMask) != 0;
  mod.C = (state & ControlMask) != 0;
  mod.A = (state & masks.alt) != 0;
  return mod;
}

bool X11ClickCounter::Press(int x, int y, unsigned long t)
{
  const bool dbl = mHave && t - mTime <= kMaxIntervalMs && std::abs(x - mX) <= kMaxDistance &&
                   std::abs(y - mY) <= kMaxDistance;
  if (dbl)
  {
    mHave = false;
    return true;
  }
  mHave = true;
  mX = x;
  mY = y;
  mTime = t;
  return false;
}
