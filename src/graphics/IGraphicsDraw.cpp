// The drawing operations: each draws into the draw bitmap with the blend
// mapped to the raster library's weight and mode word.
#include <algorithm>
#include <cmath>

#include "IGraphics.h"
#include "LICE_MemBitmap.h"
#include "LICE_SysBitmap.h"
#include "lice_blit.h"
#include "lice_line.h"
#include "lice_shapes.h"

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend)
{
  if (!bitmap || !dest) return true;
  const IRECT r = dest->Intersect(mDrawRECT);
  srcX += r.L - dest->L;
  srcY += r.T - dest->T;
  LICE_Blit(mDrawBitmap, bitmap->mData, r.L, r.T, srcX, srcY, r.W(), r.H(), LiceWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int frame, const IChannelBlend* blend)
{
  if (!bitmap || !dest) return true;
  int srcX = 0, srcY = 0;
  if (frame > 1 && bitmap->N > 1)
  {
    if (bitmap->mFramesAreHorizontal)
      srcX = static_cast<int>(static_cast<double>(frame - 1) * bitmap->W / bitmap->N + 0.5);
    else
      srcY = static_cast<int>(static_cast<double>(frame - 1) * bitmap->H / bitmap->N + 0.5);
  }
  return DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

bool IGraphics::DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle, int yOffsetZeroDeg,
                                  const IChannelBlend* blend)
{
  if (!bitmap) return true;
  const int W = bitmap->W, H = bitmap->H;
  LICE_RotatedBlit(mDrawBitmap, bitmap->mData, destCtrX - W / 2, destCtrY - H / 2, W, H, 0.0f, 0.0f,
                   static_cast<float>(W), static_cast<float>(H), static_cast<float>(angle), false, LiceWeight(blend),
                   LiceBlendMode(blend) | LICE_MODE_FILTER_BILINEAR, 0.0f, static_cast<float>(yOffsetZeroDeg));
  return true;
}

bool IGraphics::DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                                const IChannelBlend* blend)
{
  if (!base || !mask || !top) return true;
  if (!mTmpBitmap) mTmpBitmap = new LICE_MemBitmap(0, 0, 4);
  const float radians = static_cast<float>(angle * M_PI / 180.0);
  const int W = base->W, H = base->H;
  LICE_Copy(mTmpBitmap, base->mData);
  LICE_ClearRect(mTmpBitmap, 0, 0, W, H, 0x00FFFFFFu, 0);
  const float xOffset = (W & 1) ? -0.5f : 0.0f;
  const float fw = static_cast<float>(W), fh = static_cast<float>(H);
  LICE_RotatedBlit(mTmpBitmap, mask->mData, 0, 0, W, H, 0.0f, 0.0f, fw, fh, radians, true, 1.0f,
                   LICE_OP_ADD | LICE_MODE_FILTER_BILINEAR | LICE_MODE_SRC_ALPHA, xOffset, 0.0f);
  LICE_RotatedBlit(mTmpBitmap, top->mData, 0, 0, W, H, 0.0f, 0.0f, fw, fh, radians, true, 1.0f,
                   LICE_OP_COPY | LICE_MODE_FILTER_BILINEAR | LICE_MODE_SRC_ALPHA, xOffset, 0.0f);
  IRECT dest(x, y, x + W, y + H);
  const IRECT r = dest.Intersect(mDrawRECT);
  LICE_Blit(mDrawBitmap, mTmpBitmap, r.L, r.T, r.L - dest.L, r.T - dest.T, r.W(), r.H(), LiceWeight(blend),
            LiceBlendMode(blend));
  return true;
}

