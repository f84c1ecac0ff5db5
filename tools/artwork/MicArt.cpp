#include "MicArt.h"

#include <cmath>

#include "ArtworkLayout.h"
#include "Canvas.h"
#include "Shading.h"
#include "lice_blit.h"

using namespace layout;

namespace {

// Frame 1 puts the grille's centre over the dust cap.
constexpr float kAnchorX = kSpeakerX - kMicX, kAnchorY = kSpeakerY - kMicY;
// The microphone hangs from a stand above the panel, leaning a little.
const float kTilt = 10.0f * kPi / 180.0f;
const float kUx = -std::sin(kTilt), kUy = -std::cos(kTilt);  // up the body
const float kVx = -kUy, kVy = kUx;                            // across it
// The profile below is in the units of a 16-pixel grille radius.
constexpr float kScale = 1.18f;

enum Part
{
  kNone,
  kGrille,
  kRing,
  kBody,
  kConnector,
  kCable
};

struct Section
{
  Part part;
  float radius;
};

// The silhouette as a radius along the axis, u measured up from the grille's centre.
Section sectionAt(float u)
{
  if (u < -27) return {kNone, 0};
  if (u < -12)
  {
    const float w = (u + 12) / 15;
    return {kGrille, 16.0f * std::sqrt(std::max(0.0f, 1 - w * w))};
  }
  if (u < 19) return {kGrille, 16.0f};
  if (u < 25) return {kRing, 15.2f};
  if (u < 48) return {kBody, mix(13.6f, 10.6f, smoothstep(25, 48, u))};
  if (u < 172) return {kBody, mix(10.6f, 12.0f, (u - 48) / 124)};
  if (u < 178) return {kRing, 12.3f};
  if (u < 196) return {kConnector, mix(11.2f, 9.0f, (u - 178) / 18)};
  return {kCable, 3.8f};
}

float silhouette(float x, float y)
{
  const float px = x - kAnchorX, py = y - kAnchorY;
  const float u = (px * kUx + py * kUy) / kScale, v = (px * kVx + py * kVy) / kScale;
  // The grille's rounded end, then the radius along the axis.
  if (u < -12) return (std::hypot((u + 12) * 16.0f / 15.0f, v) - 16.0f) * kScale;
  return (std::fabs(v) - sectionAt(u).radius) * kScale;
}

Rgba micAt(float x, float y)
{
  Rgba out;
  // 1. The shadow on the cone: the stand holds the microphone well clear of it.
  const float ds = silhouette(x - 10.0f, y - 13.0f);
  if (ds < 8) out = withAlpha(0, 0, 0, 0.5f * (1 - smoothstep(-6.0f, 8.0f, ds)));

  const float px = x - kAnchorX, py = y - kAnchorY;
  const float u = (px * kUx + py * kUy) / kScale, v = (px * kVx + py * kVy) / kScale;
  const Section s = sectionAt(u);
  if (s.part == kNone) return out;
  const float d = (std::fabs(v) - s.radius) * kScale;
  if (d > 1) return out;

  // 2. A cylinder's normal across its width; the grille's end is a half ellipsoid.
  const float across = std::clamp(v / s.radius, -0.999f, 0.999f);
  const float depth = std::sqrt(1 - across * across);
  V3 n{kVx * across, kVy * across, depth};
  if (s.part == kGrille && u < -12)
  {
    const float w = (u + 12) / 15;
    const float z = std::sqrt(std::max(0.0f, 1 - (v / 16) * (v / 16) - w * w));
    n = normalised({kVx * v / 256 + kUx * w / 15, kVy * v / 256 + kUy * w / 15, z / 16});
  }

  float r = 0, g = 0, b = 0;
  switch (s.part)
  {
    case kGrille:
    {
      // Woven steel mesh: holes on a staggered grid over the curved surface.
      const float arc = std::asin(across) * s.radius;
      const float pitch = 3.0f, rowH = 2.6f;
      const float row = std::floor(u / rowH);
      const float shift = std::fmod(row, 2.0f) == 0 ? 0.0f : pitch * 0.5f;
      const float cu = (row + 0.5f) * rowH, cs = std::round((arc - shift) / pitch) * pitch + shift;
      const float hole = std::hypot((u - cu) * 1.1f, arc - cs) - 0.95f;
      const float wire = chrome(n, 0.55f);
      const float open = coverage(-hole, 0.35f) * smoothstep(-0.995f, -0.8f, -std::fabs(across));
      const float inside = 0.05f + 0.05f * diffuse(n);
      const float vv = mix(wire, inside, open * 0.85f);
      r = vv, g = vv, b = vv * 1.03f;
      break;
    }
    case kRing:
    {
      const float vv = chrome(n);
      r = vv, g = vv, b = vv * 1.02f;
      break;
    }
    case kBody:
    case kConnector:
    {
      // Satin black enamel; the connector shell is dark metal.
      const float base = s.part == kBody ? 0.045f : 0.09f;
      const float vv = base + 0.14f * diffuse(n) + 0.40f * specular(n, 18) + 0.10f * std::pow(1 - depth, 3.0f);
      r = vv, g = vv, b = vv * 1.04f;
      break;
    }
    case kCable:
    {
      const float vv = 0.035f + 0.08f * diffuse(n) + 0.18f * specular(n, 12);
      r = vv, g = vv, b = vv;
      break;
    }
    case kNone:
      break;
  }
  return over(scaled(opaque(clamp01(r), clamp01(g), clamp01(b)), coverage(d)), out);
}

}  // namespace

std::unique_ptr<LICE_MemBitmap> DrawMicStrip()
{
  // One microphone, drawn once, then copied into each frame at its place.
  Canvas c(kMicFrameW, kMicFrameH);
  c.layer(static_cast<int>(kAnchorX) - 80, 0, static_cast<int>(kAnchorX) + 60, kMicFrameH, 3, micAt);
  LICE_MemBitmap sprite(kMicFrameW, kMicFrameH);
  c.quantise(&sprite, 0, 0, 31u);

  auto strip = std::make_unique<LICE_MemBitmap>(kMicFrameW, kMicFrameH * kMicFrames);
  LICE_Clear(strip.get(), 0);
  for (int k = 0; k < kMicFrames; ++k)
  {
    const int dx = static_cast<int>(std::lround(kConeR * static_cast<float>(k) / (kMicFrames - 1)));
    LICE_Blit(strip.get(), &sprite, dx, k * kMicFrameH, 0, 0, kMicFrameW - dx, kMicFrameH, 1.0f, LICE_OP_COPY);
  }
  return strip;
}
