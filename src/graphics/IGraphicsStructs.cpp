#include "IGraphicsStructs.h"

#include <algorithm>
#include <cstring>

#include "lice_blend.h"

const IColor COLOR_TRANSPARENT(0, 0, 0, 0);
const IColor COLOR_BLACK(255, 0, 0, 0);
const IColor COLOR_GRAY(255, 127, 127, 127);
const IColor COLOR_WHITE(255, 255, 255, 255);
const IColor COLOR_RED(255, 255, 0, 0);
const IColor COLOR_GREEN(255, 0, 255, 0);
const IColor COLOR_BLUE(255, 0, 0, 255);
const IColor COLOR_YELLOW(255, 255, 255, 0);
const IColor COLOR_ORANGE(255, 255, 127, 0);
const IColor DEFAULT_TEXT_COLOR = COLOR_BLACK;
const IColor DEFAULT_TEXT_ENTRY_BGCOLOR = COLOR_WHITE;
const IColor DEFAULT_TEXT_ENTRY_FGCOLOR = COLOR_BLACK;

IRECT IRECT::Intersect(const IRECT& o) const
{
  if (!Intersects(o)) return IRECT();
  return IRECT(std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B));
}

IRECT IRECT::Union(const IRECT& o) const
{
  if (Empty()) return o;
  if (o.Empty()) return *this;
  return IRECT(std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B));
}

float LiceWeight(const IChannelBlend* blend) { return blend ? blend->mWeight : 1.0f; }

int LiceBlendMode(const IChannelBlend* blend)
{
  if (!blend) return LICE_OP_COPY | LICE_MODE_SRC_ALPHA;
  switch (blend->mMethod)
  {
  case IChannelBlend::kBlendClobber: return LICE_OP_COPY;
  case IChannelBlend::kBlendAdd: return LICE_OP_ADD | LICE_MODE_SRC_ALPHA;
  case IChannelBlend::kBlendColorDodge: return LICE_OP_DODGE | LICE_MODE_SRC_ALPHA;
  case IChannelBlend::kBlendNone:
  default: return LICE_OP_COPY | LICE_MODE_SRC_ALPHA;
  }
}

IText::IText(int size, const IColor* color, const char* font, EStyle style, EAlign align, int orientation,
             EQuality quality, const IColor* textEntryBG, const IColor* textEntryFG)
  : mSize(size), mColor(color ? *color : DEFAULT_TEXT_COLOR),
    mTextEntryBGColor(textEntryBG ? *textEntryBG : DEFAULT_TEXT_ENTRY_BGCOLOR),
    mTextEntryFGColor(textEntryFG ? *textEntryFG : DEFAULT_TEXT_ENTRY_FGCOLOR), mStyle(style), mAlign(align),
    mOrientation(orientation), mQuality(quality)
{
  if (font && font[0])
  {
    std::strncpy(mFont, font, kFontNameSize - 1);
    mFont[kFontNameSize - 1] = 0;
  }
}

IText::IText(const IColor* color) : mColor(color ? *color : DEFAULT_TEXT_COLOR) {}
