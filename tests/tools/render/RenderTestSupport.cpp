#include "RenderTestSupport.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "ClassFinder.h"
#include "HostObjects.h"
#include "PluginInstance.h"
#include "Vst3Module.h"
#include "pluginterfaces/vst/vstspeaker.h"

namespace rendertest {

namespace {
std::string Slurp(const std::string& path)
{
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void RemoveTree(const std::string& path)
{
  if (DIR* d = opendir(path.c_str()))
  {
    while (dirent* e = readdir(d))
    {
      const std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      const std::string child = path + "/" + name;
      if (e->d_type == DT_DIR)
        RemoveTree(child);
      else
        unlink(child.c_str());
    }
    closedir(d);
  }
  rmdir(path.c_str());
}
} // namespace

RunResult Render(const std::vector<std::string>& args)
{
  char outName[] = "/tmp/murax-render-out-XXXXXX", errName[] = "/tmp/murax-render-err-XXXXXX";
  const int outFd = mkstemp(outName), errFd = mkstemp(errName);
  RunResult result;
  const pid_t pid = fork();
  if (pid == 0)
  {
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(MURAX_RENDER_PATH));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(MURAX_RENDER_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  close(outFd);
  close(errFd);
  result.out = Slurp(outName);
  result.err = Slurp(errName);
  unlink(outName);
  unlink(errName);
  return result;
}

void RenderTest::SetUp()
{
  char name[] = "/tmp/murax-render-test-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  dir = name;
}

void RenderTest::TearDown() { RemoveTree(dir); }

std::vector<std::string> RenderTest::Listing() const
{
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str()))
  {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

Audio TestSignal(int channels, int rate, long long frames, unsigned seed, double amplitude)
{
  Audio a;
  a.channels = channels;
  a.rate = rate;
  a.samples.assign(static_cast<size_t>(channels), std::vector<double>(static_cast<size_t>(frames)));
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> noise(-0.02, 0.02), pitch(82.0, 660.0);
  for (int c = 0; c < channels; ++c)
  {
    double f = pitch(rng);
    const long long note = rate / 3;
    for (long long i = 0; i < frames; ++i)
    {
      if (i % note == 0) f = pitch(rng);
      const double t = static_cast<double>(i % note) / rate;
      double v = 0.0;
      for (int h = 1; h <= 5; ++h) v += std::sin(2.0 * M_PI * f * h * t) / h;
      a.samples[static_cast<size_t>(c)][static_cast<size_t>(i)] = amplitude * (0.6 * v * std::exp(-5.0 * t)) + noise(rng);
    }
  }
  return a;
}

Audio Tone(int channels, int rate, long long frames, double hz, double amplitude)
{
  Audio a;
  a.channels = channels;
  a.rate = rate;
  a.samples.assign(static_cast<size_t>(channels), std::vector<double>(static_cast<size_t>(frames)));
  for (auto& ch : a.samples)
    for (long long i = 0; i < frames; ++i)
      ch[static_cast<size_t>(i)] = amplitude * std::sin(2.0 * M_PI * hz * static_cast<double>(i) / rate);
  return a;
}

bool WriteAudio(const std::string& path, int format, const Audio& audio)
{
  SF_INFO info{};
  info.format = format;
  info.channels = audio.channels;
  info.samplerate = audio.rate;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  std::vector<double> inter(static_cast<size_t>(audio.Frames() * audio.channels));
  for (long long i = 0; i < audio.Frames(); ++i)
    for (int c = 0; c < audio.channels; ++c)
      inter[static_cast<size_t>(i * audio.channels + c)] = audio.samples[static_cast<size_t>(c)][static_cast<size_t>(i)];
  const sf_count_t wrote = sf_writef_double(f, inter.data(), audio.Frames());
  sf_close(f);
  return wrote == audio.Frames();
}

Audio ReadAudio(const std::string& path, bool asFloat)
{
  Audio a;
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return a;
  a.format = info.format;
  a.channels = info.channels;
  a.rate = info.samplerate;
  std::vector<double> inter;
  std::vector<float> interF;
  sf_count_t got = 0;
  const size_t n = static_cast<size_t>(info.frames * info.channels);
  if (asFloat)
  {
    interF.resize(n);
    got = sf_readf_float(f, interF.data(), info.frames);
    inter.assign(interF.begin(), interF.end());
  }
  else
  {
    inter.resize(n);
    got = sf_readf_double(f, inter.data(), info.frames);
  }
  sf_close(f);
  a.samples.assign(static_cast<size_t>(info.channels), std::vector<double>(static_cast<size_t>(got)));
  for (sf_count_t i = 0; i < got; ++i)
    for (int c = 0; c < info.channels; ++c)
      a.samples[static_cast<size_t>(c)][static_cast<size_t>(i)] = inter[static_cast<size_t>(i * info.channels + c)];
  return a;
}

std::vector<int> ReadInts(const std::string& path)
{
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return {};
  std::vector<int> v(static_cast<size_t>(info.frames * info.channels));
  const sf_count_t got = sf_readf_int(f, v.data(), info.frames);
  sf_close(f);
  v.resize(static_cast<size_t>(got * info.channels));
  return v;
}

namespace {
using namespace Steinberg;

template <class T>
void RunThrough(vst3host::PluginInstance& plug, const Audio& in, Audio* out, int block, vst3host::ParamChanges* first,
                bool preroll)
{
  const int nc = in.channels;
  bool pending = first != nullptr;
  auto run = [&](std::vector<std::vector<T>>& ins, std::vector<std::vector<T>>& outs, long long frames) {
    for (long long pos = 0; pos < frames; pos += block)
    {
      const int n = static_cast<int>(std::min<long long>(block, frames - pos));
      T* ip[2] = {ins[0].data() + pos, nc > 1 ? ins[1].data() + pos : nullptr};
      T* op[2] = {outs[0].data() + pos, nc > 1 ? outs[1].data() + pos : nullptr};
      plug.Process(ip, nc, op, nc, n, pending ? first : nullptr);
      pending = false;
    }
  };
  if (preroll)
  {
    const long long frames = std::lround(2.0 * in.rate);
    std::vector<std::vector<T>> silence(2, std::vector<T>(static_cast<size_t>(frames))), sink = silence;
    run(silence, sink, frames);
  }
  std::vector<std::vector<T>> ins(2), outs(2);
  for (int c = 0; c < 2; ++c)
  {
    ins[static_cast<size_t>(c)].assign(static_cast<size_t>(in.Frames()), T(0));
    outs[static_cast<size_t>(c)].assign(static_cast<size_t>(in.Frames()), T(0));
    if (c < nc)
      for (long long i = 0; i < in.Frames(); ++i)
        ins[static_cast<size_t>(c)][static_cast<size_t>(i)] = static_cast<T>(in.samples[static_cast<size_t>(c)][static_cast<size_t>(i)]);
  }
  run(ins, outs, in.Frames());
  out->samples.assign(static_cast<size_t>(nc), {});
  for (int c = 0; c < nc; ++c)
    out->samples[static_cast<size_t>(c)].assign(outs[static_cast<size_t>(c)].begin(), outs[static_cast<size_t>(c)].end());
}
} // namespace

Audio Reference(const std::string& input, int block, bool useDouble, const Knobs& knobs, bool preroll,
                const std::vector<uint8_t>* state)
{
  const Audio in = ReadAudio(input, !useDouble);
  Audio out;
  out.channels = in.channels;
  out.rate = in.rate;
  out.format = in.format;
  std::string error;
  auto module = vst3host::Vst3Module::Load(MURAX_BUNDLE_PATH, &error);
  EXPECT_TRUE(module) << error;
  if (!module) return out;
  TUID cid;
  EXPECT_TRUE(vst3host::FindAudioEffectClass(module->Factory(), cid, nullptr, "MURAX"));
  vst3host::HostApplication host;
  auto plug = vst3host::PluginInstance::Create(module->Factory(), cid, &host, nullptr, &error);
  EXPECT_TRUE(plug) << error;
  if (!plug) return out;
  if (in.channels == 1)
  {
    Vst::SpeakerArrangement mono = Vst::SpeakerArr::kMono;
    EXPECT_EQ(plug->processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  }
  EXPECT_EQ(plug->Setup(in.rate, block, useDouble ? Vst::kSample64 : Vst::kSample32), kResultOk);
  if (state)
  {
    EXPECT_EQ(plug->LoadState(*state), kResultOk);
  }
  vst3host::ParamChanges changes;
  bool any = false;
  const double values[] = {knobs.mic, knobs.size, knobs.character, knobs.output};
  for (int id = 0; id < 4; ++id)
    if (values[id] >= 0) changes.Add(static_cast<Vst::ParamID>(id), values[id] / 10.0), any = true;
  if (knobs.bypass) changes.Add(4, 0.0), any = true;
  if (useDouble)
    RunThrough<double>(*plug, in, &out, block, any ? &changes : nullptr, preroll);
  else
    RunThrough<float>(*plug, in, &out, block, any ? &changes : nullptr, preroll);
  return out;
}

std::string ReadBytes(const std::string& path) { return Slurp(path); }

double RmsDb(const std::vector<double>& x, size_t from)
{
  double sum = 0.0;
  for (size_t i = from; i < x.size(); ++i) sum += x[i] * x[i];
  return 10.0 * std::log10(sum / static_cast<double>(x.size() - from));
}

} // namespace rendertest
