#include "Preview.h"

#include "ArtworkLayout.h"
#include "LICE_MemBitmap.h"
#include "PngWriter.h"
#include "lice_blit.h"

using namespace layout;

namespace {

void frame(LICE_IBitmap* dest, LICE_IBitmap* strip, int frames, int index, int x, int y)
{
  const int h = strip->getHeight() / frames;
  LICE_Blit(dest, strip, x, y, 0, index * h, strip->getWidth(), h, 1.0f, LICE_MODE_SRC_ALPHA);
}

bool writePair(LICE_IBitmap* panel, const std::string& name)
{
  LICE_MemBitmap big(panel->getWidth() * 2, panel->getHeight() * 2);
  LICE_ScaledBlit(&big, panel, 0, 0, big.getWidth(), big.getHeight(), 0, 0, static_cast<float>(panel->getWidth()),
                  static_cast<float>(panel->getHeight()), 1.0f, LICE_OP_COPY);
  return WritePng((name + ".png").c_str(), panel) && WritePng((name + "-2x.png").c_str(), &big);
}

}  // namespace

bool WritePreviews(const ArtworkImages& images, const std::string& prefix)
{
  bool ok = true;
  for (int micFrame : {0, kMicFrames - 1})
  {
    LICE_MemBitmap panel;
    LICE_Copy(&panel, images.background);
    frame(&panel, images.bypass, 2, 1, kSwitchX, kSwitchY);
    frame(&panel, images.mic, kMicFrames, micFrame, kMicX, kMicY);
    for (int y : kKnobY) frame(&panel, images.knob, kKnobFrames, kKnobFrames / 2, kKnobX, y);
    ok = writePair(&panel, micFrame == 0 ? prefix : prefix + "-edge") && ok;
  }
  return ok;
}
