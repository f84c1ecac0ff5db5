// The controller side as a host sees it: parameters, texts, units and
// programs, normalised values, views, and terminate/initialize cycles.
#include <clocale>
#include <cstring>

#include "CommaLocale.h"
#include "Vst3TestSupport.h"
#include "pluginterfaces/gui/iplugview.h"

using namespace vst3test;

TEST_F(Vst3Test, SevenParametersWithTheirIdsTitlesFlagsStepsAndDefaults)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  struct Expected
  {
    Vst::ParamID id;
    const char* title;
    int32 stepCount;
    int32 flags;
    double defaultValue;
  };
  const Expected table[] = {
    {1886548852, "Preset", 1, 0x8000, 0.0},  {1651532147, "Bypass", 1, 0x10009, 0.0},
    {0, "Mic Placement", 0, 1, 0.0},         {1, "Cabinet Size", 0, 1, 0.5},
    {2, "Character", 0, 1, 0.5},             {3, "Output", 0, 1, 0.5},
    {4, "Bypass", 1, 1, 1.0},
  };
  ASSERT_EQ(plug->controller->getParameterCount(), 7);
  for (int i = 0; i < 7; ++i)
  {
    Vst::ParameterInfo info{};
    ASSERT_EQ(plug->controller->getParameterInfo(i, info), kResultOk) << "position " << i;
    const Expected& e = table[i];
    EXPECT_EQ(info.id, e.id) << "position " << i;
    EXPECT_EQ(Narrow(info.title), e.title) << "position " << i;
    EXPECT_EQ(Narrow(info.shortTitle), "") << e.title;
    EXPECT_EQ(Narrow(info.units), "") << e.title;
    EXPECT_EQ(info.stepCount, e.stepCount) << e.title;
    EXPECT_EQ(info.flags, e.flags) << e.title;
    EXPECT_EQ(info.defaultNormalizedValue, e.defaultValue) << e.title;
    EXPECT_EQ(info.unitId, Vst::kRootUnitId) << e.title;
  }
  Vst::ParameterInfo info{};
  EXPECT_EQ(plug->controller->getParameterInfo(7, info), kResultFalse) << "past the end";
  EXPECT_EQ(plug->controller->getParameterInfo(-1, info), kResultFalse) << "before the start";
}

TEST_F(Vst3Test, ValueTextsAndConversions)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  Vst::IEditController* c = plug->controller;
  EXPECT_EQ(ParamString(c, kMic, 0.5), "5.0");
  EXPECT_EQ(ParamString(c, kOutput, 1.0), "10.0");
  EXPECT_EQ(ParamString(c, kSize, 0.123), "1.2");
  EXPECT_EQ(ParamString(c, kEffectBypass, 1.0), "1");
  EXPECT_EQ(ParamString(c, kEffectBypass, 0.0), "0");
  Vst::String128 text = {'#', 0};
  EXPECT_EQ(c->getParamStringByValue(kHostBypass, 1.0, text), kResultFalse) << "host bypass has no value text";
  EXPECT_EQ(c->getParamStringByValue(kPreset, 0.0, text), kResultFalse) << "preset has no value text";
  EXPECT_EQ(c->getParamStringByValue(5, 0.0, text), kResultFalse) << "unknown ID";
  EXPECT_EQ(Narrow(text), "#") << "a refused conversion leaves the text alone";

  struct Parse
  {
    Vst::ParamID id;
    const char* text;
    tresult result;
    double normalized;
  };
  const Parse parses[] = {
    {kMic, "7.5", kResultOk, 0.75},     {kMic, "abc", kResultOk, 0.0},     {kMic, "12", kResultOk, 1.0},
    {kMic, "-3", kResultOk, 0.0},       {kMic, "2.5 dB", kResultOk, 0.25}, {kEffectBypass, "1", kResultOk, 1.0},
    {kHostBypass, "on", kResultOk, 1.0}, {kHostBypass, "maybe", kResultFalse, -1.0},
    {kMic, "nan", kResultFalse, -1.0},  {99, "1", kResultFalse, -1.0},
  };
  for (const Parse& p : parses)
  {
    Vst::String128 wide;
    Widen(p.text, wide);
    double value = -1.0;
    EXPECT_EQ(c->getParamValueByString(p.id, wide, value), p.result) << "'" << p.text << "' for ID " << p.id;
    EXPECT_DOUBLE_EQ(value, p.normalized) << "'" << p.text << "' for ID " << p.id;
  }

  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(kSize, 2.5), 0.25);
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(kSize, 12.0), 1.0) << "clamped";
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(kPreset, 0.7), 0.7) << "not an IParam: unchanged";
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(kOutput, 0.3), 3.0);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(kEffectBypass, 1.0), 1.0);
}

