#include "DemoPhrase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace render {

namespace {
// A plucked string: a delay line one period long, loaded with a noise burst
// and filtered a little on every trip round (the classic plucked-string model).
class PluckedString
{
public:
  PluckedString(double hz, double brightness, uint32_t seed)
  {
    const double period = kDemoRate / hz;
    // The loop is mLength samples minus the fraction the two-point filter
    // takes back, which tunes the string between whole samples.
    mLength = static_cast<int>(std::ceil(period));
    mFrac = mLength - period;
    mLine.assign(static_cast<size_t>(mLength), 0.0);
    uint32_t s = seed;
    double lp = 0.0;
    for (double& v : mLine)
    {
      s = s * 1664525u + 1013904223u;
      const double noise = static_cast<double>(s >> 8) / 8388608.0 - 1.0;
      // A darker burst for a softer, pick-near-the-neck tone.
      lp += brightness * (noise - lp);
      v = lp;
    }
    // Decay per trip round the loop for about this many seconds of ring.
    const double ringSeconds = 6.0 * std::pow(110.0 / hz, 0.5);
    mDecay = std::pow(10.0, -3.0 / (ringSeconds * hz));
  }

  double Next()
  {
    const size_t n = mLine.size();
    const double a = mLine[mPos], b = mLine[(mPos + 1) % n];
    // Mixing two neighbours is the string's loss and its fine tuning.
    const double out = mDecay * ((1.0 - mFrac) * a + mFrac * b);
    mLine[mPos] = out;
    mPos = (mPos + 1) % n;
    return a;
  }

private:
  std::vector<double> mLine;
  size_t mPos = 0;
  int mLength = 0;
  double mFrac = 0.0, mDecay = 0.999;
};

struct Note
{
  double start;   // seconds
  double hz;
  double level;
  double pan;     // -1 left .. 1 right
  double length;  // seconds until the string is damped
};

double Hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void Strum(std::vector<Note>* notes, double start, std::initializer_list<int> strings, double length, double level)
{
  int k = 0;
  const double count = static_cast<double>(strings.size());
  for (int midi : strings)
  {
    // Down-strum: low string first, 14 ms apart, spread across the stereo field.
    notes->push_back({start + 0.014 * k, Hz(midi), level * (1.0 - 0.05 * k), -0.35 + 0.7 * k / (count - 1), length});
    ++k;
  }
}
} // namespace

void MakeDemoPhrase(std::vector<float>* left, std::vector<float>* right)
{
  std::vector<Note> notes;
  // E major, A major, B major (E2 = MIDI 40), then a line and a last E chord.
  Strum(&notes, 0.00, {40, 47, 52, 56, 59, 64}, 1.45, 0.55);
  Strum(&notes, 1.50, {45, 52, 57, 61, 64}, 0.95, 0.5);
  Strum(&notes, 2.50, {47, 54, 59, 63, 66}, 0.95, 0.5);
  const int line[] = {52, 56, 59, 61, 64, 61, 59, 56};
  for (int i = 0; i < 8; ++i)
    notes.push_back({3.55 + 0.25 * i, Hz(line[i]), 0.7, (i % 2 ? 0.15 : -0.15), 0.3});
  notes.push_back({5.60, Hz(64), 0.75, 0.0, 0.6});
  Strum(&notes, 6.10, {40, 47, 52, 56, 59, 64}, 1.9, 0.6);

  const size_t n = static_cast<size_t>(kDemoRate * kDemoSeconds);
  std::vector<double> l(n, 0.0), r(n, 0.0);
  uint32_t seed = 12345;
  for (const Note& note : notes)
  {
    PluckedString string(note.hz, 0.55, seed += 7919);
    const size_t begin = static_cast<size_t>(note.start * kDemoRate);
    const size_t damp = static_cast<size_t>(note.length * kDemoRate), fade = kDemoRate / 50;
    const double gl = note.level * std::sqrt(0.5 * (1.0 - note.pan)), gr = note.level * std::sqrt(0.5 * (1.0 + note.pan));
    for (size_t i = 0; i < damp + fade && begin + i < n; ++i)
    {
      // The fretting hand lets go: a 20 ms fade instead of a click.
      const double env = i < damp ? 1.0 : 1.0 - static_cast<double>(i - damp) / fade;
      const double v = string.Next() * env;
      l[begin + i] += gl * v;
      r[begin + i] += gr * v;
    }
  }
  // The pickup and tone knob: a gentle low-pass over the mix.
  double zl = 0.0, zr = 0.0;
  for (size_t i = 0; i < n; ++i)
  {
    zl += 0.45 * (l[i] - zl);
    zr += 0.45 * (r[i] - zr);
    l[i] = zl;
    r[i] = zr;
  }
  double peak = 1e-12;
  for (size_t i = 0; i < n; ++i) peak = std::max({peak, std::fabs(l[i]), std::fabs(r[i])});
  const double gain = 0.5 / peak;
  // The last 50 ms fade out so the file ends in silence.
  const size_t tail = kDemoRate / 20;
  left->resize(n);
  right->resize(n);
  for (size_t i = 0; i < n; ++i)
  {
    const double g = gain * (i + tail > n ? static_cast<double>(n - i) / tail : 1.0);
    (*left)[i] = static_cast<float>(l[i] * g);
    (*right)[i] = static_cast<float>(r[i] * g);
  }
}

} // namespace render
