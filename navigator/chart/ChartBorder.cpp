#include "chart/ChartBorder.h"

#include "chart/ChartFrames.h"
#include "chart/TMapWindow.h"
#include "chart/pass/ChartDrawingPass.h"
#include "gdi/Dc.h"
#include "geo/geodesy.h"
#include "graphics/GraphicsLayer.h"
#include "proj/Map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int64_t kNinety = 90LL * kBorderUnitsPerDegree;
constexpr std::int64_t kHalfTurn = 180LL * kBorderUnitsPerDegree;
constexpr std::int64_t kTurn = 360LL * kBorderUnitsPerDegree;
constexpr int kUnitsPerSecond = 5;
constexpr int kSecondsSteps = 8, kMinutesSteps = 16; // first index of minutes, of degrees
// Small offsets added to a graduation's value before it is converted, degrees.
constexpr double kLatitudeOffset = 0.000065, kLongitudeOffset = 0.00001;
constexpr int kTick = 8, kLatitudeLabelX = 6, kLongitudeLabelX = 2, kLongitudeLabelY = 6;
constexpr int kLabelEvery = 5;
constexpr double kMileScaleLimit = 3500000, kFineMileScale = 120000;
constexpr double kFineStepNm = 0.5, kCoarseStepNm = 5;
// Colours of the border: lines, ticks, labels and the frame's outer lines;
// the frame's inner lines; the fine mile scale's second colour.
constexpr int kInk = 0, kWhite = 1, kAmber = 3;
constexpr int kMaxMileSegments = 10000;

std::int64_t floorTo(double units, std::int32_t step) {
    return static_cast<std::int64_t>(std::floor(units / step)) * step;
}

std::int64_t ceilTo(double units, std::int32_t step) {
    return static_cast<std::int64_t>(std::ceil(units / step)) * step;
}

TBorderAxis axisOf(int index) {
    TBorderAxis a;
    a.index = index;
    a.major = kBorderSteps[std::size_t(index)];
    a.minor = a.major / kMinorStepsPerMajor;
    a.form = BorderLabelFormOf(index);
    return a;
}

// The border's font: "Arial" of 12 pixels and weight 100, made once.
std::shared_ptr<const gdi::Font> borderFont() {
    static const std::shared_ptr<const gdi::Font> font =
        gdi::Font::create(gdi::LogFont{"Arial", -12, 100});
    return font;
}

void line(gdi::Dc& dc, int x1, int y1, int x2, int y2) {
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
}

double degrees(std::int64_t units) {
    return static_cast<double>(units) / kBorderUnitsPerDegree;
}

} // namespace

int BorderStepIndex(double least, int searched) {
    searched = std::clamp(searched, 1, int(kBorderSteps.size()));
    for (int i = 0; i < searched; ++i)
        if (kBorderSteps[std::size_t(i)] >= least) return i;
    return searched - 1;
}

BorderLabelForm BorderLabelFormOf(int stepIndex) {
    if (stepIndex < kSecondsSteps) return BorderLabelForm::Seconds;
    if (stepIndex < kMinutesSteps) return BorderLabelForm::Minutes;
    return BorderLabelForm::Degrees;
}

std::string BorderLabel(std::int64_t units, BorderLabelForm form) {
    const int seconds = static_cast<int>(
        std::min<std::int64_t>(std::llabs(units) / kUnitsPerSecond, kHalfTurn / kUnitsPerSecond));
    const int d = seconds / 3600, m = seconds / 60 % 60, sec = seconds % 60;
    char text[32];
    switch (form) {
    case BorderLabelForm::Degrees:
        std::snprintf(text, sizeof text, "%d", d);
        break;
    case BorderLabelForm::Minutes:
        std::snprintf(text, sizeof text, "%d %02d'", d, m);
        break;
    case BorderLabelForm::Seconds:
        std::snprintf(text, sizeof text, "%d %02d'%02d\"", d, m, sec);
        break;
    }
    return text;
}

std::optional<TBorderAxis> LatitudeAxis(double south, double north) {
    const double span = (north - south) * kBorderUnitsPerDegree;
    if (!(span > 0) || span >= kHalfTurn) return std::nullopt;
    return axisOf(BorderStepIndex(span / 3, kLatitudeStepsSearched));
}

TBorderAxis LongitudeAxis(double west, double east) {
    double span = (east - west) * kBorderUnitsPerDegree;
    if (span < 0) span += kTurn;
    return axisOf(BorderStepIndex(span / 4, kLongitudeStepsSearched));
}

std::vector<TBorderValue> LatitudeValues(double south, double north, const TBorderAxis& axis) {
    std::vector<TBorderValue> out;
    if (axis.minor <= 0) return out;
    const std::int64_t end = ceilTo(north * kBorderUnitsPerDegree, axis.major);
    std::int64_t v = floorTo(south * kBorderUnitsPerDegree, axis.major);
    int counter = 0;
    for (; v <= -kNinety && v <= end; v += axis.minor)
        ++counter;
    for (; v <= end && v < kNinety; v += axis.minor, ++counter)
        out.push_back({v, counter});
    return out;
}

