#pragma once

// Diagnostic trace points. The shipped sink discards everything: a plug-in
// must never print or log on a normal path. Tests may install their own sink.
using TraceSink = void (*)(const char* location, int line, const char* text);

void Trace(const char* location, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Installs a sink (null restores the discarding one). Main thread only.
void SetTraceSink(TraceSink sink);

#define TRACE_LOC(location, ...) Trace(location, __LINE__, __VA_ARGS__)
