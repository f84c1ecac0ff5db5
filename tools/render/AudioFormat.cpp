#include "AudioFormat.h"

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

bool ChooseOutputFormat(const std::string& formatText, int inputFormat, int* format, std::string* error)
{
  if (formatText.empty())
  {
    *format = inputFormat;
    return true;
  }
  const size_t colon = formatText.find(':');
  const std::string containerName = formatText.substr(0, colon);
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
    const std::string subtypeName = formatText.substr(colon + 1);
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

} // namespace render
