// libFuzzer target: arbitrary bytes through the memory PNG loader, into a
// new bitmap and again into the one it returned.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "lice_png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > INT_MAX) return 0;
  // Large images decode correctly but slowly; keep the fuzzer's time for
  // headers and chunks by skipping any whose header claims over 2^20 pixels.
  if (size >= 24)
  {
    const auto be32 = [&](size_t o) {
      return (uint32_t(data[o]) << 24) | (uint32_t(data[o + 1]) << 16) | (uint32_t(data[o + 2]) << 8) | data[o + 3];
    };
    if (uint64_t(be32(16)) * be32(20) > (1u << 20)) return 0;
  }
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNGFromMemory(data, static_cast<int>(size), nullptr));
  if (!bm) return 0;
  // Every decoded row must be addressable: read the last pixel of each.
  volatile LICE_pixel sink = 0;
  for (int y = 0; y < bm->getHeight(); ++y) sink = sink + bm->getBits()[y * bm->getRowSpan() + bm->getWidth() - 1];
  LICE_LoadPNGFromMemory(data, static_cast<int>(size), bm.get());
  return 0;
}
