// The chart window's graduated border, as on a paper chart (TMapWindow::
// DrawGridAndBorder): latitude and longitude graduations on the four edges
// with full lines and labels at the major steps, a double frame, and a
// mile scale up the left edge. It is drawn into memory picture 1 during the
// paint, under the chart mapping (chart units, y up, origin at the client
// centre), on the paint's view rectangle, whose top is the south edge and
// whose bottom the north edge; texts stay upright.
//
// Angles are counted in border units of 1/18000 degree (5 to the second of
// arc). A major step is the first of the step table not below a third of the
// view's height (latitude) or a quarter of its width (longitude); five minor
// steps make a major one. Every minor step gets an 8-pixel tick inwards from
// both edges, every major one a full line and a label: latitudes at
// (left + 6, y) standing on their line, longitudes at (x + 2, top + 6), just
// above the bottom edge on the screen. Labels give the magnitude, without
// sign or hemisphere, in whole degrees ("60"), degrees and minutes
// ("60 24'") or with seconds ("60 24'20\""), by the step's size.
//
// The frame: the view rectangle and its inset of 3 pixels in chart colour 0,
// the insets of 1 and 2 in chart colour 1. The mile scale, up to 1:3,500,000:
// segments of 0.5 nautical mile (below 1:120,000, alternately chart colours 1
// and 3) or 5 nautical miles (colours 1 and 0) stepped north along the
// meridian of the view's left edge (`DPC`, course 0), drawn on the frame's two
// inner lines, from one pixel inside the bottom-left corner to the first step
// beyond the north edge.
//
//   const int i = BorderStepIndex(18000 / 3.0, kLatitudeStepsSearched); // 14: 6000 units, 20'
//   BorderLabel(60 * 18000 + 24 * 300, BorderLabelFormOf(i));           // "60 24'"
#pragma once

#include "ui/Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gdi {
class Dc;
}
class Map;

inline constexpr int kBorderUnitsPerDegree = 18000;
inline constexpr std::array<std::int32_t, 27> kBorderSteps = {
    5,     10,     15,     25,     50,     75,     100,     150,     300,
    600,   900,    1500,   3000,   4500,   6000,   9000,    18000,   36000,
    90000, 180000, 270000, 360000, 540000, 810000, 1080000, 1620000, 2160000};
// How many of the table's first entries the latitude and the longitude search.
inline constexpr int kLatitudeStepsSearched = 25, kLongitudeStepsSearched = 26;
inline constexpr int kMinorStepsPerMajor = 5;

// The index of the first of the table's first `searched` entries (1 to 27)
// not below `least` (border units); the last of them when none is.
int BorderStepIndex(double least, int searched);

enum class BorderLabelForm { Seconds, Minutes, Degrees };
// By the major step's index: 0 to 7 seconds, 8 to 15 minutes, from 16
// degrees.
BorderLabelForm BorderLabelFormOf(int stepIndex);
// The label of a value in border units: its magnitude in seconds (units / 5,
// at most 180 degrees) as "%d", "%d %02d'" or "%d %02d'%02d\"".
std::string BorderLabel(std::int64_t units, BorderLabelForm form);

// The steps of one axis.
struct TBorderAxis {
    int index = 0;          // into kBorderSteps
    std::int32_t major = 0; // border units
    std::int32_t minor = 0;
    BorderLabelForm form = BorderLabelForm::Degrees;
};
// Latitude: south and north in degrees; none when the height is 0 or less or
// 180 degrees or more (no border at all then).
std::optional<TBorderAxis> LatitudeAxis(double south, double north);
// Longitude: west and east in degrees, east not below west (a view across
// 180 degrees has east above 180).
TBorderAxis LongitudeAxis(double west, double east);

// One graduation: its value in border units and its step counter (a full
// line and a label where the counter is a multiple of 5).
struct TBorderValue {
    std::int64_t units = 0;
    int counter = 0;
    bool operator==(const TBorderValue&) const = default;
};
// Latitudes from floor(south / major) x major to ceil(north / major) x major
// in minor steps, leaving out values at or below -90 degrees at the start (the
// counter counts them) and at or above 90 degrees at the end.
std::vector<TBorderValue> LatitudeValues(double south, double north, const TBorderAxis& axis);
// Longitudes from floor(west / major) x major in minor steps up to
// floor(east / major) x major, one major step further when the two differ;
// both bounds are raised by 360 degrees while the first lies at or below
// -180, and every value is folded into -180 .. 180 (180 itself becomes
// -180). The counter starts at 0.
std::vector<TBorderValue> LongitudeValues(double west, double east, const TBorderAxis& axis);

// The mile scale's step in nautical miles and the chart colour it alternates
// with colour 1; none above 1:3,500,000 (display scale).
struct TMileScale {
    double stepNm = 0;
    int secondColour = 0;
};
std::optional<TMileScale> MileScaleOf(double displayScale);

// The whole border of the view rectangle (chart units) into dc under the
// chart mapping. The context's tools and text settings are put back.
void DrawChartBorder(gdi::Dc& dc, Map& map, const ui::TRect& view, double displayScale);
