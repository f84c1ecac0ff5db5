#pragma once
// Parameter changes of one block without the fixed limits of ParamChanges:
// any number of queues, any number of points per queue, as a host that
// records dense automation sends them. Points are kept as added (callers add
// them in offset order). The storage grows while the host fills it, never
// while the plug-in reads it.
#include <deque>
#include <vector>

#include "HostObjects.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace vst3host {

class DenseParamChanges : public Vst::IParameterChanges
{
public:
  class Queue : public Vst::IParamValueQueue
  {
  public:
    virtual ~Queue() = default;
    Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value) override
    {
      if (index < 0 || index >= getPointCount()) return kResultFalse;
      sampleOffset = points[static_cast<size_t>(index)].offset;
      value = points[static_cast<size_t>(index)].value;
      return kResultOk;
    }
    tresult PLUGIN_API addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index) override
    {
      index = getPointCount();
      points.push_back({sampleOffset, value});
      return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override { return Answer(this, queryIID, obj); }
    uint32 PLUGIN_API addRef() override { return refs.Add(); }
    uint32 PLUGIN_API release() override { return refs.Drop(); }

    struct Point
    {
      int32 offset;
      Vst::ParamValue value;
    };
    Vst::ParamID id = 0;
    std::vector<Point> points;

  private:
    HostRefCount refs;
  };

  virtual ~DenseParamChanges() = default;

  // Empties every queue but keeps the storage for the next block.
  void Clear()
  {
    for (Queue& q : mQueues) q.points.clear();
    mCount = 0;
  }
  void Add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset = 0)
  {
    int32 index = 0;
    if (Vst::IParamValueQueue* queue = addParameterData(id, index)) queue->addPoint(sampleOffset, value, index);
  }

  int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(mCount); }
  Vst::IParamValueQueue* PLUGIN_API getParameterData(int32 index) override
  {
    return index >= 0 && static_cast<size_t>(index) < mCount ? &mQueues[static_cast<size_t>(index)] : nullptr;
  }
  Vst::IParamValueQueue* PLUGIN_API addParameterData(const Vst::ParamID& id, int32& index) override
  {
    for (size_t i = 0; i < mCount; ++i)
      if (mQueues[i].id == id)
      {
        index = static_cast<int32>(i);
        return &mQueues[i];
      }
    if (mCount == mQueues.size()) mQueues.emplace_back();
    mQueues[mCount].id = id;
    mQueues[mCount].points.clear();
    index = static_cast<int32>(mCount);
    return &mQueues[mCount++];
  }
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override { return Answer(this, queryIID, obj); }
  uint32 PLUGIN_API addRef() override { return mRefs.Add(); }
  uint32 PLUGIN_API release() override { return mRefs.Drop(); }

private:
  template <class Interface>
  static tresult Answer(Interface* self, const TUID queryIID, void** obj)
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

  // A deque: queues keep their addresses as more are added, and need no copy.
  std::deque<Queue> mQueues;
  size_t mCount = 0;
  HostRefCount mRefs;
};

} // namespace vst3host

#pragma GCC diagnostic pop
