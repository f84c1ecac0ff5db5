#include "Settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace render {

Settings Settings::Over(const Settings& base) const
{
  Settings s = base;
  if (mic) s.mic = mic;
  if (size) s.size = size;
  if (character) s.character = character;
  if (output) s.output = output;
  s.bypass = bypass || base.bypass;
  return s;
}

std::string Settings::Describe() const
{
  char text[160];
  std::snprintf(text, sizeof text, "mic %.1f, size %.1f, character %.1f, output %.1f%s", mic.value_or(kDefaultMic),
                size.value_or(kDefaultSize), character.value_or(kDefaultCharacter), output.value_or(kDefaultOutput),
                bypass ? ", bypassed" : "");
  return text;
}

bool ParseKnob(const std::string& name, const std::string& text, double* value, std::string* error)
{
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(begin, &end);
  if (text.empty() || end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(v))
  {
    *error = name + " needs a number from 0 to 10, not \"" + text + "\"";
    return false;
  }
  if (v < kKnobMin || v > kKnobMax)
  {
    *error = name + " " + text + " is out of range (0 to 10)";
    return false;
  }
  *value = v;
  return true;
}

bool ParseSettingsList(const std::string& text, Settings* settings, std::string* error)
{
  if (text.empty())
  {
    *error = "an empty setting list; write it as \"mic=0,size=5\"";
    return false;
  }
  size_t start = 0;
  while (start <= text.size())
  {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    const std::string item = text.substr(start, comma - start);
    const size_t eq = item.find('=');
    const std::string key = item.substr(0, eq);
    if (key == "bypass" && eq == std::string::npos)
      settings->bypass = true;
    else if (eq == std::string::npos)
    {
      *error = "\"" + item + "\" in \"" + text + "\" is not KNOB=VALUE";
      return false;
    }
    else
    {
      double v = 0.0;
      std::optional<double>* slot = key == "mic"         ? &settings->mic
                                    : key == "size"      ? &settings->size
                                    : key == "character" ? &settings->character
                                    : key == "output"    ? &settings->output
                                                         : nullptr;
      if (!slot)
      {
        *error = "unknown knob \"" + key + "\" in \"" + text + "\" (mic, size, character, output, bypass)";
        return false;
      }
      if (!ParseKnob(key, item.substr(eq + 1), &v, error)) return false;
      *slot = v;
    }
    start = comma + 1;
  }
  return true;
}

} // namespace render
