#include "PanelArt.h"

#include <cmath>

#include "ArtworkLayout.h"
#include "Canvas.h"
#include "Noise.h"
#include "Shading.h"
#include "SpeakerArt.h"
#include "TextMask.h"

using namespace layout;

namespace {

const char* const kSans = "DejaVu Sans";
const char* const kSerif = "DejaVu Serif";
const Rgba kCream = opaque(0.86f, 0.80f, 0.67f);

// Pebbled vinyl covering in a dark, warm brown, lit from above left.
Rgba tolexAt(float x, float y)
{
  const float s = 1.0f / 1.8f, e = 0.6f;
  const float h0 = fbm(x * s, y * s, 3, 3);
  const float hx = fbm((x + e) * s, y * s, 3, 3) - h0, hy = fbm(x * s, (y + e) * s, 3, 3) - h0;
  const V3 n = normalised({-hx * 3.0f, -hy * 3.0f, 1.0f});
  const float relief = 0.82f + 0.28f * (diffuse(n) / diffuse({0, 0, 1}));
  const float mottle = 0.94f + 0.12f * fbm(x / 45.0f, y / 45.0f, 4, 3);
  const float t = y / kPanelH;
  float rr = mix(0.130f, 0.088f, t), gg = mix(0.097f, 0.064f, t), bb = mix(0.078f, 0.052f, t);
  // The edges fall into shadow.
  const float edge = std::min(std::min(x, kPanelW - x), std::min(y, kPanelH - y));
  const float vignette = 0.72f + 0.28f * smoothstep(0.0f, 40.0f, edge);
  const float k = relief * mottle * vignette;
  return opaque(rr * k, gg * k, bb * k);
}

// Gold piping just inside the panel's edge.
Rgba pipingAt(float x, float y)
{
  const float d = sdRoundBox(x, y, kPanelW * 0.5f, kPanelH * 0.5f, kPanelW * 0.5f - 5.5f, kPanelH * 0.5f - 5.5f, 11);
  const float half = 1.4f;
  Rgba out;
  // Its shadow on the covering, below and to the right.
  const float ds = std::fabs(sdRoundBox(x - 0.8f, y - 1.2f, kPanelW * 0.5f, kPanelH * 0.5f, kPanelW * 0.5f - 5.5f,
                                        kPanelH * 0.5f - 5.5f, 11)) - half;
  out = withAlpha(0, 0, 0, 0.6f * (1 - smoothstep(-0.5f, 2.0f, ds)));
  const float a = std::fabs(d) - half;
  if (a > 1) return out;
  // A round cord: lit on the side facing the light.
  const float across = std::clamp(d / half, -1.0f, 1.0f);
  const float gx = std::fabs(x - kPanelW * 0.5f) > kPanelW * 0.5f - 17 ? (x < kPanelW * 0.5f ? -1.0f : 1.0f) : 0.0f;
  const float gy = std::fabs(y - kPanelH * 0.5f) > kPanelH * 0.5f - 17 ? (y < kPanelH * 0.5f ? -1.0f : 1.0f) : 0.0f;
  const V3 n = normalised({gx * across, gy * across, std::sqrt(1 - across * across) + 0.2f});
  const float v = 0.45f + 0.45f * diffuse(n) + 0.5f * specular(n, 20);
  return over(scaled(opaque(clamp01(v * 0.86f), clamp01(v * 0.70f), clamp01(v * 0.44f)), coverage(a)), out);
}

// The baffle board, set back behind the panel's face and covered in cloth.
Rgba baffleAt(float x, float y)
{
  const float cx = (kBaffleL + kBaffleR) * 0.5f, cy = (kBaffleT + kBaffleB) * 0.5f;
  const float hx = (kBaffleR - kBaffleL) * 0.5f, hy = (kBaffleB - kBaffleT) * 0.5f;
  const float d = sdRoundBox(x, y, cx, cy, hx, hy, 9);
  Rgba out;
  // The lit lower and right lip of the opening.
  if (d > -0.5f && d < 2.5f)
  {
    const float lip = (1 - smoothstep(0.5f, 2.5f, d)) * smoothstep(-0.5f, 0.5f, d);
    const float facing = clamp01(0.5f + 0.5f * ((x - cx) / hx + (y - cy) / hy));
    out = withAlpha(0.95f, 0.85f, 0.70f, 0.20f * lip * facing);
  }
  if (d > 0.5f) return out;
  // Basket weave of dark thread.
  const float p = 3.0f;
  const float fx = x / p - std::floor(x / p), fy = y / p - std::floor(y / p);
  const bool across = (static_cast<int>(std::floor(x / p)) + static_cast<int>(std::floor(y / p))) % 2 == 0;
  const float thread = across ? std::sin(kPi * fy) : std::sin(kPi * fx);
  const float slub = 0.85f + 0.3f * fbm(x / 7.0f, y / 2.0f, 41, 2);
  float v = (0.55f + 0.45f * thread) * slub;
  // Depth: darker toward the middle, and in the panel's shadow at top and left.
  const float inner = -sdRoundBox(x - 3.5f, y - 5.0f, cx, cy, hx, hy, 9);
  v *= 0.35f + 0.65f * smoothstep(0.0f, 14.0f, inner);
  const Rgba cloth = opaque(0.105f * v, 0.072f * v, 0.058f * v);
  return over(scaled(cloth, coverage(d)), out);
}

// Lettering silk-screened in cream, with the faint shadow thick ink casts.
void printText(Canvas& c, const TextMask& m, float centreX, int capTop, Rgba ink)
{
  const int x0 = static_cast<int>(std::lround(centreX - m.width() * 0.5f));
  const int y0 = capTop - m.capTop();
  for (int y = -1; y < m.height() + 2; ++y)
    for (int x = -1; x < m.width() + 2; ++x)
    {
      const int px = x0 + x, py = y0 + y;
      if (px < 0 || py < 0 || px >= c.width() || py >= c.height()) continue;
      const float shadow = m.at(x, y - 1) * 0.55f;
      Rgba& dst = c.at(px, py);
      dst = over(withAlpha(0, 0, 0, shadow), dst);
      dst = over(scaled(ink, m.at(x, y)), dst);
    }
}

// The product name: embossed gold letters.
void printLogo(Canvas& c, const TextMask& m, float centreX, int capTop)
{
  const int x0 = static_cast<int>(std::lround(centreX - m.width() * 0.5f));
  const int y0 = capTop - m.capTop();
  const float h = static_cast<float>(m.baseline() - m.capTop());
  for (int y = -3; y < m.height() + 4; ++y)
    for (int x = -3; x < m.width() + 4; ++x)
    {
      const int px = x0 + x, py = y0 + y;
      if (px < 0 || py < 0 || px >= c.width() || py >= c.height()) continue;
      Rgba& dst = c.at(px, py);
      dst = over(withAlpha(0, 0, 0, 0.75f * m.blurred(x - 1, y - 2, 2)), dst);
      const float cov = m.at(x, y);
      if (cov <= 0) continue;
      // Bevel from the slope of the softened letter shapes.
      const float gx = m.blurred(x + 1, y, 1) - m.blurred(x - 1, y, 1);
      const float gy = m.blurred(x, y + 1, 1) - m.blurred(x, y - 1, 1);
      const V3 n = normalised({-gx * 1.6f, -gy * 1.6f, 1.0f});
      const float t = clamp01((static_cast<float>(y) - m.capTop()) / h);
      const float lit = 0.55f + 0.55f * diffuse(n) + 0.6f * specular(n, 16);
      const Rgba gold = opaque(clamp01(mix(0.95f, 0.72f, t) * lit), clamp01(mix(0.80f, 0.50f, t) * lit),
                               clamp01(mix(0.50f, 0.25f, t) * lit));
      dst = over(scaled(gold, cov), dst);
    }
}

}  // namespace

