// The editor on screen under a private Xvfb, against a memcpy of the same
// 702 x 436 frame measured in the same run. The last line printed is the
// summary the build's reports read:
//   window: tick_idle_us=... (x memcpy) full_frame_ms=... scaled2x_frame_ms=... plain_frame_ms=...
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "IGraphicsX11.h"
#include "IPlugBase.h"
#include "MURAX.h"
#include "lice_png.h"

#include "EditorX11Support.h"

namespace
{
using Clock = std::chrono::steady_clock;

// One server, one editor window; the plug-in is MURAX with the X11 surface.
struct EditorScreen
{
  explicit EditorScreen(bool withShm)
  {
    std::string error;
    server = vst3host::XvfbServer::Start(&error, withShm);
    if (!server) return;
    setenv("DISPLAY", server->DisplayName().c_str(), 1);
    parent = vst3host::HostParentWindow::Open(server->DisplayName().c_str(), 1500, 900);
    plug = MakePlug();
    gui = dynamic_cast<IGraphicsX11*>(plug->GetGUI());
    if (!gui || !parent || !gui->OpenWindow(parent->EmbedHandle())) gui = nullptr;
  }
  ~EditorScreen()
  {
    if (gui) gui->CloseWindow();
    delete plug;
  }
  // A whole frame drawn and on screen, completion included.
  void FullFrame()
  {
    gui->SetAllControlsDirty();
    gui->OnWindowTimer();
    gui->WaitForScreen(1000);
  }
  std::unique_ptr<vst3host::XvfbServer> server;
  std::unique_ptr<vst3host::HostParentWindow> parent;
  IPlugBase* plug = nullptr;
  IGraphicsX11* gui = nullptr;
};

std::vector<uint32_t>& Frames()
{
  static std::vector<uint32_t> b(702u * 436u);
  return b;
}
void Memcpy()
{
  static std::vector<uint32_t> a(702u * 436u, 0x00808080u);
  std::memcpy(Frames().data(), a.data(), a.size() * 4);
  benchmark::ClobberMemory();
}

// Best per-call time in nanoseconds over rounds of n calls.
double Best(int rounds, int n, const std::function<void()>& f)
{
  double best = 1e30;
  for (int r = 0; r < rounds; ++r)
  {
    const auto t0 = Clock::now();
    for (int i = 0; i < n; ++i) f();
    best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / n);
  }
  return best;
}

EditorScreen* g_shm = nullptr;
EditorScreen* g_plain = nullptr;

void BM_MemcpyFrame(benchmark::State& st)
{
  for (auto _ : st) Memcpy();
}
void BM_TickNothingDirty(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(1.0);
  g_shm->FullFrame();
  for (auto _ : st) g_shm->gui->OnWindowTimer();
}
void BM_FullFrameOnScreen(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(1.0);
  for (auto _ : st) g_shm->FullFrame();
}
void BM_FullFrameScaled2x(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(2.0);
  for (auto _ : st) g_shm->FullFrame();
  g_shm->gui->SetWindowScale(1.0);
}
void BM_FullFrameScaled1_5x(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(1.5);
  for (auto _ : st) g_shm->FullFrame();
  g_shm->gui->SetWindowScale(1.0);
}
void BM_FullFramePlainPath(benchmark::State& st)
{
  for (auto _ : st) g_plain->FullFrame();
}
} // namespace

int main(int argc, char** argv)
{
  // The panel with real-sized images, so a full frame blends what the editor blends.
  char dir[] = "/tmp/murax-bench-XXXXXX";
  if (!mkdtemp(dir) || !editortest::WriteTestImages(dir)) return 1;
  LICE_SetResourceRoot(dir);
  EditorScreen shm(true), plain(false);
  if (!shm.gui || !plain.gui)
  {
    std::fprintf(stderr, "no Xvfb or no editor window\n");
    return 1;
  }
  g_shm = &shm;
  g_plain = &plain;
  benchmark::RegisterBenchmark("MemcpyFrame", BM_MemcpyFrame);
  benchmark::RegisterBenchmark("TickNothingDirty", BM_TickNothingDirty);
  benchmark::RegisterBenchmark("FullFrameOnScreen", BM_FullFrameOnScreen)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FullFrameScaled2x", BM_FullFrameScaled2x)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FullFrameScaled1_5x", BM_FullFrameScaled1_5x)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FullFramePlainPath", BM_FullFramePlainPath)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();

  const double copy = Best(30, 50, Memcpy);
  shm.gui->SetWindowScale(1.0);
  shm.FullFrame();
  const double tick = Best(30, 200, [&] { shm.gui->OnWindowTimer(); });
  const double full = Best(10, 10, [&] { shm.FullFrame(); });
  shm.gui->SetWindowScale(2.0);
  shm.FullFrame();
  const double scaled = Best(10, 5, [&] { shm.FullFrame(); });
  shm.gui->SetWindowScale(1.0);
  const double plainFull = Best(10, 10, [&] { plain.FullFrame(); });
  std::printf("window: memcpy_frame_us=%.1f tick_idle_us=%.2f (x%.3f memcpy, target <= 5 us) "
              "full_frame_ms=%.3f (x%.1f memcpy, target <= 2 ms) scaled2x_frame_ms=%.3f (x%.1f memcpy, target <= 6 ms) "
              "plain_frame_ms=%.3f (x%.1f memcpy) shm=%d\n",
              copy / 1e3, tick / 1e3, tick / copy, full / 1e6, full / copy, scaled / 1e6, scaled / copy,
              plainFull / 1e6, plainFull / copy, shm.gui->UsesShm() ? 1 : 0);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
