#include "ResponsePlotFile.h"

#include "LICE_MemBitmap.h"
#include "PngWriter.h"
#include "ResponseMeasure.h"
#include "ResponsePlot.h"
#include "WholeFiles.h"

#ifndef MURAX_VERSION_STRING
#define MURAX_VERSION_STRING "1.0.0"
#endif

namespace render {

bool WriteResponsePlot(const BundleHost& bundle, const RenderOptions& o, const std::string* state, double rate,
               const std::vector<Settings>& compare, std::string* error)
{
  std::vector<Settings> curves;
  if (compare.empty()) curves.push_back(o.settings);
  for (const Settings& c : compare) curves.push_back(c.Over(o.settings));
  Response response;
  if (!MeasureResponse(bundle, rate, o.blockSize, state, curves, &response, error)) return false;
  if (!o.plotData.empty() && !WriteWholeFile(o.plotData, ResponseCsv(response), error)) return false;
  if (o.plot.empty()) return true;
  LICE_MemBitmap bitmap;
  if (!DrawResponsePlot(response, &bitmap, error)) return false;
  std::string labels;
  for (const ResponseCurve& c : response.curves) labels += (labels.empty() ? "" : "; ") + c.label;
  std::string png;
  if (!EncodePng(&bitmap, {{"Title", "MURAX cabinet response"}, {"Software", "murax-render " MURAX_VERSION_STRING},
                           {"Description", labels}},
                 &png))
  {
    *error = "cannot encode the plot " + o.plot;
    return false;
  }
  return WriteWholeFile(o.plot, png, error);
}

} // namespace render
