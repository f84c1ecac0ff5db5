#include "DemoFile.h"

#include <vector>

#include "AudioWriter.h"
#include "DemoPhrase.h"
#include "OutputFile.h"

namespace render {

bool WriteDemoPhrase(const std::string& path, std::string* error)
{
  std::vector<float> left, right;
  MakeDemoPhrase(&left, &right);
  OutputFile file;
  if (!file.Create(path, error)) return false;
  AudioWriter writer;
  AudioFormat format;
  format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  format.channels = 2;
  format.sampleRate = kDemoRate;
  if (!writer.Open(file.Fd(), path, format, error)) return false;
  const float* channels[2] = {left.data(), right.data()};
  if (!writer.Write(channels, static_cast<int>(left.size()), error) || !writer.Close(error)) return false;
  return file.Commit(error);
}

} // namespace render
