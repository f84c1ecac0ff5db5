#pragma once
// Per-pixel blend rules and the span loops built on them. Each rule is one
// functor with a static apply(); every drawing call picks its loop
// instantiation from a table once, so no pixel loop ever branches on the mode.
//
// Source channels arrive as ints (sb, sg, sr, sa) because fills pass a weight
// of 256 as the source alpha and gradients pass colours outside 0..255.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "LICE_IBitmap.h"
#include "lice_blend.h"

namespace lice_detail {

inline int clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline int min255(int v) { return v > 255 ? 255 : v; }

inline LICE_pixel pack(int b, int g, int r, int a)
{
  return static_cast<LICE_pixel>(b & 255) | (static_cast<LICE_pixel>(g & 255) << 8) |
         (static_cast<LICE_pixel>(r & 255) << 16) | (static_cast<LICE_pixel>(a & 255) << 24);
}
inline int chB(LICE_pixel p) { return static_cast<int>(p & 255); }
inline int chG(LICE_pixel p) { return static_cast<int>((p >> 8) & 255); }
inline int chR(LICE_pixel p) { return static_cast<int>((p >> 16) & 255); }
inline int chA(LICE_pixel p) { return static_cast<int>(p >> 24); }

// Exact 32-bit mixes: each channel is halved or quartered with its low bits
// dropped, so they round differently from the general rule on purpose.
inline LICE_pixel mixHalf(LICE_pixel c, LICE_pixel p) { return ((c >> 1) & 0x7F7F7F7Fu) + ((p >> 1) & 0x7F7F7F7Fu); }
inline LICE_pixel mixQuarter(LICE_pixel c, LICE_pixel p)
{
  return ((c >> 2) & 0x3F3F3F3Fu) + ((p >> 2) & 0x3F3F3F3Fu) + ((p >> 1) & 0x7F7F7F7Fu);
}
inline LICE_pixel mixThreeQuarters(LICE_pixel c, LICE_pixel p)
{
  return ((c >> 1) & 0x7F7F7F7Fu) + ((c >> 2) & 0x3F3F3F3Fu) + ((p >> 2) & 0x3F3F3F3Fu);
}
// Per-channel (d + s) >> 1, the rounding lines use at weight 128.
inline LICE_pixel mixAverage(LICE_pixel c, LICE_pixel p)
{
  return (((c ^ p) & 0xFEFEFEFEu) >> 1) + (c & p);
}

// alpha -> weight 0..256. NaN, negative and tiny alphas give 0; anything at or
// above 1.0 gives 256, so no later product can overflow.
inline int weightFromAlpha(float alpha)
{
  if (!(alpha > 0.0f)) return 0;
  if (alpha >= 1.0f) return 256;
  return static_cast<int>(alpha * 256.0f);
}
// NaN and non-positive become 0, huge becomes 1, so "exactly 1.0" and
// "exactly 0.5" tests see a sane value.
inline float sanitizeAlpha(float alpha)
{
  if (!(alpha > 0.0f)) return 0.0f;
  return alpha > 1.0f ? 1.0f : alpha;
}

// One channel rule Ch::ch(d, s, k) applied to all four channels, each result
// passed through Limit (the clamping twins limit to 0..255).
inline int unlimited(int v) { return v; }
template <class Ch, int (*Limit)(int) = unlimited>
inline LICE_pixel perChannel(LICE_pixel d, int sb, int sg, int sr, int sa, int k)
{
  return pack(Limit(Ch::ch(chB(d), sb, k)), Limit(Ch::ch(chG(d), sg, k)), Limit(Ch::ch(chR(d), sr, k)),
              Limit(Ch::ch(chA(d), sa, k)));
}

// A rule with its weight scaled by the source alpha, w * (sa + 1) / 256; some
// rules leave the pixel alone for a fully transparent source.
template <class Op, bool kTransparentLeaves>
struct SourceAlphaScaled
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    if (kTransparentLeaves && sa == 0) return d;
    return Op::apply(d, sb, sg, sr, sa, w * (sa + 1) / 256);
  }
};

// d' = s + (d - s) * (256 - w) / 256, truncating toward zero.
struct OpCopy
{
  static inline int ch(int d, int s, int iw) { return s + (d - s) * iw / 256; }
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OpCopy>(d, sb, sg, sr, sa, 256 - w);
  }
};

