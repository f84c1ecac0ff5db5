#include "IBitmapControl.h"
#include "IGraphics.h"
#include "IPanelControl.h"

void IGraphics::AttachBackground(int id, const char* name)
{
  IBitmap bg = LoadIBitmap(id, name, 1, false);
  InsertControl(0, new IBitmapControl(mPlug, 0, 0, -1, &bg, IChannelBlend::kBlendNone));
}

void IGraphics::AttachPanelBackground(const IColor* color)
{
  InsertControl(0, new IPanelControl(mPlug, IRECT(0, 0, mWidth, mHeight), color ? color : &COLOR_BLACK));
}