bool IGraphics::DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend, bool)
{
  if (!color) return true;
  LICE_PutPixel(mDrawBitmap, static_cast<int>(x + 0.5f), static_cast<int>(y + 0.5f), color->Packed(),
                LiceWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::ForcePixel(const IColor* color, int x, int y)
{
  // The pixel is written without the raster library, so the bounds are ours to check.
  if (!color || !mDrawBitmap || !mDrawBitmap->getBits()) return true;
  if (x < 0 || y < 0 || x >= mDrawBitmap->getWidth() || y >= mDrawBitmap->getHeight()) return true;
  mDrawBitmap->getBits()[x + y * mDrawBitmap->getRowSpan()] = color->Packed();
  return true;
}

bool IGraphics::DrawLine(const IColor* color, float x1, float y1, float x2, float y2, const IChannelBlend* blend,
                         bool antiAlias)
{
  if (!color) return true;
  LICE_Line(mDrawBitmap, static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2),
            color->Packed(), LiceWeight(blend), LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
                        const IChannelBlend* blend, bool antiAlias)
{
  if (!color) return true;
  LICE_Arc(mDrawBitmap, cx, cy, r, minAngle, maxAngle, color->Packed(), LiceWeight(blend), LiceBlendMode(blend),
           antiAlias);
  return true;
}

bool IGraphics::DrawCircle(const IColor* color, float cx, float cy, float r, const IChannelBlend* blend, bool antiAlias)
{
  if (!color) return true;
  LICE_Circle(mDrawBitmap, cx, cy, r, color->Packed(), LiceWeight(blend), LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::RoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius, bool antiAlias)
{
  if (!color || !r) return true;
  LICE_RoundRect(mDrawBitmap, static_cast<float>(r->L), static_cast<float>(r->T), static_cast<float>(r->W()),
                 static_cast<float>(r->H()), cornerRadius, color->Packed(), LiceWeight(blend), LiceBlendMode(blend),
                 antiAlias);
  return true;
}

bool IGraphics::FillRoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius,
                              bool antiAlias)
{
  if (!color || !r) return true;
  const LICE_pixel c = color->Packed();
  const float a = LiceWeight(blend);
  const int mode = LiceBlendMode(blend);
  const int cr = cornerRadius;
  LICE_FillRect(mDrawBitmap, r->L + cr, r->T, r->W() - 2 * cr, r->H(), c, a, mode);
  LICE_FillRect(mDrawBitmap, r->L, r->T + cr, cr, r->H() - 2 * cr, c, a, mode);
  LICE_FillRect(mDrawBitmap, r->R - cr, r->T + cr, cr, r->H() - 2 * cr, c, a, mode);
  const float fr = static_cast<float>(cr);
  LICE_FillCircle(mDrawBitmap, static_cast<float>(r->L + cr), static_cast<float>(r->T + cr), fr, c, a, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, static_cast<float>(r->R - cr - 1), static_cast<float>(r->B - cr - 1), fr, c, a, mode,
                  antiAlias);
  LICE_FillCircle(mDrawBitmap, static_cast<float>(r->R - cr - 1), static_cast<float>(r->T + cr), fr, c, a, mode,
                  antiAlias);
  LICE_FillCircle(mDrawBitmap, static_cast<float>(r->L + cr), static_cast<float>(r->B - cr - 1), fr, c, a, mode,
                  antiAlias);
  return true;
}

bool IGraphics::FillIRect(const IColor* color, IRECT* r, const IChannelBlend* blend)
{
  if (!color || !r) return true;
  LICE_FillRect(mDrawBitmap, r->L, r->T, r->W(), r->H(), color->Packed(), LiceWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend, bool antiAlias)
{
  if (!color) return true;
  LICE_FillCircle(mDrawBitmap, static_cast<float>(cx), static_cast<float>(cy), r, color->Packed(), LiceWeight(blend),
                  LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IChannelBlend* blend)
{
  if (!color) return true;
  LICE_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, color->Packed(), LiceWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::FillIConvexPolygon(const IColor* color, int* x, int* y, int npoints, const IChannelBlend* blend)
{
  if (!color || !x || !y || npoints <= 0) return true;
  LICE_FillConvexPolygon(mDrawBitmap, x, y, npoints, color->Packed(), LiceWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi)
{
  if (!color) return true;
  LICE_Line(mDrawBitmap, xi, yLo, xi, yHi, color->Packed(), 1.0f, LICE_OP_COPY, false);
  return true;
}

bool IGraphics::DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi)
{
  if (!color) return true;
  LICE_Line(mDrawBitmap, xLo, yi, xHi, yi, color->Packed(), 1.0f, LICE_OP_COPY, false);
  return true;
}

bool IGraphics::DrawRect(const IColor* color, IRECT* r)
{
  if (!color || !r) return true;
  const LICE_pixel c = color->Packed();
  LICE_Line(mDrawBitmap, r->L, r->T, r->R, r->T, c, 1.0f, LICE_OP_COPY, false);
  LICE_Line(mDrawBitmap, r->L, r->B, r->R, r->B, c, 1.0f, LICE_OP_COPY, false);
  LICE_Line(mDrawBitmap, r->L, r->T, r->L, r->B, c, 1.0f, LICE_OP_COPY, false);
  LICE_Line(mDrawBitmap, r->R, r->T, r->R, r->B, c, 1.0f, LICE_OP_COPY, false);
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* color, IRECT* r, float x)
{
  if (!color || !r) return true;
  x = std::min(1.0f, std::max(0.0f, x));
  const int xi = r->L + static_cast<int>(static_cast<float>(r->W()) * x);
  return DrawVerticalLine(color, xi, r->T, r->B);
}

bool IGraphics::DrawHorizontalLine(const IColor* color, IRECT* r, float y)
{
  if (!color || !r) return true;
  y = std::min(1.0f, std::max(0.0f, y));
  const int yi = r->B - static_cast<int>(static_cast<float>(r->H()) * y);
  return DrawHorizontalLine(color, yi, r->L, r->R);
}

bool IGraphics::DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                               const IChannelBlend* blend, bool antiAlias)
{
  const float s = std::sin(angle), c = std::cos(angle);
  return DrawLine(color, cx + s * rMin, cy - c * rMin, cx + s * rMax, cy - c * rMax, blend, antiAlias);
}

IColor IGraphics::GetPoint(int x, int y) { return IColor::FromPacked(LICE_GetPixel(mDrawBitmap, x, y)); }

void* IGraphics::GetBits() { return mDrawBitmap ? mDrawBitmap->getBits() : nullptr; }
