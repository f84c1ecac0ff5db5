// libFuzzer target: drawing calls with fuzzed geometry, weights and modes on
// bitmaps whose pixel memory is exactly width x height (no padding), so the
// address sanitizer sees any access past an edge.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "lice.h"

namespace {

class ExactBitmap : public LICE_IBitmap
{
public:
  ExactBitmap(int w, int h, bool flipped) : m_w(w), m_h(h), m_flipped(flipped), m_px(static_cast<size_t>(w) * h) {}
  LICE_pixel* getBits() override { return m_px.data(); }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_w; }
  bool isFlipped() override { return m_flipped; }
  bool resize(int, int) override { return false; }

private:
  int m_w, m_h;
  bool m_flipped;
  std::vector<LICE_pixel> m_px;
};

int coord(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 3))
  {
    case 0: return in.ConsumeIntegral<int>();
    default: return in.ConsumeIntegralInRange(-40, 80);
  }
}

float real(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 3))
  {
    case 0: return in.ConsumeFloatingPoint<float>();
    case 1: return static_cast<float>(in.ConsumeIntegralInRange(-40, 80));
    default: return in.ConsumeFloatingPointInRange(-40.0f, 80.0f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  ExactBitmap dst(in.ConsumeIntegralInRange(1, 48), in.ConsumeIntegralInRange(1, 48), in.ConsumeBool());
  ExactBitmap src(in.ConsumeIntegralInRange(1, 48), in.ConsumeIntegralInRange(1, 48), in.ConsumeBool());
  for (int i = 0; i < src.getWidth() * src.getHeight(); ++i) src.getBits()[i] = 0x80402010u * static_cast<unsigned>(i);

  while (in.remaining_bytes() > 0)
  {
    const int mode = in.ConsumeIntegral<int>();
    const float alpha = real(in);
    const LICE_pixel colour = in.ConsumeIntegral<uint32_t>();
    const bool aa = in.ConsumeBool();
    switch (in.ConsumeIntegralInRange(0, 12))
    {
      case 0: LICE_Blit(&dst, &src, coord(in), coord(in), coord(in), coord(in), coord(in), coord(in), alpha, mode); break;
      case 1: LICE_Blit(&dst, &dst, coord(in), coord(in), coord(in), coord(in), coord(in), coord(in), alpha, mode); break;
      case 2:
        LICE_ScaledBlit(&dst, &src, coord(in), coord(in), coord(in), coord(in), real(in), real(in), real(in), real(in),
                        alpha, mode);
        break;
      case 3:
        LICE_RotatedBlit(&dst, &src, coord(in), coord(in), coord(in), coord(in), real(in), real(in), real(in), real(in),
                         real(in), aa, alpha, mode, real(in), real(in));
        break;
      case 4: LICE_FillRect(&dst, coord(in), coord(in), coord(in), coord(in), colour, alpha, mode); break;
      case 5: LICE_ClearRect(&dst, coord(in), coord(in), coord(in), coord(in), colour, colour >> 3); break;
      case 6: LICE_PutPixel(&dst, coord(in), coord(in), colour, alpha, mode); break;
      case 7: LICE_Line(&dst, coord(in), coord(in), coord(in), coord(in), colour, alpha, mode, aa); break;
      case 8: LICE_Circle(&dst, real(in), real(in), real(in), colour, alpha, mode, aa); break;
      case 9: LICE_FillCircle(&dst, real(in), real(in), real(in), colour, alpha, mode, aa); break;
      case 10: LICE_Arc(&dst, real(in), real(in), real(in), real(in), real(in), colour, alpha, mode, aa); break;
      case 11:
        LICE_RoundRect(&dst, real(in), real(in), real(in), real(in), coord(in), colour, alpha, mode, aa);
        break;
      case 12:
      {
        int xs[6], ys[6];
        const int n = in.ConsumeIntegralInRange(0, 6);
        for (int k = 0; k < n; ++k) xs[k] = coord(in), ys[k] = coord(in);
        if (n == 3 && aa)
          LICE_FillTriangle(&dst, xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], colour, alpha, mode);
        else
          LICE_FillConvexPolygon(&dst, xs, ys, n, colour, alpha, mode);
        break;
      }
    }
  }
  return 0;
}
