#include "HostObjects.h"

#include <algorithm>
#include <cstring>

namespace vst3host {

namespace {
template <class Interface>
tresult Answer(Interface* self, const TUID queryIID, void** obj)
{
  if (!obj) return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(queryIID, FUnknown::iid) || FUnknownPrivate::iidEqual(queryIID, Interface::iid))
  {
    self->addRef();
    *obj = self;
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}
} // namespace

std::string Narrow(const Vst::TChar* text)
{
  std::string out;
  for (; text && *text; ++text) out += *text < 256 ? static_cast<char>(*text) : '?';
  return out;
}

void Widen(const std::string& text, Vst::String128 out)
{
  size_t n = std::min<size_t>(text.size(), 127);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[n] = 0;
}

tresult PLUGIN_API HostApplication::getName(Vst::String128 name)
{
  Widen(mName, name);
  return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj)
{
  if (obj) *obj = nullptr;
  return kResultFalse;
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID queryIID, void** obj)
{
  return Answer(this, queryIID, obj);
}

tresult PLUGIN_API ComponentHandler::beginEdit(Vst::ParamID id)
{
  edits.push_back({'b', id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue value)
{
  edits.push_back({'p', id, value});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(Vst::ParamID id)
{
  edits.push_back({'e', id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
  restarts.push_back(flags);
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID queryIID, void** obj)
{
  return Answer(this, queryIID, obj);
}

tresult PLUGIN_API ParamQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
  if (index < 0 || index >= mCount) return kResultFalse;
  sampleOffset = mOffsets[index];
  value = mValues[index];
  return kResultOk;
}

tresult PLUGIN_API ParamQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
  if (mCount >= kCapacity) return kResultFalse;
  mOffsets[mCount] = sampleOffset;
  mValues[mCount] = value;
  index = mCount++;
  return kResultOk;
}

tresult PLUGIN_API ParamQueue::queryInterface(const TUID queryIID, void** obj) { return Answer(this, queryIID, obj); }

void ParamChanges::Add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset)
{
  int32 index = 0;
  if (Vst::IParamValueQueue* queue = addParameterData(id, index)) queue->addPoint(sampleOffset, value, index);
}

Vst::IParamValueQueue* PLUGIN_API ParamChanges::getParameterData(int32 index)
{
  return index >= 0 && index < mCount ? &mQueues[index] : nullptr;
}

Vst::IParamValueQueue* PLUGIN_API ParamChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
  for (int32 i = 0; i < mCount; ++i)
    if (mQueues[i].getParameterId() == id)
    {
      index = i;
      return &mQueues[i];
    }
  if (mCount >= kCapacity) return nullptr;
  mQueues[mCount].Reset(id);
  index = mCount;
  return &mQueues[mCount++];
}

tresult PLUGIN_API ParamChanges::queryInterface(const TUID queryIID, void** obj) { return Answer(this, queryIID, obj); }

tresult PLUGIN_API ByteStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
  const size_t end = std::min(data.size(), mReadLimit);
  const size_t n = numBytes > 0 && mPos < end ? std::min<size_t>(static_cast<size_t>(numBytes), end - mPos) : 0;
  if (n) std::memcpy(buffer, data.data() + mPos, n);
  mPos += n;
  if (numBytesRead) *numBytesRead = static_cast<int32>(n);
  return n == static_cast<size_t>(numBytes > 0 ? numBytes : 0) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ByteStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
  if (numBytes < 0 || (numBytes > 0 && !buffer)) return kInvalidArgument;
  if (data.size() < mPos + static_cast<size_t>(numBytes)) data.resize(mPos + static_cast<size_t>(numBytes));
  if (numBytes) std::memcpy(data.data() + mPos, buffer, static_cast<size_t>(numBytes));
  mPos += static_cast<size_t>(numBytes);
  if (numBytesWritten) *numBytesWritten = numBytes;
  return kResultOk;
}

tresult PLUGIN_API ByteStream::seek(int64 pos, int32 mode, int64* result)
{
  int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(mPos) : static_cast<int64>(data.size());
  if (base + pos < 0) return kInvalidArgument;
  mPos = static_cast<size_t>(base + pos);
  if (result) *result = static_cast<int64>(mPos);
  return kResultOk;
}

tresult PLUGIN_API ByteStream::tell(int64* pos)
{
  if (!pos) return kInvalidArgument;
  *pos = static_cast<int64>(mPos);
  return kResultOk;
}

tresult PLUGIN_API ByteStream::queryInterface(const TUID queryIID, void** obj) { return Answer(this, queryIID, obj); }

} // namespace vst3host
