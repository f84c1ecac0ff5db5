#pragma once
#include <algorithm>
#include <cmath>

// Small geometry for artwork: signed distances (negative inside, in pixels),
// the coverage they give a sample, and a fixed studio light.

constexpr float kPi = 3.14159265358979f;

struct V3
{
  float x, y, z;
};

inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float mix(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float v)
{
  const float t = clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
inline V3 normalised(V3 v)
{
  const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Coverage of a sample by a shape at signed distance d, with edges softened
// over `soft` pixels (half a pixel gives a crisp antialiased edge).
inline float coverage(float d, float soft = 0.5f) { return clamp01(0.5f - d / (2 * soft)); }

inline float sdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }
// Box centred on (cx, cy) with half sizes hx, hy and corner radius rad.
inline float sdRoundBox(float x, float y, float cx, float cy, float hx, float hy, float rad)
{
  const float qx = std::fabs(x - cx) - hx + rad, qy = std::fabs(y - cy) - hy + rad;
  return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - rad;
}
// Segment from a to b with radius ra at a and rb at b (a tapered capsule).
inline float sdTaper(float x, float y, float ax, float ay, float bx, float by, float ra, float rb)
{
  const float dx = bx - ax, dy = by - ay, px = x - ax, py = y - ay;
  const float t = clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
  return std::hypot(px - dx * t, py - dy * t) - mix(ra, rb, t);
}
// Regular hexagon, flat sides up and down, inradius r.
inline float sdHexagon(float x, float y, float cx, float cy, float r)
{
  const float kx = -0.866025404f, ky = 0.5f, kz = 0.577350269f;
  float px = std::fabs(x - cx), py = std::fabs(y - cy);
  const float d = 2 * std::min(kx * px + ky * py, 0.0f);
  px -= d * kx, py -= d * ky;
  px -= std::clamp(px, -kz * r, kz * r), py -= r;
  return std::hypot(px, py) * (py > 0 ? 1.0f : -1.0f);
}

// Direction of the hexagon face (of sdHexagon) that the point (dx, dy) from
// its centre lies beyond: faces point at 30, 90, 150... degrees.
inline float hexFaceAngle(float dx, float dy)
{
  const float sixth = kPi / 3;
  return std::round((std::atan2(dy, dx) - sixth / 2) / sixth) * sixth + sixth / 2;
}

// The light every image shares: from the upper left, in front of the panel.
inline V3 lightDir() { return normalised({-0.45f, -0.62f, 0.65f}); }
inline float diffuse(V3 n) { return std::max(0.0f, dot(n, lightDir())); }
inline float specular(V3 n, float shininess)
{
  const V3 l = lightDir();
  const V3 h = normalised({l.x, l.y, l.z + 1.0f});
  return std::pow(std::max(0.0f, dot(n, h)), shininess);
}
// Normal of a surface of revolution about (cx, cy) whose height falls by
// `slope` per pixel outward from the axis (negative slope: a dish).
inline V3 radialNormal(float x, float y, float cx, float cy, float slope)
{
  const float dx = x - cx, dy = y - cy, r = std::max(1e-4f, std::hypot(dx, dy));
  return normalised({dx / r * slope, dy / r * slope, 1.0f});
}

// Polished metal: what the surface mirrors of a studio with a tall soft
// light to the left, a dimmer one to the right and a lit ceiling, plus the
// key light itself. `mirror` 1 is chrome, 0 satin.
inline float chrome(V3 n, float mirror = 0.8f)
{
  // The view ray (0, 0, -1) reflected about n.
  const float rx = 2 * n.z * n.x, ry = 2 * n.z * n.y;
  const float key = std::exp(-(rx + 0.45f) * (rx + 0.45f) / 0.06f);
  const float fill = std::exp(-(rx - 0.7f) * (rx - 0.7f) / 0.04f);
  const float ceiling = smoothstep(0.1f, -0.6f, ry);
  const float env = 0.10f + 0.75f * key + 0.30f * fill + 0.35f * ceiling;
  const float satin = 0.22f + 0.45f * diffuse(n);
  return clamp01(mix(satin, env, mirror) + 0.9f * specular(n, 60));
}
