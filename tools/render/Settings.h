#pragma once
// The effect's knobs in their own units, as a command line names them. Only
// the knobs that were given are sent to the bundle; the rest keep whatever
// the plug-in (or a restored state) holds.
#include <optional>
#include <string>

namespace render {

struct Settings
{
  std::optional<double> mic, size, character, output;
  bool bypass = false;

  // Later settings win knob by knob.
  Settings Over(const Settings& base) const;
  // "mic 3.5 · size 7.0 …" for titles and legends; unset knobs show their default.
  std::string Describe() const;
};

// Knob ranges and defaults, in the parameters' own units.
constexpr double kKnobMin = 0.0, kKnobMax = 10.0;
constexpr double kDefaultMic = 0.0, kDefaultSize = 5.0, kDefaultCharacter = 5.0, kDefaultOutput = 5.0;

// A plain number in 0..10; false with a one-line reason otherwise.
bool ParseKnob(const std::string& name, const std::string& text, double* value, std::string* error);
// "mic=0,size=5,bypass" (keys mic, size, character, output, bypass).
bool ParseSettingsList(const std::string& text, Settings* settings, std::string* error);

} // namespace render