// The weight is scaled by the source alpha; colour moves toward the source,
// alpha accumulates (saturating), a fully transparent source leaves the pixel.
struct OpCopySA
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    if (sa == 0) return d;
    const int ws = w * (sa + 1) / 256;
    const int iw = 256 - ws;
    return pack(OpCopy::ch(chB(d), sb, iw), OpCopy::ch(chG(d), sg, iw), OpCopy::ch(chR(d), sr, iw),
                min255(chA(d) + ws));
  }
};

// Source alpha at full weight: colour d' = s + (d - s) * (255 - sa) / 256,
// alpha min(255, da + sa). sa = 255 falls out of the formula as the source
// colour at alpha 255.
struct OpCopySAFull
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int)
  {
    if (sa == 0) return d;
    const int k = 255 - sa;
    return pack(sb + (chB(d) - sb) * k / 256, sg + (chG(d) - sg) * k / 256, sr + (chR(d) - sr) * k / 256,
                min255(chA(d) + sa));
  }
};

struct OpAdd
{
  static inline int ch(int d, int s, int w) { return min255(d + s * w / 256); }
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OpAdd>(d, sb, sg, sr, sa, w);
  }
};
using OpAddSA = SourceAlphaScaled<OpAdd, true>;

// t = s * w / 256; d' = d * 256 / (256 - t), or d * 256 once t reaches 255.
// The alpha rule's "above 254" threshold is the same test for integers.
struct OpDodge
{
  static inline int ch(int d, int s, int w)
  {
    const int t = s * w / 256;
    return clamp255(t < 255 ? d * 256 / (256 - t) : d * 256);
  }
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OpDodge>(d, sb, sg, sr, sa, w);
  }
};
using OpDodgeSA = SourceAlphaScaled<OpDodge, false>;

// d' = ((s * w + (256 - w) * 256) * d) >> 16: the source scaled toward white
// by the weight, then multiplied in.
struct OpMul
{
  static inline int ch(int d, int s, int w) { return ((s * w + (256 - w) * 256) * d) >> 16; }
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OpMul>(d, sb, sg, sr, sa, w);
  }
};
using OpMulSA = SourceAlphaScaled<OpMul, true>;

// o = (256 - w) * 128 blends the source toward mid-grey by the weight; then
// v = ((32768 - sw - o) * d / 256 + sw + o) * d and d' = v >> 15, clamped.
struct OverlayCh
{
  static inline int ch(int d, int s, int w)
  {
    const int sw = s * w;
    const int o = (256 - w) * 128;
    const int v = ((32768 - sw - o) * d / 256 + sw + o) * d;
    return clamp255(v >> 15);
  }
};
struct OpOverlay
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OverlayCh>(d, sb, sg, sr, sa, w);
  }
};
using OpOverlaySA = SourceAlphaScaled<OpOverlay, false>;

// Hue 0..383 in six sectors of 64; saturation and value 0..255.
LICE_pixel hsvAdjust(LICE_pixel d, int sb, int sg, int sr, int sa, int w);
void rgbToHsv(int r, int g, int b, int* h, int* s, int* v);
void hsvToRgb(int h, int s, int v, int* r, int* g, int* b);

struct OpHsv
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return hsvAdjust(d, sb, sg, sr, sa, w);
  }
};
using OpHsvSA = SourceAlphaScaled<OpHsv, false>;

// Clamping twins for sources whose channels may leave 0..255.
struct OpCopyClamp
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OpCopy, clamp255>(d, sb, sg, sr, sa, 256 - w);
  }
};
struct OpMulClamp
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int w)
  {
    return perChannel<OpMul, clamp255>(d, sb, sg, sr, sa, w);
  }
};

// Whole-pixel forms for COPY at full and half weight.
struct OpReplace
{
  static inline LICE_pixel apply(LICE_pixel, int sb, int sg, int sr, int sa, int) { return pack(sb, sg, sr, sa); }
};
struct OpHalf
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int)
  {
    return mixHalf(pack(sb, sg, sr, sa), d);
  }
};

// Index into the per-operation tables: operation * 2 + source-alpha flag, or
// -1 for an operation that draws nothing.
inline int opIndex(int mode, bool honourSrcAlpha)
{
  const int op = mode & LICE_MODE_OP_MASK;
  if (op >= LICE_OP_COUNT) return -1;
  return op * 2 + ((honourSrcAlpha && (mode & LICE_MODE_SRC_ALPHA)) ? 1 : 0);
}
constexpr int kOpSlots = LICE_OP_COUNT * 2;

