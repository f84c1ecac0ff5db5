// The module's factory for one plug-in class, compiled into each bundle with
// that bundle's identity (PlugVST3Identity.h, generated).
#include "IPlugVST3.h"
#include "ModuleEntry.h"
#include "PlugVST3Identity.h"
#include "PluginFactory.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

using namespace Steinberg;

// Made by the plug-in; constructions are serialised there.
IPlugBase* MakePlug();

bool InitModule() { return true; }
bool DeinitModule() { return true; }

namespace
{
// The class ID: the four values in this order, each most significant byte first.
const uint32 GUID_DATA1 = PLUG_VST3_GUID_DATA1;
const uint32 GUID_DATA2 = PLUG_VST3_GUID_DATA2;
const uint32 GUID_DATA3 = PLUG_VST3_GUID_DATA3; // the maker's code
const uint32 GUID_DATA4 = PLUG_VST3_GUID_DATA4; // the plug-in's code

// [main thread, allocates] The factory's creation function; the context is unused.
FUnknown* createInstance(void*)
{
  IPlugBase* plug = MakePlug();
  auto* vst3 = dynamic_cast<IPlugVST3*>(plug);
  if (!vst3)
  {
    delete plug;
    return nullptr;
  }
  return static_cast<Vst::IAudioProcessor*>(vst3);
}
} // namespace

// [main thread] The first call makes the factory; later calls share it.
extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
  if (gPluginFactory)
  {
    gPluginFactory->addRef();
    return gPluginFactory;
  }

  static const PFactoryInfo factoryInfo(PLUG_VST3_VENDOR, PLUG_VST3_URL, PLUG_VST3_EMAIL, PFactoryInfo::kUnicode);
  auto* factory = new CPluginFactory(factoryInfo);
  gPluginFactory = factory;

  static const TUID classID = INLINE_UID(GUID_DATA1, GUID_DATA2, GUID_DATA3, GUID_DATA4);
  static const PClassInfo2 componentClass(classID, PClassInfo::kManyInstances, kVstAudioEffectClass, PLUG_VST3_NAME,
                                          Vst::kSimpleModeSupported, PLUG_VST3_SUBCATEGORIES, "", PLUG_VST3_VERSION,
                                          "VST 3.6.12");
  factory->registerClass(componentClass, createInstance, nullptr);
  return factory;
}
