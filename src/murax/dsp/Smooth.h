#pragma once

// One-pole glide toward a target. The chain advances some smoothers several times per sample, which
// shortens their time constant by that factor.
struct OnePoleSmoother
{
  double a0 = 1; // input weight
  double b1 = 0; // feedback weight
  double z = 0;  // state

  double Advance(double target)
  {
    z = b1 * z + a0 * target;
    return z;
  }
};
