#include "ControlTestKit.h"

namespace controltest
{
ControlPlug::ControlPlug(EAPI api) : RecordingPlug(api, kNParams)
{
  GetParam(kGain)->InitDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  GetParam(kMode)->InitEnum("Mode", 1, 3);
  GetParam(kMode)->SetDisplayText(0, "Clean");
  GetParam(kMode)->SetDisplayText(1, "Crunch");
  GetParam(kMode)->SetDisplayText(2, "Lead");
  GetParam(kPower)->InitBool("Power", true);
  GetParam(kSteps)->InitInt("Steps", 2, 0, 4);
}

std::unique_ptr<LICE_MemBitmap> MakeStrip(int frameW, int frameH, int nFrames, bool horizontal)
{
  const int w = horizontal ? frameW * nFrames : frameW;
  const int h = horizontal ? frameH : frameH * nFrames;
  auto strip = std::make_unique<LICE_MemBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const int frame = 1 + (horizontal ? x / frameW : y / frameH);
      strip->getBits()[y * strip->getRowSpan() + x] =
        LICE_RGBA(static_cast<unsigned>(frame), kStripG, kStripB, 255);
    }
  return strip;
}

int FrameAt(IGraphics* graphics, int x, int y)
{
  const IColor c = graphics->GetPoint(x, y);
  return c.A == 255 && c.G == kStripG && c.B == kStripB ? c.R : 0;
}

Editor::Editor(int width, int height, EAPI api) : plug(api), mGraphics(new IGraphicsHeadless(&plug, width, height))
{
  mGraphics->AttachPanelBackground(&COLOR_BLACK);
}

// Once attached, the plug-in owns the surface.
Editor::~Editor()
{
  if (!mOpened) delete mGraphics;
}

void Editor::Open()
{
  plug.AttachGraphics(mGraphics);
  mOpened = true;
}

void Editor::RedrawAll()
{
  mGraphics->SetAllControlsDirty();
  IRECT all(0, 0, mGraphics->Width(), mGraphics->Height());
  mGraphics->Draw(&all);
}
} // namespace controltest
