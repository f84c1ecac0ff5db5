#pragma once
// The host's Linux run loop: timers and fd handlers served by one poll loop on
// the calling thread, as a Linux host's UI thread serves them. It can also
// play the habits of real hosts that plug-ins must survive.
#include <cstdint>
#include <vector>

#include "pluginterfaces/gui/iplugview.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace vst3host {

using namespace Steinberg;

class HostRunLoop : public Linux::IRunLoop
{
public:
  struct Quirks
  {
    bool spuriousFdCalls = false; // call every fd handler on every pass, readable or not
    bool neverCallFd = false;     // register fd handlers but never call them
  };

  HostRunLoop() = default;
  virtual ~HostRunLoop();

  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override;
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override;
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds) override;
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override;

  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) override;
  uint32 PLUGIN_API addRef() override { return ++mRefs; }
  uint32 PLUGIN_API release() override { return --mRefs; }

  // Serves timers and fds for about ms milliseconds (at least one pass).
  void RunFor(int ms);
  // One pass: poll with the given timeout, call what is due.
  void RunOnce(int timeoutMs);

  Quirks quirks;
  int NumTimers() const { return static_cast<int>(mTimers.size()); }
  int NumEventHandlers() const { return static_cast<int>(mHandlers.size()); }
  // Registrations and removals made from inside a callback: hosts iterate
  // their lists while calling out, so each of these would be a fault there.
  int ChangesDuringDispatch() const { return mChangesDuringDispatch; }
  int TimerCalls() const { return mTimerCalls; }
  int FdCalls() const { return mFdCalls; }
  int Registrations() const { return mRegistrations; }
  int Refusals() const { return mRefusals; }

private:
  struct Timer
  {
    Linux::ITimerHandler* handler;
    int64_t intervalMs;
    int64_t dueMs;
  };
  struct Handler
  {
    Linux::IEventHandler* handler;
    int fd;
  };

  std::vector<Timer> mTimers;
  std::vector<Handler> mHandlers;
  bool mDispatching = false;
  int mChangesDuringDispatch = 0;
  int mTimerCalls = 0, mFdCalls = 0, mRegistrations = 0, mRefusals = 0;
  uint32 mRefs = 1;
};

} // namespace vst3host

#pragma GCC diagnostic pop
