#pragma once
#include <cstdarg>

// Growable NUL-terminated text; Get never returns null.
class WDL_String
{
public:
  WDL_String() = default;
  explicit WDL_String(const char* text) { Set(text); }
  WDL_String(const WDL_String& other) { Set(other.Get()); }
  WDL_String& operator=(const WDL_String& other);
  ~WDL_String();

  const char* Get() const { return buf_ ? buf_ : ""; }
  int GetLength() const { return len_; }

  // maxLen < 0 copies the whole text; otherwise at most maxLen characters.
  void Set(const char* text, int maxLen = -1);
  void Append(const char* text, int maxLen = -1);
  void SetFormatted(int maxLen, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void SetLen(int len);

private:
  bool Reserve(int len);

  char* buf_ = nullptr;
  int len_ = 0;
  int cap_ = 0;
};
