#include "X11Surface.h"

#include <X11/Xutil.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "LICE_SysBitmap.h"
#include "X11ErrorTrap.h"

bool X11DirectFormat(Display* display, Visual* visual, int depth)
{
  int bpp = 0;
  int nFormats = 0;
  if (XPixmapFormatValues* formats = XListPixmapFormats(display, &nFormats))
  {
    for (int i = 0; i < nFormats; ++i)
      if (formats[i].depth == depth) bpp = formats[i].bits_per_pixel;
    XFree(formats);
  }
  return (depth == 24 || depth == 32) && bpp == 32 && visual && visual->red_mask == 0xFF0000 &&
         visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF && ImageByteOrder(display) == LSBFirst;
}

void X11PutBitmap(Display* display, ::Window window, GC gc, Visual* visual, int depth, LICE_IBitmap* bitmap,
                  const IRECT& area, int dstX, int dstY)
{
  if (!bitmap || !bitmap->getBits() || !visual) return;
  const int bw = bitmap->getWidth(), bh = bitmap->getHeight();
  const int l = area.L < 0 ? 0 : area.L, t = area.T < 0 ? 0 : area.T;
  const int r = area.R > bw ? bw : area.R, b = area.B > bh ? bh : area.B;
  if (r <= l || b <= t) return;
  const unsigned w = static_cast<unsigned>(r - l), h = static_cast<unsigned>(b - t);
  const LICE_pixel* bits = bitmap->getBits();
  const int span = bitmap->getRowSpan();
  if (X11DirectFormat(display, visual, depth))
  {
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<LICE_pixel*>(bits)), static_cast<unsigned>(span),
                                 static_cast<unsigned>(bh), 32, span * 4);
    if (!image) return;
    XPutImage(display, window, gc, image, l, t, dstX, dstY, w, h);
    image->data = nullptr; // the pixels belong to the bitmap
    XDestroyImage(image);
    return;
  }
  // A visual of another layout: convert pixel by pixel, slowly but right.
  XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr, w, h, 32, 0);
  if (!image) return;
  image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * h));
  if (!image->data)
  {
    XDestroyImage(image);
    return;
  }
  const unsigned long rm = visual->red_mask, gm = visual->green_mask, bm = visual->blue_mask;
  auto place = [](unsigned v, unsigned long mask) {
    if (!mask) return 0ul;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    int width = 0;
    while ((mask >> (shift + width)) & 1) ++width;
    return (static_cast<unsigned long>(v >> (8 - (width > 8 ? 8 : width))) << shift) & mask;
  };
  for (unsigned y = 0; y < h; ++y)
    for (unsigned x = 0; x < w; ++x)
    {
      const LICE_pixel p = bits[(t + static_cast<int>(y)) * span + l + static_cast<int>(x)];
      XPutPixel(image, static_cast<int>(x), static_cast<int>(y),
                place((p >> 16) & 255, rm) | place((p >> 8) & 255, gm) | place(p & 255, bm));
    }
  XPutImage(display, window, gc, image, 0, 0, dstX, dstY, w, h);
  XDestroyImage(image);
}

struct X11Surface::Segment
{
  XShmSegmentInfo info = {};
  X11Surface* owner = nullptr;
  Segment* next = nullptr;
  int rowSpan = 0, height = 0;
};

X11Surface::X11Surface(Display* display, ::Window window, Visual* visual, int depth)
  : mDisplay(display), mWindow(window), mVisual(visual), mDepth(depth)
{
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  mDirectFormat = X11DirectFormat(mDisplay, mVisual, mDepth);

  int major = 0, minor = 0;
  Bool pixmaps = False;
  const char* noShm = std::getenv("MURAX_NO_SHM");
  if (mDirectFormat && !(noShm && *noShm) && XShmQueryExtension(mDisplay) &&
      XShmQueryVersion(mDisplay, &major, &minor, &pixmaps))
  {
    // The real probe: a small segment attached under a trap. A remote or
    // sandboxed server refuses it with an error, not with a failed query.
    mShm = true;
    if (LICE_SysBitmap* probe = MakeBitmap(4, 4))
    {
      const bool ok = IsSegment(probe);
      delete probe;
      mShm = ok;
    }
    else
      mShm = false;
    if (mShm) mCompletionType = XShmGetEventBase(mDisplay) + ShmCompletion;
  }
}

X11Surface::~X11Surface()
{
  WaitIdle(200);
  if (mImage)
  {
    mImage->data = nullptr; // the pixels belong to the bitmap
    XDestroyImage(mImage);
  }
  if (mGC) XFreeGC(mDisplay, mGC);
}

void* X11Surface::CreateSegment(int rowSpan, int height, void* user)
{
  auto* self = static_cast<X11Surface*>(user);
  auto* seg = new Segment;
  seg->owner = self;
  seg->rowSpan = rowSpan;
  seg->height = height;
  const size_t bytes = static_cast<size_t>(rowSpan) * static_cast<size_t>(height) * 4;
  seg->info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (seg->info.shmid < 0)
  {
    delete seg;
    return nullptr;
  }
  seg->info.shmaddr = static_cast<char*>(shmat(seg->info.shmid, nullptr, 0));
  seg->info.readOnly = False;
  bool attached = false;
  if (seg->info.shmaddr != reinterpret_cast<char*>(-1))
  {
    X11ErrorTrap trap(self->mDisplay);
    attached = XShmAttach(self->mDisplay, &seg->info) && !trap.Failed();
  }
  // Marked for removal at once: the segment goes with the last detach, even
  // if the host dies.
  shmctl(seg->info.shmid, IPC_RMID, nullptr);
  if (!attached)
  {
    if (seg->info.shmaddr != reinterpret_cast<char*>(-1)) shmdt(seg->info.shmaddr);
    delete seg;
    return nullptr;
  }
  seg->next = self->mSegments;
  self->mSegments = seg;
  return seg;
}

