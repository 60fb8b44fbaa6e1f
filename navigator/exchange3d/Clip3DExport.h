// The 3D depth clip: the points of the chart objects in the view, each with a
// height, written as the VTK legacy text file "Clip3D.vtk" in the current
// folder, where the 3D viewer reads it.
//
// One query over the program's chart database at the level scale of the chart
// level (the scale the chart pass queries at); each object's points in binary
// angles (GdbObject::GetMetrics); every point inside the view (west and south
// edges included, east and north excluded) is written with a height z in
// metres, negative below the datum, by the object's kind:
//   point objects   -0.1 x attribute 116 (tenths of a metre), that at least 1;
//   lines, code 35  0; after the line its last point once more, when it differs
//                   from the first point and was itself written;
//   lines, code 193 left out below detail word 5 or without attribute 129,
//                   otherwise as other lines;
//   other lines     -attribute 113 (metres; 0.1 when absent);
//   areas           -0.5 for code 78, else -0.1;
//   soundings       a depth d in tenths: above 12000 it becomes (d - 12000) x
//                   10; then at least 1; z = -0.1 x d.
// A number that is not finite counts as absent. A point whose 10-pixel screen
// cell is marked in the screen mask is left out.
//
// Exchange coordinates (also those of the record, ViewerExchange.h): x =
// (longitude - reference longitude) x cos(reference latitude) and y = latitude
// - reference latitude, in binary-angle units (2^32 to the turn), each
// truncated toward zero. The longitude difference is taken modulo the turn and
// read as a signed number, so a view across 180 degrees stays continuous and a
// point up to half a turn west of the reference is negative. The reference
// point is the view's south-west corner.
//
// The file: "# vtk DataFile Version 2.0", "Solvanor Output", "ASCII",
// "DATASET POLYDATA", "POINTS %6ld double", then "%ld %ld %.1f" per point, each
// line ended by "\n", numbers in "C" conventions whatever the locale. It is
// built whole and written to a temporary file that is renamed into place, so a
// reader never sees a part of it and a failure leaves the old file.
//
//   ViewerExchangeInput in = ...; // database, map, client size, level, detail word
//   long n = ExportClip3D(in.view, in.levelIndex, in); // -1: nothing written
#pragma once

#include "geo/GeoPoint.h"
#include "geo/GeoRect.h"

#include <array>
#include <cstdint>

struct ViewerExchangeInput;

// The screen mask: 160 x 120 cells of 10 pixels around the window centre. A
// point whose cell is marked is not exported. Nothing in the program marks
// cells yet, so the program's mask stays clear.
struct Clip3DScreenMask {
    static constexpr int Columns = 160, Rows = 120, CellPixels = 10;

    struct Cell {
        int column, row;
        bool operator==(const Cell&) const = default;
    };
    // The cell of a point given in pixels from the window centre, y up: column
    // 80 + floor(x / 10), row 59 - floor(y / 10), each clamped into the grid.
    // So the four cells around the centre are each 10 pixels wide.
    static Cell cellOf(long x, long y);

    bool marked(Cell c) const;
    // Marks or clears one cell; cells outside the grid are ignored.
    void mark(Cell c, bool on = true);
    void clear();
    // True when any cell is marked.
    bool any() const { return count_ > 0; }

  private:
    std::array<std::uint8_t, Columns * Rows> cells_{};
    int count_ = 0;
};

// The program's screen mask, owned by the export.
Clip3DScreenMask& ScreenMask();

// The reference point of the exchange coordinates: the south-west corner of
// the last view exported, and the cosine of its latitude. Not set before the
// first successful export.
struct Clip3DReference {
    GeoPoint origin{};
    double cosLat = 0;
    bool set = false;
};
const Clip3DReference& Clip3DReferencePoint();
// Forgets the reference point (the exchange's reset).
void ResetClip3DReference();

// A position in exchange coordinates relative to `reference` (see above).
struct ExchangePoint {
    long x, y;
};
ExchangePoint ToExchangeCoordinates(const GeoPoint& p, const Clip3DReference& reference);

// Writes "Clip3D.vtk" for `view` at chart level index `levelIndex` (0 to 7;
// the detail word less 1), which must be in.levelIndex, whose level scale
// in.levelScale gives the query's scale. Further inputs: in.database (none:
// no points), in.map (the window's projection, for the screen cells; none: the
// mask is not asked), in.detailWord and in.screenMask (null: ScreenMask()).
// The busy cursor (IDC_APPSTARTING) shows meanwhile.
//
// Returns the number of points written. On success the view's south-west
// corner becomes the reference point and the export is announced to the
// viewer (AnnounceClip3DExport). Returns -1 when the level index is not
// in.levelIndex or the file cannot be written; the old file, the reference
// point and the status words then stay as they were, and no temporary file is
// left.
long ExportClip3D(const GeoRect& view, int levelIndex, const ViewerExchangeInput& in);
