#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "IPlugHeadless.h"
#include "../WindowlessEditor.h"

// Five parameters laid out like the cabinet effect: four knobs 0..10 in steps
// of 0.1 (defaults 0, 5, 5, 5) and an int switch 0..1 (default 1). It records
// the hooks a restore must call and can carry an editor that records redraws.
class StatePlug : public IPlugHeadless
{
public:
  // Without initParams every parameter stays of kind none, for tests that set their own kinds.
  explicit StatePlug(int nPresets = 1, int nParams = 5, bool initParams = true)
    : IPlugHeadless(IPlugInstanceInfo{}, nParams, "1-1 2-2", nPresets, "StateTest", "", "Maker", 0x00010000,
                    0x4D525831, 0x54646D72, 0, false, false, false)
  {
    if (!initParams) return;
    static const double kDefaults[] = {0.0, 5.0, 5.0, 5.0};
    for (int i = 0; i < nParams && i < 4; ++i) GetParam(i)->InitDouble("Knob", kDefaults[i], 0.0, 10.0, 0.1);
    if (nParams > 4) GetParam(4)->InitInt("Bypass", 1, 0, 1);
  }

  void OnParamChange(int paramIdx) override
  {
    IPlugHeadless::OnParamChange(paramIdx);
    changed.push_back(paramIdx);
  }
  void PresetsChangedByHost() override { ++presetChanges; }

  std::vector<int> changed;
  int presetChanges = 0;
  using IPlugBase::mCurrentPresetIdx;
  using IPlugBase::mPresets;
};

// Records what the base tells an attached editor.
class RecordingEditor : public WindowlessEditor
{
public:
  struct Call
  {
    int paramIdx;
    double value;
    bool normalized;
  };
  explicit RecordingEditor(std::vector<Call>* calls) : mCalls(calls) {}
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override
  {
    mCalls->push_back({paramIdx, value, normalized});
  }

private:
  std::vector<Call>* mCalls;
};

inline std::vector<unsigned char> BytesOf(const ByteChunk& chunk)
{
  return chunk.Size() ? std::vector<unsigned char>(chunk.Data(), chunk.Data() + chunk.Size())
                      : std::vector<unsigned char>();
}

inline std::vector<unsigned char> BytesOfDoubles(std::initializer_list<double> values)
{
  std::vector<unsigned char> bytes(values.size() * sizeof(double));
  if (!bytes.empty()) std::memcpy(bytes.data(), values.begin(), bytes.size());
  return bytes;
}

inline void FillChunk(ByteChunk* chunk, const std::vector<unsigned char>& bytes)
{
  chunk->Clear();
  chunk->AppendBytes(bytes.data(), static_cast<int>(bytes.size()));
}

inline std::string Hex(const std::vector<unsigned char>& bytes)
{
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char b : bytes)
  {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

inline std::vector<double> ValuesOf(const IPlugBase& plug)
{
  std::vector<double> values;
  for (int i = 0; i < plug.GetParamCount(); ++i) values.push_back(plug.GetParam(i)->Value());
  return values;
}
