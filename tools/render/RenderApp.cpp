#include "RenderApp.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AudioFormat.h"
#include "BundleHost.h"
#include "DemoFile.h"
#include "DemoPhrase.h"
#include "EditorSnapshot.h"
#include "FileRender.h"
#include "OutputFile.h"
#include "RenderOptions.h"
#include "RenderSession.h"
#include "ResponsePlotFile.h"
#include "WholeFiles.h"

#ifndef MURAX_DEFAULT_BUNDLE
#define MURAX_DEFAULT_BUNDLE "MURAX.vst3"
#endif
#ifndef MURAX_DEFAULT_DEMO_DIR
#define MURAX_DEFAULT_DEMO_DIR "demo"
#endif
#ifndef MURAX_VERSION_STRING
#define MURAX_VERSION_STRING "1.0.0"
#endif

namespace render {

namespace {
constexpr int kFailed = 1, kUsage = 2;
constexpr size_t kMaxStateBytes = 64 * 1024;

int Fail(const std::string& message, int code = kFailed)
{
  std::fprintf(stderr, "murax-render: %s\n", message.c_str());
  return code;
}

bool MakeFolder(const std::string& dir, std::string* error)
{
  std::string path;
  size_t pos = 0;
  while (pos != std::string::npos)
  {
    pos = dir.find('/', pos + 1);
    path = dir.substr(0, pos);
    if (path.empty()) continue;
    struct stat st{};
    if (stat(path.c_str(), &st) == 0)
    {
      if (S_ISDIR(st.st_mode)) continue;
      *error = "cannot make the folder " + dir + ": " + path + " is a file";
      return false;
    }
    if (mkdir(path.c_str(), 0777) != 0)
    {
      *error = "cannot make the folder " + dir;
      return false;
    }
  }
  return true;
}

// Only regular files are ever replaced: a folder, a device or a pipe under
// an output name is refused before anything is written.
bool CheckOutputName(const std::string& path, const char* what, std::string* error)
{
  struct stat st{};
  if (path.empty() || stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return true;
  *error = std::string(what) + " " + path + (S_ISDIR(st.st_mode) ? " is a folder" : " exists and is not a regular file");
  return false;
}
} // namespace

int RunRenderer(int argc, const char* const* argv)
{
  const auto started = std::chrono::steady_clock::now();
  OutputFile::InstallSignalCleanup();

  RenderOptions o;
  std::string error;
  if (!ParseOptions(argc, argv, &o, &error)) return Fail(error, kUsage);
  if (o.help)
  {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (o.version)
  {
    std::printf("murax-render %s (MURAX %s, VST3)\n", MURAX_VERSION_STRING, MURAX_VERSION_STRING);
    return 0;
  }
  if (!o.snapshot.empty() && !EditorSnapshotAvailable())
    return Fail("--snapshot is not available in this build (it has no editor graphics)", kUsage);
  for (auto [path, what] : {std::pair<const std::string*, const char*>{&o.plot, "--plot"},
                            {&o.plotData, "--plot-data"}, {&o.stateOut, "--state-out"}, {&o.snapshot, "--snapshot"},
                            {&o.output, "OUTPUT"}})
    if (!CheckOutputName(*path, what, &error)) return Fail(error, kUsage);

  // Every output name is distinct, and a format is checked before any file is touched.
  {
    const std::string* outputs[] = {&o.output, &o.plot, &o.plotData, &o.stateOut, &o.snapshot};
    const size_t n = sizeof(outputs) / sizeof(outputs[0]);
    for (size_t i = 0; i < n; ++i)
      for (size_t j = i + 1; j < n; ++j)
        if (!outputs[i]->empty() && (*outputs[i] == *outputs[j] || SameFile(*outputs[i], *outputs[j])))
          return Fail(*outputs[i] + " is named for two outputs", kUsage);
    int format = 0;
    if (!ChooseOutputFormat(o.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24, &format, &error)) return Fail(error, kUsage);
  }

  std::string stateBytes;
  const std::string* state = nullptr;
  if (!o.stateIn.empty())
  {
    if (!ReadSmallFile(o.stateIn, kMaxStateBytes, &stateBytes, &error)) return Fail(error);
    state = &stateBytes;
  }
  const bool files = !o.input.empty();
  if (files && !CheckFiles(o, &error)) return Fail(error);

  const std::string bundlePath = o.bundle.empty() ? MURAX_DEFAULT_BUNDLE : o.bundle;
  auto bundle = BundleHost::Load(bundlePath, &error);
  if (!bundle) return Fail(error);

  const bool wantsPicture = !o.plot.empty() || !o.plotData.empty();
  if (files)
  {
    FileRenderResult result;
    if (!RenderFile(*bundle, o, state, started, &result, &error)) return Fail(error);
    if (wantsPicture && !WriteResponsePlot(*bundle, o, state, result.sampleRate, o.compare, &error)) return Fail(error);
    if (!o.snapshot.empty() && !WriteEditorSnapshot(o.snapshot, bundlePath, result.settings, 1.0, &error)) return Fail(error);
    if (!o.quiet) PrintSummary(result.report);
    return 0;
  }

  if (wantsPicture || !o.snapshot.empty() || !o.stateOut.empty())
  {
    // Pictures or a state without audio: 48 kHz, as a host without a project rate would use.
    if (wantsPicture && !WriteResponsePlot(*bundle, o, state, 48000.0, o.compare, &error)) return Fail(error);
    if (!o.stateOut.empty() || !o.snapshot.empty())
    {
      SessionSetup setup;
      auto session = RenderSession::Start(*bundle, setup, state, o.settings, &error);
      if (!session) return Fail(error);
      if (!o.stateOut.empty() && !WriteWholeFile(o.stateOut, session->SaveState(), &error)) return Fail(error);
      if (!o.snapshot.empty() && !WriteEditorSnapshot(o.snapshot, bundlePath, session->Current(), 1.0, &error)) return Fail(error);
    }
    if (!o.quiet)
      for (const std::string* p : {&o.plot, &o.plotData, &o.stateOut, &o.snapshot})
        if (!p->empty()) std::printf("wrote %s\n", p->c_str());
    return 0;
  }

  // The demo: the phrase dry, the phrase through MURAX, and the response.
  const std::string dir = o.demoDir.empty() ? MURAX_DEFAULT_DEMO_DIR : o.demoDir;
  if (!MakeFolder(dir, &error)) return Fail(error);
  RenderOptions demo = o;
  demo.input = dir + "/demo-dry.wav";
  int demoFormat = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  ChooseOutputFormat(o.format, demoFormat, &demoFormat, &error);
  demo.output = dir + "/demo-murax." + FileExtension(demoFormat);
  if (demo.plot.empty()) demo.plot = dir + "/response.png";
  if (demo.snapshot.empty()) demo.snapshot = dir + "/editor.png";
  std::vector<Settings> compare = o.compare;
  if (compare.empty())
  {
    // Beside the demo's own settings, the two knobs that change the sound most.
    Settings offAxis, bigBox;
    offAxis.mic = 10.0;
    bigBox.size = 10.0;
    bigBox.character = 8.0;
    compare = {Settings(), offAxis, bigBox};
  }
  if (!WriteDemoPhrase(demo.input, &error)) return Fail(error);
  FileRenderResult result;
  if (!RenderFile(*bundle, demo, state, started, &result, &error)) return Fail(error);
  if (!WriteResponsePlot(*bundle, demo, state, result.sampleRate, compare, &error)) return Fail(error);
  if (!WriteEditorSnapshot(demo.snapshot, bundlePath, result.settings, 1.0, &error)) return Fail(error);
  if (!o.quiet)
  {
    PrintSummary(result.report);
    std::printf("\nThe demo is in %s:\n", dir.c_str());
    std::printf("  %-15s the guitar phrase, dry\n", "demo-dry.wav");
    std::printf("  %-15s the same phrase through MURAX\n", demo.output.substr(dir.size() + 1).c_str());
    std::printf("  %-15s the cabinet's response\n", "response.png");
    std::printf("  %-15s the editor at the demo's settings\n", demo.snapshot.substr(dir.size() + 1).c_str());
    if (!o.stateOut.empty()) std::printf("  %s: the plug-in's state\n", o.stateOut.c_str());
  }
  return 0;
}

} // namespace render
