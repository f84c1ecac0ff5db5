#include "IPlugVST3View.h"

#include <cmath>
#include <cstring>

#include "IPlugVST3.h"
#include "VST3KeyCodes.h"

using namespace Steinberg;

namespace
{
bool Is(FIDString type, FIDString name) { return type && std::strcmp(type, name) == 0; }
} // namespace

// The run-loop handlers live as long as someone holds them; the view lets go
// of them (and they of the view) only after unregistering, so a host that
// keeps a raw pointer a little longer finds a harmless object.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class IPlugVST3View::Timer : public Linux::ITimerHandler, public FObject
{
public:
  explicit Timer(IEditor* gui) : mGui(gui) {}
  void Forget() { mGui = nullptr; }
  void PLUGIN_API onTimer() override
  {
    if (mGui) mGui->OnWindowTimer();
  }
  OBJ_METHODS(Timer, FObject)
  DEFINE_INTERFACES
    DEF_INTERFACE(Linux::ITimerHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  IEditor* mGui;
};

class IPlugVST3View::Events : public Linux::IEventHandler, public FObject
{
public:
  explicit Events(IEditor* gui) : mGui(gui) {}
  void Forget() { mGui = nullptr; }
  // Also called with nothing to read; the editor then finds nothing queued.
  void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override
  {
    if (mGui) mGui->OnWindowEvents();
  }
  OBJ_METHODS(Events, FObject)
  DEFINE_INTERFACES
    DEF_INTERFACE(Linux::IEventHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  IEditor* mGui;
};

#pragma GCC diagnostic pop

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug) { mPlug->addRef(); }

IPlugVST3View::~IPlugVST3View()
{
  // A host that releases the view without removed() still gets everything back.
  if (mOpen) removed();
  if (mRunLoop) mRunLoop->release();
  mPlug->ForgetViews();
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  if (!mPlug->GetGUI()) return kResultFalse;
  // An NSView pointer would be taken for a window ID here.
  if (Is(type, kPlatformTypeX11EmbedWindowID) || Is(type, kPlatformTypeHIView)) return kResultTrue;
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::setFrame(IPlugFrame* frame)
{
  if (frame)
  {
    Linux::IRunLoop* loop = nullptr;
    if (frame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) != kResultOk) loop = nullptr;
    if (loop)
    {
      if (mRunLoop) mRunLoop->release();
      mRunLoop = loop; // the reference queryInterface gave us
    }
  }
  return CPluginView::setFrame(frame);
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  IEditor* gui = mPlug->GetGUI();
  if (!gui || mOpen) return kResultFalse;

  if (Is(type, kPlatformTypeX11EmbedWindowID))
  {
    // Without the host's run loop the editor could never redraw or take a
    // click: nothing opens rather than a dead picture.
    if (!mRunLoop || !parent) return kResultFalse;
    // One editor surface per plug-in: another view's window stays its own.
    if (gui->WindowIsOpen()) return kResultFalse;
    if (!gui->OpenWindow(parent)) return kResultFalse;
    const int fd = gui->WindowEventFD();
    mTimer = new Timer(gui);
    mEvents = new Events(gui);
    if (mRunLoop->registerTimer(mTimer, static_cast<Linux::TimerInterval>(gui->WindowTimerMs())) != kResultTrue)
    {
      gui->CloseWindow();
      mTimer->release();
      mEvents->release();
      mTimer = nullptr;
      mEvents = nullptr;
      return kResultFalse;
    }
    // A host that refuses the handler still drives us: every tick drains the queue.
    mEventsRegistered = fd >= 0 && mRunLoop->registerEventHandler(mEvents, fd) == kResultTrue;
    mActiveLoop = mRunLoop;
    mActiveLoop->addRef();
    mWindowOpen = true;
  }
  else if (Is(type, kPlatformTypeHIView))
    gui->OpenWindow(parent, nullptr, 0, 0);
  else
    return kResultFalse;

  CPluginView::attached(parent, type);
  mOpen = true;
  mPlug->OnGUIOpen();
  return kResultTrue;
}

void IPlugVST3View::Unregister()
{
  if (mActiveLoop)
  {
    if (mEventsRegistered) mActiveLoop->unregisterEventHandler(mEvents);
    if (mTimer) mActiveLoop->unregisterTimer(mTimer);
    mActiveLoop->release();
    mActiveLoop = nullptr;
  }
  mEventsRegistered = false;
  if (mTimer)
  {
    mTimer->Forget();
    mTimer->release();
    mTimer = nullptr;
  }
  if (mEvents)
  {
    mEvents->Forget();
    mEvents->release();
    mEvents = nullptr;
  }
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  if (mOpen)
  {
    IEditor* gui = mPlug->GetGUI();
    mPlug->OnGUIClose();
    // The host must stop polling our connection before it closes.
    Unregister();
    if (gui && mWindowOpen) gui->CloseWindow();
  }
  mOpen = false;
  mWindowOpen = false;
  return CPluginView::removed();
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  if (!size) return kInvalidArgument;
  IEditor* gui = mPlug->GetGUI();
  if (!gui) return kResultFalse;
  const double scale = gui->WindowScale();
  if (scale == 1.0)
    *size = ViewRect(0, 0, gui->Width(), gui->Height());
  else
    *size = ViewRect(0, 0, static_cast<int32>(std::ceil(gui->Width() * scale - 1e-9)),
                     static_cast<int32>(std::ceil(gui->Height() * scale - 1e-9)));
  return kResultTrue;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
  if (newSize) rect = *newSize;
  if (mExpectingNewSize)
  {
    mPlug->OnWindowResize();
    mExpectingNewSize = false;
  }
  return kResultTrue;
}

void IPlugVST3View::resize(int width, int height)
{
  if (!plugFrame) return;
  mExpectingNewSize = true;
  // The host deals in physical pixels once a scale factor is set.
  const IEditor* gui = mPlug->GetGUI();
  const double scale = gui ? gui->WindowScale() : 1.0;
  if (scale != 1.0)
  {
    width = static_cast<int>(std::ceil(width * scale - 1e-9));
    height = static_cast<int>(std::ceil(height * scale - 1e-9));
  }
  ViewRect r(0, 0, width, height);
  plugFrame->resizeView(this, &r);
}

int IPlugVST3View::EditorKeyCode(char16 key, int16 keyCode)
{
  switch (keyCode)
  {
  case vst3keys::kSpace: return 0;
  case vst3keys::kUp: return 1;
  case vst3keys::kDown: return 2;
  case vst3keys::kLeft: return 3;
  case vst3keys::kRight: return 4;
  default: break;
  }
  if (keyCode >= vst3keys::kNumpad0 && keyCode <= vst3keys::kNumpad9) return 5 + (keyCode - vst3keys::kNumpad0);
  if (key == ' ') return 0;
  if (key >= '0' && key <= '9') return 5 + (key - '0');
  if (key >= 'a' && key <= 'z') return 15 + (key - 'a');
  if (key >= 'A' && key <= 'Z') return 15 + (key - 'A');
  return -1;
}

tresult PLUGIN_API IPlugVST3View::onKeyDown(char16 key, int16 keyCode, int16)
{
  IEditor* gui = mPlug->GetGUI();
  const int code = EditorKeyCode(key, keyCode);
  if (!gui || !mOpen || code < 0) return kResultFalse;
  return gui->OnHostKeyDown(code) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::setContentScaleFactor(ScaleFactor factor)
{
  IEditor* gui = mPlug->GetGUI();
  if (!gui || !(factor >= 1.0f && factor <= 3.0f)) return kResultFalse;
  const double before = gui->WindowScale();
  if (!gui->SetWindowScale(factor)) return kResultFalse;
  // The frame is asked for the new size; a host that never answers with
  // onSize still sees the right size, since the window has resized itself.
  if (mOpen && plugFrame && before != gui->WindowScale())
  {
    ViewRect r;
    getSize(&r);
    plugFrame->resizeView(this, &r);
  }
  return kResultTrue;
}
