// murax_screenshot [bundle] [out.png] [scale]
//
// Opens the bundle's editor the way a Linux host does (the view embedded in
// a host window on a private Xvfb, driven by the host's run loop), reads the
// window back from the server and writes it as a PNG. Exit status 0 on
// success; a message on stderr otherwise.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "HostObjects.h"
#include "HostParentWindow.h"
#include "HostPlugFrame.h"
#include "HostRunLoop.h"
#include "PixelsPng.h"
#include "PluginInstance.h"
#include "Vst3Module.h"
#include "XvfbServer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

using namespace Steinberg;
using namespace vst3host;

namespace
{
const TUID kMuraxCID = {char(0xF2), char(0xAE), char(0xE7), char(0x0D), char(0x00), char(0xDE), char(0x4F),
                        char(0x4E), 'T', 'd', 'm', 'r', 'M', 'R', 'X', '1'};

int Fail(const std::string& what)
{
  std::fprintf(stderr, "murax_screenshot: %s\n", what.c_str());
  return 1;
}

} // namespace

int main(int argc, char** argv)
{
  const std::string bundle = argc > 1 ? argv[1] : "build/MURAX.vst3";
  const char* out = argc > 2 ? argv[2] : "docs/editor.png";
  const double scale = argc > 3 ? std::atof(argv[3]) : 1.0;

  std::string error;
  auto server = XvfbServer::Start(&error);
  if (!server) return Fail(error);
  setenv("DISPLAY", server->DisplayName().c_str(), 1);
  auto module = Vst3Module::Load(bundle, &error);
  if (!module) return Fail(error);
  HostApplication host("MURAX Screenshot");
  ComponentHandler handler;
  auto plug = PluginInstance::Create(module->Factory(), kMuraxCID, &host, &handler, &error);
  if (!plug) return Fail(error);
  IPlugView* view = plug->controller->createView(Vst::ViewType::kEditor);
  if (!view) return Fail("no editor view");

  if (scale != 1.0)
  {
    IPlugViewContentScaleSupport* support = nullptr;
    if (view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&support)) == kResultOk)
    {
      support->setContentScaleFactor(static_cast<float>(scale));
      support->release();
    }
  }
  ViewRect size;
  if (view->getSize(&size) != kResultTrue) return Fail("the view reports no size");
  const int w = size.getWidth(), h = size.getHeight();
  auto parent = HostParentWindow::Open(server->DisplayName().c_str(), w, h);
  if (!parent) return Fail("cannot open the host window");
  HostRunLoop loop;
  HostPlugFrame frame(&loop);
  view->setFrame(&frame);
  if (view->attached(parent->EmbedHandle(), kPlatformTypeX11EmbedWindowID) != kResultTrue)
    return Fail("the editor did not open");
  loop.RunFor(300);
  const std::vector<uint32_t> pixels = parent->Capture(0, 0, w, h);
  view->removed();
  view->setFrame(nullptr);
  view->release();
  if (pixels.empty()) return Fail("cannot read the window back");
  if (!WritePixelsPng(out, w, h, pixels, false)) return Fail(std::string("cannot write ") + out);
  std::printf("%s: %d x %d\n", out, w, h);
  return 0;
}
