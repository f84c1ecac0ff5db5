#pragma once
#include <cstddef>

#include "LICE_IBitmap.h"

// A bitmap in plain heap memory. Rows are padded to the line alignment and
// getBits() is 64-byte aligned. Resizing never clears or moves pixels when the
// existing block is large enough, and grows by a quarter more than needed
// otherwise, so a bitmap that is resized often settles quickly.
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  explicit LICE_MemBitmap(int w = 0, int h = 0, unsigned int linealign = 4);
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_pixel* getBits() override;
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return (m_width + m_linealign) & ~m_linealign; }
  bool resize(int w, int h) override;

  // Bytes the current block holds (excluding the alignment slack).
  size_t getAllocatedBytes() const { return m_allocsize; }

private:
  void freeAll();

  int m_width = 0;
  int m_height = 0;
  void* m_fb = nullptr;
  size_t m_allocsize = 0;
  int m_linealign = 0;
};
