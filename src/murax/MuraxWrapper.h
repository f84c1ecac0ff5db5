#pragma once
// The wrapper the effect derives from: the VST3 plug-in. The effect only uses
// the base's interface, so the wrapper can change without touching the effect.
#include "IPlugVST3.h"

using MuraxWrapper = IPlugVST3;
