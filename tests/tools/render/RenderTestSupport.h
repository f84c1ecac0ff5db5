#pragma once
// What the renderer's tests share: a scratch folder, murax-render run as a
// separate process, audio files written and read with libsndfile, and the
// reference: the same file through the bundle block by block in the in-repo
// host, driven independently of the renderer's own hosting code.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>
#include <vector>

namespace rendertest {

struct RunResult
{
  int exitCode = -1;   // 128 + signal when killed
  std::string out, err;
};

// murax-render with these arguments; stdin is /dev/null, stdout and stderr captured.
RunResult Render(const std::vector<std::string>& args);

// A folder of its own for every test, removed afterwards.
class RenderTest : public ::testing::Test
{
protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  // Every name in the folder, sorted (hidden files included).
  std::vector<std::string> Listing() const;
  std::string dir;
};

struct Audio
{
  int format = 0, channels = 0, rate = 0;
  std::vector<std::vector<double>> samples;   // per channel
  long long Frames() const { return samples.empty() ? 0 : static_cast<long long>(samples[0].size()); }
};

// A guitar-ish test signal: a few decaying harmonic notes over a little noise,
// peak about 0.6, different in each channel.
Audio TestSignal(int channels, int rate, long long frames, unsigned seed, double amplitude = 0.6);
Audio Tone(int channels, int rate, long long frames, double hz, double amplitude);
// Writes through libsndfile (integer subtypes clip); false on failure.
bool WriteAudio(const std::string& path, int format, const Audio& audio);
// Reads as float (asFloat) or as double, libsndfile's own scaling.
Audio ReadAudio(const std::string& path, bool asFloat);
std::vector<int> ReadInts(const std::string& path);

struct Knobs
{
  double mic = -1, size = -1, character = -1, output = -1;   // < 0: not sent
  bool bypass = false;
};

// The input file through the bundle: set-up, optional state, the knobs as
// changes on the first block, 2 s of silence unless !preroll, then the file
// in blocks of `block`, 32-bit unless useDouble.
Audio Reference(const std::string& input, int block, bool useDouble, const Knobs& knobs, bool preroll = true,
                const std::vector<uint8_t>* state = nullptr);

std::string ReadBytes(const std::string& path);
double RmsDb(const std::vector<double>& x, size_t from = 0);

} // namespace rendertest
