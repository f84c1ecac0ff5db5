#include "CabinetState.h"

#include <cmath>
#include <initializer_list>

namespace
{
// 0.1 - 0.18 rounded once in double: one ulp closer to zero than -0.08, which the glide relies on.
constexpr double kDerivedSizeSpan = 0.1 - 0.18;
static_assert(kDerivedSizeSpan == -0.07999999999999999, "span must be the double difference");
} // namespace

void CabinetState::PrepareBlock(double fs, const CabinetControls& controls)
{
  const double p = std::exp((1.0 / fs) * (-6.283185307179586));
  for (OnePoleSmoother* s : {&micSmoother, &sizeSmoother, &characterSmoother, &outputSmoother, &derivedSizeSmoother})
  {
    s->a0 = 1.0 - p;
    s->b1 = p;
  }
  sizeTarget = controls.sizeValue / 10.0;
  characterTarget = controls.characterValue / 10.0;
  outputTarget = (controls.outputValue / 10.0) * 2.0;
  micTarget = 0.15 + (controls.micValue / 10.0) * 0.35;
  derivedSizeTarget = (1.0 - 2.0 * sizeTarget) * kDerivedSizeSpan + 0.18;
}
