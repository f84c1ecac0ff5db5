#include "IPlugVST3View.h"

#include <cstring>

#include "IPlugVST3.h"

using namespace Steinberg;

namespace
{
// The one parent window type a Linux host hands over.
bool IsX11Embed(FIDString type) { return type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0; }
} // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug) { mPlug->addRef(); }

IPlugVST3View::~IPlugVST3View()
{
  mPlug->ForgetViews();
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  return IsX11Embed(type) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  if (!IsX11Embed(type)) return kResultFalse;
  CPluginView::attached(parent, type);
  mOpen = true;
  mPlug->OnGUIOpen();
  return kResultTrue;
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  if (mOpen) mPlug->OnGUIClose();
  mOpen = false;
  return CPluginView::removed();
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  if (!size) return kInvalidArgument;
  IEditor* gui = mPlug->GetGUI();
  if (!gui) return kResultFalse;
  *size = ViewRect(0, 0, gui->Width(), gui->Height());
  return kResultTrue;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
  if (newSize) rect = *newSize;
  if (mExpectingNewSize)
  {
    mPlug->OnWindowResize();
    mExpectingNewSize = false;
  }
  return kResultTrue;
}

void IPlugVST3View::resize(int width, int height)
{
  if (!plugFrame) return;
  mExpectingNewSize = true;
  ViewRect r(0, 0, width, height);
  plugFrame->resizeView(this, &r);
}