std::unique_ptr<LICE_MemBitmap> DrawBackground()
{
  Canvas c(kPanelW, kPanelH);
  c.layer(1, tolexAt);
  c.layer(2, pipingAt);
  c.layer(static_cast<int>(kBaffleL) - 4, static_cast<int>(kBaffleT) - 4, static_cast<int>(kBaffleR) + 4,
          static_cast<int>(kBaffleB) + 4, 2, baffleAt);
  const int sx0 = static_cast<int>(kSpeakerX - kFlangeR) - 12, sy0 = static_cast<int>(kSpeakerY - kFlangeR) - 12;
  const int sx1 = static_cast<int>(kSpeakerX + kFlangeR) + 22, sy1 = static_cast<int>(kSpeakerY + kFlangeR) + 22;
  c.layer(sx0, sy0, sx1, sy1, 3, SpeakerAt);

  // Labels: the switch's beside it, each knob's in the gap at the foot of its scale.
  printText(c, TextMask(kSans, 10, true, 1.4f, "BYPASS"), 149.0f, kSwitchY + static_cast<int>(kLampY) - 4, kCream);
  const char* const knobs[3] = {"CABINET SIZE", "CHARACTER", "OUTPUT"};
  for (int i = 0; i < 3; ++i)
    printText(c, TextMask(kSans, 10, true, 1.4f, knobs[i]), kKnobX + kKnobCX, kKnobY[i] + 80, kCream);
  printText(c, TextMask(kSans, 10, true, 1.6f, "MIC PLACEMENT"), kSpeakerX,
            static_cast<int>(kSpeakerY + kFlangeR) + 9, kCream);

  printLogo(c, TextMask(kSerif, 30, true, 5.0f, "MURAX"), 91.0f, 388);
  printText(c, TextMask(kSans, 8, true, 2.2f, "SPEAKER CABINET"), 91.0f, 417, opaque(0.62f, 0.55f, 0.44f));

  auto bmp = std::make_unique<LICE_MemBitmap>(kPanelW, kPanelH);
  c.quantise(bmp.get(), 0, 0, 1u);
  return bmp;
}
