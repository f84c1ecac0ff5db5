#pragma once
// The wrapper the effect derives from. The effect only uses the base's
// interface, so the wrapper can change without touching the effect.
#include "IPlugHeadless.h"

using MuraxWrapper = IPlugHeadless;
