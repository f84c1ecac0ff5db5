#include "PngWriter.h"

#include <png.h>

#include <vector>

#include "LICE_IBitmap.h"

namespace render {

namespace {
void Append(png_structp png, png_bytep data, png_size_t length)
{
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}


// libpng reports errors by longjmp, so this frame holds nothing with a
// destructor and nothing it changes after setjmp is read afterwards.
bool WriteImage(png_structp png, png_infop info, LICE_IBitmap* bitmap, png_bytep row, png_text* chunks, int nChunks,
                std::string* bytes)
{
  if (setjmp(png_jmpbuf(png))) return false;
  const int w = bitmap->getWidth(), h = bitmap->getHeight();
  png_set_write_fn(png, bytes, Append, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (nChunks > 0) png_set_text(png, info, chunks, nChunks);
  png_write_info(png, info);
  LICE_pixel* bits = bitmap->getBits();
  const int span = bitmap->getRowSpan();
  for (int y = 0; y < h; ++y)
  {
    const int memRow = bitmap->isFlipped() ? h - 1 - y : y;
    const LICE_pixel* src = bits + static_cast<size_t>(memRow) * static_cast<size_t>(span);
    for (int x = 0; x < w; ++x)
    {
      row[x * 4 + 0] = static_cast<png_byte>(LICE_GETR(src[x]));
      row[x * 4 + 1] = static_cast<png_byte>(LICE_GETG(src[x]));
      row[x * 4 + 2] = static_cast<png_byte>(LICE_GETB(src[x]));
      row[x * 4 + 3] = static_cast<png_byte>(LICE_GETA(src[x]));
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  return true;
}
} // namespace

bool EncodePng(LICE_IBitmap* bitmap, const PngText& text, std::string* bytes)
{
  const int w = bitmap->getWidth(), h = bitmap->getHeight();
  if (w <= 0 || h <= 0 || !bitmap->getBits()) return false;
  std::vector<png_byte> row(static_cast<size_t>(w) * 4);
  std::vector<png_text> chunks(text.size());
  for (size_t i = 0; i < text.size(); ++i)
  {
    chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
    chunks[i].key = const_cast<char*>(text[i].first.c_str());
    chunks[i].text = const_cast<char*>(text[i].second.c_str());
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  bytes->clear();
  const bool ok = info && WriteImage(png, info, bitmap, row.data(), chunks.data(), static_cast<int>(chunks.size()), bytes);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return ok;
}

} // namespace render
