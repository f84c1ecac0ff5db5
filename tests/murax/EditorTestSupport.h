#pragma once
// The cabinet's editor as the tests see it: the effect built with the
// headless platform, and the panel composed independently from the image
// files by the blend rule, to compare pixels with.
#include <memory>
#include <string>
#include <vector>

#include "EditorTestImages.h"
#include "IGraphicsHeadless.h"
#include "LICE_SysBitmap.h"
#include "LICE_IBitmap.h"
#include "MURAX.h"

namespace editortest
{
struct PanelImage
{
  const char* file;
  int x, y, frames;
  int param; // -1 for the background
};

// In attach order: background, switch, mic, size, character, output.
const std::vector<PanelImage>& PanelImages();

// The effect's editor, null when it has none or another platform.
IGraphicsHeadless* HeadlessEditor(IPlugBase* plug);

// The frame a control of n frames shows for normalised value v.
int FrameFor(int frames, double v);

// The panel for five normalised values (indexed by parameter): every image
// drawn at its frame over the previous ones with source alpha.
class PanelReference
{
public:
  PanelReference();
  ~PanelReference();
  bool Loaded() const { return mLoaded; }
  std::vector<LICE_pixel> Compose(const double values[5]) const;
  // One control's frame over whatever was composed beneath it.
  void ComposeImage(std::vector<LICE_pixel>& panel, int imageIdx, int frame) const;
  LICE_IBitmap* Image(int idx) const { return mImages[static_cast<size_t>(idx)]; }
  int Width() const { return 702; }
  int Height() const { return 436; }

private:
  std::vector<LICE_IBitmap*> mImages;
  bool mLoaded = false;
};

// Pixels of the editor's draw bitmap that differ from expected within r,
// with the first one described in *first.
int CountMismatches(IGraphics* graphics, const std::vector<LICE_pixel>& expected, const IRECT& r, std::string* first);
} // namespace editortest
