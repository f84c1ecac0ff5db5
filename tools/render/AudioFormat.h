#pragma once
// Audio file formats as libsndfile numbers them: the names the command line
// uses, the descriptions the summary shows, and the choice of output format.
#include <sndfile.h>

#include <string>

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
// The output format for "wav", "flac:pcm16", …; the input's format when formatText
// is empty. The input's subtype is kept when the container supports it.
bool ChooseOutputFormat(const std::string& formatText, int inputFormat, int* format, std::string* error);
// "wav", "flac", "aiff" or "ogg".
const char* FileExtension(int format);
// True for subtypes stored as integers (these clip at full scale).
bool IsIntegerSubtype(int format);

} // namespace render
