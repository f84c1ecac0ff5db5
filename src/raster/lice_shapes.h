#pragma once
#include "LICE_IBitmap.h"
#include "lice_blend.h"

// Outlines and fills beyond straight lines. Pixel (x, y) is the unit square
// centred on the integer point (x, y), so a circle of radius r centred on a
// pixel spans 2r + 1 pixels. Every call clips to the bitmap, honours the
// operation and source-alpha bit of mode with the colour's four channels as
// the source, and draws nothing for NaN or non-positive alpha or non-finite
// geometry. Angles are radians, 0 pointing up and growing clockwise.
// Threads: [any thread] on bitmaps that thread owns; nothing is allocated.

// The part of the circle from minAngle to maxAngle (clockwise), one pixel wide.
void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle, LICE_pixel color,
              float alpha, int mode, bool antialias);
void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                 bool antialias);
void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                     bool antialias);
// Outline of the pixels x .. x + w - 1, y .. y + h - 1 with quarter circles of
// the given radius at the corners (limited to half the shorter side).
void LICE_RoundRect(LICE_IBitmap* dest, float x, float y, float w, float h, int cornerradius, LICE_pixel color,
                    float alpha, int mode, bool antialias);
// Every pixel whose centre lies inside or on the edge of the shape.
void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3, LICE_pixel color,
                       float alpha, int mode);
void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int npoints, LICE_pixel color,
                            float alpha, int mode);
