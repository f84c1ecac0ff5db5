#include "HostRunLoop.h"

#include <poll.h>

#include <algorithm>
#include <chrono>

namespace vst3host {

namespace {
int64_t NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

HostRunLoop::~HostRunLoop()
{
  // A plug-in that forgot to unregister leaves its references here.
  for (auto& t : mTimers) t.handler->release();
  for (auto& h : mHandlers) h.handler->release();
}

tresult PLUGIN_API HostRunLoop::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
  if (!handler || fd < 0) return kInvalidArgument;
  if (mDispatching) ++mChangesDuringDispatch;
  // Like the SDK's sample host: one handler per fd.
  for (auto& h : mHandlers)
    if (h.fd == fd || h.handler == handler)
    {
      ++mRefusals;
      return kResultFalse;
    }
  handler->addRef();
  mHandlers.push_back({handler, fd});
  ++mRegistrations;
  return kResultTrue;
}

tresult PLUGIN_API HostRunLoop::unregisterEventHandler(Linux::IEventHandler* handler)
{
  if (mDispatching) ++mChangesDuringDispatch;
  auto it = std::find_if(mHandlers.begin(), mHandlers.end(), [&](const Handler& h) { return h.handler == handler; });
  if (it == mHandlers.end()) return kResultFalse;
  mHandlers.erase(it);
  handler->release();
  return kResultTrue;
}

tresult PLUGIN_API HostRunLoop::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
  if (!handler || milliseconds == 0) return kInvalidArgument;
  if (mDispatching) ++mChangesDuringDispatch;
  handler->addRef();
  const auto interval = static_cast<int64_t>(milliseconds);
  mTimers.push_back({handler, interval, NowMs() + interval});
  ++mRegistrations;
  return kResultTrue;
}

tresult PLUGIN_API HostRunLoop::unregisterTimer(Linux::ITimerHandler* handler)
{
  if (mDispatching) ++mChangesDuringDispatch;
  auto it = std::find_if(mTimers.begin(), mTimers.end(), [&](const Timer& t) { return t.handler == handler; });
  if (it == mTimers.end()) return kResultFalse;
  mTimers.erase(it);
  handler->release();
  return kResultTrue;
}

tresult PLUGIN_API HostRunLoop::queryInterface(const TUID queryIID, void** obj)
{
  if (!obj) return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(queryIID, FUnknown::iid) || FUnknownPrivate::iidEqual(queryIID, Linux::IRunLoop::iid))
  {
    addRef();
    *obj = this;
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

void HostRunLoop::RunOnce(int timeoutMs)
{
  const int64_t now = NowMs();
  int wait = std::max(0, timeoutMs);
  for (auto& t : mTimers) wait = static_cast<int>(std::min<int64_t>(wait, std::max<int64_t>(0, t.dueMs - now)));

  std::vector<pollfd> fds;
  for (auto& h : mHandlers) fds.push_back({h.fd, POLLIN, 0});
  if (fds.empty() && wait > 0)
    poll(nullptr, 0, wait);
  else if (!fds.empty())
    poll(fds.data(), fds.size(), wait);

  // Work on copies, but count any change the plug-in makes meanwhile.
  mDispatching = true;
  if (!quirks.neverCallFd)
  {
    const auto handlers = mHandlers;
    for (size_t i = 0; i < handlers.size(); ++i)
    {
      const bool readable = i < fds.size() && (fds[i].revents & (POLLIN | POLLHUP | POLLERR));
      if (readable || quirks.spuriousFdCalls)
      {
        ++mFdCalls;
        handlers[i].handler->onFDIsSet(handlers[i].fd);
      }
    }
  }
  const int64_t after = NowMs();
  for (size_t i = 0; i < mTimers.size(); ++i)
  {
    if (mTimers[i].dueMs > after) continue;
    // Drift like real hosts: the next tick is scheduled after this one ran.
    Linux::ITimerHandler* handler = mTimers[i].handler;
    mTimers[i].dueMs = after + mTimers[i].intervalMs;
    ++mTimerCalls;
    handler->onTimer();
  }
  mDispatching = false;
}

void HostRunLoop::RunFor(int ms)
{
  const int64_t end = NowMs() + ms;
  do
    RunOnce(static_cast<int>(std::max<int64_t>(0, end - NowMs())));
  while (NowMs() < end);
}

} // namespace vst3host