TEST_F(Vst3Test, NumberTextsIgnoreTheHostsDecimalComma)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  testkit::CommaLocale comma;
  const std::string& name = comma.Name();
  if (name.empty()) GTEST_SKIP() << "no locale with a decimal comma can be found or built (package 'locales')";
  ASSERT_NE(std::setlocale(LC_NUMERIC, name.c_str()), nullptr);
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 5.0);
  ASSERT_STREQ(check, "5,0") << "the host's locale really has a decimal comma";

  const std::string shown = ParamString(plug->controller, kMic, 0.5);
  Vst::String128 wide;
  Widen("7.5", wide);
  double parsed = -1.0;
  plug->controller->getParamValueByString(kMic, wide, parsed);
  const std::string after = std::setlocale(LC_NUMERIC, nullptr);
  std::setlocale(LC_NUMERIC, "C");

  EXPECT_EQ(shown, "5.0") << "under " << name;
  EXPECT_DOUBLE_EQ(parsed, 0.75) << "under " << name;
  EXPECT_EQ(after, name) << "the plug-in must leave the host's locale as it found it";
}

TEST_F(Vst3Test, NormalisedValuesFromTheHostAreCheckedAtTheBoundary)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  Vst::IEditController* c = plug->controller;
  EXPECT_EQ(c->getParamNormalized(kPreset), 0.0);
  EXPECT_EQ(c->getParamNormalized(kHostBypass), 0.0);
  EXPECT_EQ(c->getParamNormalized(kEffectBypass), 1.0);
  EXPECT_EQ(c->getParamNormalized(1234), 0.0);

  EXPECT_EQ(c->setParamNormalized(kSize, 0.8), kResultOk);
  EXPECT_DOUBLE_EQ(c->getParamNormalized(kSize), 0.8);
  EXPECT_EQ(c->setParamNormalized(kSize, std::nan("")), kResultFalse) << "NaN is ignored";
  EXPECT_DOUBLE_EQ(c->getParamNormalized(kSize), 0.8);
  EXPECT_EQ(c->setParamNormalized(kSize, 1.7), kResultOk);
  EXPECT_DOUBLE_EQ(c->getParamNormalized(kSize), 1.0) << "above 1 is clamped";
  EXPECT_EQ(c->setParamNormalized(kSize, -0.2), kResultOk);
  EXPECT_DOUBLE_EQ(c->getParamNormalized(kSize), 0.0) << "below 0 is clamped";
  EXPECT_EQ(ParamString(c, kSize, c->getParamNormalized(kSize)), "0.0");

  // Hosts restore the bypass of a project through the controller: the same
  // threshold as the process queue, NaN ignored.
  const std::pair<double, double> bypass[] = {{1.0, 1.0}, {0.5, 0.0}, {0.51, 1.0}, {std::nan(""), 1.0}, {0.0, 0.0}};
  for (const auto& b : bypass)
  {
    EXPECT_EQ(c->setParamNormalized(kHostBypass, b.first), std::isnan(b.first) ? kResultFalse : kResultOk)
        << "host bypass " << b.first;
    EXPECT_EQ(c->getParamNormalized(kHostBypass), b.second) << "host bypass " << b.first;
  }
  EXPECT_EQ(c->setParamNormalized(kPreset, 0.0), kResultFalse);
  EXPECT_EQ(c->setParamNormalized(5, 0.0), kResultFalse) << "ID equal to the parameter count";
}

