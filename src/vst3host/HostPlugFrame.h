#pragma once
// The host's IPlugFrame for one editor view: hands out the run loop and takes
// resize requests, answering them with onSize as most hosts do.
#include <vector>

#include "HostRunLoop.h"
#include "pluginterfaces/gui/iplugview.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace vst3host {

class HostPlugFrame : public IPlugFrame
{
public:
  // runLoop null plays a host that offers none.
  explicit HostPlugFrame(HostRunLoop* runLoop) : mRunLoop(runLoop) {}
  virtual ~HostPlugFrame() = default;

  tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) override;
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return ++mRefs; }
  uint32 PLUGIN_API release() override { return --mRefs; }

  // Some hosts never answer resizeView with onSize.
  bool answerResize = true;
  std::vector<ViewRect> resizeRequests;
  uint32 References() const { return mRefs; }

private:
  HostRunLoop* mRunLoop;
  uint32 mRefs = 1;
};

} // namespace vst3host

#pragma GCC diagnostic pop
