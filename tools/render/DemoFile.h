#pragma once
// The demo phrase as a 24-bit stereo WAV file.
#include <string>

namespace render {

bool WriteDemoPhrase(const std::string& path, std::string* error);

} // namespace render
