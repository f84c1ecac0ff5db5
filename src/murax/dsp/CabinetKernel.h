#pragma once

// Interface between CabinetChain and its per-instruction-set kernels. The kernels are compiled
// with different target flags, so this header holds only plain data and declarations: an inline
// function defined here would be compiled into every kernel and the linker could keep an AVX-512
// copy for a CPU without it.
namespace cabinet_kernel
{
constexpr int kChunk = 32;          // samples whose coefficients are computed together
constexpr int kPairs = 2 * kChunk;  // (sample, channel) pairs in a chunk, channel fastest

enum Glider
{
  kMic,
  kSize,
  kCharacter,
  kOutput,
  kDerivedSize,
  kGliderCount
};

// The five smoothers share a0 and b1 within a block; a0 * target is the same product every step.
struct Gliders
{
  double b1;
  double a0Target[kGliderCount];
  double z[kGliderCount];
};

// Filter and DC-blocker histories, channel fastest: [tap][channel], tap 0 the most recent.
struct History
{
  double oneX[7][2], oneY[7][2];
  double twoX[3][2], twoY[3][2];
  double threeX[5][2], threeY[5][2];
  double dcX[2], dcY[2];
};

// Per coefficient (b0..bN, then a0..aN), the fs-dependent sum of each control product's row,
// in FilterTerm order. Depends only on the sample rate.
struct RateTerms
{
  double one[16][6];
  double two[8][6];
  double three[12][6];
};

// Smoothed control values of one chunk, per pair.
struct ChunkControls
{
  alignas(64) double character[kPairs];
  alignas(64) double micOne[kPairs];
  alignas(64) double sizeOne[kPairs];
  alignas(64) double derivedSize[kPairs];
  alignas(64) double sizeTwo[kPairs];
  alignas(64) double micThreeU[kPairs];
  alignas(64) double micThreeV[kPairs];
  alignas(64) double sizeThree[kPairs];
  alignas(64) double level[kPairs];
  alignas(64) double output[kPairs];
};

// Filter coefficients per pair: rows b0..bN, a1..aN, then 1 / a0.
struct Scratch
{
  ChunkControls controls[2];
  alignas(64) double one[16][kPairs];
  alignas(64) double two[8][kPairs];
  alignas(64) double three[12][kPairs];
  alignas(64) double level[kPairs];
  alignas(64) double signal[kPairs];
  alignas(64) double vOne[kPairs];   // ProcessorONE's v
  alignas(64) double vThree[kPairs]; // ProcessorTHREE's v
  History spare;
};

// The coefficients and gains every pair of a chunk gets once all smoothers sit at their fixed
// points, computed by the same vector code as a moving chunk's so the output stays bit-identical.
// Rows as in Scratch, one (sample, channel) pair each, channel fastest.
struct SettledCoefficients
{
  alignas(16) double one[16][2];
  alignas(16) double two[8][2];
  alignas(16) double three[12][2];
  alignas(16) double level[2];
  alignas(16) double output[2];
  double z[kGliderCount]; // the smoother states they belong to
  bool valid;             // false after a change of rate or kernel
};

enum FilterId
{
  kFilterONE,
  kFilterTWO,
  kFilterTHREE
};

struct Block
{
  const double* in[2];
  double* out[2];
  int n;          // > 0
  bool effectOn;
  const RateTerms* terms;
  Gliders* gliders;   // in/out
  History* history;   // in/out
  Scratch* scratch;
  SettledCoefficients* settled; // in/out: kept while the smoothers stay at rest
  bool settledAllowed;          // false runs every chunk in full (the reference the fast path must match)
  bool setupChanged;            // rate or kernel differs from the last block's: the first chunk runs in full
  double lastU[3][2], lastV[3][2]; // out: each filter's controls at the block's last sample
  int settledChunks;               // out: chunks that kept their coefficients
};

// One namespace per instruction set; each provides the same entry points.
#define MURAX_DECLARE_KERNEL(ns)                                                                                 \
  namespace ns                                                                                                   \
  {                                                                                                              \
  void ProcessBlock(Block& block);                                                                               \
  /* Unnormalised coefficients of `count` (u, v) pairs: out[row * count + i], rows b0..bN then a0..aN. */         \
  void Coefficients(const RateTerms& terms, FilterId filter, const double* u, const double* v, int count,        \
                    double* out);                                                                                \
  /* tanh(a³) and sin(a⁴) as the nonlinearity evaluates them, W values at a time. */                           \
  void Nonlinearity(const double* a, int count, double* tanhCube, double* sinFourth);                            \
  }
MURAX_DECLARE_KERNEL(baseline)
MURAX_DECLARE_KERNEL(avx2)
MURAX_DECLARE_KERNEL(avx512)
#undef MURAX_DECLARE_KERNEL
} // namespace cabinet_kernel
