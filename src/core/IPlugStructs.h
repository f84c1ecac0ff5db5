#pragma once
#include <cstdint>

// One three-byte MIDI event positioned within the current block.
struct IMidiMsg
{
  enum EStatusMsg
  {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14,
  };

  // A MIDI controller number 0..127.
  enum EControlChangeMsg
  {
    kModWheel = 1,
    kBreathController = 2,
    kFootController = 4,
    kChannelVolume = 7,
    kPan = 10,
    kExpression = 11,
    kSustainOnOff = 64,
    kAllNotesOff = 123,
  };

  int32_t mOffset = 0;
  uint8_t mStatus = 0;
  uint8_t mData1 = 0;
  uint8_t mData2 = 0;
  uint8_t mUnused = 0; // keeps lists of messages at 8-byte elements

  void Clear();
  void MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel = 0);
  void MakeNoteOffMsg(int noteNumber, int offset, int channel = 0);
  void MakePitchWheelMsg(double value, int channel = 0);
  void MakeControlChangeMsg(EControlChangeMsg controller, double value, int channel = 0);

  int Channel() const;
  EStatusMsg StatusMsg() const;
  int NoteNumber() const;
  int Velocity() const;
  int PolyAfterTouch() const;
  int ChannelAfterTouch() const;
  int Program() const;
  double PitchWheel() const;
  EControlChangeMsg ControlChangeIdx() const;
  double ControlChange(EControlChangeMsg controller) const;
  void LogMsg() const {}
};
static_assert(sizeof(IMidiMsg) == 8, "MIDI message lists rely on 8-byte elements");

struct ISysEx
{
  int32_t mOffset = 0;
  int32_t mSize = 0;
  const uint8_t* mData = nullptr; // borrowed

  void Clear();
  void LogMsg() const {}
};

const char* StatusMsgStr(IMidiMsg::EStatusMsg msg);
char* SysExStr(char* text, int maxLen, const unsigned char* data, int size);
