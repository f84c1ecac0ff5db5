// The module as a host first meets it: exported symbols, bundle layout, the
// factory and its one class, and the rules of instance creation.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "Vst3TestSupport.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstmessage.h"

using namespace vst3test;

namespace
{
std::string ReadFile(const std::string& path)
{
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The value of "key": "value" in a flat JSON text; empty when absent.
std::string JsonString(const std::string& json, const std::string& key)
{
  const size_t at = json.find("\"" + key + "\": \"");
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 5;
  return json.substr(start, json.find('"', start) - start);
}

std::string HexID(const TUID cid)
{
  std::string hex;
  char byte[3];
  for (int i = 0; i < 16; ++i)
  {
    std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(cid[i]));
    hex += byte;
  }
  return hex;
}

// Every byte of a fixed text field after its text is zero.
bool ZeroPadded(const char* field, size_t size)
{
  const size_t n = strnlen(field, size);
  for (size_t i = n; i < size; ++i)
    if (field[i] != 0) return false;
  return true;
}
} // namespace

TEST_F(Vst3Test, ExportsOnlyTheModuleEntryPoints)
{
  const std::string command = "nm -D --defined-only '" + module->LibraryPath() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) GTEST_SKIP() << "nm is not available";
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe))
  {
    char address[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) exported.insert(name);
  }
  const int status = pclose(pipe);
  if (status != 0 && exported.empty()) GTEST_SKIP() << "nm could not read the module";
  const std::set<std::string> expected = {"GetPluginFactory", "ModuleEntry", "ModuleExit", "bundleEntry", "bundleExit"};
  EXPECT_EQ(exported, expected);
}

TEST_F(Vst3Test, BundleHoldsTheLibraryAndAModuleInfoAgreeingWithTheFactory)
{
  EXPECT_EQ(module->LibraryPath(), std::string(MURAX_LIBRARY_PATH)) << "the library sits where the bundle layout says";
  const std::string json = ReadFile(std::string(MURAX_BUNDLE_PATH) + "/Contents/Resources/moduleinfo.json");
  ASSERT_FALSE(json.empty()) << "Contents/Resources/moduleinfo.json is missing";

  PFactoryInfo factoryInfo{};
  ASSERT_EQ(module->Factory()->getFactoryInfo(&factoryInfo), kResultOk);
  auto* factory2 = static_cast<IPluginFactory2*>(nullptr);
  ASSERT_EQ(module->Factory()->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)), kResultOk);
  PClassInfo2 info{};
  ASSERT_EQ(factory2->getClassInfo2(0, &info), kResultOk);
  factory2->release();

  EXPECT_EQ(JsonString(json, "Name"), "MURAX");
  EXPECT_EQ(JsonString(json, "Vendor"), factoryInfo.vendor) << "factory vendor";
  EXPECT_EQ(JsonString(json, "URL"), factoryInfo.url);
  EXPECT_EQ(JsonString(json, "E-Mail"), factoryInfo.email);
  EXPECT_EQ(JsonString(json, "CID"), HexID(info.cid)) << "the moduleinfo class ID must be the factory's";
  EXPECT_EQ(JsonString(json, "Category"), info.category);
  EXPECT_EQ(JsonString(json, "SDKVersion"), info.sdkVersion);
  EXPECT_EQ(JsonString(json, "Version"), info.version);
  EXPECT_NE(json.find("\"Sub Categories\": [\"Fx\"]"), std::string::npos);
  EXPECT_NE(json.find("\"Class Flags\": 2"), std::string::npos);
  EXPECT_NE(json.find("\"Cardinality\": 2147483647"), std::string::npos);
}

