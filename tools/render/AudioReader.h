#pragma once
// Audio files read through libsndfile in blocks of de-interleaved samples.
#include <sndfile.h>

#include <string>
#include <vector>

#include "AudioFormat.h"

namespace render {

class AudioReader
{
public:
  AudioReader() = default;
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  bool Open(const std::string& path, std::string* error);
  const AudioFormat& Format() const { return mFormat; }
  // Up to frames frames into channels[0..channels-1]; returns the count read
  // (0 at the end, -1 on a read error).
  template <class T>
  long long Read(T* const* channels, int frames);

private:
  SNDFILE* mFile = nullptr;
  AudioFormat mFormat;
  std::vector<double> mInterleaved;
};

} // namespace render
