// The editor on screen under a private Xvfb, against a memcpy of the same
// 702 x 436 frame measured in the same run (wall time, the server's share
// included). The last line printed is the summary the build's reports read:
//   window: memcpy_frame_us=... tick_idle_us=... (x memcpy) full_frame_ms=... scaled2x_frame_ms=... ...
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

EditorScreen* g_shm = nullptr;
EditorScreen* g_plain = nullptr;

// Wall time per iteration of each benchmark's last (longest) run, for the summary.
double g_memcpy = 0, g_tick = 0, g_full = 0, g_scaled2 = 0, g_scaled15 = 0, g_plainFull = 0;

template <class F>
void Timed(benchmark::State& st, double* result, F f)
{
  const auto t0 = Clock::now();
  for (auto _ : st) f();
  const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
  if (st.iterations() > 0) *result = ns / static_cast<double>(st.iterations());
}

void BM_MemcpyFrame(benchmark::State& st) { Timed(st, &g_memcpy, Memcpy); }
void BM_TickNothingDirty(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(1.0);
  g_shm->FullFrame();
  Timed(st, &g_tick, [] { g_shm->gui->OnWindowTimer(); });
}
void BM_FullFrameOnScreen(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(1.0);
  Timed(st, &g_full, [] { g_shm->FullFrame(); });
}
void BM_FullFrameScaled2x(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(2.0);
  Timed(st, &g_scaled2, [] { g_shm->FullFrame(); });
  g_shm->gui->SetWindowScale(1.0);
}
void BM_FullFrameScaled1_5x(benchmark::State& st)
{
  g_shm->gui->SetWindowScale(1.5);
  Timed(st, &g_scaled15, [] { g_shm->FullFrame(); });
  g_shm->gui->SetWindowScale(1.0);
}
void BM_FullFramePlainPath(benchmark::State& st) { Timed(st, &g_plainFull, [] { g_plain->FullFrame(); }); }
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

  const double copy = g_memcpy > 0 ? g_memcpy : 1;
  std::printf("window: memcpy_frame_us=%.1f tick_idle_us=%.2f (x%.3f memcpy, target <= 5 us) "
              "full_frame_ms=%.3f (x%.1f memcpy, target <= 2 ms) scaled2x_frame_ms=%.3f (x%.1f memcpy, "
              "target <= 6 ms) scaled1.5x_frame_ms=%.3f (x%.1f memcpy) plain_frame_ms=%.3f (x%.1f memcpy) shm=%d\n",
              copy / 1e3, g_tick / 1e3, g_tick / copy, g_full / 1e6, g_full / copy, g_scaled2 / 1e6,
              g_scaled2 / copy, g_scaled15 / 1e6, g_scaled15 / copy, g_plainFull / 1e6, g_plainFull / copy,
              shm.gui->UsesShm() ? 1 : 0);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
