#pragma once
// The editor view the host gets from createView("editor"). It opens the
// editor surface as a child of the host's X11 window, drives it from the
// host's run loop (one timer at the frame rate, one handler for the editor's
// X connection, both registered in attached and unregistered in removed),
// reports and relays sizes, scales for HiDPI screens, and keeps the plug-in
// alive while the host holds it.
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;

// The SDK's interfaces have no virtual destructors; objects go by release().
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class IPlugVST3View : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport
{
public:
  // Holds one reference on plug until the view goes. [main thread]
  explicit IPlugVST3View(IPlugVST3* plug);
  ~IPlugVST3View() override;

  // ---- IPlugView [main thread] -------------------------------------------------
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) SMTG_OVERRIDE;
  // Keys hosts forward; kResultFalse whenever the editor did not take one.
  Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                          Steinberg::int16 modifiers) SMTG_OVERRIDE;

  // ---- IPlugViewContentScaleSupport [main thread] --------------------------------
  // Factors 1 to 3; anything else is refused and changes nothing.
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) SMTG_OVERRIDE;

  // [main thread] The plug-in asks the host's frame for a new size.
  void resize(int width, int height);

  // The editor code (0-40) for a key a host forwards, -1 for others.
  static int EditorKeyCode(Steinberg::char16 key, Steinberg::int16 keyCode);

  OBJ_METHODS(IPlugVST3View, Steinberg::CPluginView)
  DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
  END_DEFINE_INTERFACES(Steinberg::CPluginView)
  REFCOUNT_METHODS(Steinberg::CPluginView)

private:
  class Timer;
  class Events;
  void Unregister();

  IPlugVST3* mPlug;
  bool mExpectingNewSize = false;
  bool mOpen = false;       // between attached and removed
  bool mWindowOpen = false; // a window of ours exists inside the host's
  // Our own reference: some hosts call setFrame(nullptr) before removed.
  Steinberg::Linux::IRunLoop* mRunLoop = nullptr;
  // The loop our timer and handler are registered with, from attached to removed.
  Steinberg::Linux::IRunLoop* mActiveLoop = nullptr;
  Timer* mTimer = nullptr;
  Events* mEvents = nullptr;
  bool mEventsRegistered = false;
};
#pragma GCC diagnostic pop
