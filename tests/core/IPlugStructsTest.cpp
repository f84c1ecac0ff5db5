#include "IPlugStructs.h"

#include <gtest/gtest.h>

TEST(MidiMsg, NoteOnAndItsQueries)
{
  IMidiMsg m;
  m.MakeNoteOnMsg(60, 100, 32, 1);
  EXPECT_EQ(m.mStatus, 0x91);
  EXPECT_EQ(m.mData1, 60);
  EXPECT_EQ(m.mData2, 100);
  EXPECT_EQ(m.mOffset, 32);
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNoteOn);
  EXPECT_EQ(m.Channel(), 1);
  EXPECT_EQ(m.NoteNumber(), 60);
  EXPECT_EQ(m.Velocity(), 100);
  EXPECT_EQ(m.Program(), -1);
  EXPECT_EQ(m.PolyAfterTouch(), -1);
  EXPECT_EQ(m.PitchWheel(), 0.0);

  m.MakeNoteOnMsg(60, 0, 0);
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNoteOn) << "velocity 0 is still a note on";

  m.MakeNoteOffMsg(61, 5, 2);
  EXPECT_EQ(m.mStatus, 0x82);
  EXPECT_EQ(m.Velocity(), 0);
  EXPECT_EQ(m.mOffset, 5);
}

TEST(MidiMsg, ControlChange)
{
  IMidiMsg m;
  m.MakeControlChangeMsg(IMidiMsg::kChannelVolume, 1.0, 0);
  EXPECT_EQ(m.mStatus, 0xB0);
  EXPECT_EQ(m.mData1, 7);
  EXPECT_EQ(m.mData2, 127);
  EXPECT_EQ(m.ControlChange(IMidiMsg::kChannelVolume), 1.0);
  EXPECT_EQ(m.ControlChange(IMidiMsg::kModWheel), -1.0);
  EXPECT_EQ(m.ControlChangeIdx(), IMidiMsg::kChannelVolume);
  m.MakeControlChangeMsg(IMidiMsg::kModWheel, 1e300, 0);
  EXPECT_EQ(m.mData1, 1) << "a wild value must not reach undefined conversion";
}

TEST(MidiMsg, PitchWheelEncoding)
{
  IMidiMsg m;
  m.MakePitchWheelMsg(0.5, 2);
  EXPECT_EQ(m.mStatus, 0xE2);
  EXPECT_EQ(m.mData1, 0);
  EXPECT_EQ(m.mData2, 96);
  EXPECT_EQ(m.PitchWheel(), 0.5);
  m.MakePitchWheelMsg(0.0);
  EXPECT_EQ(m.mData1, 0);
  EXPECT_EQ(m.mData2, 64);
  m.MakePitchWheelMsg(-1.0);
  EXPECT_EQ(m.mData1, 0);
  EXPECT_EQ(m.mData2, 0);
  EXPECT_EQ(m.PitchWheel(), -1.0);
  m.MakePitchWheelMsg(1.0);
  EXPECT_EQ(m.mData1, 127);
  EXPECT_EQ(m.mData2, 127);
  m.MakePitchWheelMsg(-5.0);
  EXPECT_EQ(m.mData2, 0);
  m.MakePitchWheelMsg(0.0 / 0.0);
  EXPECT_EQ(m.mData2, 0);
}

TEST(MidiMsg, KindsAndTexts)
{
  IMidiMsg m;
  m.mStatus = 0xF8;
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNone);
  m.mStatus = 0x40;
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNone);
  m.mStatus = 0xC3;
  m.mData1 = 9;
  EXPECT_EQ(m.Program(), 9);
  m.mStatus = 0xD0;
  EXPECT_EQ(m.ChannelAfterTouch(), 9);
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kNoteOn), "noteon");
  EXPECT_STREQ(StatusMsgStr(static_cast<IMidiMsg::EStatusMsg>(3)), "unknown");
  EXPECT_STREQ(StatusMsgStr(static_cast<IMidiMsg::EStatusMsg>(15)), "unknown");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kPitchWheel), "pitchwheel");
}

TEST(SysEx, HexDumpIsBoundedByMaxLen)
{
  const unsigned char data[] = {0xF0, 0x7E, 0x7F, 0xF7};
  char text[64];
  EXPECT_STREQ(SysExStr(text, 64, data, 3), "F0 7E 7F");
  EXPECT_STREQ(SysExStr(text, 2, data, 3), "");
  EXPECT_STREQ(SysExStr(text, 6, data, 4), "F0 7E");
  EXPECT_STREQ(SysExStr(text, 64, nullptr, 4), "");
  ISysEx s;
  s.mSize = 3;
  s.mData = data;
  s.Clear();
  EXPECT_EQ(s.mData, nullptr);
  EXPECT_EQ(s.mSize, 0);
}
