// What a whole murax-render run costs against the bare effect: 60 s of
// stereo 48 kHz audio from a 32-bit float WAV file to another (page-cached,
// the rename included, no fsync), murax-render started as a process with its
// defaults (bundle loading, the 2 s pre-roll, 32-bit blocks of 512 through
// VST3), against the effect's own block routine on the same samples in this
// process. Both are timed in CPU seconds (the child's user + system time, the
// effect's thread time), so other load on a shared machine does not count;
// wall-clock times are printed beside them. Best of interleaved rounds; the
// last line is the summary.
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MURAX.h"

namespace
{
constexpr int kRate = 48000;
constexpr int kSeconds = 60;
constexpr long long kFrames = static_cast<long long>(kRate) * kSeconds;
constexpr int kBlock = 512;
constexpr int kRounds = 9;

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double ThreadSeconds()
{
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec); }

// Guitar-like notes over a little noise, different in each channel.
std::vector<float> Signal(unsigned seed)
{
  std::vector<float> s(static_cast<size_t>(kFrames));
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> noise(-0.01, 0.01), pitch(82.0, 660.0);
  double f = 110.0;
  for (long long i = 0; i < kFrames; ++i)
  {
    const long long inNote = i % (kRate / 4);
    if (inNote == 0) f = pitch(rng);
    const double t = static_cast<double>(inNote) / kRate;
    double v = 0.0;
    for (int h = 1; h <= 6; ++h) v += std::sin(2.0 * M_PI * f * h * t) / h;
    s[static_cast<size_t>(i)] = static_cast<float>(0.4 * v * std::exp(-4.0 * t) + noise(rng));
  }
  return s;
}

bool WriteInput(const std::string& path, const std::vector<float>* ch)
{
  SF_INFO info{};
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  info.channels = 2;
  info.samplerate = kRate;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  std::vector<float> inter(static_cast<size_t>(kFrames) * 2);
  for (long long i = 0; i < kFrames; ++i)
  {
    inter[static_cast<size_t>(2 * i)] = ch[0][static_cast<size_t>(i)];
    inter[static_cast<size_t>(2 * i + 1)] = ch[1][static_cast<size_t>(i)];
  }
  const bool ok = sf_writef_float(f, inter.data(), kFrames) == kFrames;
  sf_close(f);
  return ok;
}

// The whole run as a user starts it; false when it failed.
bool RunRenderer(const std::string& in, const std::string& out, double* cpu, double* wall)
{
  const double begin = Now();
  const pid_t pid = fork();
  if (pid == 0)
  {
    execl(MURAX_RENDER_PATH, MURAX_RENDER_PATH, "-q", in.c_str(), out.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  *wall = Now() - begin;
  *cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The bare effect on the same samples: its block routine on 64-bit buffers.
double RunEffect(const std::vector<double>* in, std::vector<double>* out, double* wall)
{
  std::unique_ptr<MURAX> plug(static_cast<MURAX*>(MakePlug()));
  plug->OnParamReset();
  plug->SetSampleRate(kRate);
  plug->SetBlockSize(kBlock);
  std::vector<double> inCopy[2] = {in[0], in[1]};
  const double begin = ThreadSeconds(), wallBegin = Now();
  for (long long start = 0; start < kFrames; start += kBlock)
  {
    double* ins[2] = {inCopy[0].data() + start, inCopy[1].data() + start};
    double* outs[2] = {out[0].data() + start, out[1].data() + start};
    WDL_MutexLock lock(&plug->GetMutex());
    plug->ProcessDoubleReplacing(ins, outs, static_cast<int>(std::min<long long>(kBlock, kFrames - start)));
  }
  *wall = Now() - wallBegin;
  return ThreadSeconds() - begin;
}
} // namespace

int main()
{
  char dirName[] = "/tmp/murax-bench-render-XXXXXX";
  if (!mkdtemp(dirName))
  {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string dir = dirName, in = dir + "/in.wav", out = dir + "/out.wav";
  const std::vector<float> ch[2] = {Signal(1), Signal(2)};
  if (!WriteInput(in, ch))
  {
    std::fprintf(stderr, "cannot write %s\n", in.c_str());
    return 1;
  }
  const std::vector<double> in64[2] = {std::vector<double>(ch[0].begin(), ch[0].end()),
                                       std::vector<double>(ch[1].begin(), ch[1].end())};
  std::vector<double> out64[2] = {std::vector<double>(static_cast<size_t>(kFrames)),
                                  std::vector<double>(static_cast<size_t>(kFrames))};

  double effect = 1e30, render = 1e30, effectWall = 1e30, renderWall = 1e30;
  bool ok = true;
  for (int r = 0; r < kRounds && ok; ++r)
  {
    double wall = 0.0, cpu = 0.0;
    effect = std::min(effect, RunEffect(in64, out64, &wall));
    effectWall = std::min(effectWall, wall);
    // Each round writes a new file, as a first render does; replacing the
    // last round's output would add the freeing of its pages to this one.
    unlink(out.c_str());
    ok = RunRenderer(in, out, &cpu, &wall);
    render = std::min(render, cpu);
    renderWall = std::min(renderWall, wall);
  }
  unlink(in.c_str());
  unlink(out.c_str());
  rmdir(dir.c_str());
  if (!ok)
  {
    std::fprintf(stderr, "murax-render failed\n");
    return 1;
  }
  std::printf("effect alone: cpu_seconds=%.3f wall_seconds=%.3f realtime_x=%.1f\n", effect, effectWall,
              kSeconds / effect);
  std::printf("murax-render whole run: cpu_seconds=%.3f wall_seconds=%.3f (file in, 2 s pre-roll, VST3 32-bit "
              "blocks, file out, rename)\n",
              render, renderWall);
  std::printf("render: realtime_x=%.1f vs_effect=%.3f\n", kSeconds / render, effect / render);
  return 0;
}
