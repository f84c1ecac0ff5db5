#include "IPlugBase.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Base64.h"
#include "Log.h"
#include "TextCopy.h"

namespace
{
constexpr const char* kUserPresetName = "user preset";
constexpr const char* kEmptyPresetName = "Empty";
// Marks the entries MakePresetFromNamedParams was given no value for.
constexpr double kUnsetValue = 9.999e-08;

// Claims the next preset that is not initialised. Its chunk is emptied too:
// a bank may have marked a formerly filled preset as not initialised.
IPreset* TakeNextPreset(WDL_PtrList<IPreset>* presets, const char* name)
{
  IPreset* preset = GetNextUninitializedPreset(presets);
  if (!preset) return nullptr;
  preset->mInitialized = true;
  CopyTextField(preset->mName, name);
  preset->mChunk.Clear();
  return preset;
}

bool TakesIntArgument(const IParam* param)
{
  const IParam::EParamKind kind = param->Type();
  return kind == IParam::kTypeBool || kind == IParam::kTypeInt || kind == IParam::kTypeEnum;
}

// Truncation toward zero that stays defined for values an int cannot hold.
int TruncToInt(double v)
{
  if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
  if (v >= 2147483647.0) return 2147483647;
  return static_cast<int>(v);
}

// Writes text as the inside of a C string literal, so any name compiles back.
void WriteEscaped(std::FILE* file, const char* text)
{
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
  {
    if (*p == '"' || *p == '\\')
      std::fprintf(file, "\\%c", *p);
    else if (*p < 0x20 || *p == 0x7f)
      std::fprintf(file, "\\%03o", *p);
    else
      std::fputc(*p, file);
  }
}

// "<base64>", <size>); and a line break. The text is sized for the chunk, so
// a chunk of any length dumps whole and reads back through MakePresetFromBlob.
void WriteBlobTail(std::FILE* file, const ByteChunk& chunk)
{
  const int length = Base64EncodedLength(chunk.Size());
  WDL_TypedBuf<char> text;
  if (length < 0 || !text.Resize(length + 1)) return;
  Base64Encode(chunk.Data(), chunk.Size(), text.Get(), length + 1);
  std::fprintf(file, "%s\", %i);\n", text.Get(), chunk.Size());
}
} // namespace

IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* presets)
{
  if (!presets) return nullptr;
  for (int i = 0; i < presets->GetSize(); ++i)
  {
    IPreset* preset = presets->Get(i);
    if (!preset->mInitialized) return preset;
  }
  return nullptr;
}

void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* presets, char* name)
{
  if (!name) return;
  int nUserPresets = 0;
  for (int i = 0; presets && i < presets->GetSize(); ++i)
    if (std::strstr(presets->Get(i)->mName, kUserPresetName)) ++nUserPresets;
  std::snprintf(name, IPreset::kNameSize, "%s %d", kUserPresetName, nUserPresets + 1);
}

void IPlugBase::CreatePresets(int nPresets)
{
  for (int i = 0; i < nPresets; ++i) mPresets.Add(new IPreset);
}

void IPlugBase::DeletePresets() { mPresets.DeleteAll(true); }

// ---- Making presets ----------------------------------------------------------------

void IPlugBase::MakeDefaultPreset(const char* name, int count)
{
  for (int i = 0; i < count; ++i)
  {
    IPreset* preset = TakeNextPreset(&mPresets, name ? name : kEmptyPresetName);
    if (!preset) return;
    SerializeState(&preset->mChunk);
  }
}

void IPlugBase::EnsureDefaultPreset() { MakeDefaultPreset(kEmptyPresetName, GetPresetCount()); }

void IPlugBase::MakePreset(const char* name, ...)
{
  IPreset* preset = TakeNextPreset(&mPresets, name);
  if (!preset) return;
  va_list args;
  va_start(args, name);
  for (int i = 0; i < GetParamCount(); ++i)
  {
    const double v = TakesIntArgument(GetParam(i)) ? va_arg(args, int) : va_arg(args, double);
    preset->mChunk.Append(&v);
  }
  va_end(args);
}

void IPlugBase::MakePresetFromNamedParams(const char* name, int count, ...)
{
  WDL_TypedBuf<double> values;
  if (!values.Resize(GetParamCount()) && GetParamCount()) return;
  IPreset* preset = TakeNextPreset(&mPresets, name);
  if (!preset) return;
  for (int i = 0; i < GetParamCount(); ++i) values.Get()[i] = kUnsetValue;

  va_list args;
  va_start(args, count);
  for (int n = 0; n < count; ++n)
  {
    const int idx = va_arg(args, int);
    const IParam* param = GetParam(idx);
    // The kind, and so the type of the value argument, is unknown past the
    // list: reading on would misread every later argument.
    if (!param) break;
    values.Get()[idx] = TakesIntArgument(param) ? va_arg(args, int) : va_arg(args, double);
  }
  va_end(args);

  for (int i = 0; i < GetParamCount(); ++i)
  {
    const double v = values.Get()[i] == kUnsetValue ? GetParam(i)->Value() : values.Get()[i];
    preset->mChunk.Append(&v);
  }
}

void IPlugBase::MakePresetFromChunk(const char* name, const ByteChunk* chunk)
{
  if (IPreset* preset = TakeNextPreset(&mPresets, name)) preset->mChunk.AppendChunk(chunk);
}

void IPlugBase::MakePresetFromBlob(const char* name, const char* base64, int size)
{
  if (size < 0) size = 0;
  ByteChunk decoded;
  if (!decoded.Assign(nullptr, size)) return;
  Base64Decode(base64, decoded.Data(), size);
  if (IPreset* preset = TakeNextPreset(&mPresets, name)) preset->mChunk.AppendChunk(&decoded);
}