// Exact forms the line cases use: a quarter, three quarters, and the
// per-channel average (d + s) >> 1.
struct OpQuarter
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int)
  {
    return mixQuarter(pack(sb, sg, sr, sa), d);
  }
};
struct OpThreeQuarters
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int)
  {
    return mixThreeQuarters(pack(sb, sg, sr, sa), d);
  }
};
struct OpAverage
{
  static inline LICE_pixel apply(LICE_pixel d, int sb, int sg, int sr, int sa, int)
  {
    return mixAverage(pack(sb, sg, sr, sa), d);
  }
};

// A table of one loop instantiation per operation, in the order of the list.
template <class... Ops>
struct OpList
{
  static constexpr int size = sizeof...(Ops);
};
template <class Loop, class... Ops>
constexpr std::array<typename Loop::Fn, sizeof...(Ops)> makeTable(OpList<Ops...>)
{
  return {{&Loop::template run<Ops>...}};
}

// Loops that sample their source (scaled, rotated): the operations with and
// without source alpha (slot = operation * 2 + flag), then whole-pixel forms.
using BlendOps = OpList<OpCopy, OpCopySA, OpAdd, OpAddSA, OpDodge, OpDodgeSA, OpMul, OpMulSA, OpOverlay, OpOverlaySA,
                        OpHsv, OpHsvSA, OpCopySAFull, OpReplace, OpHalf>;
enum : int
{
  kSlotCopySAFull = kOpSlots,
  kSlotReplace,
  kSlotHalf,
  kExtSlots
};
static_assert(BlendOps::size == kExtSlots, "one blend loop per slot");
template <class Loop>
constexpr auto makeOpTable()
{
  return makeTable<Loop>(BlendOps{});
}

// The slot for a call, or -1 when it draws nothing. plainHalf: COPY at weight
// 128 takes the 32-bit half mix (unfiltered scaled blits).
inline int resolveSlot(int mode, int w, bool plainHalf)
{
  const int idx = opIndex(mode, true);
  if (idx < 0 || w <= 0) return -1;
  if (idx == 1 && w == 256) return kSlotCopySAFull;
  if (idx == 0 && w == 256) return kSlotReplace;
  if (idx == 0 && w == 128 && plainHalf) return kSlotHalf;
  return idx;
}

// One pixel in place.
using PlotFn = void (*)(LICE_pixel* p, int sb, int sg, int sr, int sa, int w);
template <class Op>
void plotPixel(LICE_pixel* p, int sb, int sg, int sr, int sa, int w)
{
  *p = Op::apply(*p, sb, sg, sr, sa, w);
}
extern const PlotFn kPlot[kOpSlots];

// A row of source pixels onto a row of destination pixels.
using BlitRowFn = void (*)(LICE_pixel* d, const LICE_pixel* s, int n, int w);
template <class Op>
void blitRow(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  for (int i = 0; i < n; ++i)
  {
    const LICE_pixel c = s[i];
    d[i] = Op::apply(d[i], chB(c), chG(c), chR(c), chA(c), w);
  }
}
extern const BlitRowFn kBlitRow[kOpSlots];
// Source alpha at full weight, the editor's default bitmap draw (SSE2).
void blitRowCopySAFull(LICE_pixel* d, const LICE_pixel* s, int n, int w);
// Plain COPY at a weight 1..255 (SSE2).
void blitRowCopyWeighted(LICE_pixel* d, const LICE_pixel* s, int n, int w);

// A constant colour across a row.
using FillRowFn = void (*)(LICE_pixel* d, int n, int sb, int sg, int sr, int sa, int w);
template <class Op>
void fillRow(LICE_pixel* d, int n, int sb, int sg, int sr, int sa, int w)
{
  for (int i = 0; i < n; ++i) d[i] = Op::apply(d[i], sb, sg, sr, sa, w);
}
extern const FillRowFn kFillRow[kOpSlots];

// Logical row addressing that honours flipped bitmaps.
struct Surface
{
  LICE_pixel* bits = nullptr;
  ptrdiff_t stride = 0;  // pixels from one logical row to the next
  int w = 0, h = 0;

  explicit Surface(LICE_IBitmap* bm)
  {
    if (!bm) return;
    LICE_pixel* b = bm->getBits();
    const int bw = bm->getWidth(), bh = bm->getHeight(), span = bm->getRowSpan();
    if (!b || bw <= 0 || bh <= 0 || span < bw) return;
    bits = b;
    w = bw;
    h = bh;
    stride = span;
    if (bm->isFlipped())
    {
      bits = b + static_cast<ptrdiff_t>(bh - 1) * span;
      stride = -stride;
    }
  }
  bool ok() const { return bits != nullptr; }
  LICE_pixel* row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
};

}  // namespace lice_detail
