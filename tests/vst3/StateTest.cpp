// The host's copy of the state: its exact bytes, round trips, short streams,
// and which of the two state interfaces carries it.
#include <algorithm>
#include <cstring>

#include "Vst3TestSupport.h"

using namespace vst3test;

namespace
{
std::vector<uint8_t> StateBytes(const std::vector<double>& values, uint32_t bypass)
{
  std::vector<uint8_t> bytes(values.size() * 8 + 4);
  std::memcpy(bytes.data(), values.data(), values.size() * 8); // little-endian machine
  for (int i = 0; i < 4; ++i) bytes[values.size() * 8 + i] = static_cast<uint8_t>(bypass >> (8 * i));
  return bytes;
}

void Send(PluginInstance& plug, std::initializer_list<std::pair<Vst::ParamID, double>> changes)
{
  ParamChanges queue;
  for (const auto& change : changes) queue.Add(change.first, change.second);
  plug.Flush(&queue);
}
} // namespace

TEST_F(Vst3Test, StateIsTheParameterChunkThenTheBypassFlag)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  EXPECT_EQ(plug->SaveState(), StateBytes({0.0, 5.0, 5.0, 5.0, 1.0}, 0)) << "defaults, not bypassed";

  Send(*plug, {{kHostBypass, 1.0}, {kMic, 0.25}, {kOutput, 1.0}, {kEffectBypass, 0.0}});
  EXPECT_EQ(plug->SaveState(), StateBytes({2.5, 5.0, 5.0, 10.0, 0.0}, 1)) << "bypassed, edited";
}

TEST_F(Vst3Test, StateRestoresByteIdenticalIntoAFreshInstanceAndDrivesTheAudio)
{
  auto source = MakeReady();
  ASSERT_TRUE(source);
  Send(*source, {{kMic, 0.37}, {kSize, 0.91}, {kCharacter, 0.13}, {kOutput, 0.66}, {kHostBypass, 1.0}});
  const std::vector<uint8_t> saved = source->SaveState();
  ASSERT_EQ(saved.size(), 44u);

  auto restored = MakeReady();
  ASSERT_TRUE(restored);
  ASSERT_EQ(restored->LoadState(saved), kResultOk);
  EXPECT_EQ(restored->SaveState(), saved) << "save after restore gives the same bytes";
  EXPECT_DOUBLE_EQ(restored->controller->getParamNormalized(kMic), 0.37);
  EXPECT_EQ(restored->controller->getParamNormalized(kHostBypass), 1.0);

  // Un-bypassed, both must sound the same: the restore reached the effect.
  Send(*source, {{kHostBypass, 0.0}});
  Send(*restored, {{kHostBypass, 0.0}});
  const std::vector<double> in = Noise(4000, 7);
  std::vector<double> a[2], b[2];
  RunBlocks(*source, in, a, 2, 256);
  RunBlocks(*restored, in, b, 2, 256);
  EXPECT_EQ(a[0], b[0]);
  EXPECT_EQ(a[1], b[1]);
}

// What a host does when it reopens a project saved bypassed: the flag set
// through the controller, then set-up, then the saved state into a new instance.
TEST_F(Vst3Test, HostBypassFromTheControllerSurvivesSetupAndAFreshInstance)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  ASSERT_EQ(plug->controller->setParamNormalized(kHostBypass, 1.0), kResultOk);
  ASSERT_EQ(plug->Setup(48000, 256, Vst::kSample64), kResultOk);
  EXPECT_EQ(plug->controller->getParamNormalized(kHostBypass), 1.0) << "after setupProcessing";
  const std::vector<uint8_t> saved = plug->SaveState();
  EXPECT_EQ(saved, StateBytes({0.0, 5.0, 5.0, 5.0, 1.0}, 1)) << "the saved flag is 1";

  auto reopened = Make();
  ASSERT_TRUE(reopened);
  ASSERT_EQ(reopened->LoadState(saved), kResultOk);
  ASSERT_EQ(reopened->Setup(44100, 256, Vst::kSample64), kResultOk);
  EXPECT_EQ(reopened->controller->getParamNormalized(kHostBypass), 1.0) << "restored, then set up";
  const std::vector<double> in = Noise(1000, 21);
  std::vector<double> out[2];
  RunBlocks(*reopened, in, out, 2, 256);
  EXPECT_EQ(out[0], in) << "the reopened instance passes the input through";
  EXPECT_EQ(out[1], in) << "the reopened instance passes the input through";
}

TEST_F(Vst3Test, StreamEndingAfterTheParameterChunkRestoresParametersButNotBypass)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  Send(*plug, {{kHostBypass, 1.0}});
  const std::vector<uint8_t> other = StateBytes({7.0, 1.0, 2.0, 3.0, 0.0}, 0);

  EXPECT_EQ(plug->LoadState(other, 40), kResultFalse) << "the bypass flag is missing";
  EXPECT_EQ(plug->SaveState(), StateBytes({7.0, 1.0, 2.0, 3.0, 0.0}, 1)) << "parameters in, bypass kept";

  // A stream ending inside the chunk keeps the current values for the bytes it lacks.
  EXPECT_EQ(plug->LoadState(StateBytes({4.0, 4.0, 4.0, 4.0, 4.0}, 0), 12), kResultFalse);
  const std::vector<uint8_t> now = plug->SaveState();
  double mic;
  std::memcpy(&mic, now.data(), 8);
  EXPECT_EQ(mic, 4.0) << "the first value arrived";
  const std::vector<uint8_t> before = StateBytes({7.0, 1.0, 2.0, 3.0, 0.0}, 1);
  ASSERT_EQ(now.size(), before.size());
  EXPECT_TRUE(std::equal(now.begin() + 16, now.end(), before.begin() + 16))
    << "values after the stream's end are untouched";

  EXPECT_EQ(plug->LoadState({}), kResultFalse) << "an empty stream";
  EXPECT_EQ(plug->controller->setState(nullptr), kResultFalse);
  EXPECT_EQ(plug->controller->getState(nullptr), kResultFalse);
}

TEST_F(Vst3Test, StoredValuesOutsideTheirRangesAreClamped)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  ASSERT_EQ(plug->LoadState(StateBytes({12.0, -3.0, 5.0, 5.0, 7.0}, 2)), kResultOk);
  EXPECT_EQ(plug->SaveState(), StateBytes({10.0, 0.0, 5.0, 5.0, 1.0}, 1)) << "any non-zero flag reads as bypassed";
}

TEST_F(Vst3Test, ComponentStateCallsAreNotImplemented)
{
  auto plug = MakeReady();
  ASSERT_TRUE(plug);
  ByteStream stream;
  EXPECT_EQ(plug->component->getState(&stream), kNotImplemented);
  EXPECT_TRUE(stream.data.empty());
  ByteStream full(StateBytes({1, 1, 1, 1, 1}, 1));
  EXPECT_EQ(plug->component->setState(&full), kNotImplemented);
  EXPECT_EQ(plug->controller->setComponentState(&full), kNotImplemented);
  EXPECT_EQ(plug->SaveState(), StateBytes({0.0, 5.0, 5.0, 5.0, 1.0}, 0)) << "nothing changed";
}
