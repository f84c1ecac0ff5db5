#pragma once
#include "Containers.h"

// One named snapshot of the parameter state.
struct IPreset
{
  static constexpr int kNameSize = 256; // 255 characters and a terminator

  bool mInitialized = false;
  char mName[kNameSize] = "empty";
  ByteChunk mChunk;
};
