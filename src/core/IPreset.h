#pragma once
#include "Containers.h"
#include "WDL_PtrList.h"

// One named snapshot of the parameter state. Not initialised means the chunk
// is empty; the preset operations of IPlugBase keep it that way.
struct IPreset
{
  static constexpr int kNameSize = 256; // 255 characters and a terminator

  bool mInitialized = false;
  char mName[kNameSize] = "empty";
  ByteChunk mChunk;
};

// The first preset in list order that is not initialised, or null.
IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* presets);

// Writes "user preset <n>" into name (IPreset::kNameSize bytes), n being one
// more than the number of presets whose name contains "user preset".
void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* presets, char* name);
