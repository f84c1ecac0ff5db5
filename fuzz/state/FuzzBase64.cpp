#include <cstdint>
#include <cstring>
#include <vector>

#include "Base64.h"

#define FUZZ_CHECK(condition) \
  do \
  { \
    if (!(condition)) __builtin_trap(); \
  } while (0)

// Decoding any text never writes past the size; encoding any bytes decodes
// back to them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 1 << 16) return 0;
  const int n = static_cast<int>(size);

  std::vector<char> text(data, data + size);
  text.push_back(0);
  const int outSize = size ? data[0] : 0;
  std::vector<unsigned char> out(static_cast<size_t>(outSize) + 1, 0xEE);
  const int written = Base64Decode(text.data(), out.data(), outSize);
  FUZZ_CHECK(written >= 0 && written <= outSize && out[static_cast<size_t>(outSize)] == 0xEE);

  std::vector<char> encoded(static_cast<size_t>(Base64EncodedLength(n)) + 1);
  FUZZ_CHECK(Base64Encode(data, n, encoded.data(), static_cast<int>(encoded.size())) == Base64EncodedLength(n));
  std::vector<unsigned char> decoded(size + 1);
  FUZZ_CHECK(Base64Decode(encoded.data(), decoded.data(), n) == n);
  FUZZ_CHECK(!n || std::memcmp(decoded.data(), data, size) == 0);
  return 0;
}
