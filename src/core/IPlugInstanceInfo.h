#pragma once

// What a wrapper hands the effect's constructor. Nothing is needed on the
// platforms we build for; the type keeps effect constructors uniform.
struct IPlugInstanceInfo
{
};
