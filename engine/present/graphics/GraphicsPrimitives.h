// Outline and fill primitives of the graphics layer: lines, dashed lines,
// polygons with area patterns, rectangles, circles, ellipses, arcs and sectors.
//
// Every function draws on the current device context (GraphicsLayer.h) and does
// nothing without one. Colours are chart colour numbers (0 to 31; others draw as
// 0); coordinates are the context's logical units. Three pieces of process-wide
// state are shared: the line width, the area pattern and the exclusive-or
// switch. A caller that changes one puts it back (width 1, pattern 0, switch
// off) before it returns.
#pragma once

#include "geo/Point.h"

#include <cstdint>

extern "C" {

// Pen width in pixels of every outline primitive (0 and 1 give one pixel); 1 at start.
void GD_SetLineWidth(unsigned char width);

// A solid line from (x1, y1) to (x2, y2) in the line width; the end pixel of a
// one-pixel line is left out.
void GD_Line(int colour, int x1, int y1, int x2, int y2);

// A solid polyline through n points in the line width; nothing for n < 2 or no points.
void GD_Polyline(int colour, int n, Point* pts);

// A one-pixel dashed polyline, whatever the line width. Bit k of the pattern
// (k = 0, 1, ... 15, then 0 again) says whether the k-th pixel is set; the count
// runs on across the joints. Each segment leaves out its end pixel, so a joint is
// drawn once, as the start of the next segment.
void GD_DashPolyline(int colour, unsigned short pattern, int n, Point* pts);

// The pixel step of GD_DashPolyline: sets (x, y) in the dash colour when the
// current dash bit is in the dash pattern, then moves to the next bit. `data` is
// not used.
void GD_DashPixel(int x, int y, std::intptr_t data);

// Rectangle outline in the line width, hollow.
void GD_Rectangle(int colour, int left, int top, int right, int bottom);

// Dashed rectangle: left-top to left-bottom, to right-bottom, to right-top, back
// to left-top, as one dashed polyline.
void GD_DashRectangle(int colour, unsigned short pattern, int left, int top, int right, int bottom);

// Solid rectangle without outline.
void GD_FillRectangle(int colour, int left, int top, int right, int bottom);

// Filled polygon without outline. With an area pattern only the pattern's 1 bits
// are painted (black with pattern 11) and its 0 bits leave the picture as it was;
// without one the fill is solid. Fill mode: the device context's.
void GD_Polygon(int colour, int n, Point* pts);

// Area pattern for GD_Polygon, GD_Pie and GD_FillCircle: 8, 10, 11, 12, 13 or
// 14; any other number (0 included) means solid fills.
void GD_SetAreaPattern(short pattern);

// While on, pattern fills of pies and filled circles invert the pattern's 1 bits
// by the colour (exclusive-or) instead of painting them.
void GD_SetXorFill(bool on);

// Circle outline of radius r about (cx, cy) in the line width, hollow.
void GD_Circle(int colour, int cx, int cy, int r);

// Filled circle: pattern-filled and outlined in the line width with an area
// pattern, else solid without outline.
void GD_FillCircle(int colour, int cx, int cy, int r);

// Ellipse outline with radii rx, ry in the line width, dotted or solid, hollow;
// the gaps of a dotted outline show the picture.
void GD_Ellipse(int colour, bool dotted, int cx, int cy, int rx, int ry);

// Solid ellipse without outline.
void GD_FillEllipse(int colour, int cx, int cy, int rx, int ry);

// Circular arc and sector of radius r about (cx, cy) between the angles a1 and a2
// in degrees. Angle a is the point (cx + r sin a, cy + r cos a), truncated to 16
// bits, so in the chart pass's y-up mapping angles are bearings (0 up, 90 right).
// The shape runs from a1's point to a2's point counterclockwise on screen: it
// covers the bearings clockwise from a2 to a1. When both points are equal after
// truncation, a1 = a2 gives the whole circle, an arc with |a1 - a2| exactly 360
// the whole circle, and anything else nothing. An arc is an outline in the line
// width; a pie is pattern-filled and outlined in the line width with an area
// pattern, else only outlined (two radii and the arc).
void GD_Arc(int colour, int r, int cx, int cy, double a1, double a2);
void GD_Pie(int colour, int r, int cx, int cy, double a1, double a2);
}

// The shared state as it stands: the line width, the area pattern in effect (0
// for solid fills, also after a number that is no pattern) and the
// exclusive-or switch.
unsigned char gdLineWidth();
short gdAreaPattern();
bool gdXorFill();
