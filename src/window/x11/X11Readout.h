#pragma once
#include <X11/Xlib.h>

#include <string>

class IGraphics;
class LICE_SysBitmap;

// The small value read-out shown near the pointer while a knob is dragged or
// wheeled: its own override-redirect window with an empty input shape, so it
// never takes a pointer event, and never part of the editor's bitmap or its
// controls. [main thread]
class X11Readout
{
public:
  X11Readout(IGraphics* gui, Display* display, int screen, double scale);
  ~X11Readout();
  X11Readout(const X11Readout&) = delete;
  X11Readout& operator=(const X11Readout&) = delete;

  // Shows text with its top left at root position (x, y).
  void Show(const char* text, int x, int y);
  void Hide();
  bool Visible() const { return mVisible; }
  ::Window GetWindow() const { return mWindow; }
  const std::string& GetText() const { return mText; }
  void Redraw();

private:
  IGraphics* mGui;
  Display* mDisplay;
  int mScreen;
  double mScale;
  ::Window mWindow = 0;
  GC mGC = nullptr;
  LICE_SysBitmap* mBitmap = nullptr;
  std::string mText;
  int mW = 0, mH = 0;
  bool mVisible = false;
};
