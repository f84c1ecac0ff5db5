// Cursor, clipboard, images and the desktop's services for the X11 editor.
#include "IGraphicsX11.h"

#include <poll.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>

// Our headers before Xlib's: it defines Bool and Status as macros.
#include "BundleImage.h"
#include "IControl.h"
#include "IParam.h"
#include "IPlugBase.h"
#include "IPopupMenu.h"
#include "LICE_SysBitmap.h"
#include "lice_blit.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include "X11ErrorTrap.h"
#include "X11PopupMenu.h"
#include "X11Readout.h"
#include "X11Services.h"
#include "X11Surface.h"
#include "X11TextEntry.h"
#include "IGraphicsX11Detail.h"

using x11detail::NowMs;
using x11detail::kReadoutLingerMs;
using x11detail::kClipboardWaitMs;
using x11detail::kTooltipDelayMs;

// ---- Cursor, clipboard, images ---------------------------------------------------------

void IGraphicsX11::HideMouseCursor()
{
  if (mCursorHidden || !mDisplay) return;
  ::Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  X11ErrorTrap trap(mDisplay);
  if (XQueryPointer(mDisplay, mWindow, &root, &child, &rx, &ry, &wx, &wy, &mask))
  {
    mHiddenMousePointX = rx;
    mHiddenMousePointY = ry;
  }
  XFixesHideCursor(mDisplay, mWindow);
  mCursorHidden = !trap.Failed();
}

void IGraphicsX11::ShowMouseCursor()
{
  if (!mCursorHidden || !mDisplay) return;
  X11ErrorTrap trap(mDisplay);
  XWarpPointer(mDisplay, None, RootWindow(mDisplay, mScreen), 0, 0, 0, 0, mHiddenMousePointX, mHiddenMousePointY);
  XFixesShowCursor(mDisplay, mWindow);
  mCursorHidden = trap.Failed();
}

bool IGraphicsX11::GetTextFromClipboard(WDL_String* text)
{
  if (text) text->Set("");
  if (!text || !mDisplay || !mWindow) return false;
  X11ErrorTrap scope(mDisplay, false);
  if (XGetSelectionOwner(mDisplay, mClipboard) == None) return false;
  XDeleteProperty(mDisplay, mWindow, mClipProp);
  XConvertSelection(mDisplay, mClipboard, mUtf8, mClipProp, mWindow, CurrentTime);
  XFlush(mDisplay);
  // A bounded wait on our own connection only; other events stay queued.
  XEvent ev;
  bool answered = false;
  const long long end = NowMs() + kClipboardWaitMs;
  while (!answered && NowMs() < end)
  {
    if (XCheckTypedWindowEvent(mDisplay, mWindow, SelectionNotify, &ev))
    {
      answered = true;
      break;
    }
    pollfd p = {ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&p, 1, 10);
    XEventsQueued(mDisplay, QueuedAfterReading);
  }
  if (!answered || ev.xselection.property == None) return false;
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  bool ok = false;
  if (XGetWindowProperty(mDisplay, mWindow, mClipProp, 0, 1 << 20, True, AnyPropertyType, &type, &format, &n, &after,
                         &data) == Success)
  {
    // Incremental transfers (huge selections) are not taken.
    if (data && format == 8 && type != XInternAtom(mDisplay, "INCR", False))
    {
      text->Set(reinterpret_cast<const char*>(data), static_cast<int>(n));
      ok = n > 0;
    }
    if (data) XFree(data);
  }
  return ok;
}

LICE_IBitmap* IGraphicsX11::OSLoadBitmap(int, const char* name) { return LoadImageFromBundle(name); }

// ---- Desktop services ------------------------------------------------------------------

bool IGraphicsX11::OpenURL(const char* url, const char*, const char*, const char*)
{
  if (!url || !*url) return false;
  return X11SpawnDetached({"xdg-open", url});
}

void IGraphicsX11::HostPath(WDL_String* path)
{
  if (path) path->Set(X11ModulePath().c_str());
}

void IGraphicsX11::PluginPath(WDL_String* path)
{
  if (path) path->Set(X11BundleParent(X11ModulePath()).c_str());
}

void IGraphicsX11::DesktopPath(WDL_String* path)
{
  if (path) path->Set(X11DesktopFolder().c_str());
}

void IGraphicsX11::AppSupportPath(WDL_String* path, bool isSystem)
{
  if (path) path->Set(isSystem ? "/usr/share" : X11DataFolder().c_str());
}

void IGraphicsX11::SandboxSafeAppSupportPath(WDL_String* path)
{
  if (path) path->Set((X11HomeFolder() + "/Music").c_str());
}

int IGraphicsX11::ShowMessageBox(const char* text, const char* caption, int type)
{
  // The desktop's own dialog helper when one is installed; without it the
  // box cannot be shown and no button counts as pressed.
  std::vector<std::string> args = {"zenity", "--title", caption ? caption : "", "--text", text ? text : "",
                                   "--no-markup"};
  if (type == 4 || type == 3)
  {
    args.insert(args.begin() + 1, "--question");
    args.push_back("--ok-label=Yes");
    args.push_back("--cancel-label=No");
    if (type == 3) args.push_back("--extra-button=Cancel");
  }
  else if (type == 1)
  {
    args.insert(args.begin() + 1, "--question");
    args.push_back("--ok-label=OK");
    args.push_back("--cancel-label=Cancel");
  }
  else
    args.insert(args.begin() + 1, "--info");
  std::string out;
  int code = -1;
  if (X11FindProgram("zenity").empty()) return 0;
  X11RunForOutput(args, &out, &code);
  if (code == 0) return 1;
  if (type == 3 && out.find("Cancel") != std::string::npos) return 2;
  if (code == 1 && (type == 4 || type == 3)) return 7;
  return 0;
}

void IGraphicsX11::PromptForFile(WDL_String* fileName, EFileAction action, WDL_String* dir, const char* extensions)
{
  if (!fileName) return;
  if (!mWindow)
  {
    fileName->Set("");
    return;
  }
  std::string start = dir && dir->Get()[0] ? dir->Get() : X11HomeFolder() + "/Desktop";
  if (dir && !dir->Get()[0]) dir->Set("~/Desktop");
  if (!start.empty() && start.back() != '/') start += '/';
  const std::string suggested = fileName->Get();
  fileName->Set("");
  std::vector<std::string> args = {"zenity", "--file-selection", "--filename=" + start + suggested};
  if (action == kFileSave) args.push_back("--save");
  std::string filter;
  for (const char* p = extensions ? extensions : ""; *p;)
  {
    while (*p == ' ') ++p;
    const char* e = p;
    while (*e && *e != ' ') ++e;
    if (e > p) filter += (filter.empty() ? "*." : " *.") + std::string(p, e);
    p = e;
  }
  if (!filter.empty()) args.push_back("--file-filter=" + filter);
  std::string out;
  if (!X11RunForOutput(args, &out, nullptr)) return;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  if (out.empty()) return;
  fileName->Set(out.c_str());
  if (dir)
  {
    const size_t slash = out.rfind('/');
    dir->Set(slash == std::string::npos ? "" : out.substr(0, slash + 1).c_str());
  }
}
