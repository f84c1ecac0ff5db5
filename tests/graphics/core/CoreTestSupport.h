#pragma once
#include <string>
#include <vector>

#include "IControl.h"
#include "IGraphicsHeadless.h"
#include "LICE_SysBitmap.h"
#include "RecordingPlug.h"

// A control that fills its rectangle with one colour and counts its draws
// and mouse calls, so routing and redraw decisions can be seen.
class ProbeControl : public IControl
{
public:
  ProbeControl(IPlugBase* plug, IRECT rect, int paramIdx = -1, LICE_pixel colour = 0xFF808080u)
    : IControl(plug, rect, paramIdx), mColour(IColor::FromPacked(colour))
  {
  }
  bool Draw(IGraphics* graphics) override
  {
    ++draws;
    return graphics->FillIRect(&mColour, GetRECT());
  }
  void OnMouseDown(int x, int y, IMouseMod* mod) override
  {
    calls.push_back("down");
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(int, int, IMouseMod*) override { calls.push_back("up"); }
  void OnMouseDrag(int, int, int dX, int dY, IMouseMod*) override
  {
    calls.push_back("drag " + std::to_string(dX) + "," + std::to_string(dY));
  }
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override
  {
    calls.push_back("dbl");
    IControl::OnMouseDblClick(x, y, mod);
  }
  bool OnKeyDown(int, int, int key) override
  {
    keys.push_back(key);
    return true;
  }
  void SetColour(LICE_pixel colour) { mColour = IColor::FromPacked(colour); }

  int draws = 0;
  std::vector<std::string> calls;
  std::vector<int> keys;

private:
  IColor mColour;
};

// A plug-in owning a headless editor of the given size, attached as the
// effect's constructor does, with the given controls already in it.
struct EditorRig
{
  explicit EditorRig(int w = 200, int h = 100, EAPI api = kAPIVST3) : plug(api)
  {
    graphics = new IGraphicsHeadless(&plug, w, h, 0);
  }
  ~EditorRig()
  {
    if (!attached) delete graphics;
  }
  EditorRig(const EditorRig&) = delete;
  EditorRig& operator=(const EditorRig&) = delete;
  // Hands the surface to the plug-in: values pushed, bitmaps made.
  void Attach()
  {
    plug.AttachGraphics(graphics);
    attached = true;
  }
  // Draws everything and leaves every control clean.
  void DrawAll()
  {
    IRECT all(0, 0, graphics->Width(), graphics->Height());
    graphics->Draw(&all);
    graphics->Draw(&all);
  }

  RecordingPlug plug;
  IGraphicsHeadless* graphics;
  bool attached = false;
};
