#pragma once
// A short guitar-like phrase made of plucked strings (a strummed chord
// progression, then single notes, then a last ringing chord), the same bytes
// on every machine: no random device, no time, only double arithmetic.
#include <vector>

namespace render {

constexpr int kDemoRate = 48000;
constexpr double kDemoSeconds = 8.0;

// Stereo, left then right, peaking at about -6 dBFS.
void MakeDemoPhrase(std::vector<float>* left, std::vector<float>* right);

} // namespace render
