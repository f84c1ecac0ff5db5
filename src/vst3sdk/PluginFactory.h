#pragma once
// The module's class factory: a table of class descriptions, each with the
// function that makes an instance. Hosts reach it through GetPluginFactory.
#include <atomic>
#include <vector>

#include "pluginterfaces/base/ipluginbase.h"

// COM-style interfaces have no virtual destructor: objects are destroyed by
// their own release(), never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace Steinberg {

class CPluginFactory : public IPluginFactory3
{
public:
  // Makes a new object holding one reference; context is what registerClass was given.
  using CreateFunction = FUnknown* (*)(void* context);

  explicit CPluginFactory(const PFactoryInfo& info);
  virtual ~CPluginFactory();
  CPluginFactory(const CPluginFactory&) = delete;
  CPluginFactory& operator=(const CPluginFactory&) = delete;

  // [main thread, allocates] False for a null function or a class ID already registered.
  bool registerClass(const PClassInfo2& info, CreateFunction create, void* context = nullptr);
  bool isClassRegistered(const TUID cid) const;

  // The context the host handed to setHostContext (held until replaced or the factory goes), or null.
  FUnknown* getHostContext() const { return hostContext; }

  // ---- FUnknown [any thread] ---------------------------------------------------
  tresult PLUGIN_API queryInterface(const TUID queryIID, void** obj) SMTG_OVERRIDE;
  uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
  uint32 PLUGIN_API release() SMTG_OVERRIDE;

  // ---- IPluginFactory, IPluginFactory2, IPluginFactory3 [main thread] ----------
  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) SMTG_OVERRIDE;
  int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) SMTG_OVERRIDE;
  // kNoInterface and null for an unknown class or an interface the new object
  // does not offer; in the latter case the object is gone again.
  tresult PLUGIN_API createInstance(FIDString cid, FIDString interfaceIID, void** obj) SMTG_OVERRIDE;
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) SMTG_OVERRIDE;
  tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) SMTG_OVERRIDE;
  tresult PLUGIN_API setHostContext(FUnknown* context) SMTG_OVERRIDE;

private:
  struct ClassEntry
  {
    PClassInfo2 info;
    CreateFunction create;
    void* context;
  };

  const ClassEntry* entryAt(int32 index) const;

  std::atomic<uint32> refCount{1};
  PFactoryInfo factoryInfo;
  std::vector<ClassEntry> classes;
  FUnknown* hostContext = nullptr;
};

// The module's one factory while a host holds it; cleared when the last reference goes.
extern IPluginFactory* gPluginFactory;

} // namespace Steinberg

#pragma GCC diagnostic pop