TEST_F(Vst3Test, FactoryDescribesTheVendorAndExactlyOneClass)
{
  IPluginFactory* factory = module->Factory();
  PFactoryInfo factoryInfo{};
  ASSERT_EQ(factory->getFactoryInfo(&factoryInfo), kResultOk);
  EXPECT_STREQ(factoryInfo.vendor, "TindermoorAudio");
  EXPECT_STREQ(factoryInfo.url, "https://www.tindermooraudio.com");
  EXPECT_STREQ(factoryInfo.email, "mailto:support@tindermooraudio.com");
  EXPECT_EQ(factoryInfo.flags, 16) << "strings are Unicode";
  EXPECT_TRUE(ZeroPadded(factoryInfo.vendor, sizeof factoryInfo.vendor));
  EXPECT_TRUE(ZeroPadded(factoryInfo.url, sizeof factoryInfo.url));
  ASSERT_EQ(factory->countClasses(), 1);

  IPluginFactory3* factory3 = nullptr;
  ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&factory3)), kResultOk);
  PClassInfo2 info;
  std::memset(static_cast<void*>(&info), 0x5A, sizeof info); // any byte the factory leaves alone shows
  ASSERT_EQ(factory3->getClassInfo2(0, &info), kResultOk);
  const unsigned char expectedID[16] = {0xF2, 0xAE, 0xE7, 0x0D, 0x00, 0xDE, 0x4F, 0x4E,
                                        'T',  'd',  'm',  'r',  'M',  'R',  'X',  '1'};
  EXPECT_EQ(std::memcmp(info.cid, expectedID, 16), 0) << "class ID " << HexID(info.cid);
  EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "MURAX");
  EXPECT_EQ(info.classFlags, 2u) << "simple mode supported";
  EXPECT_STREQ(info.subCategories, "Fx");
  EXPECT_STREQ(info.vendor, "") << "the factory's vendor applies";
  EXPECT_STREQ(info.version, "1.0.0");
  EXPECT_STREQ(info.sdkVersion, "VST 3.6.12");
  const std::pair<const char*, size_t> fields[] = {{info.category, sizeof info.category},
                                                   {info.name, sizeof info.name},
                                                   {info.subCategories, sizeof info.subCategories},
                                                   {info.vendor, sizeof info.vendor},
                                                   {info.version, sizeof info.version},
                                                   {info.sdkVersion, sizeof info.sdkVersion}};
  for (const auto& field : fields) EXPECT_TRUE(ZeroPadded(field.first, field.second)) << "field \"" << field.first << "\"";

  PClassInfo plain{};
  ASSERT_EQ(factory->getClassInfo(0, &plain), kResultOk);
  EXPECT_EQ(std::memcmp(plain.cid, expectedID, 16), 0);
  EXPECT_STREQ(plain.name, "MURAX");
  PClassInfoW wide{};
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(Narrow(wide.name), "MURAX");
  EXPECT_EQ(Narrow(wide.sdkVersion), "VST 3.6.12");

  EXPECT_NE(factory3->getClassInfo2(1, &info), kResultOk) << "there is no second class";
  EXPECT_NE(factory->getClassInfo(-1, &plain), kResultOk);
  factory3->release();
}

TEST_F(Vst3Test, GetPluginFactoryHandsOutTheSameFactoryWithOneMoreReference)
{
  using FactoryFn = IPluginFactory* (*)();
  auto getFactory = reinterpret_cast<FactoryFn>(module->Symbol("GetPluginFactory"));
  IPluginFactory* again = getFactory();
  EXPECT_EQ(again, module->Factory());
  // Two references now (the module's and ours): one more and one less leaves one more.
  EXPECT_EQ(again->addRef(), 3u);
  EXPECT_EQ(again->release(), 2u);
  again->release();

  using EntryFn = bool (*)(void*);
  using ExitFn = bool (*)();
  EXPECT_TRUE(reinterpret_cast<EntryFn>(module->Symbol("bundleEntry"))(this)) << "a second entry is counted";
  EXPECT_TRUE(reinterpret_cast<ExitFn>(module->Symbol("bundleExit"))());
}

TEST_F(Vst3Test, CreateInstanceAnswersOnlyItsClassAndTheInterfacesItOffers)
{
  IPluginFactory* factory = module->Factory();
  void* object = reinterpret_cast<void*>(1);
  TUID otherClass = {};
  std::memcpy(otherClass, MuraxClassID(), sizeof(TUID));
  otherClass[15] ^= 1;
  EXPECT_EQ(factory->createInstance(otherClass, Vst::IComponent::iid, &object), kNoInterface) << "unknown class";
  EXPECT_EQ(object, nullptr);

  object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->createInstance(MuraxClassID(), Vst::IConnectionPoint::iid, &object), kNoInterface)
    << "a single component offers no connection point";
  EXPECT_EQ(object, nullptr);

  ASSERT_EQ(factory->createInstance(MuraxClassID(), Vst::IAudioProcessor::iid, &object), kResultOk);
  auto* processor = static_cast<Vst::IAudioProcessor*>(object);
  struct Expected
  {
    const char* name;
    const TUID& iid;
    bool offered;
  };
  const Expected interfaces[] = {
    {"FUnknown", FUnknown::iid, true},           {"IPluginBase", IPluginBase::iid, true},
    {"IComponent", Vst::IComponent::iid, true},  {"IAudioProcessor", Vst::IAudioProcessor::iid, true},
    {"IEditController", Vst::IEditController::iid, true},
    {"IEditController2", Vst::IEditController2::iid, true}, {"IUnitInfo", Vst::IUnitInfo::iid, true},
    {"IConnectionPoint", Vst::IConnectionPoint::iid, false}, {"IPluginFactory", IPluginFactory::iid, false},
  };
  for (const Expected& e : interfaces)
  {
    void* answer = reinterpret_cast<void*>(1);
    const tresult result = processor->queryInterface(e.iid, &answer);
    EXPECT_EQ(result, e.offered ? kResultOk : kNoInterface) << e.name;
    if (e.offered)
      static_cast<FUnknown*>(answer)->release();
    else
      EXPECT_EQ(answer, nullptr) << e.name;
  }
  EXPECT_EQ(processor->release(), 0u) << "the host held the only reference";
}
