#pragma once

// First-order DC blocker; the pole does not follow the sample rate.
struct DC
{
  double x1 = 0; // previous input
  double y1 = 0; // previous output

  double Process(double x)
  {
    const double y = 0.999 * y1 + (x - x1);
    x1 = x;
    y1 = y;
    return y;
  }
};
