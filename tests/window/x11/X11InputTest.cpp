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

#include <cmath>

#include "LICE_MemBitmap.h"
#include "X11Scaler.h"

TEST(X11Scaler, FractionalFactorsInterpolateBetweenSourcePixels)
{
  // A ramp: red = x, green = 2y, blue constant.
  LICE_MemBitmap src(100, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) src.getBits()[y * src.getRowSpan() + x] = 0xFF000000u | (x << 16) | ((2 * y) << 8) | 0x40u;
  for (double scale : {1.25, 1.5, 2.5, 3.0})
  {
    const int w = static_cast<int>(std::ceil(100 * scale)), h = static_cast<int>(std::ceil(60 * scale));
    LICE_MemBitmap dst(w, h);
    X11ScaleArea(&src, &dst, scale, IRECT(0, 0, w, h));
    int worst = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        const LICE_pixel p = dst.getBits()[y * dst.getRowSpan() + x];
        const double sx = std::fmin(99, std::fmax(0, (x + 0.5) / scale - 0.5));
        const double sy = std::fmin(59, std::fmax(0, (y + 0.5) / scale - 0.5));
        worst = std::max(worst, static_cast<int>(std::fabs(((p >> 16) & 255) - sx) + 0.5));
        worst = std::max(worst, static_cast<int>(std::fabs(((p >> 8) & 255) - 2 * sy) + 0.5));
        ASSERT_EQ(p & 255, 0x40u) << "scale " << scale << " at " << x << "," << y;
      }
    EXPECT_LE(worst, 1) << "scale " << scale;
  }
  // Only the area asked for is written.
  LICE_MemBitmap dst(150, 90);
  for (int i = 0; i < 150 * 90; ++i) dst.getBits()[i] = 0x12345678u;
  X11ScaleArea(&src, &dst, 1.5, IRECT(30, 20, 60, 40));
  EXPECT_EQ(dst.getBits()[19 * dst.getRowSpan() + 45], 0x12345678u);
  EXPECT_EQ(dst.getBits()[25 * dst.getRowSpan() + 60], 0x12345678u);
  EXPECT_NE(dst.getBits()[25 * dst.getRowSpan() + 59], 0x12345678u);
}
