#include "AudioFile.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace render {

namespace {
struct Named
{
  const char* name;
  int value;
};
constexpr Named kContainers[] = {{"wav", SF_FORMAT_WAV}, {"flac", SF_FORMAT_FLAC}, {"aiff", SF_FORMAT_AIFF},
                                 {"ogg", SF_FORMAT_OGG}};
constexpr Named kSubtypes[] = {{"pcm16", SF_FORMAT_PCM_16}, {"pcm24", SF_FORMAT_PCM_24}, {"pcm32", SF_FORMAT_PCM_32},
                               {"float", SF_FORMAT_FLOAT},  {"double", SF_FORMAT_DOUBLE}, {"vorbis", SF_FORMAT_VORBIS}};

bool Supported(int format)
{
  SF_INFO info{};
  info.format = format;
  info.channels = 1;
  info.samplerate = 48000;
  return sf_format_check(&info) != 0;
}

// Stereo, the common case, gets loops the compiler can keep in registers.
template <class T>
void Deinterleave(const T* in, T* const* out, int nc, long long frames)
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
void Interleave(const T* const* in, T* out, int nc, long long frames)
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

// The subtype a container gets when the input's cannot be kept.
int DefaultSubtype(int container)
{
  return container == SF_FORMAT_OGG ? SF_FORMAT_VORBIS : SF_FORMAT_PCM_24;
}
} // namespace

std::string DescribeFormat(int format)
{
  const int container = format & SF_FORMAT_TYPEMASK, subtype = format & SF_FORMAT_SUBMASK;
  const char* c = container == SF_FORMAT_WAV    ? "WAV"
                  : container == SF_FORMAT_FLAC ? "FLAC"
                  : container == SF_FORMAT_AIFF ? "AIFF"
                  : container == SF_FORMAT_OGG  ? "Ogg"
                                                : "audio";
  const char* s = subtype == SF_FORMAT_PCM_16   ? "16-bit PCM"
                  : subtype == SF_FORMAT_PCM_24 ? "24-bit PCM"
                  : subtype == SF_FORMAT_PCM_32 ? "32-bit PCM"
                  : subtype == SF_FORMAT_PCM_S8 || subtype == SF_FORMAT_PCM_U8 ? "8-bit PCM"
                  : subtype == SF_FORMAT_FLOAT  ? "32-bit float"
                  : subtype == SF_FORMAT_DOUBLE ? "64-bit float"
                  : subtype == SF_FORMAT_VORBIS ? "Vorbis"
                                                : "other encoding";
  return std::string(c) + ", " + s;
}

const char* FileExtension(int format)
{
  for (const Named& c : kContainers)
    if ((format & SF_FORMAT_TYPEMASK) == c.value) return c.name;
  return "wav";
}

bool IsIntegerSubtype(int format)
{
  const int s = format & SF_FORMAT_SUBMASK;
  return s == SF_FORMAT_PCM_S8 || s == SF_FORMAT_PCM_U8 || s == SF_FORMAT_PCM_16 || s == SF_FORMAT_PCM_24 ||
         s == SF_FORMAT_PCM_32;
}

bool ChooseOutputFormat(const std::string& spec, int inputFormat, int* format, std::string* error)
{
  if (spec.empty())
  {
    *format = inputFormat;
    return true;
  }
  const size_t colon = spec.find(':');
  const std::string containerName = spec.substr(0, colon);
  int container = 0, subtype = 0;
  for (const Named& c : kContainers)
    if (containerName == c.name) container = c.value;
  if (!container)
  {
    *error = "unknown output format \"" + containerName + "\" (wav, flac, aiff or ogg)";
    return false;
  }
  if (colon != std::string::npos)
  {
    const std::string subtypeName = spec.substr(colon + 1);
    for (const Named& s : kSubtypes)
      if (subtypeName == s.name) subtype = s.value;
    if (!subtype)
    {
      *error = "unknown sample format \"" + subtypeName + "\" (pcm16, pcm24, pcm32, float, double, vorbis)";
      return false;
    }
    if (!Supported(container | subtype))
    {
      *error = containerName + " files cannot hold " + subtypeName + " samples";
      return false;
    }
  }
  else
  {
    subtype = inputFormat & SF_FORMAT_SUBMASK;
    if (!Supported(container | subtype)) subtype = DefaultSubtype(container);
  }
  *format = container | subtype;
  return true;
}

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

AudioWriter::~AudioWriter()
{
  if (mFile) sf_close(mFile);
}

bool AudioWriter::Open(int fd, const std::string& name, const AudioFormat& format, std::string* error)
{
  SF_INFO info{};
  info.format = format.format;
  info.channels = format.channels;
  info.samplerate = format.sampleRate;
  if (!sf_format_check(&info))
  {
    *error = "cannot write " + DescribeFormat(format.format) + " at " + std::to_string(format.sampleRate) +
             " Hz with " + std::to_string(format.channels) + " channel(s)";
    return false;
  }
  mFile = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
  if (!mFile)
  {
    *error = "cannot write " + name + ": " + sf_strerror(nullptr);
    return false;
  }
  mName = name;
  mChannels = format.channels;
  mClips = IsIntegerSubtype(format.format);
  if (mClips) sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  // The peak chunk of float files carries the time of writing; without it the
  // same render gives the same bytes.
  sf_command(mFile, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  if ((format.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS)
  {
    double quality = 0.6;
    sf_command(mFile, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
  }
  return true;
}

template <class T>
bool AudioWriter::Write(const T* const* channels, int frames, std::string* error)
{
  const int nc = mChannels;
  mInterleaved.resize(static_cast<size_t>(frames) * static_cast<size_t>(nc));
  sf_count_t wrote;
  if constexpr (std::is_same<T, float>::value)
  {
    float* buf = reinterpret_cast<float*>(mInterleaved.data());
    Interleave(channels, buf, nc, frames);
    wrote = sf_writef_float(mFile, buf, frames);
  }
  else
  {
    Interleave(channels, mInterleaved.data(), nc, frames);
    wrote = sf_writef_double(mFile, mInterleaved.data(), frames);
  }
  if (wrote != frames)
  {
    *error = "writing " + mName + " failed: " + sf_strerror(mFile);
    return false;
  }
  return true;
}

template bool AudioWriter::Write<float>(const float* const*, int, std::string*);
template bool AudioWriter::Write<double>(const double* const*, int, std::string*);

bool AudioWriter::Close(std::string* error)
{
  if (!mFile) return true;
  const int err = sf_error(mFile);
  const int closed = sf_close(mFile);
  mFile = nullptr;
  if (err != SF_ERR_NO_ERROR || closed != 0)
  {
    *error = "writing " + mName + " failed";
    return false;
  }
  return true;
}

} // namespace render
