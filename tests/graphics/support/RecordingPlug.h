#pragma once
#include <string>
#include <vector>

#include "IPlugHeadless.h"

// A headless plug-in that reports the VST3 API (or another) and records, in
// order, every edit and host menu the editor asks for.
class RecordingPlug : public IPlugHeadless
{
public:
  struct Event
  {
    char kind; // 'b' begin, 'p' perform, 'e' end, 'm' host menu
    int param;
    double value;
    int x, y;
  };

  explicit RecordingPlug(EAPI api = kAPIVST3, int nParams = 3);

  EAPI GetAPI() override { return mReportedAPI; }
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void PopupHostContextMenuForParam(int paramIdx, int x, int y) override;
  void ResizeGraphics(int width, int height) override;

  // The events as text, e.g. "b1 p1 e1", for readable failure messages.
  std::string Trace() const;
  // True when every perform lies inside a begin/end of its parameter and no
  // begin or end is unmatched.
  bool EditsBalanced() const;

  std::vector<Event> events;
  int resizedW = -1, resizedH = -1;

private:
  EAPI mReportedAPI;
};
