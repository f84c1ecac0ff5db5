#include "KnobArt.h"

#include <cmath>
#include <vector>

#include "ArtworkLayout.h"
#include "Canvas.h"
#include "Shading.h"

using namespace layout;

namespace {

constexpr float kSkirtR = 29, kCapR = 22, kTopR = 19.2f;
constexpr int kTicks = 11;
const Rgba kCream = opaque(0.87f, 0.81f, 0.68f);

float radians(float deg) { return deg * kPi / 180.0f; }

struct Mark
{
  float x0, y0, x1, y1, halfWidth;
};

// The scale: eleven marks, the ends and the middle longer, and a dot between
// each pair (a mark of no length).
std::vector<Mark> makeScale()
{
  std::vector<Mark> marks;
  const float step = (kKnobMaxDeg - kKnobMinDeg) / (kTicks - 1);
  for (int i = 0; i < kTicks; ++i)
  {
    const float a = radians(kKnobMinDeg + step * static_cast<float>(i));
    const bool major = i == 0 || i == kTicks / 2 || i == kTicks - 1;
    const float r0 = major ? 33.0f : 35.0f, r1 = major ? 40.5f : 39.5f, w = major ? 1.05f : 0.75f;
    const float sx = std::sin(a), sy = -std::cos(a);
    marks.push_back({kKnobCX + sx * r0, kKnobCY + sy * r0, kKnobCX + sx * r1, kKnobCY + sy * r1, w});
    if (i + 1 < kTicks)
    {
      const float m = radians(kKnobMinDeg + step * (static_cast<float>(i) + 0.5f));
      const float dx = kKnobCX + std::sin(m) * 38.0f, dy = kKnobCY - std::cos(m) * 38.0f;
      marks.push_back({dx, dy, dx + 1e-3f, dy, 0.8f});
    }
  }
  return marks;
}

float scaleDistance(float x, float y)
{
  static const std::vector<Mark> marks = makeScale();
  float best = 1e9f;
  for (const Mark& m : marks) best = std::min(best, sdTaper(x, y, m.x0, m.y0, m.x1, m.y1, m.halfWidth, m.halfWidth));
  return best;
}

Rgba knobAt(float x, float y, float turn)
{
  const float dx = x - kKnobCX, dy = y - kKnobCY, r = std::hypot(dx, dy);
  const float phi = std::atan2(dx, -dy);
  Rgba out;

  // 1. The scale, printed on the panel around the knob.
  const float ds = r > 31 && r < 43 ? scaleDistance(x, y) : 1e9f;
  if (ds < 1.0f) out = over(scaled(kCream, coverage(ds) * 0.92f), out);

  // 2. Shadows on the panel: a soft cast one and a tight contact one.
  const float cast = 1.0f - smoothstep(-5.0f, 7.0f, std::hypot(x - kKnobCX - 2.0f, y - kKnobCY - 4.0f) - kSkirtR);
  const float contact = 1.0f - smoothstep(-1.0f, 2.5f, r - kSkirtR);
  out = over(withAlpha(0, 0, 0, std::max(cast * 0.55f, contact * 0.45f)), out);

  if (r > kSkirtR + 1) return out;

  // 3. The skirt: glossy black, sloping down to a rounded lip.
  {
    const float slope = r > kSkirtR - 2.5f ? 0.5f + 1.6f * smoothstep(kSkirtR - 2.5f, kSkirtR, r) : 0.42f;
    const V3 n = radialNormal(x, y, kKnobCX, kKnobCY, slope);
    float v = 0.035f + 0.09f * diffuse(n) + 0.55f * specular(n, 60) + 0.06f * specular(n, 6);
    v *= 0.45f + 0.55f * smoothstep(kCapR - 0.5f, kCapR + 3.5f, r);  // under the cap's edge
    Rgba skirt = opaque(v, v * 0.97f, v * 0.95f);
    // The pointer line, inlaid in the skirt.
    const float px = std::sin(turn), py = -std::cos(turn);
    const float dp = sdTaper(x, y, kKnobCX + px * (kCapR + 0.5f), kKnobCY + py * (kCapR + 0.5f),
                             kKnobCX + px * (kSkirtR - 1.2f), kKnobCY + py * (kSkirtR - 1.2f), 1.35f, 1.35f);
    const float lit = 0.7f + 0.45f * diffuse(n);
    skirt = lerp(skirt, opaque(0.95f * lit, 0.91f * lit, 0.82f * lit), coverage(dp));
    out = over(scaled(skirt, coverage(r - kSkirtR)), out);
  }

  // 4. The aluminium cap: a fluted chamfer that turns with the knob, a
  //    concentrically brushed top, an engraved line.
  if (r < kCapR + 1)
  {
    Rgba cap;
    if (r > kTopR)
    {
      const float flute = std::sin((phi - turn) * 30.0f);
      const float t = smoothstep(kTopR, kCapR, r);
      V3 n = radialNormal(x, y, kKnobCX, kKnobCY, 0.5f + 0.9f * t);
      const float tx = -dy / std::max(r, 1e-3f), ty = dx / std::max(r, 1e-3f);
      n = normalised({n.x + tx * flute * 0.45f, n.y + ty * flute * 0.45f, n.z});
      const float v = 0.20f + 0.45f * diffuse(n) + 0.6f * specular(n, 30);
      cap = opaque(v, v, v * 1.02f);
    }
    else
    {
      // Concentric brushing catches the light along the radius towards it.
      const V3 l = lightDir();
      const float phiL = std::atan2(l.x, -l.y);
      const float streak = std::pow(std::fabs(std::cos(phi - phiL)), 10.0f);
      const float ring = std::sin(r * 9.1f) * 0.5f + std::sin(r * 23.3f + 1.0f) * 0.3f;
      float v = 0.50f + 0.30f * streak * smoothstep(0.0f, 8.0f, r) + 0.025f * ring - 0.10f * (r / kTopR);
      v += 0.06f * (1.0f - r / kTopR);
      cap = opaque(v * 0.98f, v * 0.98f, v);
      // The engraved line: dark groove with a lit lower edge.
      const float px = std::sin(turn), py = -std::cos(turn);
      const float dg = sdTaper(x, y, kKnobCX + px * 4.0f, kKnobCY + py * 4.0f, kKnobCX + px * (kTopR - 2.0f),
                               kKnobCY + py * (kTopR - 2.0f), 1.15f, 1.15f);
      const float de = sdTaper(x - 0.6f, y - 0.8f, kKnobCX + px * 4.0f, kKnobCY + py * 4.0f,
                               kKnobCX + px * (kTopR - 2.0f), kKnobCY + py * (kTopR - 2.0f), 1.15f, 1.15f);
      cap = lerp(cap, opaque(0.85f, 0.85f, 0.86f), coverage(de) * (1 - coverage(dg)) * 0.7f);
      cap = lerp(cap, opaque(0.06f, 0.06f, 0.065f), coverage(dg));
    }
    out = over(scaled(cap, coverage(r - kCapR)), out);
  }
  return out;
}

}  // namespace

std::unique_ptr<LICE_MemBitmap> DrawKnobStrip()
{
  auto strip = std::make_unique<LICE_MemBitmap>(kKnobSize, kKnobSize * kKnobFrames);
  for (int k = 0; k < kKnobFrames; ++k)
  {
    const float deg = kKnobMinDeg + (kKnobMaxDeg - kKnobMinDeg) * static_cast<float>(k) / (kKnobFrames - 1);
    const float turn = radians(deg);
    Canvas c(kKnobSize, kKnobSize);
    c.layer(2, [turn](float x, float y) { return knobAt(x, y, turn); });
    c.quantise(strip.get(), 0, k * kKnobSize, 101u + static_cast<unsigned>(k));
  }
  return strip;
}
