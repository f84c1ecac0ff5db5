#pragma once
#include <cmath>
#include <cstdint>

// Reproducible noise: every value is a pure function of its position and
// seed, so the images come out identical on every build.

inline uint32_t hash3(int x, int y, unsigned seed)
{
  uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  h *= 0x297a2d39u;
  h ^= h >> 15;
  return h;
}

// Uniform in [0, 1).
inline float hash01(int x, int y, unsigned seed) { return static_cast<float>(hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

// Smooth value noise in [0, 1) with features one unit apart.
inline float valueNoise(float x, float y, unsigned seed)
{
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx), ty = ty * ty * (3 - 2 * ty);
  const float a = hash01(ix, iy, seed), b = hash01(ix + 1, iy, seed);
  const float c = hash01(ix, iy + 1, seed), d = hash01(ix + 1, iy + 1, seed);
  return a + (b - a) * tx + (c - a) * ty + (a - b - c + d) * tx * ty;
}

// Octaves of value noise, each half the size and weight of the one before.
inline float fbm(float x, float y, unsigned seed, int octaves)
{
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i)
  {
    sum += amp * valueNoise(x, y, seed + 17u * static_cast<unsigned>(i));
    norm += amp;
    x = x * 2.03f + 11.7f, y = y * 2.03f + 5.3f;
    amp *= 0.5f;
  }
  return sum / norm;
}
