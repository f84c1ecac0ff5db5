#include "SpeakerArt.h"

#include <cmath>

#include "ArtworkLayout.h"
#include "Noise.h"
#include "Shading.h"

using namespace layout;

namespace {

constexpr float kCx = kSpeakerX, kCy = kSpeakerY;
constexpr float kBoltR = (kFlangeR + kGasketR) * 0.5f + 0.5f;

Rgba tinted(float v, float r, float g, float b) { return opaque(clamp01(v * r), clamp01(v * g), clamp01(v * b)); }

// Hammer-finish steel: small dents that catch the light.
V3 hammered(V3 n, float x, float y)
{
  const float e = 0.7f, s = 1 / 4.5f;
  const float h0 = fbm(x * s, y * s, 5, 2);
  const float hx = fbm((x + e) * s, y * s, 5, 2) - h0, hy = fbm(x * s, (y + e) * s, 5, 2) - h0;
  return normalised({n.x - hx * 1.3f, n.y - hy * 1.3f, n.z});
}

Rgba flangeAt(float x, float y, float r)
{
  // Flat steel rolled over at its outer edge and stepping down to the gasket.
  const float slope = 1.6f * smoothstep(kFlangeR - 3.5f, kFlangeR, r) - 0.9f * (1 - smoothstep(kGasketR - 1, kGasketR + 2.5f, r));
  const V3 n = hammered(radialNormal(x, y, kCx, kCy, slope), x, y);
  const float v = 0.045f + 0.13f * diffuse(n) + 0.22f * specular(n, 28);
  Rgba c = tinted(v, 0.96f, 0.98f, 1.03f);

  // Four bolts with washers hold it to the baffle.
  for (int i = 0; i < 4; ++i)
  {
    const float a = kPi / 4 + kPi / 2 * static_cast<float>(i);
    const float bx = kCx + std::sin(a) * kBoltR, by = kCy - std::cos(a) * kBoltR;
    const float rw = std::hypot(x - bx, y - by);
    if (rw > 8) continue;
    // Contact shadow of the washer, then the washer and the nut.
    c = lerp(c, opaque(0, 0, 0), 0.5f * (1 - smoothstep(5.5f, 8.0f, std::hypot(x - bx - 1, y - by - 1.5f))));
    const V3 wn = radialNormal(x, y, bx, by, 0.25f + 1.3f * smoothstep(5.0f, 6.6f, rw));
    const float wv = chrome(wn, 0.5f) * 0.85f;
    c = lerp(c, tinted(wv, 1, 1, 1.02f), coverage(rw - 6.6f));
    const float hex = sdHexagon(x, y, bx, by, 4.2f);
    const float face = hexFaceAngle(x - bx, y - by);
    const V3 hn = hex < -1.3f ? V3{0, 0, 1} : normalised({std::cos(face), std::sin(face), 1.2f});
    const float hv = chrome(hn, 0.6f) * 0.85f;
    c = lerp(c, tinted(hv, 1, 1, 1.02f), coverage(hex));
    c = lerp(c, opaque(0.05f, 0.05f, 0.05f), coverage(std::hypot(x - bx, y - by) - 1.9f) * 0.9f);
  }
  return c;
}

Rgba gasketAt(float x, float y, float r)
{
  // A raised ring of black card, rounded over both edges.
  const float t = (r - kSurroundR) / (kGasketR - kSurroundR);
  const V3 n = radialNormal(x, y, kCx, kCy, (t - 0.5f) * 2.2f);
  const float grain = fbm(x / 1.3f, y / 1.3f, 9, 2) - 0.5f;
  const float v = 0.035f + 0.10f * diffuse(n) + 0.06f * specular(n, 10) + 0.02f * grain;
  return tinted(v, 1.05f, 1.0f, 0.95f);
}

// Value noise that wraps every `period` units in x, for patterns that go
// once round the speaker without a seam.
float wrappedNoise(float x, float y, int period, unsigned seed)
{
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = ((static_cast<int>(fx) % period) + period) % period, iy = static_cast<int>(fy);
  const int jx = (ix + 1) % period;
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx), ty = ty * ty * (3 - 2 * ty);
  const float a = hash01(ix, iy, seed), b = hash01(jx, iy, seed);
  const float c = hash01(ix, iy + 1, seed), d = hash01(jx, iy + 1, seed);
  return a + (b - a) * tx + (c - a) * ty + (a - b - c + d) * tx * ty;
}

