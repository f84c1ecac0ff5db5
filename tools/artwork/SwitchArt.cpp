#include "SwitchArt.h"

#include <cmath>

#include "ArtworkLayout.h"
#include "Canvas.h"
#include "Shading.h"

using namespace layout;

namespace {

constexpr float kWasherR = 15.0f, kNutR = 10.5f, kBezelR = 12.0f, kJewelR = 8.6f;

Rgba toggleAt(float x, float y, bool up)
{
  Rgba out;
  const float dx = x - kToggleX, dy = y - kToggleY;
  // The lever, foreshortened: it leans out of the panel toward the viewer.
  const float dir = up ? -1.0f : 1.0f;
  const float tipX = kToggleX + 1.0f, tipY = kToggleY + dir * 20.0f;
  const float lever = sdTaper(x, y, kToggleX, kToggleY, tipX, tipY, 3.4f, 4.6f);
  const float ball = sdCircle(x, y, tipX, tipY, 5.2f);
  const float shape = std::min(lever, ball);

  // 1. Shadows on the panel: washer and lever.
  const float sw = 1.0f - smoothstep(-2.0f, 4.5f, sdCircle(x, y, kToggleX + 1.5f, kToggleY + 2.5f, kWasherR));
  const float sl = 1.0f - smoothstep(-2.5f, 4.0f, std::min(sdTaper(x, y, kToggleX + 3, kToggleY + 4, tipX + 4, tipY + 5, 3.4f, 4.6f),
                                                           sdCircle(x, y, tipX + 4, tipY + 5, 5.2f)));
  out = over(withAlpha(0, 0, 0, std::max(sw * 0.55f, sl * 0.45f)), out);

  // 2. The washer, a thin chrome ring, and the hex nut on it.
  const float r = std::hypot(dx, dy);
  if (r < kWasherR + 1)
  {
    const V3 n = radialNormal(x, y, kToggleX, kToggleY, 0.25f + 1.2f * smoothstep(kWasherR - 2.0f, kWasherR, r));
    const float v = chrome(n, 0.5f) * 0.9f;
    out = over(scaled(opaque(v, v, v * 1.02f), coverage(r - kWasherR)), out);
    const float hex = sdHexagon(x, y, kToggleX, kToggleY, kNutR);
    out = over(withAlpha(0, 0, 0, 0.6f * (1 - smoothstep(-0.5f, 2.5f, hex))), out);
    if (hex < 1)
    {
      // Each face tilts away from the centre; the top is flat.
      const float sector = hexFaceAngle(dx, dy);
      const bool top = hex < -2.2f;
      const V3 fn = top ? V3{0, 0, 1} : normalised({std::cos(sector) * 0.7f, std::sin(sector) * 0.7f, 1.0f});
      float hv = chrome(fn, 0.7f);
      if (top) hv = 0.42f + 0.12f * (1 - r / kNutR);
      out = over(scaled(opaque(hv, hv, hv * 1.02f), coverage(hex)), out);
      // The threaded bushing the lever comes out of.
      const float rb = r - 5.2f;
      const V3 bn = radialNormal(x, y, kToggleX, kToggleY, 0.8f);
      const float bv = chrome(bn) * 0.7f;
      out = over(scaled(opaque(bv, bv, bv), coverage(rb)), out);
      out = over(withAlpha(0.02f, 0.02f, 0.02f, coverage(r - 2.6f)), out);
    }
  }

  // 3. The lever: a chrome rod, lit across its width, with a ball end.
  if (shape < 1)
  {
    const float ax = tipX - kToggleX, ay = tipY - kToggleY, len = std::hypot(ax, ay);
    const float t = clamp01((dx * ax + dy * ay) / (len * len));
    const float across = (dx * -ay + dy * ax) / len / mix(3.4f, 4.6f, t);
    V3 n = normalised({-ay / len * across, ax / len * across, std::sqrt(std::max(0.05f, 1 - across * across))});
    if (ball < lever) n = normalised({(x - tipX) / 5.2f, (y - tipY) / 5.2f, 0.8f});
    // The rod points toward the viewer as it leaves the bushing.
    n = normalised({n.x, n.y - dir * 0.35f * (1 - t), n.z});
    const float v = chrome(n);
    out = over(scaled(opaque(v, v, v * 1.03f), coverage(shape)), out);
  }
  return out;
}

Rgba lampAt(float x, float y, bool lit)
{
  Rgba out;
  const float dx = x - kLampX, dy = y - kLampY, r = std::hypot(dx, dy);
  // 1. Warm glow on the panel around a lit lamp; a shadow around a dark one.
  if (lit)
  {
    const float g = std::exp(-std::max(0.0f, r - kBezelR) / 6.5f) * (1 - smoothstep(kBezelR + 9, kBezelR + 22, r));
    out = over(withAlpha(1.0f, 0.32f, 0.12f, 0.42f * g), out);
  }
  const float sh = 1.0f - smoothstep(-2.0f, 4.0f, sdCircle(x, y, kLampX + 1.5f, kLampY + 2.5f, kBezelR));
  out = over(withAlpha(0, 0, 0, sh * 0.5f), out);
  if (r > kBezelR + 1) return out;

  // 2. The bezel: a knurled chrome ring.
  {
    const float t = smoothstep(kJewelR, kBezelR, r);
    V3 n = radialNormal(x, y, kLampX, kLampY, -0.9f + 2.2f * t);
    const float knurl = std::sin(std::atan2(dx, -dy) * 24.0f) * smoothstep(kBezelR - 2.5f, kBezelR - 1.0f, r);
    n = normalised({n.x - dy / std::max(r, 1e-3f) * knurl * 0.4f, n.y + dx / std::max(r, 1e-3f) * knurl * 0.4f, n.z});
    const float v = chrome(n) * 0.9f;
    out = over(scaled(opaque(v, v, v * 1.02f), coverage(r - kBezelR)), out);
  }
  // 3. The jewel: a faceted ruby dome, glowing from inside when lit.
  if (r < kJewelR + 1)
  {
    const float facet = std::round(std::atan2(dy, dx) / (kPi / 4)) * (kPi / 4);
    const bool centre = r < 3.6f;
    const float tilt = centre ? 0.0f : 0.55f + 0.35f * (r / kJewelR);
    const V3 n = normalised({std::cos(facet) * tilt, std::sin(facet) * tilt, 1.0f});
    Rgba jewel;
    if (lit)
    {
      const float core = std::exp(-r * r / 30.0f);
      jewel = opaque(mix(0.86f, 1.0f, core), mix(0.10f, 0.78f, core), mix(0.04f, 0.45f, core));
      const float f = 0.8f + 0.25f * diffuse(n);
      jewel = opaque(std::min(1.0f, jewel.r * f), jewel.g * f, jewel.b * f);
    }
    else
    {
      const float v = 0.10f + 0.12f * diffuse(n);
      jewel = opaque(v * 1.5f, v * 0.22f, v * 0.18f);
    }
    const float s = specular(n, 70) * 0.9f;
    jewel = opaque(std::min(1.0f, jewel.r + s), std::min(1.0f, jewel.g + s), std::min(1.0f, jewel.b + s));
    // A dark seat where the glass meets the bezel.
    jewel = scaled(jewel, 0.55f + 0.45f * (1 - smoothstep(kJewelR - 1.2f, kJewelR, r)));
    jewel.a = 1;
    out = over(scaled(jewel, coverage(r - kJewelR)), out);
  }
  return out;
}

}  // namespace

std::unique_ptr<LICE_MemBitmap> DrawSwitchStrip()
{
  auto strip = std::make_unique<LICE_MemBitmap>(kSwitchW, kSwitchH * 2);
  for (int frame = 0; frame < 2; ++frame)
  {
    const bool running = frame == 1;
    Canvas c(kSwitchW, kSwitchH);
    c.layer(3, [running](float x, float y) { return lampAt(x, y, running); });
    c.layer(3, [running](float x, float y) { return toggleAt(x, y, running); });
    c.quantise(strip.get(), 0, frame * kSwitchH, 7u + static_cast<unsigned>(frame));
  }
  return strip;
}
