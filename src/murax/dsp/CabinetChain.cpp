#include "CabinetChain.h"

#include <xmmintrin.h>

#include <cstring>

#include "CabinetKernel.h"
#include "FilterTables.h"
#include "RecordFields.h"

namespace cabinet_kernel
{
struct Workspace
{
  RateTerms terms;
  double termsRate;
  bool termsValid;
  Gliders gliders;
  History history;
  Scratch scratch;
  SettledCoefficients settled;
  double recordControls[2][3][2]; // lastU, lastV the records' coefficients were last computed from
  bool recordsValid;
  int lastKernel; // of the last block, -1 before the first
  bool settledAllowed;
  long long settledChunks;
};
} // namespace cabinet_kernel

namespace
{
using namespace cabinet_kernel;

struct KernelEntry
{
  void (*process)(Block&);
  void (*coefficients)(const RateTerms&, FilterId, const double*, const double*, int, double*);
  void (*nonlinearity)(const double*, int, double*, double*);
  const char* name;
};

// Indexed by CabinetChain::Kernel.
constexpr KernelEntry kKernels[] = {
  {baseline::ProcessBlock, baseline::Coefficients, baseline::Nonlinearity, "baseline"},
  {avx2::ProcessBlock, avx2::Coefficients, avx2::Nonlinearity, "avx2"},
  {avx512::ProcessBlock, avx512::Coefficients, avx512::Nonlinearity, "avx512"},
};
static_assert(sizeof(kKernels) / sizeof(kKernels[0]) == static_cast<int>(CabinetChain::Kernel::kAVX512) + 1,
              "one entry per kernel");

const KernelEntry& Entry(CabinetChain::Kernel k) { return kKernels[static_cast<int>(k)]; }

// Sum over powers of fs of each control product's row, for every coefficient of one filter. Once
// per rate, so in long double: the sums cancel heavily and the poles near z = 1 feel every ulp.
template <int N>
void FillTerms(double fs, const double (&numerator)[kTermCount][N + 1],
               const double (&denominator)[kTermCount][N + 1], const BilinearPatterns<N>& patterns,
               double (&out)[2 * (N + 1)][6])
{
  for (int family = 0; family < 2; ++family)
  {
    const double(&table)[kTermCount][N + 1] = family == 0 ? numerator : denominator;
    for (int j = 0; j <= N; ++j)
      for (int t = 0; t < kTermCount; ++t)
      {
        long double sum = 0.0;
        for (int k = N; k >= 0; --k)
          sum = sum * fs + static_cast<long double>(table[t][k]) * patterns.p[k][j];
        out[family * (N + 1) + j][t] = static_cast<double>(sum);
      }
  }
}

// The kernels evaluate only the products each family uses; the rest must be empty.
static_assert(TermRowIsZero(kNumeratorONE, kTermV) && TermRowIsZero(kNumeratorONE, kTermUU) &&
                TermRowIsZero(kNumeratorONE, kTermUV) && TermRowIsZero(kNumeratorONE, kTermUUV),
              "ProcessorONE numerator is linear in u");
static_assert(TermRowIsZero(kNumeratorTWO, kTermUU) && TermRowIsZero(kNumeratorTWO, kTermUUV) &&
                TermRowIsZero(kDenominatorTWO, kTermUU) &&
                TermRowIsZero(kDenominatorTWO, kTermUUV),
              "ProcessorTWO is bilinear in u and v");
static_assert(TermRowIsZero(kNumeratorTHREE, kTermV) &&
                TermRowIsZero(kNumeratorTHREE, kTermUU) &&
                TermRowIsZero(kNumeratorTHREE, kTermUV) &&
                TermRowIsZero(kNumeratorTHREE, kTermUUV) &&
                TermRowIsZero(kDenominatorTHREE, kTermUU) &&
                TermRowIsZero(kDenominatorTHREE, kTermUUV),
              "ProcessorTHREE numerator is linear in u, denominator bilinear");

void ComputeRateTerms(double fs, RateTerms& t)
{
  FillTerms<kOrderONE>(fs, kNumeratorONE, kDenominatorONE, kPatternsONE, t.one);
  FillTerms<kOrderTWO>(fs, kNumeratorTWO, kDenominatorTWO, kPatternsTWO, t.two);
  FillTerms<kOrderTHREE>(fs, kNumeratorTHREE, kDenominatorTHREE, kPatternsTHREE, t.three);
}

double Horner(const double* s, double u, double v)
{
  return (s[kTermOne] + u * (s[kTermU] + u * s[kTermUU])) + v * (s[kTermV] + u * (s[kTermUV] + u * s[kTermUUV]));
}

template <class R, int N>
void PackTaps(const R (&records)[2], const RecordFields<R, N>& f, double (&x)[N][2], double (&y)[N][2])
{
  for (int ch = 0; ch < 2; ++ch)
    for (int j = 0; j < N; ++j)
    {
      x[j][ch] = records[ch].*f.x[j];
      y[j][ch] = records[ch].*f.y[j];
    }
}

template <class R, int N>
void UnpackTaps(R (&records)[2], const RecordFields<R, N>& f, const double (&x)[N][2], const double (&y)[N][2])
{
  for (int ch = 0; ch < 2; ++ch)
    for (int j = 0; j < N; ++j)
    {
      records[ch].*f.x[j] = x[j][ch];
      records[ch].*f.y[j] = y[j][ch];
    }
}

template <class R, int N>
void SetCoefficients(R& record, const RecordFields<R, N>& f, const double (*terms)[6], double u, double v)
{
  for (int j = 0; j <= N; ++j)
  {
    record.*f.b[j] = Horner(terms[j], u, v);
    record.*f.a[j] = Horner(terms[N + 1 + j], u, v);
  }
}

OnePoleSmoother* Smoother(CabinetState& s, int glider)
{
  OnePoleSmoother* bySlot[kGliderCount] = {};
  bySlot[kMic] = &s.micSmoother;
  bySlot[kSize] = &s.sizeSmoother;
  bySlot[kCharacter] = &s.characterSmoother;
  bySlot[kOutput] = &s.outputSmoother;
  bySlot[kDerivedSize] = &s.derivedSizeSmoother;
  return bySlot[glider];
}

// Denormals would slow the recursive filters on a decaying tail by orders of magnitude.
class ScopedFlushDenormals
{
public:
  ScopedFlushDenormals() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040u); } // FTZ | DAZ
  ~ScopedFlushDenormals() { _mm_setcsr(saved_); }
  ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
  ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
  unsigned saved_;
};
} // namespace

