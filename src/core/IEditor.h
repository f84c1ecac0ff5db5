#pragma once

// What the plug-in base needs of an attached editor surface. The graphics
// layer implements it; keeping it abstract here lets the core build and run
// without any drawing code (the base owns the editor and deletes it).
class IEditor
{
public:
  virtual ~IEditor() = default;
  // [main or audio thread, mutex held] Reflect a parameter value in the controls.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // [main thread] Prepare the surface for drawing once all controls exist.
  virtual bool PrepDraw() = 0;
};
