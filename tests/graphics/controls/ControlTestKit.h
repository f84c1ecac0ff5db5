#pragma once
#include <memory>

#include "IControl.h"
#include "IGraphicsHeadless.h"
#include "LICE_MemBitmap.h"
#include "RecordingPlug.h"

// What the control tests share: a plug-in with one parameter of each kind, a
// headless surface it owns, and film strips whose frames are told apart by
// their pixels.
namespace controltest
{
enum EParams
{
  kGain = 0,  // double, -12..12 dB, step 0.1
  kMode = 1,  // enum of three named choices
  kPower = 2, // bool
  kSteps = 3, // int 0..4
  kNParams
};

class ControlPlug : public RecordingPlug
{
public:
  explicit ControlPlug(EAPI api = kAPIVST3);
};

// Frame k (1-based) of a strip is opaque (R = k, G = kStripG, B = kStripB).
constexpr int kStripG = 0x5A, kStripB = 0xC3;

// Frames of frameW x frameH, stacked top to bottom or side by side.
std::unique_ptr<LICE_MemBitmap> MakeStrip(int frameW, int frameH, int nFrames, bool horizontal = false);
inline IBitmap AsIBitmap(LICE_MemBitmap* bitmap, int nFrames, bool horizontal = false)
{
  return IBitmap(bitmap, bitmap->getWidth(), bitmap->getHeight(), nFrames, horizontal);
}

// The strip frame shown at (x, y) of the surface, 0 when the pixel is no strip's.
int FrameAt(IGraphics* graphics, int x, int y);

inline IMouseMod LeftButton() { return IMouseMod(true); }
inline IMouseMod RightButton() { return IMouseMod(false, true); }
inline IMouseMod LeftWithShift() { return IMouseMod(true, false, true); }
inline IMouseMod LeftWithControl() { return IMouseMod(true, false, false, true); }

// A plug-in owning a headless surface with a black panel as control 0.
// Attach controls, then Open () as the effect's constructor does.
class Editor
{
public:
  explicit Editor(int width = 200, int height = 200, EAPI api = kAPIVST3);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  int Attach(IControl* control) { return mGraphics->AttachControl(control); }
  // AttachGraphics: every parameter reaches its controls, the surface gets its bitmaps.
  void Open();
  // One timer tick of the window layer; true when something was drawn.
  bool Tick() { return mGraphics->Tick(); }
  // Everything drawn again over the whole surface.
  void RedrawAll();

  ControlPlug plug;
  IGraphicsHeadless* gfx() const { return mGraphics; }

private:
  IGraphicsHeadless* mGraphics;
  bool mOpened = false;
};
} // namespace controltest
