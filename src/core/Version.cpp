#include "Version.h"

#include <cstdio>

void GetVersionParts(int version, int* major, int* minor, int* revision)
{
  const int maj = static_cast<int>(static_cast<unsigned>(version) / 65536u);
  const int min = (version >> 8) & 0xFF;
  const int rev = version & 0xFF;
  if (major) *major = maj;
  if (minor) *minor = min;
  if (revision) *revision = rev;
}

int GetDecimalVersion(int version)
{
  int major, minor, revision;
  GetVersionParts(version, &major, &minor, &revision);
  return major * 10000 + minor * 100 + revision;
}

void GetVersionStr(int version, char* text)
{
  if (!text) return;
  int major, minor, revision;
  GetVersionParts(version, &major, &minor, &revision);
  std::snprintf(text, kVersionStrSize, "v%d.%d.%d", major, minor, revision);
}
