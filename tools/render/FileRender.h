#pragma once
// INPUT through the bundle into OUTPUT: checks everything that can be checked
// before the output exists, streams the audio in whole blocks, and renames
// the finished file into place.
#include <chrono>
#include <string>

#include "BundleHost.h"
#include "RenderOptions.h"
#include "Summary.h"

namespace render {

struct FileRenderResult
{
  RenderReport report;
  Settings settings;     // as the plug-in held them
  int sampleRate = 0;
};

// Checks the files without writing anything: readable input, output not the
// input, a writable output format. False with a one-line reason.
bool CheckFiles(const RenderOptions& options, std::string* error);

bool RenderFile(const BundleHost& bundle, const RenderOptions& options, const std::string* state,
                std::chrono::steady_clock::time_point started, FileRenderResult* result, std::string* error);

} // namespace render
