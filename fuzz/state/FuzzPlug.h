#pragma once
#include <cstdint>
#include <cstring>

#include "IPlugHeadless.h"

// Five parameters like the cabinet effect's (four knobs 0..10, one switch 0..1)
// and three presets, so banks hold several records.
inline IPlugHeadless* MakeFuzzPlug()
{
  auto* plug = new IPlugHeadless(IPlugInstanceInfo{}, 5, "1-1 2-2", 3, "Fuzz", "", "Maker", 0x00010000, 0x4D525831,
                                 0x54646D72, 0, false, false, false);
  for (int i = 0; i < 4; ++i) plug->GetParam(i)->InitDouble("Knob", 5.0, 0.0, 10.0, 0.1);
  plug->GetParam(4)->InitInt("Bypass", 1, 0, 1);
  plug->MakeDefaultPreset("-", 1);
  return plug;
}

// The first input byte picks a start position a little around the data.
inline int FuzzStartPos(const uint8_t* data, size_t size, const uint8_t** rest, size_t* restSize)
{
  if (!size)
  {
    *rest = data;
    *restSize = 0;
    return 0;
  }
  *rest = data + 1;
  *restSize = size - 1;
  return static_cast<int>(data[0] % 16) - 4;
}

#define FUZZ_CHECK(condition) \
  do \
  { \
    if (!(condition)) __builtin_trap(); \
  } while (0)

inline void CheckParamsInRange(const IPlugBase& plug)
{
  for (int i = 0; i < plug.GetParamCount(); ++i)
  {
    const IParam* param = plug.GetParam(i);
    FUZZ_CHECK(param->Value() >= param->GetMin() && param->Value() <= param->GetMax());
  }
}
