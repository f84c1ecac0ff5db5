#pragma once

// What the plug-in base and the plug-in format's view need of an attached
// editor surface. The graphics layer implements it; keeping it abstract here
// lets the core build and run without any drawing code (the base owns the
// editor and deletes it).
class IEditor
{
public:
  virtual ~IEditor() = default;
  // [main or audio thread, mutex held] Reflect a parameter value in the controls.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // [main thread] Prepare the surface for drawing once all controls exist.
  virtual void PrepDraw() = 0;
  // [any thread] The editor's size in pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // [main thread] Open the editor inside a host window; null when nothing opened.
  virtual void* OpenWindow(void* parentWindow) = 0;
  // [main thread] The older form: opens nothing on platforms without it.
  virtual void* OpenWindow(void* parentWindow, void* parentControl, short leftOffset = 0, short topOffset = 0) = 0;
  virtual void CloseWindow() = 0;
  virtual bool WindowIsOpen() = 0;
  // [main thread] Lets every control react to idle time.
  virtual void OnGUIIdle() = 0;

  // ---- What a window layer driven by the host's run loop adds [main thread] ----
  // The connection a host must watch while a window is open, else -1.
  virtual int WindowEventFD() { return -1; }
  // How often the view's one timer fires.
  virtual int WindowTimerMs() const { return 40; }
  // The view's one timer tick and its one fd callback; neither ever blocks.
  virtual void OnWindowTimer() {}
  virtual void OnWindowEvents() {}
  // A key the host forwarded, as a code 0-40; false when nothing took it.
  virtual bool OnHostKeyDown(int /*key*/) { return false; }
  // Physical pixels per editor pixel (1 to 3); the window follows at once.
  virtual bool SetWindowScale(double /*scale*/) { return false; }
  virtual double WindowScale() const { return 1.0; }
};
