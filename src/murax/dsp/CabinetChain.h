#pragma once
#include <memory>

#include "CabinetState.h"

namespace cabinet_kernel
{
struct Workspace;
}

// The product's signal processing: per channel three control-dependent filters, a level gain set by
// the mic placement, a slight nonlinearity, the output gain and a DC blocker, with every filter's
// coefficients recomputed for every sample from gliding controls.
//
// The work runs in a kernel built for the best instruction set the CPU has (AVX-512, AVX2+FMA or
// baseline x86-64); all of them agree with LiteralCabinetChain to rounding.
class CabinetChain
{
public:
  enum class Kernel
  {
    kBaseline,
    kAVX2,
    kAVX512
  };

  // [main thread, allocates] Construction state: every smoother a0 = 1, b1 = 0, z = 0; all filter fields zero.
  CabinetChain();
  ~CabinetChain();
  CabinetChain(const CabinetChain&) = delete;
  CabinetChain& operator=(const CabinetChain&) = delete;

  // [audio thread] No allocation, no lock. in[0], in[1], out[0], out[1] each valid for n doubles; out
  // may alias in (in place). effectOn false: outputs are the inputs sample for sample while the
  // smoothers and filters keep running (the DC blockers do not advance). A channel whose output
  // would not be finite has its filter and DC histories cleared and gives 0 for that sample.
  // Denormals are flushed during the call; the caller's MXCSR is restored on return.
  void Process(const double* const* in, double* const* out, int n, double fs, const CabinetControls& controls,
               bool effectOn);

  // [any thread] Whether this CPU and OS can run the kernel.
  static bool KernelSupported(Kernel kernel);
  // [any thread] The kernel a new chain uses: the widest one supported.
  static Kernel BestKernel();
  static const char* KernelName(Kernel kernel);

  // [main thread] Tests and benchmarks pin a kernel; false (and no change) if the CPU lacks it.
  bool SetKernelForTesting(Kernel kernel);
  Kernel ActiveKernel() const { return kernel_; }

  // [main thread] While every smoother sits at its fixed point the chain keeps its coefficients
  // and gains instead of recomputing them, bit-identical to recomputing. Tests switch that off to
  // get the reference, and count the chunks (of up to 32 samples) that took the resting path.
  void SetSettledPathForTesting(bool enabled);
  long long SettledChunksForTesting() const;

  // Smoothers, targets and per-channel filter records after the last block. The records'
  // coefficients are those of the block's last sample.
  const CabinetState& State() const { return state_; }

  // [any thread] The kernel's unnormalised coefficients for `count` (u, v) pairs at rate fs:
  // out[row * count + i], rows b0..bN then a0..aN of filter 0 (ONE), 1 (TWO) or 2 (THREE).
  static void KernelCoefficientsForTesting(Kernel kernel, int filter, double fs, const double* u, const double* v,
                                           int count, double* out);

  // [any thread] tanh(a³) and sin(a⁴) of `count` values as the kernel's nonlinearity evaluates
  // them (in the chain's flush-to-zero mode).
  static void KernelNonlinearityForTesting(Kernel kernel, const double* a, int count, double* tanhCube,
                                           double* sinFourth);

private:
  CabinetState state_;
  Kernel kernel_;
  std::unique_ptr<cabinet_kernel::Workspace> work_;
};
