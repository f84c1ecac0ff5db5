#pragma once
// Audio files written through libsndfile from de-interleaved blocks; integer
// outputs clip at full scale (libsndfile's own clipping).
#include <sndfile.h>

#include <string>
#include <vector>

#include "AudioFormat.h"

namespace render {

class AudioWriter
{
public:
  AudioWriter() = default;
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  // fd stays owned by the caller; the writer never closes it.
  bool Open(int fd, const std::string& name, const AudioFormat& format, std::string* error);
  template <class T>
  bool Write(const T* const* channels, int frames, std::string* error);
  // Flushes and closes the file; false when the last writes failed.
  bool Close(std::string* error);
  // True when samples beyond full scale are clipped (integer outputs).
  bool Clips() const { return mClips; }

private:
  SNDFILE* mFile = nullptr;
  std::string mName;
  int mChannels = 0;
  bool mClips = false;
  std::vector<double> mInterleaved;
};

} // namespace render
