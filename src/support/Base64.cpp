#include "Base64.h"

namespace
{
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
static_assert(sizeof kAlphabet == 65, "64 characters and a terminator");

int SextetOf(char c)
{
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}
} // namespace

int Base64EncodedLength(int n)
{
  if (n <= 0) return 0;
  const long long length = (static_cast<long long>(n) + 2) / 3 * 4;
  return length > 0x7ffffffeLL ? -1 : static_cast<int>(length); // room for the terminator
}

int Base64Encode(const void* data, int n, char* text, int textSize)
{
  if (n < 0) n = 0;
  const int length = Base64EncodedLength(n);
  if (!text || textSize <= 0) return -1;
  if (length < 0 || length >= textSize || (n && !data))
  {
    text[0] = 0;
    return -1;
  }

  const auto* in = static_cast<const unsigned char*>(data);
  char* out = text;
  int i = 0;
  for (; i + 3 <= n; i += 3)
  {
    const unsigned group = (unsigned(in[i]) << 16) | (unsigned(in[i + 1]) << 8) | in[i + 2];
    *out++ = kAlphabet[(group >> 18) & 63];
    *out++ = kAlphabet[(group >> 12) & 63];
    *out++ = kAlphabet[(group >> 6) & 63];
    *out++ = kAlphabet[group & 63];
  }
  if (const int rest = n - i)
  {
    const unsigned group = (unsigned(in[i]) << 16) | (rest == 2 ? unsigned(in[i + 1]) << 8 : 0u);
    *out++ = kAlphabet[(group >> 18) & 63];
    *out++ = kAlphabet[(group >> 12) & 63];
    *out++ = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    *out++ = '=';
  }
  *out = 0;
  return length;
}

int Base64Decode(const char* text, void* out, int outSize)
{
  if (!text || !out || outSize <= 0) return 0;
  auto* bytes = static_cast<unsigned char*>(out);
  unsigned pending = 0; // never more than 14 bits: a byte leaves as soon as 8 are there
  int nPending = 0;
  int written = 0;
  for (const char* p = text; *p && written < outSize; ++p)
  {
    const int sextet = SextetOf(*p);
    if (sextet < 0) break;
    pending = ((pending << 6) | static_cast<unsigned>(sextet)) & 0x3fff;
    nPending += 6;
    if (nPending >= 8)
    {
      nPending -= 8;
      bytes[written++] = static_cast<unsigned char>(pending >> nPending);
    }
  }
  return written;
}
