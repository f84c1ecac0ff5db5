#pragma once
// The host side of the VST3 interfaces a plug-in calls back into: the host
// application, the component handler, parameter-change queues and a byte
// stream. Objects live as long as the test that owns them; their reference
// counts are kept honest but never delete them.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace vst3host {

using namespace Steinberg;

// Counts references; the owner, not release(), ends the object's life.
class HostRefCount
{
public:
  uint32 Add() { return ++mCount; }
  uint32 Drop() { return --mCount; }
  uint32 Count() const { return mCount; }

private:
  std::atomic<uint32> mCount{1};
};

class HostApplication : public Vst::IHostApplication
{
public:
  explicit HostApplication(std::string name = "MURAX Test Host") : mName(std::move(name)) {}
  virtual ~HostApplication() = default;

  tresult PLUGIN_API getName(Vst::String128 name) override;
  // The plug-in never needs messages or attribute lists from this host.
  tresult PLUGIN_API createInstance(TUID, TUID, void** obj) override;
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return mRefs.Add(); }
  uint32 PLUGIN_API release() override { return mRefs.Drop(); }
  uint32 References() const { return mRefs.Count(); }

private:
  std::string mName;
  HostRefCount mRefs;
};

class ComponentHandler : public Vst::IComponentHandler
{
public:
  struct Edit
  {
    char kind; // 'b'egin, 'p'erform, 'e'nd
    Vst::ParamID id;
    double value;
  };

  virtual ~ComponentHandler() = default;
  tresult PLUGIN_API beginEdit(Vst::ParamID id) override;
  tresult PLUGIN_API performEdit(Vst::ParamID id, Vst::ParamValue value) override;
  tresult PLUGIN_API endEdit(Vst::ParamID id) override;
  tresult PLUGIN_API restartComponent(int32 flags) override;
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return mRefs.Add(); }
  uint32 PLUGIN_API release() override { return mRefs.Drop(); }

  std::vector<Edit> edits;
  std::vector<int32> restarts;

private:
  HostRefCount mRefs;
};

// One parameter's points for one block. Fixed capacity: filling it never allocates.
class ParamQueue : public Vst::IParamValueQueue
{
public:
  static constexpr int kCapacity = 64;
  virtual ~ParamQueue() = default;

  void Reset(Vst::ParamID id)
  {
    mId = id;
    mCount = 0;
  }
  Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  int32 PLUGIN_API getPointCount() override { return mCount; }
  tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value) override;
  tresult PLUGIN_API addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index) override;
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return mRefs.Add(); }
  uint32 PLUGIN_API release() override { return mRefs.Drop(); }

private:
  Vst::ParamID mId = 0;
  int32 mCount = 0;
  int32 mOffsets[kCapacity] = {};
  Vst::ParamValue mValues[kCapacity] = {};
  HostRefCount mRefs;
};

// The changes of one block: one queue per parameter, points in offset order.
class ParamChanges : public Vst::IParameterChanges
{
public:
  static constexpr int kCapacity = 16;
  virtual ~ParamChanges() = default;

  void Clear() { mCount = 0; }
  // Appends a point to the parameter's queue, making the queue on first use.
  void Add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset = 0);
  int32 PLUGIN_API getParameterCount() override { return mCount; }
  Vst::IParamValueQueue* PLUGIN_API getParameterData(int32 index) override;
  Vst::IParamValueQueue* PLUGIN_API addParameterData(const Vst::ParamID& id, int32& index) override;
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return mRefs.Add(); }
  uint32 PLUGIN_API release() override { return mRefs.Drop(); }

private:
  ParamQueue mQueues[kCapacity];
  int32 mCount = 0;
  HostRefCount mRefs;
};

// A growable byte stream; `readLimit` makes it end early, as a truncated file would.
class ByteStream : public IBStream
{
public:
  ByteStream() = default;
  explicit ByteStream(std::vector<uint8_t> bytes, size_t readLimit = SIZE_MAX)
    : data(std::move(bytes)), mReadLimit(readLimit)
  {
  }
  virtual ~ByteStream() = default;

  tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override;
  tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override;
  tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) override;
  tresult PLUGIN_API tell(int64* pos) override;
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return mRefs.Add(); }
  uint32 PLUGIN_API release() override { return mRefs.Drop(); }

  std::vector<uint8_t> data;

private:
  size_t mPos = 0;
  size_t mReadLimit = SIZE_MAX;
  HostRefCount mRefs;
};

// UTF-16 text from the plug-in as 8-bit text (characters beyond 8 bits as '?').
std::string Narrow(const Vst::TChar* text);
void Widen(const std::string& text, Vst::String128 out);

} // namespace vst3host

#pragma GCC diagnostic pop
