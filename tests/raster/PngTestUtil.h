#pragma once
// Writes test PNGs with libpng from raw sample rows, so every image a test
// decodes is made by the test itself.
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rastertest {

struct PngImage
{
  int width = 0, height = 0;
  int colourType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS for palette images
  bool hasKey = false;                // tRNS colour key for grey or RGB images
  png_color_16 key{};
  std::vector<std::vector<uint8_t>> rows;  // packed samples as stored in the file
};

inline void appendBytes(png_structp png, png_bytep data, size_t n)
{
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

inline std::vector<uint8_t> encodePng(const PngImage& img)
{
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, appendBytes, nullptr);
  png_set_IHDR(png, info, img.width, img.height, img.depth, img.colourType,
               img.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!img.palette.empty())
    png_set_PLTE(png, info, img.palette.data(), static_cast<int>(img.palette.size()));
  if (!img.paletteAlpha.empty())
    png_set_tRNS(png, info, img.paletteAlpha.data(), static_cast<int>(img.paletteAlpha.size()), nullptr);
  if (img.hasKey) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&img.key));
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& r : img.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// A raw chunk with its length and CRC, for hand-made files.
inline void appendChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data,
                        bool breakCrc = false)
{
  const uint32_t n = static_cast<uint32_t>(data.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uint32_t crc = static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start)));
  if (breakCrc) crc ^= 1;
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(crc >> s));
}

inline std::vector<uint8_t> be32(uint32_t v)
{
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
          static_cast<uint8_t>(v)};
}

// A signature and header claiming width x height RGBA, with no image data.
inline std::vector<uint8_t> headerOnlyPng(uint32_t width, uint32_t height)
{
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr = be32(width);
  const auto h = be32(height);
  ihdr.insert(ihdr.end(), h.begin(), h.end());
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  appendChunk(out, "IHDR", ihdr);
  appendChunk(out, "IEND", {});
  return out;
}

}  // namespace rastertest
