#pragma once
#include <cstdint>

// One pixel: 0xAARRGGBB, straight (not premultiplied) alpha. In little-endian
// memory the bytes are blue, green, red, alpha, so channel index 0 is blue.
typedef uint32_t LICE_pixel;
typedef uint8_t LICE_pixel_chan;

enum
{
  LICE_PIXEL_B = 0,
  LICE_PIXEL_G = 1,
  LICE_PIXEL_R = 2,
  LICE_PIXEL_A = 3,
};

constexpr LICE_pixel LICE_RGBA(unsigned r, unsigned g, unsigned b, unsigned a)
{
  return ((a & 255u) << 24) | ((r & 255u) << 16) | ((g & 255u) << 8) | (b & 255u);
}
constexpr unsigned LICE_GETB(LICE_pixel p) { return p & 255u; }
constexpr unsigned LICE_GETG(LICE_pixel p) { return (p >> 8) & 255u; }
constexpr unsigned LICE_GETR(LICE_pixel p) { return (p >> 16) & 255u; }
constexpr unsigned LICE_GETA(LICE_pixel p) { return p >> 24; }

// Rectangle with exclusive right and bottom edges.
struct LICE_Rect
{
  int left, top, right, bottom;
};

// The abstract bitmap every drawing call takes. Pixels are addressed as
// getBits() + y * getRowSpan() + x, the span counted in pixels.
// Threads: a bitmap is used by one thread at a time; nothing here locks.
class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() = default;

  virtual LICE_pixel* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  virtual int getRowSpan() = 0;
  // True when memory row 0 holds the bottom logical row.
  virtual bool isFlipped() { return false; }
  // False when the size already matched and nothing was done; true otherwise,
  // also when the allocation failed and the bitmap is left empty.
  virtual bool resize(int w, int h) = 0;
  // The platform drawing context behind the pixels, if any.
  virtual void* getDC() { return nullptr; }
  virtual intptr_t Extended(int id, void* data)
  {
    (void)id;
    (void)data;
    return 0;
  }
};
