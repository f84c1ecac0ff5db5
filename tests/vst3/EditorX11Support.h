#pragma once
// What the X11 editor tests share: a private Xvfb, a copy of the built bundle
// whose images are synthetic strips (every knob frame and switch state has a
// colour of its own, so read-back pixels name the frame), the host's run
// loop, frame and parent window, and a "user" that moves, clicks, drags,
// wheels and types through XTest on a connection of its own.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HostParentWindow.h"
#include "HostPlugFrame.h"
#include "HostRunLoop.h"
#include "PixelsPng.h"
#include "XvfbServer.h"

namespace editortest {

constexpr int kEditorW = 702, kEditorH = 436;
constexpr int kKnobFrames = 61, kKnobSize = 80;
constexpr int kSwitchW = 60, kSwitchH = 40;

// Where each control sits (the cabinet's layout) and its parameter.
struct Spot
{
  int x, y, w, h, param;
  int CX() const { return x + w / 2; }
  int CY() const { return y + h / 2; }
};
constexpr Spot kBypassSwitch = {24, 12, kSwitchW, kSwitchH, 4};
constexpr Spot kMicKnob = {182, 0, kKnobSize, kKnobSize, 0};
constexpr Spot kSizeKnob = {25, 77, kKnobSize, kKnobSize, 1};
constexpr Spot kCharacterKnob = {25, 181, kKnobSize, kKnobSize, 2};
constexpr Spot kOutputKnob = {25, 285, kKnobSize, kKnobSize, 3};

// The synthetic images' colours (0x00RRGGBB as read back).
inline uint32_t KnobFrameColor(int param, int frame) { return (static_cast<uint32_t>(frame * 4) << 16) | ((40u + 40u * param) << 8) | 0x80u; }
inline uint32_t SwitchColor(int state) { return state ? 0xC00000u : 0x00C000u; }
inline uint32_t BackgroundColor(int x, int y) { return (static_cast<uint32_t>(x & 255) << 16) | (static_cast<uint32_t>(y & 255) << 8) | 0x55u; }
// The 0-based frame a knob shows for a normalised value.
inline int FrameFor(double normalized) { return static_cast<int>(0.5 + normalized * (kKnobFrames - 1)); }

// The six synthetic images under their resource names in folder res.
inline bool WriteTestImages(const std::filesystem::path& res)
{
  std::error_code ec;
  std::filesystem::create_directories(res, ec);
  std::vector<uint32_t> bg(static_cast<size_t>(kEditorW) * kEditorH);
  for (int y = 0; y < kEditorH; ++y)
    for (int x = 0; x < kEditorW; ++x) bg[static_cast<size_t>(y) * kEditorW + x] = 0xFF000000u | BackgroundColor(x, y);
  bool ok = vst3host::WritePixelsPng((res / "BG.png").string(), kEditorW, kEditorH, bg, true);
  std::vector<uint32_t> sw(static_cast<size_t>(kSwitchW) * kSwitchH * 2);
  for (size_t i = 0; i < sw.size(); ++i) sw[i] = 0xFF000000u | SwitchColor(i >= sw.size() / 2);
  ok = ok && vst3host::WritePixelsPng((res / "BYPASS.png").string(), kSwitchW, kSwitchH * 2, sw, true);
  const char* names[] = {"MIC.png", "SIZE.png", "CHA.png", "OUT.png"};
  for (int param = 0; param < 4; ++param)
  {
    std::vector<uint32_t> strip(static_cast<size_t>(kKnobSize) * kKnobSize * kKnobFrames);
    for (int f = 0; f < kKnobFrames; ++f)
      for (int i = 0; i < kKnobSize * kKnobSize; ++i)
        strip[static_cast<size_t>(f) * kKnobSize * kKnobSize + i] = 0xFF000000u | KnobFrameColor(param, f);
    ok = ok &&
         vst3host::WritePixelsPng((res / names[param]).string(), kKnobSize, kKnobSize * kKnobFrames, strip, true);
  }
  return ok;
}

// A copy of the built bundle in a temporary folder with the synthetic images.
// Empty on failure.
inline std::string MakeTestBundle(const std::string& builtBundle)
{
  namespace fs = std::filesystem;
  char tmpl[] = "/tmp/murax-x11-XXXXXX";
  const char* dir = mkdtemp(tmpl);
  if (!dir) return "";
  const fs::path bundle = fs::path(dir) / "MURAX.vst3";
  std::error_code ec;
  fs::copy(builtBundle, bundle, fs::copy_options::recursive, ec);
  if (ec) return "";
  return WriteTestImages(bundle / "Contents" / "Resources") ? bundle.string() : "";
}

inline void RemoveTestBundle(const std::string& bundle)
{
  if (bundle.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(bundle).parent_path(), ec);
}

// The user at the keyboard and mouse, on a connection of their own.
class User
{
public:
  explicit User(const std::string& displayName) : mDisplay(XOpenDisplay(displayName.c_str())) {}
  ~User()
  {
    if (mDisplay) XCloseDisplay(mDisplay);
  }
  User(const User&) = delete;
  User& operator=(const User&) = delete;
  bool Ok() const { return mDisplay != nullptr; }
  Display* GetDisplay() const { return mDisplay; }

