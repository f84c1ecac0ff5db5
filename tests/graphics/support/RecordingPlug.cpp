#include "RecordingPlug.h"

#include "IPlugInstanceInfo.h"

RecordingPlug::RecordingPlug(EAPI api, int nParams)
  : IPlugHeadless(IPlugInstanceInfo{}, nParams, "1-1", 1, "Rec", "Rec", "Maker", 0x00010000, 0x52656331, 0x4D6B7231,
                  0, false, false, false),
    mReportedAPI(api)
{
}

void RecordingPlug::BeginInformHostOfParamChange(int paramIdx)
{
  IPlugHeadless::BeginInformHostOfParamChange(paramIdx);
  events.push_back({'b', paramIdx, 0.0, 0, 0});
}

void RecordingPlug::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  IPlugHeadless::InformHostOfParamChange(paramIdx, normalizedValue);
  events.push_back({'p', paramIdx, normalizedValue, 0, 0});
}

void RecordingPlug::EndInformHostOfParamChange(int paramIdx)
{
  IPlugHeadless::EndInformHostOfParamChange(paramIdx);
  events.push_back({'e', paramIdx, 0.0, 0, 0});
}

void RecordingPlug::PopupHostContextMenuForParam(int paramIdx, int x, int y)
{
  events.push_back({'m', paramIdx, 0.0, x, y});
}

void RecordingPlug::ResizeGraphics(int width, int height)
{
  resizedW = width;
  resizedH = height;
}

std::string RecordingPlug::Trace() const
{
  std::string t;
  for (const Event& e : events)
  {
    if (!t.empty()) t += ' ';
    t += e.kind;
    t += std::to_string(e.param);
  }
  return t;
}

bool RecordingPlug::EditsBalanced() const
{
  int open = -1;
  for (const Event& e : events)
  {
    if (e.kind == 'b')
    {
      if (open >= 0) return false;
      open = e.param;
    }
    else if (e.kind == 'p')
    {
      if (open != e.param) return false;
    }
    else if (e.kind == 'e')
    {
      if (open != e.param) return false;
      open = -1;
    }
  }
  return open < 0;
}
