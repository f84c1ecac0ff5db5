#pragma once
// The editor view the host gets from createView("editor"). It reports the
// editor's size and keeps the plug-in alive while the host holds it; opening
// the editor surface inside the host's window comes with the window layer.
#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;

class IPlugVST3View : public Steinberg::CPluginView
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

  // [main thread] The plug-in asks the host's frame for a new size.
  void resize(int width, int height);

  OBJ_METHODS(IPlugVST3View, Steinberg::CPluginView)

private:
  IPlugVST3* mPlug;
  bool mExpectingNewSize = false;
  bool mOpen = false; // between attached and removed
};
