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
  // Defaults with the mic on the dust cap, then at the cone's edge; then
  // bypassed with the knobs at minimum, middle and maximum.
  const struct
  {
    const char* suffix;
    int bypass, mic, knobs[3];
  } views[] = {{"", 1, 0, {30, 30, 30}},
               {"-edge", 1, kMicFrames - 1, {30, 30, 30}},
               {"-bypassed", 0, kMicFrames / 2, {0, 30, kKnobFrames - 1}}};
  bool ok = true;
  for (const auto& v : views)
  {
    LICE_MemBitmap panel;
    LICE_Copy(&panel, images.background);
    frame(&panel, images.bypass, 2, v.bypass, kSwitchX, kSwitchY);
    frame(&panel, images.mic, kMicFrames, v.mic, kMicX, kMicY);
    for (int i = 0; i < 3; ++i) frame(&panel, images.knob, kKnobFrames, v.knobs[i], kKnobX, kKnobY[i]);
    ok = writePair(&panel, prefix + v.suffix) && ok;
  }
  return ok;
}
