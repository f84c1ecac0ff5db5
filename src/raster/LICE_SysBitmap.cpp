#include "LICE_SysBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

void* defaultCreate(int rowSpan, int height, void*)
{
  const size_t bytes = static_cast<size_t>(rowSpan) * static_cast<size_t>(height) * 4;
  // aligned_alloc wants a size that is a multiple of the alignment.
  return std::aligned_alloc(64, (bytes + 63) & ~static_cast<size_t>(63));
}
LICE_pixel* defaultBits(void* ctx, void*) { return static_cast<LICE_pixel*>(ctx); }
void defaultDestroy(void* ctx, void*) { std::free(ctx); }

constexpr LICE_SysContextOps kDefaultOps = {defaultCreate, defaultBits, defaultDestroy, nullptr};
LICE_SysContextOps g_ops = kDefaultOps;

}  // namespace

void LICE_SetSysContextOps(const LICE_SysContextOps* ops) { g_ops = ops ? *ops : kDefaultOps; }

LICE_SysBitmap::LICE_SysBitmap(int w, int h) : m_ops(g_ops) { resize(w, h); }

LICE_SysBitmap::~LICE_SysBitmap() { destroyContext(); }

void LICE_SysBitmap::destroyContext()
{
  if (m_dc) m_ops.destroy(m_dc, m_ops.user);
  m_dc = nullptr;
  m_bits = nullptr;
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;
  if (w > 0 && h > 0 && m_allocw >= w && m_alloch >= h && m_bits) return true;

  destroyContext();
  if (w <= 0 || h <= 0 || w > 0x7FFFFFFC)
  {
    // A negative or absurd size leaves an empty bitmap rather than reporting
    // a size that no memory backs.
    m_width = m_height = 0;
    m_allocw = m_alloch = 0;
    return false;
  }
  m_allocw = (w + 3) & ~3;
  m_alloch = h;
  // Pixel indices are ints; a block whose byte count does not fit is refused.
  const int64_t bytes = static_cast<int64_t>(m_allocw) * h * 4;
  m_ops = g_ops;
  if (bytes <= INT_MAX) m_dc = m_ops.create(m_allocw, h, m_ops.user);
  if (m_dc) m_bits = m_ops.bits(m_dc, m_ops.user);
  if (!m_bits)
  {
    destroyContext();
    m_width = m_height = 0;
    m_allocw = m_alloch = 0;
  }
  return true;
}
