#include "PluginFactory.h"

#include <cstring>

namespace Steinberg {

IPluginFactory* gPluginFactory = nullptr;

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

CPluginFactory::~CPluginFactory()
{
  if (gPluginFactory == this) gPluginFactory = nullptr;
  if (hostContext) hostContext->release();
}

bool CPluginFactory::registerClass(const PClassInfo2& info, CreateFunction create, void* context)
{
  if (!create || isClassRegistered(info.cid)) return false;
  classes.push_back(ClassEntry{info, create, context});
  return true;
}

bool CPluginFactory::isClassRegistered(const TUID cid) const
{
  for (const ClassEntry& entry : classes)
    if (FUnknownPrivate::iidEqual(entry.info.cid, cid)) return true;
  return false;
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt(int32 index) const
{
  if (index < 0 || index >= static_cast<int32>(classes.size())) return nullptr;
  return &classes[static_cast<size_t>(index)];
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID queryIID, void** obj)
{
  if (!obj) return kInvalidArgument;
  QUERY_INTERFACE(queryIID, obj, FUnknown::iid, IPluginFactory)
  QUERY_INTERFACE(queryIID, obj, IPluginFactory::iid, IPluginFactory)
  QUERY_INTERFACE(queryIID, obj, IPluginFactory2::iid, IPluginFactory2)
  QUERY_INTERFACE(queryIID, obj, IPluginFactory3::iid, IPluginFactory3)
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef() { return ++refCount; }

uint32 PLUGIN_API CPluginFactory::release()
{
  const uint32 left = --refCount;
  if (left == 0) delete this;
  return left;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
  if (!info) return kInvalidArgument;
  std::memcpy(info, &factoryInfo, sizeof(PFactoryInfo));
  return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() { return static_cast<int32>(classes.size()); }

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
  const ClassEntry* entry = entryAt(index);
  if (!entry || !info) return kInvalidArgument;
  *info = PClassInfo{};
  std::memcpy(info->cid, entry->info.cid, sizeof(TUID));
  info->cardinality = entry->info.cardinality;
  std::memcpy(info->category, entry->info.category, sizeof(info->category));
  std::memcpy(info->name, entry->info.name, sizeof(info->name));
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
  const ClassEntry* entry = entryAt(index);
  if (!entry || !info) return kInvalidArgument;
  std::memcpy(info, &entry->info, sizeof(PClassInfo2));
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
  const ClassEntry* entry = entryAt(index);
  if (!entry || !info) return kInvalidArgument;
  info->fromAscii(entry->info);
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString interfaceIID, void** obj)
{
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !interfaceIID) return kInvalidArgument;
  for (const ClassEntry& entry : classes)
  {
    if (!FUnknownPrivate::iidEqual(entry.info.cid, cid)) continue;
    FUnknown* instance = entry.create(entry.context);
    if (!instance) return kOutOfMemory;
    // The interface pointer carries its own reference; the creation reference goes.
    const tresult result = instance->queryInterface(interfaceIID, obj);
    instance->release();
    if (result != kResultOk)
    {
      *obj = nullptr;
      return kNoInterface;
    }
    return kResultOk;
  }
  return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* context)
{
  if (context) context->addRef();
  if (hostContext) hostContext->release();
  hostContext = context;
  return kResultOk;
}

} // namespace Steinberg