  // Moves to (x, y) of window w.
  void MoveTo(::Window w, int x, int y)
  {
    int rx = 0, ry = 0;
    ::Window child = 0;
    XTranslateCoordinates(mDisplay, w, DefaultRootWindow(mDisplay), x, y, &rx, &ry, &child);
    MoveToRoot(rx, ry);
  }
  void MoveToRoot(int x, int y)
  {
    XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), x, y, CurrentTime);
    XSync(mDisplay, False);
  }
  void Button(unsigned button, bool down)
  {
    XTestFakeButtonEvent(mDisplay, button, down ? True : False, CurrentTime);
    XSync(mDisplay, False);
  }
  void Click(::Window w, int x, int y, unsigned button = 1)
  {
    MoveTo(w, x, y);
    Button(button, true);
    Button(button, false);
  }
  void Key(KeySym sym, bool down)
  {
    const KeyCode code = XKeysymToKeycode(mDisplay, sym);
    XTestFakeKeyEvent(mDisplay, code, down ? True : False, CurrentTime);
    XSync(mDisplay, False);
  }
  void Tap(KeySym sym)
  {
    Key(sym, true);
    Key(sym, false);
  }
  // Holds Shift for the upper-case and shifted characters of text.
  void Type(const std::string& text)
  {
    for (char c : text)
    {
      KeySym sym = c == '.' ? XK_period : c == '-' ? XK_minus : c == '+' ? XK_plus : c == ' ' ? XK_space
                                                                                          : static_cast<KeySym>(c);
      const KeyCode code = XKeysymToKeycode(mDisplay, sym);
      const bool shift = XkbKeycodeToKeysymShim(code, 0) != sym;
      if (shift) Key(XK_Shift_L, true);
      Tap(sym);
      if (shift) Key(XK_Shift_L, false);
    }
  }

private:
  KeySym XkbKeycodeToKeysymShim(KeyCode code, int index)
  {
    int per = 0;
    KeySym* syms = XGetKeyboardMapping(mDisplay, code, 1, &per);
    KeySym s = syms && per > index ? syms[index] : NoSymbol;
    if (syms) XFree(syms);
    return s;
  }
  Display* mDisplay;
};

// The server, the host's loop, frame and window, as one fixture part.
struct X11Host
{
  // Starts the server and the host window; Ok() tells whether all is up.
  explicit X11Host(bool withShm = true, int parentW = kEditorW + 100, int parentH = kEditorH + 60, int depth = 24)
  {
    server = vst3host::XvfbServer::Start(&error, withShm, 1280, 1024, depth);
    if (!server) return;
    // The plug-in opens $DISPLAY, as it would in a real session.
    setenv("DISPLAY", server->DisplayName().c_str(), 1);
    parent = vst3host::HostParentWindow::Open(server->DisplayName().c_str(), parentW, parentH);
    if (!parent) error = "cannot open the host window";
    user = std::make_unique<User>(server->DisplayName());
  }
  bool Ok() const { return server && parent && user && user->Ok(); }
  // Serves the run loop for ms milliseconds.
  void Pump(int ms = 90) { loop.RunFor(ms); }
  // The editor's child window (the first child of the host's window).
  ::Window Child()
  {
    auto kids = parent->Children();
    return kids.empty() ? 0 : kids.front();
  }
  uint32_t Pixel(int x, int y)
  {
    auto px = parent->Capture(x, y, 1, 1);
    return px.empty() ? 0xFFFFFFFFu : px[0];
  }

  std::string error;
  std::unique_ptr<vst3host::XvfbServer> server;
  vst3host::HostRunLoop loop;
  vst3host::HostPlugFrame frame{&loop};
  std::unique_ptr<vst3host::HostParentWindow> parent;
  std::unique_ptr<User> user;
};

} // namespace editortest
