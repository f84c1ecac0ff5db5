#pragma once
// The cabinet's magnitude response measured through the bundle: a fresh
// instance at the settings, the pre-roll, then a small impulse whose
// response is evaluated at each frequency of a log grid.
#include <string>
#include <vector>

#include "BundleHost.h"
#include "Settings.h"

namespace render {

struct ResponseCurve
{
  std::string label;
  std::vector<double> db;   // one per grid frequency
};

struct Response
{
  double sampleRate = 48000.0;
  std::vector<double> frequencies;
  std::vector<ResponseCurve> curves;
};

// 20 Hz to 20 kHz (or the Nyquist frequency below that), pointsPerDecade
// points a decade on a grid through 1 kHz.
std::vector<double> LogFrequencyGrid(double sampleRate, int pointsPerDecade = 200);

// state as for RenderSession::Start; every curve starts from it.
bool MeasureResponse(const BundleHost& bundle, double sampleRate, int blockSize, const std::string* state,
                     const std::vector<Settings>& curves, Response* response, std::string* error);

// Frequency then one column per curve; the labels in the header.
std::string ResponseCsv(const Response& response);

} // namespace render
