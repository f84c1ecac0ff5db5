#include "IGraphicsX11.h"
#include "MakeGraphics.h"

// The bundle's editor: draws off-screen from construction and opens its X
// connection only when the host opens a window.
IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int refreshFPS)
{
  IGraphics* graphics = new IGraphicsX11(plug, width, height, refreshFPS);
  graphics->SetBundleID(kMuraxBundleID);
  return graphics;
}
