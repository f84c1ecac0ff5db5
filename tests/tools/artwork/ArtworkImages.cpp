#include "ArtworkImages.h"

#include <map>

#include "lice_blit.h"
#include "lice_png.h"

namespace artworktest {

std::shared_ptr<LICE_IBitmap> Image(const std::string& file)
{
  static std::map<std::string, std::shared_ptr<LICE_IBitmap>> cache;
  auto it = cache.find(file);
  if (it != cache.end()) return it->second;
  std::shared_ptr<LICE_IBitmap> bmp(LICE_LoadPNG((std::string(MURAX_RESOURCE_DIR) + "/" + file).c_str()));
  cache[file] = bmp;
  return bmp;
}

LICE_pixel Frame::at(int x, int y) const { return LICE_GetPixel(strip, x, index * height() + y); }

double Luma(LICE_pixel p)
{
  const double a = LICE_GETA(p) / 255.0;
  return a * (0.299 * LICE_GETR(p) + 0.587 * LICE_GETG(p) + 0.114 * LICE_GETB(p));
}

}  // namespace artworktest
