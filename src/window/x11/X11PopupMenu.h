#pragma once
#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <vector>

class IGraphics;
class IPopupMenu;
class LICE_SysBitmap;

// One level of a pop-up menu: an override-redirect window drawn with the
// raster library and our fonts (check marks, separators, disabled and
// indented items, submenu arrows, the prefix numbering). [main thread]
class X11MenuLevel
{
public:
  X11MenuLevel(IGraphics* gui, Display* display, int screen, IPopupMenu* menu, int rootX, int rootY, double scale);
  ~X11MenuLevel();
  X11MenuLevel(const X11MenuLevel&) = delete;
  X11MenuLevel& operator=(const X11MenuLevel&) = delete;

  IPopupMenu* Menu() const { return mMenu; }
  ::Window GetWindow() const { return mWindow; }
  bool Contains(int rootX, int rootY) const;
  // The item row under a root position, -1 for none (separators included).
  int ItemAt(int rootX, int rootY) const;
  // Whether an item can be chosen: enabled, not a separator, no submenu.
  bool Choosable(int item) const;
  int Hover() const { return mHover; }
  void SetHover(int item);
  // Moves the hover to the next enabled row in direction dir (+1 or -1).
  void Step(int dir);
  int RootX() const { return mX; }
  int Width() const { return mW; }
  int ItemRootY(int item) const;
  void Redraw();

private:
  IGraphics* mGui;
  Display* mDisplay;
  int mScreen;
  IPopupMenu* mMenu;
  double mScale;
  int mX, mY, mW = 0, mH = 0;
  std::vector<int> mTops, mHeights;
  int mHover = -1;
  ::Window mWindow = 0;
  GC mGC = nullptr;
  LICE_SysBitmap* mBitmap = nullptr;
};

// What a modal menu needs of its editor.
struct X11MenuSession
{
  IGraphics* gui = nullptr;
  Display* display = nullptr;
  int screen = 0;
  ::Window editor = 0;
  double scale = 1.0;
  // Without a grab the loop gives up after this long without any event.
  int idleTimeoutMs = 10000;
  // Events of the editor's own windows that arrive meanwhile (exposures,
  // completions); mouse and key events are swallowed while the menu is up.
  std::function<void(XEvent&)> passOn;
  // Set by the loop: whether each grab was taken.
  bool pointerGrabbed = false;
  bool keyboardGrabbed = false;
};

// Shows menu with its top left at root position (x, y) and waits, reading
// only the editor's own connection, for a choice, Escape or a click
// outside. Returns the menu (or submenu) holding the choice with its chosen
// index set, or null. Without grabs it also ends on any press or release
// outside, when the editor is unmapped or loses focus, or after the idle
// time, so it can never hang the host.
IPopupMenu* X11RunPopupMenu(X11MenuSession& session, IPopupMenu* menu, int rootX, int rootY);
