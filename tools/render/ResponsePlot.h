#pragma once
// The measured response as a chart: title, log frequency axis from 20 Hz to
// 20 kHz, a dB grid, labelled axes, and a legend when several curves share it.
#include <string>

#include "LICE_MemBitmap.h"
#include "ResponseMeasure.h"

namespace render {

constexpr int kPlotWidth = 1200, kPlotHeight = 720;

// False when no font could be found.
bool DrawResponsePlot(const Response& response, LICE_MemBitmap* bitmap, std::string* error);

// The dB range the chart shows for these curves: whole tens, at least 30 dB,
// at most 60 dB, with headroom above the highest point.
void PlotRange(const Response& response, double* bottomDb, double* topDb);

} // namespace render
