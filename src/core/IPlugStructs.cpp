#include "IPlugStructs.h"

#include <cstdio>

void IMidiMsg::Clear()
{
  mOffset = 0;
  mStatus = mData1 = mData2 = mUnused = 0;
}

void IMidiMsg::MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel)
{
  Clear();
  mStatus = static_cast<uint8_t>(0x90 | channel);
  mData1 = static_cast<uint8_t>(noteNumber);
  mData2 = static_cast<uint8_t>(velocity);
  mOffset = offset;
}

void IMidiMsg::MakeNoteOffMsg(int noteNumber, int offset, int channel)
{
  Clear();
  mStatus = static_cast<uint8_t>(0x80 | channel);
  mData1 = static_cast<uint8_t>(noteNumber);
  mOffset = offset;
}

void IMidiMsg::MakePitchWheelMsg(double value, int channel)
{
  Clear();
  mStatus = static_cast<uint8_t>(0xE0 | channel);
  // Clamp before converting so a wild value cannot overflow the integer.
  const double scaled = value * 8192.0;
  const int i = !(scaled >= -16384.0) ? -16384 : scaled > 16384.0 ? 16384 : static_cast<int>(scaled);
  if (i < -8192) return;
  const int v = i + 8192;
  if (v > 16383)
  {
    mData1 = mData2 = 127;
    return;
  }
  mData1 = static_cast<uint8_t>(v & 0x7F);
  mData2 = static_cast<uint8_t>(v >> 7);
}

void IMidiMsg::MakeControlChangeMsg(EControlChangeMsg controller, double value, int channel)
{
  Clear();
  mStatus = static_cast<uint8_t>(0xB0 | channel);
  mData1 = static_cast<uint8_t>(controller);
  // Arguments are unchecked by design, but a wild value must not reach an
  // out-of-range float-to-int conversion.
  const double scaled = value * 127.0;
  mData2 = static_cast<uint8_t>(scaled > -1e9 && scaled < 1e9 ? static_cast<int>(scaled) : 0);
}

int IMidiMsg::Channel() const { return mStatus & 0x0F; }

IMidiMsg::EStatusMsg IMidiMsg::StatusMsg() const
{
  const int kind = mStatus >> 4;
  if (mStatus < 0x80 || kind == 0xF) return kNone;
  return static_cast<EStatusMsg>(kind);
}

int IMidiMsg::NoteNumber() const
{
  const EStatusMsg s = StatusMsg();
  return s == kNoteOff || s == kNoteOn || s == kPolyAftertouch ? mData1 : -1;
}

int IMidiMsg::Velocity() const
{
  const EStatusMsg s = StatusMsg();
  return s == kNoteOff || s == kNoteOn ? mData2 : -1;
}

int IMidiMsg::PolyAfterTouch() const { return StatusMsg() == kPolyAftertouch ? mData2 : -1; }
int IMidiMsg::ChannelAfterTouch() const { return StatusMsg() == kChannelAftertouch ? mData1 : -1; }
int IMidiMsg::Program() const { return StatusMsg() == kProgramChange ? mData1 : -1; }

double IMidiMsg::PitchWheel() const
{
  if (StatusMsg() != kPitchWheel) return 0.0;
  return (mData2 * 128 + mData1 - 8192) / 8192.0;
}

IMidiMsg::EControlChangeMsg IMidiMsg::ControlChangeIdx() const { return static_cast<EControlChangeMsg>(mData1); }

double IMidiMsg::ControlChange(EControlChangeMsg controller) const
{
  if (StatusMsg() == kControlChange && ControlChangeIdx() == controller) return mData2 / 127.0;
  return -1.0;
}

void ISysEx::Clear()
{
  mOffset = mSize = 0;
  mData = nullptr;
}

const char* StatusMsgStr(IMidiMsg::EStatusMsg msg)
{
  switch (msg)
  {
    case IMidiMsg::kNone: return "none";
    case IMidiMsg::kNoteOff: return "noteoff";
    case IMidiMsg::kNoteOn: return "noteon";
    case IMidiMsg::kPolyAftertouch: return "aftertouch";
    case IMidiMsg::kControlChange: return "controlchange";
    case IMidiMsg::kProgramChange: return "programchange";
    case IMidiMsg::kChannelAftertouch: return "channelaftertouch";
    case IMidiMsg::kPitchWheel: return "pitchwheel";
  }
  return "unknown";
}

char* SysExStr(char* text, int maxLen, const unsigned char* data, int size)
{
  if (!text) return text;
  text[0] = 0;
  if (!data || size <= 0) return text;
  const int n = size < maxLen / 3 ? size : maxLen / 3;
  if (n <= 0) return text;
  static const char kHex[] = "0123456789ABCDEF";
  for (int i = 0; i < n; ++i)
  {
    text[3 * i] = kHex[data[i] >> 4];
    text[3 * i + 1] = kHex[data[i] & 0xF];
    text[3 * i + 2] = ' ';
  }
  text[3 * n - 1] = 0;
  return text;
}