void IPlugBase::PruneUninitializedPresets()
{
  for (int i = 0; i < mPresets.GetSize();)
  {
    if (mPresets.Get(i)->mInitialized)
      ++i;
    else
      mPresets.Delete(i, true);
  }
}

// ---- Selecting presets ------------------------------------------------------------

bool IPlugBase::RestorePreset(int idx)
{
  IPreset* preset = mPresets.Get(idx);
  if (!preset) return false;
  if (preset->mInitialized)
  {
    if (UnserializeState(&preset->mChunk, 0) <= 0) return false;
  }
  else
  {
    preset->mInitialized = true;
    MakeDefaultUserPresetName(&mPresets, preset->mName);
    preset->mChunk.Clear();
    if (!SerializeState(&preset->mChunk)) return false;
  }
  mCurrentPresetIdx = idx;
  PresetsChangedByHost();
  RedrawParamControls();
  return true;
}

bool IPlugBase::RestorePreset(const char* name)
{
  if (!name || !*name) return false;
  for (int i = 0; i < mPresets.GetSize(); ++i)
    if (!std::strcmp(mPresets.Get(i)->mName, name)) return RestorePreset(i);
  return false;
}

const char* IPlugBase::GetPresetName(int idx) const
{
  const IPreset* preset = mPresets.Get(idx);
  return preset ? preset->mName : "";
}

void IPlugBase::ModifyCurrentPreset(const char* name)
{
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset) return;
  preset->mChunk.Clear();
  SerializeState(&preset->mChunk);
  if (name && *name) CopyTextField(preset->mName, name);
  TRACE_LOC("ModifyCurrentPreset", "%d %s", mCurrentPresetIdx, preset->mName);
}

// ---- Banks ---------------------------------------------------------------------------

bool IPlugBase::SerializePresets(ByteChunk* chunk)
{
  if (!chunk) return false;
  for (int i = 0; i < mPresets.GetSize(); ++i)
  {
    const IPreset* preset = mPresets.Get(i);
    TRACE_LOC("SerializePresets", "%d %s", i, preset->mName);
    const int before = chunk->Size();
    const int nameLength = static_cast<int>(std::strlen(preset->mName));
    int expected = before + 4 + nameLength + 1;
    chunk->AppendString(preset->mName);
    chunk->AppendBool(preset->mInitialized);
    if (preset->mInitialized)
    {
      expected += preset->mChunk.Size();
      chunk->AppendChunk(&preset->mChunk);
    }
    if (chunk->Size() != expected) return false; // out of memory: the bank would not read back
  }
  return true;
}

int IPlugBase::UnserializePresets(const ByteChunk* chunk, int startPos)
{
  static const ByteChunk kNoBytes;
  if (!chunk) chunk = &kNoBytes;
  int pos = startPos;
  // One text for the whole bank: a failed read leaves the previous name in it.
  WDL_String name;
  for (int i = 0; i < mPresets.GetSize() && pos >= 0; ++i)
  {
    IPreset* preset = mPresets.Get(i);
    pos = chunk->ReadString(&name, pos);
    CopyTextField(preset->mName, name.Get());
    TRACE_LOC("UnserializePresets", "%d %s", i, preset->mName);
    // After a failed read the remaining steps still run; they read nothing.
    pos = chunk->ReadBool(&preset->mInitialized, pos);
    if (preset->mInitialized)
    {
      pos = UnserializeState(chunk, pos);
      if (pos > 0)
      {
        // Store what the parameters took, as clamped, not the raw bytes.
        preset->mChunk.Clear();
        SerializeState(&preset->mChunk);
      }
    }
    else
    {
      preset->mChunk.Clear();
    }
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

// ---- Developer dumps ------------------------------------------------------------------

void IPlugBase::DumpPresetSrcCode(const char* fileName, const char** paramEnumNames)
{
  if (!fileName) return;
  std::FILE* file = std::fopen(fileName, "w");
  if (!file) return;
  std::fprintf(file, "  MakePresetFromNamedParams(\"name\", %d", GetParamCount());
  for (int i = 0; i < GetParamCount(); ++i)
  {
    const IParam* param = GetParam(i);
    const char* enumName = paramEnumNames ? paramEnumNames[i] : nullptr;
    if (enumName)
      std::fprintf(file, ",\n    %s, ", enumName);
    else
      std::fprintf(file, ",\n    %d, ", i); // the index compiles back just as well
    const double v = param->Value();
    switch (param->Type())
    {
      case IParam::kTypeBool: std::fputs(v >= 0.5 ? "true" : "false", file); break;
      case IParam::kTypeInt:
      case IParam::kTypeEnum: std::fprintf(file, "%d", TruncToInt(v)); break;
      default: std::fprintf(file, "%.6f", v); break;
    }
  }
  std::fputs(");\n", file);
  std::fclose(file);
}

void IPlugBase::DumpPresetBlob(const char* fileName)
{
  const IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!fileName || !preset) return;
  std::FILE* file = std::fopen(fileName, "w");
  if (!file) return;
  std::fputs("MakePresetFromBlob(\"name\", \"", file);
  WriteBlobTail(file, preset->mChunk);
  std::fclose(file);
}

void IPlugBase::DumpBankBlob(const char* fileName)
{
  if (!fileName) return;
  std::FILE* file = std::fopen(fileName, "w");
  if (!file) return;
  for (int i = 0; i < mPresets.GetSize(); ++i)
  {
    const IPreset* preset = mPresets.Get(i);
    std::fputs("MakePresetFromBlob(\"", file);
    WriteEscaped(file, preset->mName);
    std::fputs("\", \"", file);
    WriteBlobTail(file, preset->mChunk);
  }
  std::fclose(file);
}
