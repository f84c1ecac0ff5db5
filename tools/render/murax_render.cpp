// Renders a built-in test signal through the cabinet effect the way a host
// would (32-bit blocks through the plug-in base) and reports what it did.
// Usage: murax_render [output.wav]
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "HostBlock.h"
#include "MURAX.h"

namespace
{
constexpr double kSampleRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kSeconds = 3;

// A plucked power chord with a DC offset: exercises the filters, the
// nonlinearity and the DC blocker at once.
std::vector<float> TestSignal(int n, int channel)
{
  std::vector<float> x(static_cast<size_t>(n));
  const double notes[] = {82.41, 123.47, 164.81};
  for (int i = 0; i < n; ++i)
  {
    const double t = i / kSampleRate;
    const double env = std::exp(-2.5 * std::fmod(t, 1.0));
    double v = 0.0;
    for (double f : notes) v += std::fmod(f * t * (1.0 + 0.001 * channel), 1.0) * 2.0 - 1.0;
    x[static_cast<size_t>(i)] = static_cast<float>(0.25 * env * v + 0.05);
  }
  return x;
}

struct Stats
{
  double peak = 0.0, sumSquares = 0.0, sum = 0.0;
  void Add(float v)
  {
    peak = std::fmax(peak, std::fabs(v));
    sumSquares += static_cast<double>(v) * v;
    sum += v;
  }
};

void WriteWav(const char* path, const std::vector<float>& left, const std::vector<float>& right)
{
  FILE* f = std::fopen(path, "wb");
  if (!f) return;
  const uint32_t frames = static_cast<uint32_t>(left.size()), rate = static_cast<uint32_t>(kSampleRate);
  const uint32_t dataBytes = frames * 8, riffBytes = 36 + dataBytes, fmtBytes = 16, byteRate = rate * 8;
  const uint16_t format = 3, channels = 2, align = 8, bits = 32;
  std::fwrite("RIFF", 1, 4, f);
  std::fwrite(&riffBytes, 4, 1, f);
  std::fwrite("WAVEfmt ", 1, 8, f);
  std::fwrite(&fmtBytes, 4, 1, f);
  std::fwrite(&format, 2, 1, f);
  std::fwrite(&channels, 2, 1, f);
  std::fwrite(&rate, 4, 1, f);
  std::fwrite(&byteRate, 4, 1, f);
  std::fwrite(&align, 2, 1, f);
  std::fwrite(&bits, 2, 1, f);
  std::fwrite("data", 1, 4, f);
  std::fwrite(&dataBytes, 4, 1, f);
  for (uint32_t i = 0; i < frames; ++i)
  {
    std::fwrite(&left[i], 4, 1, f);
    std::fwrite(&right[i], 4, 1, f);
  }
  std::fclose(f);
}
} // namespace

int main(int argc, char** argv)
{
  const int n = static_cast<int>(kSampleRate) * kSeconds;
  std::vector<float> in[2] = {TestSignal(n, 0), TestSignal(n, 1)};
  std::vector<float> out[2] = {std::vector<float>(static_cast<size_t>(n)), std::vector<float>(static_cast<size_t>(n))};

  MURAX* plug = static_cast<MURAX*>(MakePlug());
  plug->OnParamReset(); // a host reports every parameter before the first block
  SetupHostProcessing(*plug, kSampleRate, kBlock);

  const auto start = std::chrono::steady_clock::now();
  for (int pos = 0; pos < n; pos += kBlock)
  {
    const int frames = n - pos < kBlock ? n - pos : kBlock;
    float* ins[] = {in[0].data() + pos, in[1].data() + pos};
    float* outs[] = {out[0].data() + pos, out[1].data() + pos};
    ProcessHostBlock(*plug, ins, outs, 2, 2, frames);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  char version[32];
  plug->GetEffectVersionStr(version);
  std::printf("%s %s: rendered %d s of stereo test signal at %.0f Hz in %d-sample blocks\n", plug->GetEffectName(),
              version, kSeconds, kSampleRate, kBlock);
  for (int c = 0; c < 2; ++c)
  {
    Stats sin, sout, tail;
    for (int i = 0; i < n; ++i)
    {
      sin.Add(in[c][static_cast<size_t>(i)]);
      sout.Add(out[c][static_cast<size_t>(i)]);
      if (i >= n - static_cast<int>(kSampleRate)) tail.Add(out[c][static_cast<size_t>(i)]);
    }
    std::printf("  channel %d: input peak %.3f rms %.3f mean %+.4f | output peak %.3f rms %.3f, mean of last second %+.6f\n",
                c, sin.peak, std::sqrt(sin.sumSquares / n), sin.sum / n, sout.peak, std::sqrt(sout.sumSquares / n),
                tail.sum / kSampleRate);
  }
  std::printf("  processing took %.1f ms (%.0fx real time)\n", seconds * 1e3, kSeconds / seconds);
  if (argc > 1)
  {
    WriteWav(argv[1], out[0], out[1]);
    std::printf("  wrote %s\n", argv[1]);
  }
  delete plug;
  return 0;
}
