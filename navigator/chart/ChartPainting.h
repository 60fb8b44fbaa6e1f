// How the chart window paints (TMapWindow::EvPaint, TMapWindow::DrawChart):
// an off-screen chart picture (memory picture 1, the client's size) drawn
// once per change and copied to the window, with the relief picture under
// it, the chart pass, the grid, the tide-station marks and the overlays; the
// own-ship overlay is drawn on the window over the copy. Memory picture 2,
// the screen's size, is the own-ship overlay's working copy.
//
// Frames: client pixels have y down and the origin at the top left; chart
// units, which the drawing pass and the tide marks draw in, are one per
// pixel with the origin at the client centre ((left + right + 1) / 2,
// (top + bottom + 1) / 2, integer halving) and y up. The view rectangle is
// the client rectangle in chart units, (left - cx, cy - bottom, right - cx,
// cy - top): its top is the south edge and its bottom the north edge.
//
//   const ui::TRect view = ChartViewRect(window.GetClientRect());
//   picture.setMapping(gdi::Mapping::yUp(cx, cy));
//   PaintOverlays(window, picture, true, view);   // fill, chart, grid, tide marks
#pragma once

#include "chart/pass/ChartDrawingPass.h"
#include "ui/Types.h"

namespace gdi {
class Dc;
}
class Map;
class TGeoDb;
class TMapWindow;

// The view rectangle of a client rectangle (see above).
ui::TRect ChartViewRect(const ui::TRect& client);

// Copies the client's area of the picture (from its top left, in device
// pixels) onto the window's context, whatever mapping that context holds
// (its state is kept). The paint copies memory picture 1 so, the own-ship
// overlay memory picture 2.
void CopyToWindow(gdi::Dc& window, const gdi::Dc& picture, const ui::TRect& client);

// Pixels per nautical mile at a display scale: vertical pixels per metre x
// 1851.851852 / scale; 0 for a scale of 0.
double PixelsPerNauticalMile(int pixelsPerMetre, double displayScale);

// The settings the window's drawing pass runs with: the window's display mask
// A and zoom factor, the display categories, the detail word, the soundings
// switch, and a relief under the chart when both relief switches are on.
TChartPassOptions ChartPassOptionsOf(const TMapWindow& window);

// The chart and its marks into dc, which draws in chart units (memory picture
// 1 under the chart mapping): when erase, the view filled in chart colour 9;
// DrawChart at the window's level scale and display scale; the grid when
// display category 16 is on or the chart-data flag is off; the tide-station
// marks; a request for the route overlay to the main window (message 301,
// 2, route id) while a route is active. Shows the wait cursor meanwhile.
// What DrawChart throws passes on (the cursor is put back).
void PaintOverlays(TMapWindow& window, gdi::Dc& dc, bool erase, const ui::TRect& view);

// The tide-station marks (tide flag 2 only) of the stations whose points lie
// in the view rectangle (chart units; left <= x < right, top <= y < bottom),
// at the display scale: below 1:1,000,000 a diamond 10 pixels to the sides
// and 15 up and down with "T" (Arial, 12 pixels) centred over it, its base
// two thirds of the text's height above the point; from 1:5,000,000 a circle
// of radius 3; between, a diamond of 4 by 7 pixels. Pen width 2 in chart
// colour 14, text in colour 0. The context's tools and text settings are put
// back.
void DrawTideMarks(gdi::Dc& dc, Map* map, const ui::TRect& view, double displayScale);

// The chart database the window draws from: the application's, unless one was
// set (tests, benchmarks); null when there is none.
TGeoDb* ChartDatabase();
void SetChartDatabase(TGeoDb* database);
