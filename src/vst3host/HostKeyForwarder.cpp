#include "HostKeyForwarder.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace vst3host {

namespace {
// The format's VirtualKeyCodes for the keys a host translates.
Steinberg::int16 VirtualCode(KeySym sym)
{
  switch (sym)
  {
  case XK_BackSpace: return 1;
  case XK_Tab: return 2;
  case XK_Return: return 4;
  case XK_Escape: return 6;
  case XK_space: return 7;
  case XK_End: return 9;
  case XK_Home: return 10;
  case XK_Left: return 11;
  case XK_Up: return 12;
  case XK_Right: return 13;
  case XK_Down: return 14;
  case XK_Delete: return 22;
  default: return 0;
  }
}
} // namespace

HostKeyForwarder::HostKeyForwarder(HostParentWindow& window, Steinberg::IPlugView* view)
  : mWindow(window), mView(view)
{
  XSelectInput(mWindow.GetDisplay(), mWindow.GetWindow(), StructureNotifyMask | KeyPressMask);
  XSync(mWindow.GetDisplay(), False);
}

void HostKeyForwarder::Pump()
{
  Display* d = mWindow.GetDisplay();
  while (XPending(d))
  {
    XEvent ev;
    XNextEvent(d, &ev);
    if (ev.type != KeyPress) continue;
    char text[8] = {};
    KeySym sym = 0;
    XLookupString(&ev.xkey, text, sizeof(text) - 1, &sym, nullptr);
    const Steinberg::int16 code = VirtualCode(sym);
    const Steinberg::char16 ch = code == 0 || code == 7 ? static_cast<unsigned char>(text[0]) : 0;
    if (!ch && !code) continue; // modifiers alone
    int16_t mods = 0;
    if (ev.xkey.state & ShiftMask) mods |= 1 << 0;
    if (ev.xkey.state & Mod1Mask) mods |= 1 << 1;
    if (ev.xkey.state & ControlMask) mods |= 1 << 2;
    keys.push_back({ch, code, mView->onKeyDown(ch, code, mods)});
  }
}

} // namespace vst3host
