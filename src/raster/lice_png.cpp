#include "lice_png.h"

#include <dlfcn.h>
#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "LICE_MemBitmap.h"

namespace {

constexpr png_uint_32 kMaxSide = 16384;
constexpr uint64_t kMaxDecodedBytes = 256ull << 20;

// libpng's defaults print to stderr; ours stay silent and unwind to the
// recovery point of the read in progress.
[[noreturn]] void pngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarning(png_structp, png_const_charp) {}

struct MemoryCursor
{
  const unsigned char* p;
  size_t left;
};

// Requests past the end read as zeros, by design: a short buffer still
// decodes as far as it goes and libpng decides whether the rest is acceptable.
void readFromMemory(png_structp png, png_bytep out, size_t n)
{
  MemoryCursor* c = static_cast<MemoryCursor*>(png_get_io_ptr(png));
  std::memset(out, 0, n);
  const size_t take = n < c->left ? n : c->left;
  if (take)
  {
    std::memcpy(out, c->p, take);
    c->p += take;
    c->left -= take;
  }
}

// Everything between png_read_info and the end of decoding. Kept free of
// objects with destructors: an error longjmps straight out of it.
LICE_IBitmap* decode(png_structp png, png_infop info, LICE_IBitmap* supplied, bool honourFlip)
{
  LICE_IBitmap* volatile created = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png)))
  {
    std::free(rows);
    delete created;
    return nullptr;
  }

  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colour = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colour, nullptr, nullptr, nullptr);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<uint64_t>(width) * height * 4 > kMaxDecodedBytes)
    return nullptr;

  bool alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0;
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
  {
    png_set_tRNS_to_alpha(png);
    alpha = true;
  }
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  // Blue, green, red, alpha in memory is the 32-bit value (A << 24) | (R << 16)
  // | (G << 8) | B on this little-endian target, so rows need no second pass.
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) return nullptr;

  LICE_IBitmap* bm = supplied;
  if (bm)
    bm->resize(static_cast<int>(width), static_cast<int>(height));
  else
    bm = created = new (std::nothrow) LICE_MemBitmap(static_cast<int>(width), static_cast<int>(height), 4);
  if (!bm || bm->getWidth() != static_cast<int>(width) || bm->getHeight() != static_cast<int>(height) ||
      !bm->getBits() || bm->getRowSpan() < static_cast<int>(width))
  {
    delete created;
    return nullptr;
  }

  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!rows)
  {
    delete created;
    return nullptr;
  }
  LICE_pixel* bits = bm->getBits();
  const ptrdiff_t span = bm->getRowSpan();
  const bool flip = honourFlip && bm->isFlipped();
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = reinterpret_cast<png_bytep>(bits + (flip ? static_cast<ptrdiff_t>(height - 1 - y) : y) * span);
  png_read_image(png, rows);
  std::free(rows);
  return bm;
}

png_structp createReader(png_infop* info)
{
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
  if (!png) return nullptr;
  *info = png_create_info_struct(png);
  if (!*info)
  {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  png_set_user_limits(png, kMaxSide, kMaxSide);
  return png;
}

std::string& resourceRoot()
{
  static std::string root;
  return root;
}

bool equalsIgnoreCase(const char* a, const char* b)
{
  for (; *a && *b; ++a, ++b)
  {
    const char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a + 32) : *a;
    const char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

LICE_IBitmap* pngRegistryLoad(const char* path, bool checkFileName, LICE_IBitmap* bmp)
{
  if (!path) return nullptr;
  if (checkFileName)
  {
    const char* tail = path + std::strlen(path);
    while (tail > path && tail[-1] != '.' && tail[-1] != '/' && tail[-1] != '\\') --tail;
    if (tail == path || !equalsIgnoreCase(tail - 1, ".png")) return nullptr;
  }
  return LICE_LoadPNG(path, bmp);
}

const char* pngTypeList() { return "PNG files (*.PNG)\0*.PNG\0"; }

LICE_ImageLoader g_pngLoader = {pngRegistryLoad, pngTypeList, nullptr};
LICE_ImageLoader* g_firstLoader = &g_pngLoader;

}  // namespace

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp)
{
  if (!filename) return nullptr;
  FILE* fp = std::fopen(filename, "rb");
  if (!fp) return nullptr;
  png_infop info = nullptr;
  png_structp png = createReader(&info);
  if (!png)
  {
    std::fclose(fp);
    return nullptr;
  }
  png_init_io(png, fp);
  LICE_IBitmap* out = decode(png, info, bmp, true);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(fp);
  return out;
}

LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, int len, LICE_IBitmap* bmp)
{
  if (!data || len < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
  png_infop info = nullptr;
  png_structp png = createReader(&info);
  if (!png) return nullptr;
  MemoryCursor cursor{static_cast<const unsigned char*>(data), static_cast<size_t>(len)};
  png_set_read_fn(png, &cursor, readFromMemory);
  LICE_IBitmap* out = decode(png, info, bmp, false);
  png_destroy_read_struct(&png, &info, nullptr);
  return out;
}

bool LICE_BundleFromModulePath(const char* modulePath, char* buf, int bufSize)
{
  if (!modulePath || !buf || bufSize <= 0) return false;
  std::string p(modulePath);
  const auto up = [&p]() {
    const size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) return std::string();
    std::string leaf = p.substr(slash + 1);
    p.erase(slash);
    return leaf;
  };
  up();  // the module file
  if (up() != "x86_64-linux" || up() != "Contents" || p.empty()) return false;
  if (p.size() >= static_cast<size_t>(bufSize)) return false;
  std::memcpy(buf, p.c_str(), p.size() + 1);
  return true;
}

bool LICE_GetBundlePath(char* buf, int bufSize)
{
  Dl_info dl{};
  if (!dladdr(reinterpret_cast<void*>(&LICE_GetBundlePath), &dl) || !dl.dli_fname) return false;
  char* real = realpath(dl.dli_fname, nullptr);
  const bool ok = LICE_BundleFromModulePath(real ? real : dl.dli_fname, buf, bufSize);
  std::free(real);
  return ok;
}

void LICE_SetResourceRoot(const char* dir) { resourceRoot() = dir ? dir : ""; }

LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp)
{
  if (!name || std::strlen(name) > 400) return nullptr;
  std::string path;
  if (!resourceRoot().empty())
    path = resourceRoot() + "/" + name;
  else
  {
    char bundle[1537];
    if (!LICE_GetBundlePath(bundle, sizeof bundle)) return nullptr;
    path = std::string(bundle) + "/Contents/Resources/" + name;
  }
  return LICE_LoadPNG(path.c_str(), bmp);
}

LICE_IBitmap* LICE_LoadPNGFromResource(void*, const char*, LICE_IBitmap*) { return nullptr; }

LICE_ImageLoader* LICE_FirstImageLoader() { return g_firstLoader; }

void LICE_RegisterImageLoader(LICE_ImageLoader* loader)
{
  if (!loader) return;
  loader->next = g_firstLoader;
  g_firstLoader = loader;
}

LICE_IBitmap* LICE_LoadImage(const char* path, LICE_IBitmap* bmp, bool checkFileName)
{
  for (LICE_ImageLoader* l = g_firstLoader; l; l = l->next)
    if (LICE_IBitmap* out = l->load(path, checkFileName, bmp)) return out;
  return nullptr;
}
