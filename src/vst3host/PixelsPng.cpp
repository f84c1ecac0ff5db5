#include "PixelsPng.h"

#include <png.h>

#include <cstdio>

namespace vst3host {

namespace {
// Kept free of objects with destructors: libpng errors longjmp out of it.
bool Encode(png_structp png, png_infop info, FILE* f, int w, int h, const uint32_t* pixels, bool withAlpha,
            unsigned char* row)
{
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const int channels = withAlpha ? 4 : 3;
  for (int y = 0; y < h; ++y)
  {
    for (int x = 0; x < w; ++x)
    {
      const uint32_t p = pixels[static_cast<size_t>(y) * w + x];
      unsigned char* out = row + static_cast<size_t>(x) * channels;
      out[0] = static_cast<unsigned char>(p >> 16);
      out[1] = static_cast<unsigned char>(p >> 8);
      out[2] = static_cast<unsigned char>(p);
      if (withAlpha) out[3] = static_cast<unsigned char>(p >> 24);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}
} // namespace

bool WritePixelsPng(const std::string& path, int w, int h, const std::vector<uint32_t>& pixels, bool withAlpha)
{
  if (w <= 0 || h <= 0 || pixels.size() < static_cast<size_t>(w) * static_cast<size_t>(h)) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<unsigned char> row(static_cast<size_t>(w) * 4);
  const bool ok = png && info && Encode(png, info, f, w, h, pixels.data(), withAlpha, row.data());
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0 && ok;
}

} // namespace vst3host
