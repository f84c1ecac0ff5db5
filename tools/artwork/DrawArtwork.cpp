// Draws the editor's six images and writes them into the bundle's resources:
//   murax_draw_artwork <Resources folder> [--preview <path prefix>]
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "KnobArt.h"
#include "MicArt.h"
#include "PanelArt.h"
#include "PngWriter.h"
#include "Preview.h"
#include "SwitchArt.h"

int main(int argc, char** argv)
{
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--preview") == 0))
  {
    std::fprintf(stderr, "usage: %s <resources folder> [--preview <path prefix>]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  // Before a second of drawing, not after.
  if (access(dir.c_str(), W_OK) != 0)
  {
    std::fprintf(stderr, "murax_draw_artwork: cannot write into %s\n", dir.c_str());
    return 1;
  }
  const auto background = DrawBackground();
  const auto bypass = DrawSwitchStrip();
  const auto mic = DrawMicStrip();
  const auto knob = DrawKnobStrip();

  // The three knobs share one strip; each has its own file, as the editor loads them.
  const struct
  {
    const char* name;
    LICE_IBitmap* bmp;
  } files[] = {{"BG.png", background.get()}, {"BYPASS.png", bypass.get()}, {"MIC.png", mic.get()},
               {"SIZE.png", knob.get()},     {"CHA.png", knob.get()},       {"OUT.png", knob.get()}};
  for (const auto& f : files)
    if (!WritePng((dir + "/" + f.name).c_str(), f.bmp))
    {
      std::fprintf(stderr, "murax_draw_artwork: cannot write %s/%s\n", dir.c_str(), f.name);
      return 1;
    }
  if (argc == 4 && !WritePreviews({background.get(), bypass.get(), mic.get(), knob.get()}, argv[3]))
  {
    std::fprintf(stderr, "murax_draw_artwork: cannot write the previews at %s\n", argv[3]);
    return 1;
  }
  return 0;
}
