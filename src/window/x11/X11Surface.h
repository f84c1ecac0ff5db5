#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include "IGraphicsStructs.h"

class LICE_IBitmap;
class LICE_SysBitmap;

// Puts the area r of a 32-bit bitmap at (dstX, dstY) of a window with
// XPutImage: straight from the bitmap's memory when the visual's pixels are
// its 0x00RRGGBB words, converted pixel by pixel otherwise. For the small
// windows (menus, fields, read-outs) that need no shared memory.
void X11PutBitmap(Display* display, ::Window window, GC gc, Visual* visual, int depth, LICE_IBitmap* bitmap,
                  const IRECT& r, int dstX, int dstY);
// Whether bitmaps go to this visual without conversion.
bool X11DirectFormat(Display* display, Visual* visual, int depth);

// Puts 32-bit bitmaps on one window: with MIT-SHM when the server offers it
// (the bitmap is then itself the shared segment) and with XPutImage straight
// from the bitmap's memory otherwise. Bitmaps made by MakeBitmap belong to
// this object's connection and must go before it does. [main thread]
class X11Surface
{
public:
  X11Surface(Display* display, ::Window window, Visual* visual, int depth);
  ~X11Surface();
  X11Surface(const X11Surface&) = delete;
  X11Surface& operator=(const X11Surface&) = delete;

  // Probes MIT-SHM once; false after any error, and the plain path is used.
  bool ShmAvailable() const { return mShm; }
  // A system bitmap that Put can show without copying: a shared segment
  // when MIT-SHM works, plain memory otherwise.
  LICE_SysBitmap* MakeBitmap(int w, int h);
  // Shows the area r of bitmap at the same place in the window. With shared
  // memory a completion event is requested; until it arrives the bitmap
  // must not be drawn into (Busy).
  void Put(LICE_SysBitmap* bitmap, const IRECT& r);
  bool Busy() const { return mPending; }
  // The event loop hands every event here; true when it was a completion.
  bool HandleEvent(const XEvent& ev);
  // Waits (bounded) for an outstanding completion; false on time-out.
  bool WaitIdle(int timeoutMs);
  int ShmCompletionType() const { return mCompletionType; }

private:
  struct Segment;
  static void* CreateSegment(int rowSpan, int height, void* user);
  static LICE_pixel* SegmentBits(void* ctx, void* user);
  static void DestroySegment(void* ctx, void* user);
  bool IsSegment(LICE_SysBitmap* bitmap) const;
  XImage* ImageFor(LICE_SysBitmap* bitmap, bool shm);

  Display* mDisplay;
  ::Window mWindow;
  Visual* mVisual;
  int mDepth;
  GC mGC = nullptr;
  bool mShm = false;
  bool mPending = false;
  bool mDirectFormat = false; // the server's pixels are the bitmap's 0x00RRGGBB words
  int mCompletionType = -1;
  // Cached image over the last bitmap put, remade when the bitmap changes.
  LICE_SysBitmap* mImageBitmap = nullptr;
  XImage* mImage = nullptr;
  bool mImageIsShm = false;
  Segment* mSegments = nullptr; // every live segment of this connection
};