// The cone paper's colour and fibre, shared by cone and surround.
float paper(float x, float y, float r)
{
  const float turn = (std::atan2(x - kCx, kCy - y) + kPi) / (2 * kPi);
  // Pressed radially: long in r, fine around the circle.
  const float fibre = 0.65f * wrappedNoise(turn * 560, r / 9.0f, 560, 13) +
                      0.35f * wrappedNoise(turn * 1120, r / 4.0f, 1120, 14) - 0.5f;
  const float fleck = fbm(x / 1.2f, y / 1.2f, 17, 2) - 0.5f;
  return 1.0f + 0.24f * fibre + 0.10f * fleck;
}

Rgba surroundAt(float x, float y, float r)
{
  // A half roll with three corrugations pressed into it.
  const float w = kSurroundR - kConeR, t = (r - kConeR) / w;
  const float roll = -3.0f * kPi / w * std::cos(kPi * t);
  const float ribs = -0.3f * 2 * kPi / 3.0f * std::cos(2 * kPi * (r - kConeR) / 3.0f) * std::sin(kPi * t);
  const V3 n = radialNormal(x, y, kCx, kCy, roll + ribs);
  const float v = (0.05f + 0.17f * diffuse(n) + 0.06f * specular(n, 14)) * paper(x, y, r);
  return tinted(v, 1.08f, 0.98f, 0.88f);
}

Rgba coneAt(float x, float y, float r)
{
  // A curved dish, steeper toward the middle: its far side faces the light.
  const float t = (r - kDustCapR) / (kConeR - kDustCapR);
  const V3 n = radialNormal(x, y, kCx, kCy, -(0.22f + 0.30f * (1 - t)));
  float v = (0.03f + 0.30f * diffuse(n) + 0.05f * specular(n, 10)) * paper(x, y, r);
  // Shade where the cone meets the surround and the dust cap.
  v *= 0.70f + 0.30f * smoothstep(kConeR + 0.5f, kConeR - 10.0f, r);
  v *= 0.55f + 0.45f * smoothstep(kDustCapR + 1.0f, kDustCapR + 12.0f, r);
  return tinted(v, 1.08f, 0.98f, 0.88f);
}

Rgba dustCapAt(float x, float y, float r)
{
  // A felt dome over the voice coil, ringed with glue.
  const float q = std::min(0.97f, r / kDustCapR);
  const float slope = 0.5f * q / std::sqrt(1 - q * q);
  const V3 n = radialNormal(x, y, kCx, kCy, slope);
  const float felt = fbm(x / 0.9f, y / 0.9f, 21, 2) - 0.5f;
  float v = (0.06f + 0.30f * diffuse(n) + 0.10f * specular(n, 8)) * (1 + 0.16f * felt);
  Rgba c = tinted(v, 1.04f, 1.0f, 0.95f);
  const float glue = 1 - smoothstep(1.2f, 2.6f, std::fabs(r - (kDustCapR - 0.8f)));
  const V3 gn = radialNormal(x, y, kCx, kCy, (r - (kDustCapR - 0.8f)) * 0.7f);
  const float gv = 0.03f + 0.08f * diffuse(gn) + 0.45f * specular(gn, 40);
  return lerp(c, tinted(gv, 1.05f, 1.0f, 0.92f), glue);
}

}  // namespace

Rgba SpeakerAt(float x, float y)
{
  const float r = std::hypot(x - kCx, y - kCy);
  // The speaker stands off the baffle by its flange; the light is above left.
  const float shadow = 1 - smoothstep(-10.0f, 14.0f, std::hypot(x - kCx - 4, y - kCy - 7) - kFlangeR);
  Rgba out = withAlpha(0, 0, 0, 0.65f * shadow);
  if (r > kFlangeR + 1) return out;

  Rgba c;
  if (r > kGasketR - 0.5f)
    c = flangeAt(x, y, r);
  else if (r > kSurroundR)
    c = gasketAt(x, y, r);
  else if (r > kConeR)
    c = surroundAt(x, y, r);
  else if (r > kDustCapR + 1.5f)
    c = coneAt(x, y, r);
  else
    c = dustCapAt(x, y, r);
  // Blend across the ring boundaries so none of them is a hard step.
  if (std::fabs(r - kGasketR) < 1) c = lerp(gasketAt(x, y, r), flangeAt(x, y, r), coverage(kGasketR - r));
  if (std::fabs(r - kSurroundR) < 1) c = lerp(surroundAt(x, y, r), gasketAt(x, y, r), coverage(kSurroundR - r));
  if (std::fabs(r - kConeR) < 1) c = lerp(coneAt(x, y, r), surroundAt(x, y, r), coverage(kConeR - r));
  if (std::fabs(r - (kDustCapR + 1.5f)) < 1)
    c = lerp(dustCapAt(x, y, r), coneAt(x, y, r), coverage(kDustCapR + 1.5f - r));
  return over(scaled(c, coverage(r - kFlangeR)), out);
}
