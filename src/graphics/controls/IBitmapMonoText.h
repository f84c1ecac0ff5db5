#pragma once
#include "IGraphicsStructs.h"

class IGraphics;

// Draws text from a strip of fixed-size glyph frames holding the printable
// characters from the space onward, one frame each, into r: aligned by the
// text style, optionally centred vertically and wrapped over several lines.
// charWidth and charHeight are the glyph cell, charOffset the extra space
// between cells. [UI thread]
void DrawBitmapedText(IGraphics* graphics, IBitmap* bitmap, IRECT* r, IText* text, const IChannelBlend* blend,
                      const char* str, bool vCenter = true, bool multiline = false, int charWidth = 6,
                      int charHeight = 12, int charOffset = 0);