LICE_pixel* X11Surface::SegmentBits(void* ctx, void*)
{
  return reinterpret_cast<LICE_pixel*>(static_cast<Segment*>(ctx)->info.shmaddr);
}

void X11Surface::DestroySegment(void* ctx, void*)
{
  auto* seg = static_cast<Segment*>(ctx);
  X11Surface* self = seg->owner;
  if (self)
  {
    self->WaitIdle(200);
    if (self->mImageBitmap && self->mImageIsShm &&
        self->mImage && self->mImage->data == seg->info.shmaddr)
    {
      self->mImage->data = nullptr;
      XDestroyImage(self->mImage);
      self->mImage = nullptr;
      self->mImageBitmap = nullptr;
    }
    {
      X11ErrorTrap trap(self->mDisplay);
      XShmDetach(self->mDisplay, &seg->info);
    }
    for (Segment** p = &self->mSegments; *p; p = &(*p)->next)
      if (*p == seg)
      {
        *p = seg->next;
        break;
      }
  }
  shmdt(seg->info.shmaddr);
  delete seg;
}

LICE_SysBitmap* X11Surface::MakeBitmap(int w, int h)
{
  if (!mShm) return new LICE_SysBitmap(w, h);
  const LICE_SysContextOps ops = {&X11Surface::CreateSegment, &X11Surface::SegmentBits, &X11Surface::DestroySegment,
                                  this};
  LICE_SetSysContextOps(&ops);
  auto* bitmap = new LICE_SysBitmap(w, h);
  LICE_SetSysContextOps(nullptr);
  if (w > 0 && h > 0 && !bitmap->getBits())
  {
    // The server refused the segment after all: plain memory from now on.
    delete bitmap;
    mShm = false;
    bitmap = new LICE_SysBitmap(w, h);
  }
  return bitmap;
}

bool X11Surface::IsSegment(LICE_SysBitmap* bitmap) const
{
  for (Segment* s = mSegments; s; s = s->next)
    if (reinterpret_cast<LICE_pixel*>(s->info.shmaddr) == bitmap->getBits()) return true;
  return false;
}

XImage* X11Surface::ImageFor(LICE_SysBitmap* bitmap, bool shm)
{
  const int span = bitmap->getRowSpan();
  const int h = bitmap->getHeight();
  if (mImage && mImageBitmap == bitmap && mImage->width == span && mImage->height == h &&
      mImage->data == reinterpret_cast<char*>(bitmap->getBits()) && mImageIsShm == shm)
    return mImage;
  if (mImage)
  {
    mImage->data = nullptr;
    XDestroyImage(mImage);
    mImage = nullptr;
  }
  mImageBitmap = bitmap;
  mImageIsShm = shm;
  if (shm)
  {
    Segment* seg = mSegments;
    while (seg && reinterpret_cast<LICE_pixel*>(seg->info.shmaddr) != bitmap->getBits()) seg = seg->next;
    if (!seg) return nullptr;
    mImage = XShmCreateImage(mDisplay, mVisual, static_cast<unsigned>(mDepth), ZPixmap, seg->info.shmaddr, &seg->info,
                             static_cast<unsigned>(span), static_cast<unsigned>(h));
  }
  else if (mDirectFormat)
  {
    mImage = XCreateImage(mDisplay, mVisual, static_cast<unsigned>(mDepth), ZPixmap, 0,
                          reinterpret_cast<char*>(bitmap->getBits()), static_cast<unsigned>(span),
                          static_cast<unsigned>(h), 32, span * 4);
  }
  return mImage;
}

void X11Surface::Put(LICE_SysBitmap* bitmap, const IRECT& area)
{
  if (!bitmap || !bitmap->getBits()) return;
  const int bw = bitmap->getWidth(), bh = bitmap->getHeight();
  const int l = area.L < 0 ? 0 : area.L, t = area.T < 0 ? 0 : area.T;
  const int r = area.R > bw ? bw : area.R, b = area.B > bh ? bh : area.B;
  if (r <= l || b <= t) return;
  const unsigned w = static_cast<unsigned>(r - l), h = static_cast<unsigned>(b - t);

  const bool shm = mShm && IsSegment(bitmap);
  if (XImage* direct = ImageFor(bitmap, shm))
  {
    if (shm)
    {
      XShmPutImage(mDisplay, mWindow, mGC, direct, l, t, l, t, w, h, True);
      mPending = true;
    }
    else
      XPutImage(mDisplay, mWindow, mGC, direct, l, t, l, t, w, h);
  }
  else
    X11PutBitmap(mDisplay, mWindow, mGC, mVisual, mDepth, bitmap, IRECT(l, t, r, b), l, t);
  XFlush(mDisplay);
}

bool X11Surface::HandleEvent(const XEvent& ev)
{
  if (mCompletionType < 0 || ev.type != mCompletionType) return false;
  mPending = false;
  return true;
}

bool X11Surface::WaitIdle(int timeoutMs)
{
  using clock = std::chrono::steady_clock;
  const auto end = clock::now() + std::chrono::milliseconds(timeoutMs);
  while (mPending)
  {
    // Only the completion is taken out of the queue; everything else stays
    // for the window's own event handling.
    XEvent ev;
    if (XCheckTypedEvent(mDisplay, mCompletionType, &ev))
    {
      mPending = false;
      break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now()).count();
    if (left <= 0) return false;
    XFlush(mDisplay);
    pollfd p = {ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left > 5 ? 5 : left));
    XEventsQueued(mDisplay, QueuedAfterReading);
  }
  return true;
}