TEST_F(Vst3Test, OneRootUnitAndTheFactoryPresetList)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  ASSERT_TRUE(plug->units);
  Vst::IUnitInfo* u = plug->units;
  EXPECT_EQ(u->getUnitCount(), 1);
  Vst::UnitInfo unit{};
  ASSERT_EQ(u->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.id, 0);
  EXPECT_EQ(unit.parentUnitId, -1);
  EXPECT_EQ(Narrow(unit.name), "Root Unit");
  EXPECT_EQ(unit.programListId, -1);
  EXPECT_EQ(u->getUnitInfo(1, unit), kResultFalse);
  EXPECT_EQ(u->getSelectedUnit(), 0);

  EXPECT_EQ(u->getProgramListCount(), 0) << "no list is announced";
  Vst::ProgramListInfo list{};
  ASSERT_EQ(u->getProgramListInfo(0, list), kResultOk) << "yet list 0 is described";
  EXPECT_EQ(list.id, static_cast<Vst::ProgramListID>(kPreset));
  EXPECT_EQ(Narrow(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(u->getProgramListInfo(1, list), kResultFalse);
  Vst::String128 name = {};
  ASSERT_EQ(u->getProgramName(kPreset, 0, name), kResultOk);
  EXPECT_EQ(Narrow(name), "-");
  EXPECT_EQ(u->getProgramName(kPreset + 1, 0, name), kResultFalse);
  EXPECT_EQ(u->getProgramInfo(kPreset, 0, "x", name), kNotImplemented);
  EXPECT_EQ(u->hasProgramPitchNames(kPreset, 0), kNotImplemented);
  EXPECT_EQ(u->selectUnit(0), kNotImplemented);
  EXPECT_EQ(u->setUnitProgramData(kPreset, 0, nullptr), kNotImplemented);
}

TEST_F(Vst3Test, EditorViewReportsTheEditorSizeAndKeepsThePlugInAlive)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  EXPECT_EQ(plug->controller->createView("other"), nullptr);
  EXPECT_EQ(plug->controller->createView(nullptr), nullptr);
  IPlugView* first = plug->controller->createView(Vst::ViewType::kEditor);
  IPlugView* second = plug->controller->createView(Vst::ViewType::kEditor);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(first->isPlatformTypeSupported("NSView"), kResultFalse);
  EXPECT_EQ(first->canResize(), kResultFalse);
  second->release();

  plug.reset(); // the host lets go of the plug-in first
  ViewRect size;
  ASSERT_EQ(first->getSize(&size), kResultTrue) << "the view still reaches its plug-in";
  EXPECT_EQ(size.left, 0);
  EXPECT_EQ(size.top, 0);
  EXPECT_EQ(size.right, 702);
  EXPECT_EQ(size.bottom, 436);
  ViewRect hostSize(0, 0, 800, 600);
  EXPECT_EQ(first->onSize(&hostSize), kResultTrue);
  EXPECT_EQ(first->release(), 0u) << "the view's release ends it, and the plug-in with it";
}

TEST_F(Vst3Test, TerminateAndInitializeAgainRebuildsBusesAndParameters)
{
  auto plug = Make();
  ASSERT_TRUE(plug);
  for (int cycle = 0; cycle < 3; ++cycle)
  {
    ASSERT_EQ(plug->component->terminate(), kResultOk) << "cycle " << cycle;
    EXPECT_EQ(plug->controller->getParameterCount(), 0) << "cycle " << cycle;
    EXPECT_EQ(plug->component->getBusCount(Vst::kAudio, Vst::kInput), 0) << "cycle " << cycle;
    ASSERT_EQ(plug->component->initialize(&host), kResultOk) << "cycle " << cycle;
    EXPECT_EQ(plug->controller->getParameterCount(), 7) << "cycle " << cycle;
    EXPECT_EQ(plug->component->getBusCount(Vst::kAudio, Vst::kInput), 1) << "cycle " << cycle;
    EXPECT_EQ(plug->component->getBusCount(Vst::kAudio, Vst::kOutput), 1) << "cycle " << cycle;
  }
  EXPECT_EQ(plug->component->initialize(&host), kResultFalse) << "a second initialize without terminate";
  EXPECT_EQ(plug->controller->getParameterCount(), 7) << "and nothing doubled";
}
