#include "IGraphicsHeadless.h"
#include "MakeGraphics.h"

IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int refreshFPS)
{
  IGraphics* graphics = new IGraphicsHeadless(plug, width, height, refreshFPS);
  graphics->SetBundleID(kMuraxBundleID);
  return graphics;
}
