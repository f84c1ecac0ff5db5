#include "FuzzPlug.h"

// Any bank bytes: names stay terminated, values in range, and a bank that
// reads to its end writes out a bank that reads back to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const uint8_t* bytes;
  size_t n;
  const int start = FuzzStartPos(data, size, &bytes, &n);
  ByteChunk chunk;
  chunk.AppendBytes(bytes, static_cast<int>(n));

  IPlugHeadless* plug = MakeFuzzPlug();
  const int pos = plug->UnserializePresets(&chunk, start);
  FUZZ_CHECK(start < 0 ? pos == start : (pos == -1 || (pos >= start && pos <= chunk.Size())));
  CheckParamsInRange(*plug);
  for (int i = 0; i < plug->GetPresetCount(); ++i)
    FUZZ_CHECK(std::strlen(plug->GetPresetName(i)) < static_cast<size_t>(IPreset::kNameSize));

  if (pos >= 0)
  {
    ByteChunk bank, again;
    FUZZ_CHECK(plug->SerializePresets(&bank));
    IPlugHeadless* copy = MakeFuzzPlug();
    FUZZ_CHECK(copy->UnserializePresets(&bank, 0) == bank.Size());
    FUZZ_CHECK(copy->SerializePresets(&again));
    FUZZ_CHECK(again.IsEqual(&bank));
    delete copy;
  }
  delete plug;
  return 0;
}
