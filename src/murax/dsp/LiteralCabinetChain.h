#pragma once
#include "CabinetState.h"

// The chain evaluated term by term and sample by sample in the order the product defines, with every
// coefficient recomputed through the records' Calc. Slow; kept as the reference CabinetChain is
// checked and timed against. Non-finite input poisons it as it would the original product.
class LiteralCabinetChain
{
public:
  // [audio thread] Same contract as CabinetChain::Process.
  void Process(const double* const* in, double* const* out, int n, double fs, const CabinetControls& controls,
               bool effectOn);

  const CabinetState& State() const { return state_; }

  // The static nonlinearity after the level gain; odd only in its tanh part.
  static double Shape(double a);

private:
  CabinetState state_;
};