CabinetChain::CabinetChain() : kernel_(BestKernel()), work_(new Workspace())
{
  work_->lastKernel = -1;
  work_->settledAllowed = true;
}

CabinetChain::~CabinetChain() = default;

bool CabinetChain::KernelSupported(Kernel kernel)
{
  __builtin_cpu_init();
  switch (kernel)
  {
  case Kernel::kBaseline:
    return true;
  case Kernel::kAVX2:
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  case Kernel::kAVX512:
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vl") && KernelSupported(Kernel::kAVX2);
  }
  return false;
}

CabinetChain::Kernel CabinetChain::BestKernel()
{
  static const Kernel best = KernelSupported(Kernel::kAVX512) ? Kernel::kAVX512
                             : KernelSupported(Kernel::kAVX2) ? Kernel::kAVX2
                                                              : Kernel::kBaseline;
  return best;
}

const char* CabinetChain::KernelName(Kernel kernel) { return Entry(kernel).name; }

bool CabinetChain::SetKernelForTesting(Kernel kernel)
{
  if (!KernelSupported(kernel))
    return false;
  kernel_ = kernel;
  return true;
}

void CabinetChain::SetSettledPathForTesting(bool enabled) { work_->settledAllowed = enabled; }

long long CabinetChain::SettledChunksForTesting() const { return work_->settledChunks; }

void CabinetChain::KernelCoefficientsForTesting(Kernel kernel, int filter, double fs, const double* u,
                                                const double* v, int count, double* out)
{
  RateTerms terms;
  ComputeRateTerms(fs, terms);
  Entry(kernel).coefficients(terms, static_cast<FilterId>(filter), u, v, count, out);
}

