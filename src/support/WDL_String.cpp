#include "WDL_String.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr int kGranularity = 128;

int BoundedLength(const char* text, int maxLen)
{
  if (!text) return 0;
  if (maxLen < 0) return static_cast<int>(std::strlen(text));
  const void* nul = std::memchr(text, 0, static_cast<size_t>(maxLen));
  return nul ? static_cast<int>(static_cast<const char*>(nul) - text) : maxLen;
}
} // namespace

WDL_String& WDL_String::operator=(const WDL_String& other)
{
  if (this != &other) Set(other.Get());
  return *this;
}

WDL_String::~WDL_String() { std::free(buf_); }

bool WDL_String::Reserve(int len)
{
  if (len < cap_) return true;
  const int want = (len / kGranularity + 1) * kGranularity;
  char* nb = static_cast<char*>(std::realloc(buf_, static_cast<size_t>(want)));
  if (!nb) return false;
  buf_ = nb;
  cap_ = want;
  return true;
}

void WDL_String::Set(const char* text, int maxLen)
{
  const int n = BoundedLength(text, maxLen);
  if (!Reserve(n)) return;
  if (n) std::memmove(buf_, text, static_cast<size_t>(n));
  buf_[n] = 0;
  len_ = n;
}

void WDL_String::Append(const char* text, int maxLen)
{
  const int n = BoundedLength(text, maxLen);
  if (!Reserve(len_ + n)) return;
  if (n) std::memmove(buf_ + len_, text, static_cast<size_t>(n));
  len_ += n;
  buf_[len_] = 0;
}

void WDL_String::SetLen(int len)
{
  if (len < 0 || !Reserve(len)) return;
  if (len > len_) std::memset(buf_ + len_, 0, static_cast<size_t>(len - len_));
  buf_[len] = 0;
  len_ = static_cast<int>(std::strlen(buf_));
}

void WDL_String::SetFormatted(int maxLen, const char* format, ...)
{
  if (maxLen < 1 || !Reserve(maxLen)) return;
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buf_, static_cast<size_t>(maxLen) + 1, format, args);
  va_end(args);
  if (n < 0) buf_[0] = 0;
  len_ = static_cast<int>(std::strlen(buf_));
}
