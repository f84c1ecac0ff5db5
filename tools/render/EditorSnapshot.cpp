#include "EditorSnapshot.h"

#include <sys/stat.h>

#include <memory>

#include "IGraphics.h"
#include "LICE_MemBitmap.h"
#include "MURAX.h"
#include "PngWriter.h"
#include "WholeFiles.h"
#include "lice.h"

#ifndef MURAX_VERSION_STRING
#define MURAX_VERSION_STRING "1.0.0"
#endif

namespace render {

namespace {
constexpr int kBilinear = 0x100;

// The effect finds its images through the raster library's resource root
// while it is built; the root is restored however construction ends.
struct ResourceRootScope
{
  explicit ResourceRootScope(const std::string& dir) { LICE_SetResourceRoot(dir.c_str()); }
  ~ResourceRootScope() { LICE_SetResourceRoot(nullptr); }
};

bool IsFile(const std::string& path)
{
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
} // namespace

bool EditorSnapshotAvailable() { return true; }

bool DrawEditorSnapshot(const std::string& resourcesDir, const Settings& settings, double scale,
                        LICE_MemBitmap* out, std::string* error)
{
  if (!(scale >= 1.0 && scale <= 4.0))
  {
    *error = "a snapshot's scale must be between 1 and 4";
    return false;
  }
  // A missing image would draw as nothing: say so instead of writing a blank editor.
  for (const char* image : {"BG.png", "BYPASS.png", "MIC.png", "SIZE.png", "CHA.png", "OUT.png"})
    if (!IsFile(resourcesDir + "/" + image))
    {
      *error = "the editor's images are missing: no " + resourcesDir + "/" + image;
      return false;
    }

  std::unique_ptr<IPlugBase> plug;
  {
    ResourceRootScope root(resourcesDir);
    plug.reset(MakePlug());
  }
  auto* gui = dynamic_cast<IGraphics*>(plug->GetGUI());
  if (!gui || !gui->GetDrawBitmap())
  {
    *error = "the effect has no editor to draw";
    return false;
  }
  const double knobs[] = {settings.mic.value_or(kDefaultMic), settings.size.value_or(kDefaultSize),
                          settings.character.value_or(kDefaultCharacter), settings.output.value_or(kDefaultOutput)};
  for (int i = MURAX::kMicPlacement; i <= MURAX::kOutput; ++i) plug->GetParam(i)->Set(knobs[i]);
  // "Bypass" is 1 while the effect runs.
  plug->GetParam(MURAX::kBypass)->Set(settings.bypass ? 0.0 : 1.0);
  plug->RedrawParamControls();

  IRECT all(0, 0, gui->Width(), gui->Height());
  gui->SetStrictDrawing(true);
  gui->SetAllControlsDirty();
  gui->Draw(&all);

  LICE_IBitmap* frame = gui->GetDrawBitmap();
  const int w = static_cast<int>(frame->getWidth() * scale + 0.5);
  const int h = static_cast<int>(frame->getHeight() * scale + 0.5);
  out->resize(w, h);
  if (out->getWidth() != w || out->getHeight() != h)
  {
    *error = "out of memory for the snapshot";
    return false;
  }
  if (scale == 1.0)
    LICE_Blit(out, frame, 0, 0, 0, 0, w, h, 1.0f, 0);
  else
    LICE_ScaledBlit(out, frame, 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(frame->getWidth()),
                    static_cast<float>(frame->getHeight()), 1.0f, kBilinear);
  // The panel is opaque; the screen ignores alpha, the PNG should not show holes.
  LICE_pixel* bits = out->getBits();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits[static_cast<size_t>(y) * out->getRowSpan() + x] |= 0xFF000000u;
  return true;
}

bool WriteEditorSnapshot(const std::string& path, const std::string& bundlePath, const Settings& settings,
                         double scale, std::string* error)
{
  LICE_MemBitmap bitmap;
  if (!DrawEditorSnapshot(bundlePath + "/Contents/Resources", settings, scale, &bitmap, error)) return false;
  std::string png;
  if (!EncodePng(&bitmap, {{"Title", "MURAX editor"}, {"Software", "murax-render " MURAX_VERSION_STRING},
                           {"Description", settings.Describe()}},
                 &png))
  {
    *error = "cannot encode the snapshot " + path;
    return false;
  }
  return WriteWholeFile(path, png, error);
}

} // namespace render
