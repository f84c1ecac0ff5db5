#pragma once
// murax-render from argv to exit code: 0 done, 1 the run failed, 2 the
// command line was wrong. Every failure is one line on standard error, and
// leaves no output file behind.
namespace render {

int RunRenderer(int argc, const char* const* argv);

} // namespace render
