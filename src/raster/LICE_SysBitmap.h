#pragma once
#include "LICE_IBitmap.h"

// How a platform memory drawing context is made, reached and destroyed. The
// default is a plain 64-byte-aligned block of rowSpan x height pixels; a window
// layer that wants, say, shared memory for its blits installs its own.
struct LICE_SysContextOps
{
  void* (*create)(int rowSpan, int height, void* user);  // null on failure
  LICE_pixel* (*bits)(void* ctx, void* user);
  void (*destroy)(void* ctx, void* user);
  void* user;
};

// [main thread] Installs context operations for bitmaps created afterwards;
// null restores the default. Not to be changed while system bitmaps exist.
void LICE_SetSysContextOps(const LICE_SysContextOps* ops);

// A bitmap whose pixels belong to a platform drawing context so the window
// layer can put them on screen without copying. On Linux getDC() returns the
// context made by the installed LICE_SysContextOps (by default the pixel block
// itself); rows are padded to a multiple of 4 pixels.
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  explicit LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_pixel* getBits() override { return m_bits; }
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return m_allocw; }
  bool resize(int w, int h) override;
  void* getDC() override { return m_dc; }

private:
  void destroyContext();

  int m_width = 0;
  int m_height = 0;
  LICE_pixel* m_bits = nullptr;
  int m_allocw = 0;
  int m_alloch = 0;
  void* m_dc = nullptr;
  LICE_SysContextOps m_ops;  // the operations that made m_dc
};
