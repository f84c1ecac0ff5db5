#include "FileRender.h"

#include <vector>

#include "AudioReader.h"
#include "AudioWriter.h"
#include "OutputFile.h"
#include "WholeFiles.h"
#include "Progress.h"
#include "RenderSession.h"

namespace render {

namespace {
std::string ProcessingText(const RenderOptions& o)
{
  return std::string(o.useDouble ? "64-bit" : "32-bit") + ", " + std::to_string(o.blockSize) + "-sample blocks, " +
         (o.preroll ? "2 s pre-roll" : "no pre-roll");
}

template <class T>
bool Stream(RenderSession& session, AudioReader& reader, AudioWriter& writer, const RenderOptions& o,
            RenderReport* report, std::string* error)
{
  const AudioFormat& in = reader.Format();
  const int chunk = session.ChunkFrames();
  std::vector<T> inBuf[2], outBuf[2];
  T* ins[2] = {};
  T* outs[2] = {};
  for (int c = 0; c < 2; ++c)
  {
    inBuf[c].assign(static_cast<size_t>(chunk), T(0));
    outBuf[c].assign(static_cast<size_t>(chunk), T(0));
    ins[c] = inBuf[c].data();
    outs[c] = outBuf[c].data();
  }
  Progress progress(in.frames, in.sampleRate, !o.quiet);
  long long done = 0;
  for (;;)
  {
    const long long got = reader.Read(ins, chunk);
    if (got < 0)
    {
      *error = "reading " + o.input + " failed part way";
      return false;
    }
    if (got == 0) break;
    const int n = static_cast<int>(got);
    report->inLevel.Add(ins, in.channels, n);
    session.Process(ins, outs, n);
    report->outLevel.Add(outs, in.channels, n);
    if (!writer.Write(outs, n, error)) return false;
    done += got;
    progress.Update(done);
  }
  progress.Finish();
  report->frames = done;
  return true;
}
} // namespace

bool CheckFiles(const RenderOptions& o, std::string* error)
{
  if (!Exists(o.input))
  {
    *error = "cannot read " + o.input + ": no such file";
    return false;
  }
  if (SameFile(o.input, o.output))
  {
    *error = "OUTPUT " + o.output + " is the INPUT file; name another output";
    return false;
  }
  for (const std::string* other : {&o.stateIn, &o.stateOut, &o.plot, &o.plotData})
    if (!other->empty() && (SameFile(*other, o.input) || *other == o.input))
    {
      *error = *other + " is the INPUT file";
      return false;
    }
  if (!o.stateOut.empty() && (o.stateOut == o.output || SameFile(o.stateOut, o.output)))
  {
    *error = "--state-out names the OUTPUT file";
    return false;
  }
  AudioReader reader;
  if (!reader.Open(o.input, error)) return false;
  int format = 0;
  if (!ChooseOutputFormat(o.format, reader.Format().format, &format, error)) return false;
  SF_INFO info{};
  info.format = format;
  info.channels = reader.Format().channels;
  info.samplerate = reader.Format().sampleRate;
  if (!sf_format_check(&info))
  {
    *error = DescribeFormat(format) + " cannot hold " + std::to_string(info.channels) + " channel(s) at " +
             std::to_string(info.samplerate) + " Hz";
    return false;
  }
  return true;
}

bool RenderFile(const BundleHost& bundle, const RenderOptions& o, const std::string* state,
                std::chrono::steady_clock::time_point started, FileRenderResult* result, std::string* error)
{
  AudioReader reader;
  if (!reader.Open(o.input, error)) return false;
  AudioFormat outFormat = reader.Format();
  if (!ChooseOutputFormat(o.format, reader.Format().format, &outFormat.format, error)) return false;

  SessionSetup setup;
  setup.sampleRate = reader.Format().sampleRate;
  setup.channels = reader.Format().channels;
  setup.blockSize = o.blockSize;
  setup.useDouble = o.useDouble;
  auto session = RenderSession::Start(bundle, setup, state, o.settings, error);
  if (!session) return false;
  if (o.preroll) session->Preroll();

  OutputFile file;
  if (!file.Create(o.output, error)) return false;
  AudioWriter writer;
  if (!writer.Open(file.Fd(), o.output, outFormat, error)) return false;

  RenderReport& report = result->report;
  report.input = o.input;
  report.output = o.output;
  report.inFormat = reader.Format();
  report.outFormat = outFormat;
  const bool ok = o.useDouble ? Stream<double>(*session, reader, writer, o, &report, error)
                              : Stream<float>(*session, reader, writer, o, &report, error);
  if (!ok || !writer.Close(error)) return false;
  report.overs = report.outLevel.Overs();
  report.clips = writer.Clips();

  if (!o.stateOut.empty() && !WriteWholeFile(o.stateOut, session->SaveState(), error)) return false;
  if (!file.Commit(error)) return false;

  result->settings = session->Current();
  result->sampleRate = reader.Format().sampleRate;
  report.settings = result->settings.Describe();
  report.processing = ProcessingText(o);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return true;
}

} // namespace render
