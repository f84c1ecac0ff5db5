#include "EditorTestImages.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include "lice_png.h"

namespace editortest
{
namespace
{
// Frames tell themselves apart by colour and have transparent and
// half-transparent parts, so every blend path of a control is exercised.
std::vector<uint32_t> KnobStrip(int w, int h, int frames, unsigned id)
{
  std::vector<uint32_t> px(static_cast<size_t>(w) * h * frames);
  const double cx = (w - 1) * 0.5, cy = (h - 1) * 0.5, r = w * 0.45;
  for (int f = 0; f < frames; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        const double d = std::hypot(x - cx, y - cy);
        unsigned a = d < r - 2 ? 255u : d < r ? 100u : 0u;
        px[(static_cast<size_t>(f) * h + y) * w + x] = LICE_RGBA(id, static_cast<unsigned>(f) * 4u, x & 255, a);
      }
  return px;
}

std::vector<uint32_t> SwitchStrip(int w, int h)
{
  std::vector<uint32_t> px(static_cast<size_t>(w) * h * 2);
  for (int f = 0; f < 2; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        const unsigned a = x < w / 4 ? 128u : 255u;
        px[(static_cast<size_t>(f) * h + y) * w + x] = LICE_RGBA(200, f ? 220 : 30, y & 255, a);
      }
  return px;
}

std::vector<uint32_t> MicStrip(int w, int h, int frames)
{
  std::vector<uint32_t> px(static_cast<size_t>(w) * h * frames, 0);
  for (int f = 0; f < frames; ++f)
    for (int y = 100; y < 170; ++y)
      for (int x = 20 + 4 * f; x < 60 + 4 * f; ++x)
        px[(static_cast<size_t>(f) * h + y) * w + x] = LICE_RGBA(230, 230, f, y == 100 || y == 169 ? 90 : 255);
  return px;
}

std::vector<uint32_t> Background(int w, int h)
{
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = LICE_RGBA(x & 255, y & 255, 0x40, 255);
  return px;
}

std::string MakeStandIns()
{
  char dir[] = "/tmp/murax-editor-images-XXXXXX";
  if (!mkdtemp(dir)) return std::string();
  const std::string folder = dir;
  WritePNG(folder + "/BG.png", 702, 436, Background(702, 436));
  WritePNG(folder + "/BYPASS.png", 150, 120, SwitchStrip(150, 60));
  WritePNG(folder + "/MIC.png", 500, 268 * 61, MicStrip(500, 268, 61));
  WritePNG(folder + "/SIZE.png", 90, 90 * 61, KnobStrip(90, 90, 61, 105));
  WritePNG(folder + "/CHA.png", 90, 90 * 61, KnobStrip(90, 90, 61, 103));
  WritePNG(folder + "/OUT.png", 90, 90 * 61, KnobStrip(90, 90, 61, 106));
  return folder;
}

struct StandInFolder
{
  std::string path = MakeStandIns();
  ~StandInFolder()
  {
    if (path.empty()) return;
    for (const char* name : {"BG", "BYPASS", "MIC", "SIZE", "CHA", "OUT"})
      std::remove((path + "/" + name + ".png").c_str());
    std::remove(path.c_str());
  }
};

// The bundle's images when the build drew them.
const char* BundleImagesFolder()
{
#ifdef MURAX_EDITOR_IMAGES_DIR
  return MURAX_EDITOR_IMAGES_DIR;
#else
  return nullptr;
#endif
}
} // namespace

const std::string& EditorImagesFolder()
{
  static const std::string real = BundleImagesFolder() ? BundleImagesFolder() : "";
  static const bool useReal = !real.empty() && access((real + "/BG.png").c_str(), R_OK) == 0;
  if (useReal) return real;
  static const StandInFolder folder;
  return folder.path;
}

void UseEditorImages() { LICE_SetResourceRoot(EditorImagesFolder().c_str()); }

bool WritePNG(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels)
{
  if (pixels.size() < static_cast<size_t>(width) * height) return false;
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(static_cast<size_t>(width) * 4);
  if (!png || !info || setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    std::fclose(fp);
    return false;
  }
  png_init_io(png, fp);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
  {
    for (int x = 0; x < width; ++x)
    {
      const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      png_byte* o = &row[static_cast<size_t>(x) * 4];
      o[0] = static_cast<png_byte>(LICE_GETR(p));
      o[1] = static_cast<png_byte>(LICE_GETG(p));
      o[2] = static_cast<png_byte>(LICE_GETB(p));
      o[3] = static_cast<png_byte>(LICE_GETA(p));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(fp) == 0;
}

LICE_IBitmap* LoadImageFile(const std::string& fileName)
{
  return LICE_LoadPNG((EditorImagesFolder() + "/" + fileName).c_str());
}
} // namespace editortest
