#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

bool WritePng(const char* path, LICE_IBitmap* bmp)
{
  if (!bmp || !bmp->getBits() || bmp->getWidth() <= 0 || bmp->getHeight() <= 0) return false;
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const int w = bmp->getWidth(), h = bmp->getHeight();
  std::vector<png_bytep> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
  {
    const int memRow = bmp->isFlipped() ? h - 1 - y : y;
    rows[static_cast<size_t>(y)] = reinterpret_cast<png_bytep>(bmp->getBits() + static_cast<ptrdiff_t>(memRow) * bmp->getRowSpan());
  }
  volatile bool ok = false;
  if (info && !setjmp(png_jmpbuf(png)))
  {
    png_init_io(png, f);
    // Mostly empty strips: a fast level compresses them nearly as well.
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // Memory holds blue, green, red, alpha.
    png_set_bgr(png);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, info ? &info : nullptr);
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::remove(path);
  return ok;
}