std::vector<TBorderValue> LongitudeValues(double west, double east, const TBorderAxis& axis) {
    std::vector<TBorderValue> out;
    if (axis.minor <= 0) return out;
    std::int64_t start = floorTo(west * kBorderUnitsPerDegree, axis.major);
    std::int64_t end = floorTo(east * kBorderUnitsPerDegree, axis.major);
    if (end != start) end += axis.major;
    while (start <= -kHalfTurn) {
        start += kTurn;
        end += kTurn;
    }
    int counter = 0;
    for (std::int64_t v = start; v <= end; v += axis.minor, ++counter) {
        std::int64_t shown = v;
        while (shown >= kHalfTurn)
            shown -= kTurn;
        out.push_back({shown, counter});
    }
    return out;
}

std::optional<TMileScale> MileScaleOf(double displayScale) {
    if (displayScale > kMileScaleLimit) return std::nullopt;
    if (displayScale < kFineMileScale) return TMileScale{kFineStepNm, kAmber};
    return TMileScale{kCoarseStepNm, kInk};
}

void DrawChartBorder(gdi::Dc& dc, Map& map, const ui::TRect& view, double displayScale) {
    const GeoRect g = ChartPassGeoRect(map, Rect{view.left, view.top, view.right, view.bottom});
    const double west = NrmToDegrees(g.lon1), south = NrmToDegrees(g.lat1);
    double east = NrmToDegrees(g.lon2);
    const double north = NrmToDegrees(g.lat2);
    if (west > east) east += 360;
    const std::optional<TBorderAxis> latitude = LatitudeAxis(south, north);
    if (!latitude) return;
    const TBorderAxis longitude = LongitudeAxis(west, east);

    const gdi::Pen ink = MapPen(kInk, 0), white = MapPen(kWhite, 0);
    const gdi::Pen pen = dc.setPen(ink);
    const gdi::Brush brush = dc.setBrush(gdi::Brush::null());
    const auto font = dc.selectFont(borderFont());
    const unsigned align = dc.setTextAlign(gdi::TA_BOTTOM);
    const gdi::Colour text = dc.setTextColour(gdColour(kInk));
    const gdi::BkMode bkMode = dc.setBkMode(gdi::BkMode::Transparent);

    for (const TBorderValue& v : LatitudeValues(south, north, *latitude)) {
        const GeoPoint at{g.lon1, deg2nrm(degrees(v.units) + kLatitudeOffset)};
        const int y = ChartPointOf(map, at).y;
        if (v.counter % kLabelEvery == 0) {
            line(dc, view.left, y, view.right, y);
            dc.textOut(view.left + kLatitudeLabelX, y, BorderLabel(v.units, latitude->form));
        } else {
            line(dc, view.left, y, view.left + kTick, y);
            line(dc, view.right, y, view.right - kTick, y);
        }
    }
    for (const TBorderValue& v : LongitudeValues(west, east, longitude)) {
        const GeoPoint at{deg2nrm(degrees(v.units) + kLongitudeOffset), g.lat1};
        const int x = ChartPointOf(map, at).x;
        if (v.counter % kLabelEvery == 0) {
            line(dc, x, view.top, x, view.bottom);
            dc.textOut(x + kLongitudeLabelX, view.top + kLongitudeLabelY,
                       BorderLabel(v.units, longitude.form));
        } else {
            line(dc, x, view.bottom, x, view.bottom - kTick);
            line(dc, x, view.top, x, view.top + kTick);
        }
    }

    // The double frame.
    dc.rectangle(view.left, view.top, view.right, view.bottom);
    dc.rectangle(view.left + 3, view.top + 3, view.right - 3, view.bottom - 3);
    dc.setPen(white);
    dc.rectangle(view.left + 1, view.top + 1, view.right - 1, view.bottom - 1);
    dc.rectangle(view.left + 2, view.top + 2, view.right - 2, view.bottom - 2);

    // The mile scale on the frame's inner lines, each segment 3 pixels below
    // its two steps.
    if (const std::optional<TMileScale> scale = MileScaleOf(displayScale)) {
        const gdi::Pen second = MapPen(scale->secondColour, 0);
        GeoPoint p = GeoPointOf(map, ChartPoint{view.left + 1, view.top + 1});
        int y = ChartPointOf(map, p).y;
        for (int k = 0; p.lat < g.lat2 && k < kMaxMileSegments; ++k) {
            const GeoPoint q = DPC(p, static_cast<long double>(scale->stepNm), 0.0L);
            if (q.lat <= p.lat) break; // at the pole
            const int next = ChartPointOf(map, q).y;
            dc.setPen(k % 2 == 0 ? white : second);
            line(dc, view.left + 1, y - 3, view.left + 1, next - 3);
            line(dc, view.left + 2, y - 3, view.left + 2, next - 3);
            p = q;
            y = next;
        }
    }

    dc.setBkMode(bkMode);
    dc.setTextColour(text);
    dc.setTextAlign(align);
    dc.selectFont(font);
    dc.setBrush(brush);
    dc.setPen(pen);
}

// ---------------------------------------------------------------------------

void TMapWindow::DrawGridAndBorder(gdi::Dc& dc, const ui::TRect& view) {
    if (map) DrawChartBorder(dc, *map, view, displayScale);
}
