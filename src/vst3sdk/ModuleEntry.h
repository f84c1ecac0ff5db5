#pragma once
// The module's entry points and the bookkeeping behind them. Linux hosts call
// ModuleEntry right after dlopen and ModuleExit before dlclose; bundleEntry and
// bundleExit are the same pair under the names other platforms use.
#include "pluginterfaces/base/fplatform.h"

extern "C" {
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle);
SMTG_EXPORT_SYMBOL bool ModuleExit();
SMTG_EXPORT_SYMBOL bool bundleEntry(void* bundleRef);
SMTG_EXPORT_SYMBOL bool bundleExit();
}

// The plug-in's module hooks, defined by the plug-in: called on every entry
// and exit; an entry hook that fails makes the host refuse the module.
bool InitModule();
bool DeinitModule();

namespace Steinberg {
// The handle the first entry call was given, null before it. [main thread]
void* GetModuleHandle();
// The bundle folder ("…/NAME.vst3") holding this module, empty before the
// first entry call or when the module does not sit in a bundle. [main thread]
const char* GetModuleBundlePath();
} // namespace Steinberg
