#include "HostPlugFrame.h"

namespace vst3host {

tresult PLUGIN_API HostPlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize) return kInvalidArgument;
  resizeRequests.push_back(*newSize);
  if (answerResize) view->onSize(newSize);
  return kResultTrue;
}

tresult PLUGIN_API HostPlugFrame::queryInterface(const TUID queryIID, void** obj)
{
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (FUnknownPrivate::iidEqual(queryIID, FUnknown::iid) || FUnknownPrivate::iidEqual(queryIID, IPlugFrame::iid))
  {
    addRef();
    *obj = static_cast<IPlugFrame*>(this);
    return kResultOk;
  }
  if (mRunLoop && FUnknownPrivate::iidEqual(queryIID, Linux::IRunLoop::iid))
  {
    mRunLoop->addRef();
    *obj = static_cast<Linux::IRunLoop*>(mRunLoop);
    return kResultOk;
  }
  return kNoInterface;
}

} // namespace vst3host
