#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestPlug.h"
#include "Version.h"
#include "WindowlessEditor.h"

namespace
{
struct Recorder : WindowlessEditor
{
  void SetParameterFromPlug(int idx, double value, bool normalized) override
  {
    log += std::to_string(idx) + (normalized ? "n" : "p") + std::to_string(value).substr(0, 4) + " ";
  }
  void PrepDraw() override { log += "prep"; }
  std::string log;
};
} // namespace

TEST(Versions, PackedDecimalAndText)
{
  char text[kVersionStrSize];
  GetVersionStr(0x00010000, text);
  EXPECT_STREQ(text, "v1.0.0");
  EXPECT_EQ(GetDecimalVersion(0x00010000), 10000);
  const int v123 = (1 << 16) | (2 << 8) | 3;
  GetVersionStr(v123, text);
  EXPECT_STREQ(text, "v1.2.3");
  EXPECT_EQ(GetDecimalVersion(v123), 10203);
  GetVersionStr(10 << 16, text);
  EXPECT_STREQ(text, "v10.0.0");
  EXPECT_EQ(GetDecimalVersion(10 << 16), 100000);
  GetVersionStr(-1, text);
  EXPECT_STREQ(text, "v65535.255.255") << "the major number is read unsigned";

  TestPlug plug;
  plug.GetEffectVersionStr(text);
  EXPECT_STREQ(text, "v1.2.3");
  EXPECT_EQ(plug.GetEffectVersion(true), 10203);
}

TEST(Identity, NamesApiAndArchitecture)
{
  const std::string longName(300, 'n');
  class Named : public IPlugHeadless
  {
  public:
    explicit Named(const char* name) : IPlugHeadless({}, 0, "1-1", 0, name, name, name, 0, 0, 0, 0, false, false, false) {}
  } plug(longName.c_str());
  EXPECT_EQ(std::strlen(plug.GetEffectName()), 127u);
  EXPECT_EQ(std::strlen(plug.GetMfrName()), 127u);
  EXPECT_STREQ(plug.GetArchString(), "x64");
  EXPECT_STREQ(plug.GetAPIString(), "Standalone");
}

TEST(HostIdentity, SetHostLooksUpTheName)
{
  TestPlug plug;
  EXPECT_EQ(plug.GetHost(), kHostUninit);
  plug.SetHost("Ardour", 0x00070300);
  EXPECT_EQ(plug.GetHost(), kHostArdour);
  EXPECT_EQ(plug.GetHostVersion(true), 70300);
  char text[kVersionStrSize];
  plug.GetHostVersionStr(text);
  EXPECT_STREQ(text, "v7.3.0");
  plug.SetHost("Some Unheard-Of Host", 0);
  EXPECT_EQ(plug.GetHost(), kHostUnknown);
}

TEST(Identity, ApiTexts)
{
  struct ApiPlug : TestPlug
  {
    EAPI api = kAPIVST3;
    EAPI GetAPI() override { return api; }
  } plug;
  EXPECT_STREQ(plug.GetAPIString(), "VST3");
  plug.api = static_cast<EAPI>(6);
  EXPECT_STREQ(plug.GetAPIString(), "");
}

TEST(HostIdentity, SamplesPerBeat)
{
  TestPlug plug;
  plug.SetSampleRate(44100);
  plug.SetTempo(120);
  EXPECT_EQ(plug.GetSamplesPerBeat(), 22050.0);
  plug.SetTempo(0);
  EXPECT_EQ(plug.GetSamplesPerBeat(), 0.0);
}

TEST(Editor, GuiEditsReachHostAndEffect)
{
  TestPlug plug;
  plug.GetParam(1)->InitDouble("P", 0.0, 0.0, 10.0, 0.1);
  plug.SetParameterFromGUI(1, 0.5);
  EXPECT_EQ(plug.GetParam(1)->Value(), 5.0);
  EXPECT_EQ(plug.LastEditedParam(), 1);
  EXPECT_EQ(plug.LastEditedValue(), 0.5);
  ASSERT_EQ(plug.changed.size(), 1u);
  plug.SetParameterFromGUI(7, 0.5);
  EXPECT_EQ(plug.changed.size(), 1u) << "an unknown index does nothing";

  plug.OnParamReset();
  EXPECT_EQ(plug.changed, (std::vector<int>{1, 0, 1}));
}

TEST(Editor, DirtyParametersSendsEveryNormalisedValueInOrder)
{
  struct Recording : TestPlug
  {
    Recording() : TestPlug("1-1", 0, 3) {}
    void InformHostOfParamChange(int idx, double value) override { sent.push_back({idx, value}); }
    std::vector<std::pair<int, double>> sent;
  } plug;
  plug.GetParam(1)->InitDouble("P", 2.5, 0.0, 10.0, 0.1);
  plug.DirtyParameters();
  EXPECT_EQ(plug.sent, (std::vector<std::pair<int, double>>{{0, 0.0}, {1, 0.25}, {2, 0.0}}));
}

TEST(Editor, AttachAndRedrawTalkToTheSurface)
{
  TestPlug plug;
  plug.GetParam(0)->InitDouble("A", 5.0, 0.0, 10.0, 0.1);
  auto* editor = new Recorder;
  plug.AttachGraphics(nullptr);
  EXPECT_EQ(plug.GetGUI(), nullptr);
  plug.AttachGraphics(editor);
  EXPECT_EQ(plug.GetGUI(), editor);
  EXPECT_EQ(editor->log, "0n0.50 1n0.00 prep");
  editor->log.clear();
  plug.RedrawParamControls();
  EXPECT_EQ(editor->log, "0p5.00 1p0.00 ");
}

TEST(Midi, SendingAnEmptyListSucceeds)
{
  TestPlug plug;
  WDL_TypedBuf<IMidiMsg> msgs;
  EXPECT_TRUE(plug.SendMidiMsgs(&msgs));
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 0);
  msgs.Add(msg);
  EXPECT_FALSE(plug.SendMidiMsgs(&msgs)) << "the headless wrapper delivers nothing";
  char name[8] = "x";
  EXPECT_FALSE(plug.MidiNoteName(60, name));
  EXPECT_STREQ(name, "");
}
