#include "AudioReader.h"

#include <type_traits>

#include "Interleave.h"

namespace render {

AudioReader::~AudioReader()
{
  if (mFile) sf_close(mFile);
}

bool AudioReader::Open(const std::string& path, std::string* error)
{
  SF_INFO info{};
  mFile = sf_open(path.c_str(), SFM_READ, &info);
  if (!mFile)
  {
    const char* why = sf_strerror(nullptr);
    *error = "cannot read " + path + ": " + (why && *why ? why : "not an audio file libsndfile knows");
    return false;
  }
  const int container = info.format & SF_FORMAT_TYPEMASK;
  if (container != SF_FORMAT_WAV && container != SF_FORMAT_FLAC && container != SF_FORMAT_AIFF &&
      container != SF_FORMAT_OGG && container != SF_FORMAT_WAVEX)
  {
    *error = path + " is not a WAV, FLAC, AIFF or Ogg Vorbis file";
    return false;
  }
  if (container == SF_FORMAT_OGG && (info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_VORBIS)
  {
    *error = path + " is an Ogg file but not Ogg Vorbis";
    return false;
  }
  if (info.channels != 1 && info.channels != 2)
  {
    *error = path + " has " + std::to_string(info.channels) + " channels; MURAX renders mono or stereo";
    return false;
  }
  if (info.samplerate < 8000 || info.samplerate > 768000)
  {
    *error = path + " has a sample rate of " + std::to_string(info.samplerate) + " Hz (8000 to 768000 Hz work)";
    return false;
  }
  // Extensible WAV is written back as plain WAV: the same samples, the common header.
  mFormat.format = container == SF_FORMAT_WAVEX ? SF_FORMAT_WAV | (info.format & SF_FORMAT_SUBMASK) : info.format;
  mFormat.format &= SF_FORMAT_TYPEMASK | SF_FORMAT_SUBMASK;
  mFormat.channels = info.channels;
  mFormat.sampleRate = info.samplerate;
  mFormat.frames = info.frames;
  return true;
}

template <class T>
long long AudioReader::Read(T* const* channels, int frames)
{
  const int nc = mFormat.channels;
  mInterleaved.resize(static_cast<size_t>(frames) * static_cast<size_t>(nc));
  sf_count_t got;
  if constexpr (std::is_same<T, float>::value)
  {
    // Reading as float keeps libsndfile's own integer scaling, so 32-bit
    // processing sees exactly what a float reader of the file sees.
    float* buf = reinterpret_cast<float*>(mInterleaved.data());
    got = sf_readf_float(mFile, buf, frames);
    Deinterleave(buf, channels, nc, got);
  }
  else
  {
    got = sf_readf_double(mFile, mInterleaved.data(), frames);
    Deinterleave(mInterleaved.data(), channels, nc, got);
  }
  if (got < frames && sf_error(mFile) != SF_ERR_NO_ERROR) return -1;
  return got;
}

template long long AudioReader::Read<float>(float* const*, int);
template long long AudioReader::Read<double>(double* const*, int);

} // namespace render
