// The 44-byte host state: saved at the end of a run, restored after set-up
// and activation, a host-bypassed one included.
#include <cstring>
#include <string>

#include "ClassFinder.h"
#include "HostObjects.h"
#include "PluginInstance.h"
#include "RenderTestSupport.h"
#include "Vst3Module.h"

namespace rendertest {
namespace {

double StoredDouble(const std::string& state, int index)
{
  double v = 0.0;
  std::memcpy(&v, state.data() + 8 * index, 8);
  return v;
}

TEST_F(RenderTest, StateOutHoldsTheSettingsAndRoundTrips)
{
  const std::string in = Path("in.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(2, 48000, 24000, 4)));
  RunResult run = Render({"--mic", "3.5", "--size", "7", "--character", "4", "--output", "6", "--state-out",
                          Path("a.state"), in, Path("a.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string a = ReadBytes(Path("a.state"));
  ASSERT_EQ(a.size(), 44u);
  EXPECT_DOUBLE_EQ(StoredDouble(a, 0), 3.5);
  EXPECT_DOUBLE_EQ(StoredDouble(a, 1), 7.0);
  EXPECT_DOUBLE_EQ(StoredDouble(a, 2), 4.0);
  EXPECT_DOUBLE_EQ(StoredDouble(a, 3), 6.0);
  EXPECT_DOUBLE_EQ(StoredDouble(a, 4), 1.0) << "the effect runs";
  EXPECT_EQ(a.substr(40), std::string("\0\0\0\0", 4)) << "not host-bypassed";

  // Restoring it without knobs renders the same audio and saves the same state.
  run = Render({"--state-in", Path("a.state"), "--state-out", Path("b.state"), in, Path("b.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(Path("b.state")), a);
  EXPECT_EQ(ReadBytes(Path("b.wav")), ReadBytes(Path("a.wav"))) << "the restored settings sound the same";
  EXPECT_NE(run.out.find("mic 3.5, size 7.0, character 4.0, output 6.0"), std::string::npos) << run.out;

  // Knobs on the command line win over the restored ones, one by one.
  run = Render({"--state-in", Path("a.state"), "--output", "2", "--state-out", Path("c.state"), in, Path("c.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string c = ReadBytes(Path("c.state"));
  EXPECT_DOUBLE_EQ(StoredDouble(c, 0), 3.5);
  EXPECT_DOUBLE_EQ(StoredDouble(c, 3), 2.0);

  // The effect's own bypass travels in the parameter chunk.
  run = Render({"--bypass", "--state-out", Path("d.state")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_DOUBLE_EQ(StoredDouble(ReadBytes(Path("d.state")), 4), 0.0);
}

// An empty file renders to an empty file; the settings still reach the
// plug-in, so the saved state holds them.
TEST_F(RenderTest, EmptyInputGivesAnEmptyOutputAndTheState)
{
  ASSERT_TRUE(WriteAudio(Path("empty.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, Audio{0, 1, 44100, {{}}}));
  const RunResult run = Render({"--no-preroll", "--size", "2", "--state-out", Path("s.state"), Path("empty.wav"),
                                Path("out.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Audio out = ReadAudio(Path("out.wav"), true);
  EXPECT_EQ(out.channels, 1);
  EXPECT_EQ(out.Frames(), 0);
  EXPECT_DOUBLE_EQ(StoredDouble(ReadBytes(Path("s.state")), 1), 2.0);
  EXPECT_NE(run.out.find("-inf dBFS"), std::string::npos) << run.out;
}

// A state saved by a host while its bypass was engaged: restored after set-up,
// so the flag survives setupProcessing and the audio passes through untouched.
TEST_F(RenderTest, HostBypassedStateSurvivesSetUp)
{
  using namespace Steinberg;
  std::string error;
  std::vector<uint8_t> saved;
  {
    auto module = vst3host::Vst3Module::Load(MURAX_BUNDLE_PATH, &error);
    ASSERT_TRUE(module) << error;
    TUID cid;
    ASSERT_TRUE(vst3host::FindAudioEffectClass(module->Factory(), cid, nullptr, "MURAX"));
    vst3host::HostApplication host;
    auto plug = vst3host::PluginInstance::Create(module->Factory(), cid, &host, nullptr, &error);
    ASSERT_TRUE(plug) << error;
    ASSERT_EQ(plug->Setup(48000, 512, Vst::kSample32), kResultOk);
    vst3host::ParamChanges changes;
    changes.Add(0x62706173, 1.0); // 'bpas'
    changes.Add(0, 0.8);
    plug->Flush(&changes);
    saved = plug->SaveState();
  }
  ASSERT_EQ(saved.size(), 44u);
  ASSERT_EQ(saved[40], 1) << "the host's bypass flag is saved";
  {
    FILE* f = std::fopen(Path("bypassed.state").c_str(), "wb");
    std::fwrite(saved.data(), 1, saved.size(), f);
    std::fclose(f);
  }
  const std::string in = Path("in.wav"), out = Path("out.wav");
  ASSERT_TRUE(WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(2, 44100, 20000, 6)));
  const RunResult run = Render({"--state-in", Path("bypassed.state"), "--state-out", Path("again.state"), in, out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Audio a = ReadAudio(in, true), b = ReadAudio(out, true);
  for (int ch = 0; ch < 2; ++ch)
    for (long long i = 0; i < a.Frames(); ++i) ASSERT_EQ(a.samples[ch][i], b.samples[ch][i]) << "frame " << i;
  const std::string again = ReadBytes(Path("again.state"));
  EXPECT_EQ(again, std::string(saved.begin(), saved.end())) << "the bypassed state round-trips";
  EXPECT_NE(run.out.find("bypassed"), std::string::npos) << run.out;

  // And the reference agrees: the same state through the in-repo host.
  const Audio ref = Reference(in, 512, false, Knobs(), true, &saved);
  for (long long i = 0; i < a.Frames(); ++i) ASSERT_EQ(static_cast<float>(ref.samples[0][i]), b.samples[0][i]);
}

} // namespace
} // namespace rendertest
