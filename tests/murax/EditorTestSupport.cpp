#include "EditorTestSupport.h"

#include <cstdio>

#include "LICE_SysBitmap.h"
#include "lice_blend.h"

namespace editortest
{
const std::vector<PanelImage>& PanelImages()
{
  static const std::vector<PanelImage> images = {
    {"BG.png", 0, 0, 1, -1},
    {"BYPASS.png", 24, 12, 2, MURAX::kBypass},
    {"MIC.png", 182, 0, 61, MURAX::kMicPlacement},
    {"SIZE.png", 25, 77, 61, MURAX::kCabinetSize},
    {"CHA.png", 25, 181, 61, MURAX::kCharacter},
    {"OUT.png", 25, 285, 61, MURAX::kOutput},
  };
  return images;
}

IGraphicsHeadless* HeadlessEditor(IPlugBase* plug)
{
  return plug ? dynamic_cast<IGraphicsHeadless*>(plug->GetGUI()) : nullptr;
}

int FrameFor(int frames, double v)
{
  if (frames < 2) return 1;
  const int i = static_cast<int>((frames - 1) * v + 0.5);
  return i < 0 ? 1 : i >= frames ? frames : i + 1;
}

PanelReference::PanelReference()
{
  mLoaded = true;
  for (const PanelImage& img : PanelImages())
  {
    mImages.push_back(LoadImageFile(img.file));
    mLoaded = mLoaded && mImages.back();
  }
}

PanelReference::~PanelReference()
{
  for (LICE_IBitmap* b : mImages) delete b;
}

void PanelReference::ComposeImage(std::vector<LICE_pixel>& panel, int imageIdx, int frame) const
{
  const PanelImage& img = PanelImages()[static_cast<size_t>(imageIdx)];
  LICE_IBitmap* src = Image(imageIdx);
  const int fw = src->getWidth(), fh = src->getHeight() / img.frames;
  const int srcY = frame > 1 ? static_cast<int>(static_cast<double>(frame - 1) * src->getHeight() / img.frames + 0.5) : 0;
  for (int y = 0; y < fh; ++y)
    for (int x = 0; x < fw; ++x)
    {
      const int px = img.x + x, py = img.y + y;
      if (px < 0 || py < 0 || px >= Width() || py >= Height()) continue;
      LICE_pixel& d = panel[static_cast<size_t>(py) * Width() + px];
      const LICE_pixel s = src->getBits()[(srcY + y) * src->getRowSpan() + x];
      d = imageIdx == 0 ? LICE_CombinePixels(0, s, 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA)
                        : LICE_CombinePixels(d, s, 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA);
    }
}

std::vector<LICE_pixel> PanelReference::Compose(const double values[5]) const
{
  std::vector<LICE_pixel> panel(static_cast<size_t>(Width()) * Height(), 0);
  for (int i = 0; i < static_cast<int>(PanelImages().size()); ++i)
  {
    const PanelImage& img = PanelImages()[static_cast<size_t>(i)];
    ComposeImage(panel, i, img.param < 0 ? 1 : FrameFor(img.frames, values[img.param]));
  }
  return panel;
}

int CountMismatches(IGraphics* graphics, const std::vector<LICE_pixel>& expected, const IRECT& r, std::string* first)
{
  LICE_IBitmap* screen = graphics->GetDrawBitmap();
  int bad = 0;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x)
    {
      const LICE_pixel want = expected[static_cast<size_t>(y) * 702 + x];
      const LICE_pixel got = screen->getBits()[y * screen->getRowSpan() + x];
      if (want == got) continue;
      if (!bad++ && first)
      {
        char text[96];
        std::snprintf(text, sizeof text, "(%d, %d): 0x%08X, expected 0x%08X", x, y, got, want);
        *first = text;
      }
    }
  return bad;
}
} // namespace editortest
