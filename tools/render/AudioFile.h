#pragma once
// Audio files through libsndfile: a reader that hands out blocks of
// de-interleaved samples and a writer that takes them back. Integer outputs
// clip at full scale (libsndfile's own clipping).
#include <sndfile.h>

#include <string>
#include <vector>

namespace render {

struct AudioFormat
{
  int format = 0;      // libsndfile container | subtype
  int channels = 0;
  int sampleRate = 0;
  long long frames = 0;
};

// "WAV, 24-bit PCM" and the like.
std::string DescribeFormat(int format);
// The output format for "wav", "flac:pcm16", …; the input's format when spec
// is empty. The input's subtype is kept when the container supports it.
bool ChooseOutputFormat(const std::string& spec, int inputFormat, int* format, std::string* error);
// "wav", "flac", "aiff" or "ogg".
const char* FileExtension(int format);
// True for subtypes stored as integers (these clip at full scale).
bool IsIntegerSubtype(int format);

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
