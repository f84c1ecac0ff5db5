#pragma once
// The host's top-level window that an editor view is embedded into, on the
// host's own X connection, with read-back for tests and tools.
#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vst3host {

class HostParentWindow
{
public:
  // Opens displayName (null: $DISPLAY) and maps a width x height window at
  // (x, y). Null when the display cannot be opened.
  static std::unique_ptr<HostParentWindow> Open(const char* displayName, int width, int height, int x = 0,
                                                int y = 0);
  ~HostParentWindow();
  HostParentWindow(const HostParentWindow&) = delete;
  HostParentWindow& operator=(const HostParentWindow&) = delete;

  Display* GetDisplay() const { return mDisplay; }
  ::Window GetWindow() const { return mWindow; }
  // What a host passes to attached() for "X11EmbedWindowID".
  void* EmbedHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)); }

  // The window's children, in stacking order (bottom first).
  std::vector<::Window> Children();
  // 0x00RRGGBB pixels of the w x h area at (x, y) of this window, children
  // included; empty when the area cannot be read.
  std::vector<uint32_t> Capture(int x, int y, int w, int h);
  void Resize(int width, int height);
  // Plays a host that destroys its window before removing the view.
  void DestroyWindow();
  // Plays a host holding a pointer grab; true when the grab was taken.
  bool GrabPointer();
  void UngrabPointer();
  void Sync() { XSync(mDisplay, False); }

private:
  HostParentWindow() = default;
  Display* mDisplay = nullptr;
  ::Window mWindow = 0;
};

} // namespace vst3host
