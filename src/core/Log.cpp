#include "Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace
{
std::atomic<TraceSink> gSink{nullptr};
}

void SetTraceSink(TraceSink sink) { gSink.store(sink); }

void Trace(const char* location, int line, const char* format, ...)
{
  const TraceSink sink = gSink.load(std::memory_order_relaxed);
  if (!sink) return; // the common case formats nothing
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  sink(location, line, text);
}
