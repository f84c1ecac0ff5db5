// What the wrapper tells the host on its own initiative (editor gestures,
// latency changes) cannot be triggered through the host-facing interfaces
// until the editor exists, so these cases drive the effect in process.
#include <gtest/gtest.h>

#include "HostObjects.h"
#include "MURAX.h"

using namespace vst3host;
using Steinberg::kResultOk;
using Steinberg::kResultFalse;
namespace Vst = Steinberg::Vst;

namespace
{
struct InProcessPlug
{
  explicit InProcessPlug(const char* hostName = "MURAX Test Host")
    : host(hostName), plug(static_cast<MURAX*>(MakePlug()))
  {
    EXPECT_EQ(plug->initialize(&host), kResultOk);
    EXPECT_EQ(plug->setComponentHandler(&handler), kResultOk);
  }
  ~InProcessPlug()
  {
    plug->setComponentHandler(nullptr);
    plug->terminate();
    plug->release();
  }

  HostApplication host;
  ComponentHandler handler;
  MURAX* plug;
};
} // namespace

TEST(WrapperToHost, EditorGesturesBecomeBeginPerformEndEdits)
{
  InProcessPlug p;
  p.plug->BeginInformHostOfParamChange(MURAX::kCharacter);
  p.plug->SetParameterFromGUI(MURAX::kCharacter, 0.25);
  p.plug->EndInformHostOfParamChange(MURAX::kCharacter);
  ASSERT_EQ(p.handler.edits.size(), 3u);
  EXPECT_EQ(p.handler.edits[0].kind, 'b');
  EXPECT_EQ(p.handler.edits[1].kind, 'p');
  EXPECT_EQ(p.handler.edits[1].id, static_cast<Vst::ParamID>(MURAX::kCharacter));
  EXPECT_EQ(p.handler.edits[1].value, 0.25);
  EXPECT_EQ(p.handler.edits[2].kind, 'e');
  EXPECT_EQ(p.plug->GetParam(MURAX::kCharacter)->Value(), 2.5);
  EXPECT_EQ(p.plug->Controls().characterValue, 2.5) << "the effect hears the edit too";

  p.plug->setComponentHandler(nullptr);
  EXPECT_EQ(p.plug->beginEdit(1), kResultFalse) << "no handler, no edit";
}

TEST(WrapperToHost, LatencyChangesAskTheHostToRestart)
{
  InProcessPlug p;
  p.plug->SetLatency(64);
  EXPECT_EQ(p.plug->getLatencySamples(), 64u);
  ASSERT_EQ(p.handler.restarts.size(), 1u);
  EXPECT_EQ(p.handler.restarts[0], Vst::kLatencyChanged);
}

TEST(WrapperToHost, TheHostIsIdentifiedByItsName)
{
  InProcessPlug ardour("Ardour");
  EXPECT_EQ(ardour.plug->GetHost(), kHostArdour);
  InProcessPlug unknown("Some Host");
  EXPECT_EQ(unknown.plug->GetHost(), kHostUnknown);
}
