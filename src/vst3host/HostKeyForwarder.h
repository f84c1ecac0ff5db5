#pragma once
// What a Linux host does with keys while a plug-in's editor is open: it reads
// them from its own window and offers each to the view through onKeyDown,
// keeping those the view declines for its own shortcuts.
#include <vector>

#include "HostParentWindow.h"
#include "pluginterfaces/gui/iplugview.h"

namespace vst3host {

class HostKeyForwarder
{
public:
  struct Key
  {
    Steinberg::char16 character;
    Steinberg::int16 virtualCode; // the format's VirtualKeyCodes, 0 for none
    Steinberg::tresult answer;    // what the view said
  };

  // Selects key presses on the window; the view must outlive this object.
  HostKeyForwarder(HostParentWindow& window, Steinberg::IPlugView* view);
  // Reads the host window's queued events and forwards the key presses.
  void Pump();
  std::vector<Key> keys;

private:
  HostParentWindow& mWindow;
  Steinberg::IPlugView* mView;
};

} // namespace vst3host
