// Writes the committed seed corpus for the PNG fuzz target: one small image
// per colour type, depth and transparency form the loader handles.
#include <cstdio>
#include <string>

#include "PngTestUtil.h"

using rastertest::PngImage;

namespace {

PngImage make(int colourType, int depth, int w, int h, unsigned seed)
{
  PngImage img;
  img.width = w, img.height = h;
  img.colourType = colourType;
  img.depth = depth;
  int channels = 1;
  if (colourType == PNG_COLOR_TYPE_RGB) channels = 3;
  if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA) channels = 2;
  if (colourType == PNG_COLOR_TYPE_RGB_ALPHA) channels = 4;
  const size_t rowBytes = (static_cast<size_t>(w) * channels * depth + 7) / 8;
  for (int y = 0; y < h; ++y)
  {
    std::vector<uint8_t> row(rowBytes);
    for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>((seed += 2654435761u) >> 24);
    img.rows.push_back(row);
  }
  if (colourType == PNG_COLOR_TYPE_PALETTE)
  {
    for (int i = 0; i < (1 << depth); ++i)
      img.palette.push_back({static_cast<png_byte>(i * 37), static_cast<png_byte>(i * 91), static_cast<png_byte>(255 - i)});
    if (depth == 8)
      for (auto& row : img.rows)
        for (auto& b : row) b = static_cast<uint8_t>(b % img.palette.size());
  }
  return img;
}

}  // namespace

int main(int argc, char** argv)
{
  const std::string dir = argc > 1 ? argv[1] : ".";
  struct Seed
  {
    const char* name;
    PngImage img;
  };
  Seed seeds[] = {
      {"rgb8", make(PNG_COLOR_TYPE_RGB, 8, 5, 4, 1)},
      {"rgba8", make(PNG_COLOR_TYPE_RGB_ALPHA, 8, 5, 4, 2)},
      {"rgba16", make(PNG_COLOR_TYPE_RGB_ALPHA, 16, 3, 3, 3)},
      {"rgb16", make(PNG_COLOR_TYPE_RGB, 16, 3, 2, 4)},
      {"grey1", make(PNG_COLOR_TYPE_GRAY, 1, 11, 3, 5)},
      {"grey2", make(PNG_COLOR_TYPE_GRAY, 2, 7, 3, 6)},
      {"grey4", make(PNG_COLOR_TYPE_GRAY, 4, 5, 3, 7)},
      {"grey8", make(PNG_COLOR_TYPE_GRAY, 8, 4, 4, 8)},
      {"grey16", make(PNG_COLOR_TYPE_GRAY, 16, 3, 3, 9)},
      {"greyalpha8", make(PNG_COLOR_TYPE_GRAY_ALPHA, 8, 4, 3, 10)},
      {"palette8", make(PNG_COLOR_TYPE_PALETTE, 8, 6, 4, 11)},
      {"palette2", make(PNG_COLOR_TYPE_PALETTE, 2, 9, 3, 12)},
      {"palette8trns", make(PNG_COLOR_TYPE_PALETTE, 8, 6, 4, 13)},
      {"greykey", make(PNG_COLOR_TYPE_GRAY, 8, 4, 4, 14)},
      {"rgbkey", make(PNG_COLOR_TYPE_RGB, 8, 4, 4, 15)},
      {"interlaced", make(PNG_COLOR_TYPE_RGB_ALPHA, 8, 9, 9, 16)},
  };
  seeds[12].img.paletteAlpha = {0, 64, 128, 200};
  seeds[13].img.hasKey = true;
  seeds[13].img.key.gray = seeds[13].img.rows[0][0];
  seeds[14].img.hasKey = true;
  seeds[14].img.key.red = seeds[14].img.rows[0][0];
  seeds[15].img.interlaced = true;
  for (const Seed& s : seeds)
    if (!rastertest::writeFile(dir + "/" + s.name + ".png", rastertest::encodePng(s.img)))
    {
      std::fprintf(stderr, "cannot write %s\n", s.name);
      return 1;
    }
  return 0;
}
