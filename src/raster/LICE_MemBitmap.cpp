#include "LICE_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr size_t kAlignSlack = 63;

int maskFromLineAlign(unsigned int linealign)
{
  if (linealign < 2) return 0;
  int mask = static_cast<int>((linealign & (~linealign + 1)) - 1);  // lowest set bit minus one
  return mask > 16 ? 16 : mask;
}

}  // namespace

LICE_MemBitmap::LICE_MemBitmap(int w, int h, unsigned int linealign) : m_linealign(maskFromLineAlign(linealign))
{
  if (w > 0 && h > 0) resize(w, h);
}

LICE_MemBitmap::~LICE_MemBitmap() { std::free(m_fb); }

LICE_pixel* LICE_MemBitmap::getBits()
{
  if (!m_fb) return nullptr;
  const uintptr_t p = reinterpret_cast<uintptr_t>(m_fb);
  return reinterpret_cast<LICE_pixel*>((p + kAlignSlack) & ~static_cast<uintptr_t>(kAlignSlack));
}

void LICE_MemBitmap::freeAll()
{
  std::free(m_fb);
  m_fb = nullptr;
  m_allocsize = 0;
  m_width = m_height = 0;
}

bool LICE_MemBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;

  // The byte count is formed in 64 bits: an int product wraps for large sizes
  // and would hand out a block shorter than the rows addressed through it.
  // Anything whose pixel index would not fit an int is refused outright.
  const int64_t span = (static_cast<int64_t>(w) + m_linealign) & ~static_cast<int64_t>(m_linealign);
  const int64_t need64 = (w > 0 && h > 0) ? static_cast<int64_t>(h) * span * 4 : 0;
  if (need64 <= 0 || need64 > INT_MAX)
  {
    freeAll();
    return true;
  }
  const size_t need = static_cast<size_t>(need64);
  m_width = w;
  m_height = h;

  if (!m_fb)
  {
    m_fb = std::malloc(need + kAlignSlack);
    m_allocsize = m_fb ? need : 0;
  }
  else if (m_allocsize >= need)
  {
    return true;
  }
  else
  {
    const size_t grown = need / 4 * 5;
    void* p = std::realloc(m_fb, grown + kAlignSlack);
    if (p)
    {
      m_fb = p;
      m_allocsize = grown;
    }
    else
    {
      std::free(m_fb);
      m_fb = std::malloc(need + kAlignSlack);
      m_allocsize = m_fb ? need : 0;
    }
  }
  if (!m_fb) m_width = m_height = 0;
  return true;
}
