#pragma once

// Third-order low-end section: two zeros at DC. u = derived size, v = size.
// Direct form I; Calc leaves the coefficients unnormalised and Process divides by a0.
struct ProcessorTWO
{
  double x1 = 0, x2 = 0, x3 = 0; // previous inputs, x1 the most recent
  double y1 = 0, y2 = 0, y3 = 0; // previous outputs
  double a0 = 0, a1 = 0, a2 = 0, a3 = 0; // denominator
  double b0 = 0, b1 = 0, b2 = 0, b3 = 0; // numerator

  // Recomputes every coefficient from the sample rate and the two control values; histories stay.
  void Calc(double fs, double u, double v);
  double Process(double x);
};
