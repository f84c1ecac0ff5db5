#include "IPlugBase.h"

#include <cmath>
#include <cstring>

#include "Log.h"

namespace
{
// Saturates instead of leaving the float range, which C++ leaves undefined.
float ToSingle(double v)
{
  constexpr double kMax = 3.4028234663852886e38;
  if (v > kMax) return HUGE_VALF;
  if (v < -kMax) return -HUGE_VALF;
  return static_cast<float>(v);
}
} // namespace

bool IPlugBase::SerializeParams(ByteChunk* chunk)
{
  if (!chunk) return false;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < GetParamCount(); ++i)
  {
    const IParam* param = GetParam(i);
    const double v = param->Value();
    const int before = chunk->Size();
    TRACE_LOC("SerializeParams", "%d %s %f", i, param->GetNameForHost(), v);
    if (chunk->Append(&v) != before + static_cast<int>(sizeof v)) return false;
  }
  return true;
}

int IPlugBase::UnserializeParams(const ByteChunk* chunk, int startPos)
{
  static const ByteChunk kNoBytes;
  if (!chunk) chunk = &kNoBytes;
  WDL_MutexLock lock(&mMutex);
  int pos = startPos;
  for (int i = 0; i < GetParamCount() && pos >= 0; ++i)
  {
    IParam* param = GetParam(i);
    double v = 0.0; // what a short chunk leaves behind, clamped into the range below
    pos = chunk->Read(&v, pos);
    // Clamping passes NaN through and turns infinities into a bound no one stored.
    param->Set(std::isfinite(v) ? v : param->GetDefault());
    TRACE_LOC("UnserializeParams", "%d %s %f", i, param->GetNameForHost(), param->Value());
  }
  for (int i = 0; i < GetParamCount(); ++i) OnParamChange(i);
  return pos;
}

bool IPlugBase::CompareState(const unsigned char* data, int startPos)
{
  if (!GetParamCount()) return true;
  if (!data || startPos < 0) return false;
  for (int i = 0; i < GetParamCount(); ++i)
  {
    double stored;
    std::memcpy(&stored, data + (static_cast<size_t>(startPos) + static_cast<size_t>(i)) * sizeof stored, sizeof stored);
    const float difference = std::fabs(ToSingle(GetParam(i)->Value()) - ToSingle(stored));
    if (!(difference < 0.00001f)) return false;
  }
  return true;
}
