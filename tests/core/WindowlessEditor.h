#pragma once
#include "IEditor.h"

// An editor with no window for core tests: only the value and draw hooks are
// of interest there, the window operations answer "nothing opened".
struct WindowlessEditor : IEditor
{
  void PrepDraw() override {}
  int Width() const override { return 0; }
  int Height() const override { return 0; }
  void* OpenWindow(void*) override { return nullptr; }
  void* OpenWindow(void*, void*, short, short) override { return nullptr; }
  void CloseWindow() override {}
  bool WindowIsOpen() override { return false; }
  void OnGUIIdle() override {}
};
