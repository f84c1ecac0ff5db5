// The pure translations: modifiers, double clicks, the error trap's scope.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "X11Input.h"

TEST(X11MouseMod, LeftAndRightButtonsWithTheModifierKeys)
{
  const X11ModifierMasks masks; // Alt = Mod1, Super = Mod4, NumLock = Mod2
  IMouseMod m = X11MouseMod(0, false, masks);
  EXPECT_TRUE(m.L);
  EXPECT_FALSE(m.R || m.S || m.C || m.A);
  m = X11MouseMod(ShiftMask | ControlMask | Mod1Mask, false, masks);
  EXPECT_TRUE(m.L && m.S && m.C && m.A);
  EXPECT_FALSE(m.R);
  m = X11MouseMod(Mod4Mask, false, masks);
  EXPECT_TRUE(m.L && m.R) << "Super-click reaches the controls as a right click";
  m = X11MouseMod(ShiftMask, true, masks);
  EXPECT_FALSE(m.L);
  EXPECT_TRUE(m.R && m.S);
  m = X11MouseMod(LockMask | Mod2Mask, false, masks);
  EXPECT_TRUE(m.L);
  EXPECT_FALSE(m.R || m.S || m.C || m.A) << "Caps Lock and NumLock are not modifiers";
  X11ModifierMasks odd;
  odd.alt = Mod3Mask;
  odd.super = Mod5Mask;
  m = X11MouseMod(Mod3Mask, false, odd);
  EXPECT_TRUE(m.A) << "Alt where the server maps it";
  EXPECT_FALSE(X11MouseMod(Mod1Mask, false, odd).A);
}

TEST(X11ClickCounter, TimeAndDistanceDecide)
{
  X11ClickCounter c;
  EXPECT_FALSE(c.Press(10, 10, 1000));
  EXPECT_TRUE(c.Press(12, 8, 1400)) << "within 400 ms and 5 px";
  EXPECT_FALSE(c.Press(12, 8, 1500)) << "the third press starts afresh";
  EXPECT_FALSE(c.Press(12, 8, 1901)) << "401 ms later";
  EXPECT_FALSE(c.Press(18, 8, 2000)) << "6 px away";
  EXPECT_TRUE(c.Press(18, 13, 2100));
  c.Reset();
  EXPECT_FALSE(c.Press(18, 13, 2150));
  // Server time wraps after 49 days; a wrapped stamp is not a double click.
  X11ClickCounter w;
  EXPECT_FALSE(w.Press(0, 0, 0xFFFFFF00ul));
  EXPECT_TRUE(w.Press(0, 0, 0xFFFFFF00ul + 100));
}
