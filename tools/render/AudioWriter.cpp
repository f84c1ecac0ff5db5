#include "AudioWriter.h"

#include <type_traits>

#include "Interleave.h"

namespace render {

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
