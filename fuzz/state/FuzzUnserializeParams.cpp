#include "FuzzPlug.h"

// Any bytes from any start: the answer is -1, the start itself when it was
// negative, or the position after five doubles; every value stays in range.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static IPlugHeadless* plug = MakeFuzzPlug();
  const uint8_t* bytes;
  size_t n;
  const int start = FuzzStartPos(data, size, &bytes, &n);
  ByteChunk chunk;
  chunk.AppendBytes(bytes, static_cast<int>(n));
  const int pos = plug->UnserializeParams(&chunk, start);
  FUZZ_CHECK(start < 0 ? pos == start : (pos == -1 || pos == start + 40));
  CheckParamsInRange(*plug);
  return 0;
}