void CabinetChain::KernelNonlinearityForTesting(Kernel kernel, const double* a, int count, double* tanhCube,
                                                double* sinFourth)
{
  const ScopedFlushDenormals flush;
  Entry(kernel).nonlinearity(a, count, tanhCube, sinFourth);
}

void CabinetChain::Process(const double* const* in, double* const* out, int n, double fs,
                           const CabinetControls& controls, bool effectOn)
{
  const ScopedFlushDenormals flush;
  state_.PrepareBlock(fs, controls);
  if (n <= 0)
    return;

  Workspace& w = *work_;
  // Kept coefficients belong to one rate and one kernel's rounding.
  bool setupChanged = w.lastKernel != static_cast<int>(kernel_);
  if (!w.termsValid || w.termsRate != fs)
  {
    ComputeRateTerms(fs, w.terms);
    w.termsRate = fs;
    w.termsValid = true;
    setupChanged = true;
  }
  if (setupChanged)
  {
    w.settled.valid = false;
    w.recordsValid = false;
  }
  w.lastKernel = static_cast<int>(kernel_);

  const double targets[kGliderCount] = {state_.micTarget, state_.sizeTarget, state_.characterTarget,
                                        state_.outputTarget, state_.derivedSizeTarget};
  w.gliders.b1 = state_.micSmoother.b1;
  for (int g = 0; g < kGliderCount; ++g)
  {
    const OnePoleSmoother& s = *Smoother(state_, g);
    w.gliders.a0Target[g] = s.a0 * targets[g];
    w.gliders.z[g] = s.z;
  }
  History& h = w.history;
  PackTaps(state_.one, kFieldsONE, h.oneX, h.oneY);
  PackTaps(state_.two, kFieldsTWO, h.twoX, h.twoY);
  PackTaps(state_.three, kFieldsTHREE, h.threeX, h.threeY);
  for (int ch = 0; ch < 2; ++ch)
  {
    h.dcX[ch] = state_.dc[ch].x1;
    h.dcY[ch] = state_.dc[ch].y1;
  }

  Block block{{in[0], in[1]}, {out[0], out[1]}, n, effectOn, &w.terms, &w.gliders, &h, &w.scratch, &w.settled,
              w.settledAllowed, setupChanged, {}, {}, 0};
  Entry(kernel_).process(block);
  w.settledChunks += block.settledChunks;

  for (int g = 0; g < kGliderCount; ++g)
    Smoother(state_, g)->z = w.gliders.z[g];
  UnpackTaps(state_.one, kFieldsONE, h.oneX, h.oneY);
  UnpackTaps(state_.two, kFieldsTWO, h.twoX, h.twoY);
  UnpackTaps(state_.three, kFieldsTHREE, h.threeX, h.threeY);
  for (int ch = 0; ch < 2; ++ch)
  {
    state_.dc[ch].x1 = h.dcX[ch];
    state_.dc[ch].y1 = h.dcY[ch];
  }
  // At rest every block ends on the same controls: the records already hold their coefficients.
  if (w.recordsValid && std::memcmp(w.recordControls[0], block.lastU, sizeof block.lastU) == 0 &&
      std::memcmp(w.recordControls[1], block.lastV, sizeof block.lastV) == 0)
    return;
  std::memcpy(w.recordControls[0], block.lastU, sizeof block.lastU);
  std::memcpy(w.recordControls[1], block.lastV, sizeof block.lastV);
  w.recordsValid = true;
  for (int ch = 0; ch < 2; ++ch)
  {
    SetCoefficients(state_.one[ch], kFieldsONE, w.terms.one, block.lastU[kFilterONE][ch],
                    block.lastV[kFilterONE][ch]);
    SetCoefficients(state_.two[ch], kFieldsTWO, w.terms.two, block.lastU[kFilterTWO][ch],
                    block.lastV[kFilterTWO][ch]);
    SetCoefficients(state_.three[ch], kFieldsTHREE, w.terms.three, block.lastU[kFilterTHREE][ch],
                    block.lastV[kFilterTHREE][ch]);
  }
}
