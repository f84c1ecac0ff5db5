#pragma once
// Between libsndfile's interleaved frames and the plug-in's channel buffers.
namespace render {

// Stereo, the common case, gets loops the compiler can keep in registers.
template <class T>
inline void Deinterleave(const T* in, T* const* out, int nc, long long frames)
{
  if (nc == 2)
  {
    T* l = out[0];
    T* r = out[1];
    for (long long i = 0; i < frames; ++i)
    {
      l[i] = in[2 * i];
      r[i] = in[2 * i + 1];
    }
    return;
  }
  for (long long i = 0; i < frames; ++i)
    for (int c = 0; c < nc; ++c) out[c][i] = in[i * nc + c];
}

template <class T>
inline void Interleave(const T* const* in, T* out, int nc, long long frames)
{
  if (nc == 2)
  {
    const T* l = in[0];
    const T* r = in[1];
    for (long long i = 0; i < frames; ++i)
    {
      out[2 * i] = l[i];
      out[2 * i + 1] = r[i];
    }
    return;
  }
  for (long long i = 0; i < frames; ++i)
    for (int c = 0; c < nc; ++c) out[i * nc + c] = in[c][i];
}

} // namespace render
