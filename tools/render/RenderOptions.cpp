#include "RenderOptions.h"

#include <cerrno>
#include <cstdlib>

namespace render {

namespace {
bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

bool ParseBlock(const std::string& text, int* block, std::string* error)
{
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || v < 1 || v > kMaxBlockSize)
  {
    *error = "--block needs a whole number of samples from 1 to " + std::to_string(kMaxBlockSize) + ", not \"" +
             text + "\"";
    return false;
  }
  *block = static_cast<int>(v);
  return true;
}
} // namespace

bool ParseOptions(int argc, const char* const* argv, RenderOptions* o, std::string* error)
{
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (optionsEnded || !IsOption(arg))
    {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--")
    {
      optionsEnded = true;
      continue;
    }
    // Options that take a value accept "--name VALUE" and "--name=VALUE".
    std::string name = arg, inlineValue;
    bool hasInline = false;
    if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos)
    {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
      hasInline = true;
    }
    auto value = [&](std::string* out) {
      if (hasInline)
      {
        *out = inlineValue;
        return true;
      }
      if (i + 1 >= argc)
      {
        *error = name + " needs a value";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    auto noValue = [&]() {
      if (!hasInline) return true;
      *error = name + " takes no value";
      return false;
    };
    auto knob = [&](const char* label, std::optional<double>* slot) {
      std::string text;
      double v = 0.0;
      if (!value(&text) || !ParseKnob(label, text, &v, error)) return false;
      *slot = v;
      return true;
    };
    auto path = [&](std::string* slot) {
      if (!value(slot)) return false;
      if (slot->empty() || IsOption(*slot))
      {
        *error = name + " needs a file name, not \"" + *slot + "\"";
        return false;
      }
      return true;
    };

    bool ok = true;
    if (name == "-h" || name == "--help") ok = noValue(), o->help = true;
    else if (name == "-V" || name == "--version") ok = noValue(), o->version = true;
    else if (name == "-q" || name == "--quiet") ok = noValue(), o->quiet = true;
    else if (name == "--double") ok = noValue(), o->useDouble = true;
    else if (name == "--no-preroll") ok = noValue(), o->preroll = false;
    else if (name == "--bypass") ok = noValue(), o->settings.bypass = true;
    else if (name == "--mic") ok = knob("--mic", &o->settings.mic);
    else if (name == "--size") ok = knob("--size", &o->settings.size);
    else if (name == "--character") ok = knob("--character", &o->settings.character);
    else if (name == "--output") ok = knob("--output", &o->settings.output);
    else if (name == "--block")
    {
      std::string text;
      ok = value(&text) && ParseBlock(text, &o->blockSize, error);
    }
    else if (name == "--format") ok = value(&o->format);
    else if (name == "--bundle") ok = path(&o->bundle);
    else if (name == "--state-in") ok = path(&o->stateIn);
    else if (name == "--state-out") ok = path(&o->stateOut);
    else if (name == "--plot") ok = path(&o->plot);
    else if (name == "--plot-data") ok = path(&o->plotData);
    else if (name == "--snapshot") ok = path(&o->snapshot);
    else if (name == "--demo-dir") ok = path(&o->demoDir);
    else if (name == "--compare")
    {
      // Every following argument that reads as KNOB=VALUE (or "bypass") is one
      // setting list; the first that does not is a file name again.
      if (hasInline)
      {
        *error = "--compare takes its setting lists as separate arguments";
        return false;
      }
      int taken = 0;
      auto isList = [](const std::string& a) { return !IsOption(a) && (a.find('=') != std::string::npos || a == "bypass"); };
      while (i + 1 < argc && isList(argv[i + 1]))
      {
        Settings s;
        if (!ParseSettingsList(argv[++i], &s, error)) return false;
        o->compare.push_back(s);
        ++taken;
      }
      if (taken == 0)
      {
        *error = "--compare needs at least one setting list such as \"mic=0,size=5\"";
        return false;
      }
    }
    else
    {
      *error = "unknown option " + name + " (see --help)";
      return false;
    }
    if (!ok) return false;
  }

  if (o->help || o->version) return true;
  if (positional.size() == 1)
  {
    *error = "missing OUTPUT after INPUT " + positional[0];
    return false;
  }
  if (positional.size() > 2)
  {
    *error = "too many file names: " + positional[2] + " (give INPUT and OUTPUT)";
    return false;
  }
  if (positional.size() == 2)
  {
    o->input = positional[0];
    o->output = positional[1];
    if (!o->demoDir.empty())
    {
      *error = "--demo-dir applies only without INPUT and OUTPUT";
      return false;
    }
  }
  if (!o->compare.empty() && o->plot.empty() && o->plotData.empty())
  {
    *error = "--compare needs --plot (or --plot-data)";
    return false;
  }
  return true;
}

const char* UsageText()
{
  return "Usage: murax-render [options] [INPUT OUTPUT]\n"
         "\n"
         "Renders INPUT through the MURAX cabinet into OUTPUT, hosting the plug-in bundle\n"
         "through its VST3 entry points. Without INPUT and OUTPUT it writes the demo: a\n"
         "guitar phrase dry and through MURAX, and its response plot.\n"
         "\n"
         "Files (WAV, FLAC, AIFF and Ogg Vorbis; mono or stereo):\n"
         "  --format F[:SUBTYPE]  output container wav, flac, aiff or ogg; subtype pcm16,\n"
         "                        pcm24, pcm32, float or double (default: as INPUT)\n"
         "  --bundle PATH         the MURAX.vst3 bundle to host (default: the build's)\n"
         "  --demo-dir DIR        where the demo goes (default: the build's demo folder)\n"
         "\n"
         "Settings, in the parameters' own units (0 to 10):\n"
         "  --mic X  --size X  --character X  --output X\n"
         "  --bypass              pass the input through (\"Bypass\" at 0)\n"
         "  --state-in FILE       restore a saved host state before rendering\n"
         "  --state-out FILE      save the host state at the end\n"
         "\n"
         "Processing:\n"
         "  --double              process in 64 bit (default 32 bit)\n"
         "  --block N             block size in samples (default 512)\n"
         "  --no-preroll          skip the 2 s of silence that settles the knobs first\n"
         "\n"
         "Pictures:\n"
         "  --plot FILE.png       the cabinet's magnitude response at these settings,\n"
         "                        measured through the plug-in after the pre-roll\n"
         "  --plot-data FILE.csv  the measured response as numbers\n"
         "  --compare LIST...     overlay several settings on the plot, each on top of\n"
         "                        the ones above: \"mic=0,size=5\" \"mic=10,size=2\" ...\n"
         "  --snapshot FILE.png   the editor at these settings\n"
         "\n"
         "  -q, --quiet           no progress bar and no summary\n"
         "  -h, --help            this text\n"
         "  -V, --version         the version\n";
}

} // namespace render
