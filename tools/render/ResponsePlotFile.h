#pragma once
// The response measured at the run's settings (or at each compared setting
// on top of them), written as a PNG chart and, when asked, as numbers.
#include <string>
#include <vector>

#include "BundleHost.h"
#include "RenderOptions.h"

namespace render {

bool WriteResponsePlot(const BundleHost& bundle, const RenderOptions& options, const std::string* state, double rate,
                       const std::vector<Settings>& compare, std::string* error);

} // namespace render
