#pragma once

// Fifth-order presence section: one zero at DC. u = mic, v = size / 3 + mic.
// Direct form I; Calc leaves the coefficients unnormalised and Process divides by a0.
struct ProcessorTHREE
{
  double x1 = 0, x2 = 0, x3 = 0, x4 = 0, x5 = 0; // previous inputs, x1 the most recent
  double y1 = 0, y2 = 0, y3 = 0, y4 = 0, y5 = 0; // previous outputs
  double a0 = 0, a1 = 0, a2 = 0, a3 = 0, a4 = 0, a5 = 0; // denominator
  double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0; // numerator

  // Recomputes every coefficient from the sample rate and the two control values; histories stay.
  void Calc(double fs, double u, double v);
  double Process(double x);
};
