#include "chart/ChartOverlays.h"

#include "app/KVViewerApp.h"
#include "app/ViewerSettings.h"
#include "chart/ChartPainting.h"
#include "chart/TMapWindow.h"
#include "dialogs/ReadoutText.h"
#include "dialogs/TMapDialog.h"
#include "geo/geodesy.h"
#include "nmea/NavState.h"
#include "proj/Map.h"
#include "runtime/intmath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;
// Own ship is not drawn above this latitude (degrees), nor its track piece.
constexpr double kHighestLatitude = 80;
// The symbol: the two rings' boxes, the ticks, the range cross's half size.
constexpr int kRingLow = 12, kRingHigh = 14, kInnerLow = 11, kInnerHigh = 12;
constexpr int kTickFrom = 3, kTickTo = 10, kCrossHalf = 20;
// A point this far off the client or further is as invisible as it is
// there: the symbol's coordinates are held within it, so that no sum
// overflows (a far position's client point saturates).
constexpr int kFarOff = 1 << 30;
// Store passes of the user-object overlay.
constexpr int kSymbolsWithLabels = 105, kRouteSet = 2;
constexpr int kTrackType = 1, kRouteType = 2;
// Route states: 1 a route is active, 2 one is being placed, 3 edited.
constexpr int kRoutePlaced = 2, kRouteEdited = 3;

int held(long double v) {
    if (!std::isfinite(v)) return 0; // a speed or course that is no number
    return static_cast<int>(std::clamp<long double>(v, -kFarOff, kFarOff));
}

// The nearest pixel (ties to even), held as above.
int pixel(double v) {
    if (!std::isfinite(v)) return 0;
    const long double near = std::clamp<long double>(v, -kFarOff, kFarOff);
    return held(static_cast<long double>(round(near, 0)));
}

const gdi::Pen& pen(const TMapWindow& w, TMapPen role) {
    return w.pens[static_cast<std::size_t>(role)];
}

// The pen of the track: width 0 in the palette colour of the track colour
// setting's type.
gdi::Pen trackPen() {
    return gdi::Pen{
        gdi::PenStyle::Solid, 0,
        PaletteColourByType(ChartSettings().trackColour, ChartWindowState().illuminationLevel)};
}

bool inside(const ui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void line(gdi::Dc& dc, int x1, int y1, int x2, int y2) {
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
}

// The read-outs that follow own ship: the bearing and distance from own
// ship to the cursor's position, then every open panel but the depth and
// wind panels, which the timer refreshes when their values change.
void refreshReadouts(TMapWindow& w) {
    TChartWindowState& s = ChartWindowState();
    double distance = 0, course = 0;
    IPC(s.ownShip, s.cursorPosition, distance, course);
    s.cursorDistance = distance;
    s.cursorBearing = course / kRadiansPerDegree;
    for (ui::TWindow* open :
         {w.bearingInfoDlg, w.gpsPosDlg, w.sogCogDlg, w.dateDlg, w.routeInfoDlg1, w.routeInfoDlg2})
        if (auto* readout = dynamic_cast<TMapDialog*>(open)) readout->Update();
}

} // namespace

double CourseVectorLength(double speed, double pixelsPerNm, int crsMinutes) {
    return speed * pixelsPerNm * crsMinutes / 60;
}

ScreenVector CourseVector(double courseDegrees, double length) {
    const double a = (courseDegrees - 90) * kRadiansPerDegree;
    return {std::cos(a) * length, std::sin(a) * length};
}

ClientPoint RangeMarkerCentre(const ClientPoint& ship, int distance100, double bearingDegrees,
                              double pixelsPerNm) {
    const double r = distance100 / 100.0 * pixelsPerNm, b = bearingDegrees * kRadiansPerDegree;
    return {held(ship.x + static_cast<long double>(pixel(std::sin(b) * r))),
            held(ship.y - static_cast<long double>(pixel(std::cos(b) * r)))};
}

TTrackRuns TrackRuns(const std::array<TTrackEntry, kTrackRingSize>& ring, int index, Map& map,
                     const ui::TRect& client) {
    TTrackRuns out;
    if (index < 0 || index >= kTrackRingSize) index = 0;
    bool open = false; // the last run takes the next kept point
    for (int k = 0; k < kTrackRingSize; ++k) {
        const TTrackEntry& e = ring[std::size_t((index + k) % kTrackRingSize)];
        if (e.lat == 0) continue; // unused: before the oldest logged point
        out.any = true;
        out.newest = e;
        const ChartPoint p = ChartPointOf(map, GeoPoint{deg2nrm(e.lon), deg2nrm(e.lat)});
        if (std::abs(std::int64_t(p.x)) > kTrackAcross ||
            std::abs(std::int64_t(p.y)) > kTrackDown) {
            open = false;
            continue;
        }
        if (!open) out.runs.emplace_back();
        open = true;
        const ClientPoint c = ToClient(p, client);
        out.runs.back().push_back({c.x, c.y});
    }
    return out;
}

// ---------------------------------------------------------------------------
// The chart window's overlays

Point TMapWindow::DrawTrackOverlay(gdi::Dc& dc, Map* map_, bool draw) {
    TChartWindowState& s = ChartWindowState();
    if (!map_) return Point{0, 0};
    const ui::TRect client = GetClientRect();

    // Where the own-ship overlay's track piece starts.
    if (s.lastTrackPoint.lat != 0) {
        s.lastTrackClient = ClientPointOf(*map_, s.lastTrackPoint, client);
        s.lastLoggedPoint = s.lastTrackClient;
    } else {
        s.lastLoggedPoint = ClientPointOf(*map_, s.ownShip, client);
    }

    if (s.recordedRouteId != 0) {
        // The route being recorded is the store's to draw; the overlay keeps
        // only the point its piece starts from.
        if (draw) DrawUserObject(dc, kTrackType, s.recordedRouteId);
        return Point{s.lastLoggedPoint.x, s.lastLoggedPoint.y};
    }
    if (!ChartSettings().trackSwitch) return Point{0, 0};

    const TTrackRuns track = TrackRuns(s.trackRing, s.trackIndex, *map_, client);
    if (track.any) {
        s.lastTrackPoint = GeoPoint{deg2nrm(track.newest.lon), deg2nrm(track.newest.lat)};
        s.lastTrackClient = ClientPointOf(*map_, s.lastTrackPoint, client);
    }
    if (draw) {
        const gdi::Pen before = dc.setPen(trackPen());
        for (const auto& run : track.runs)
            dc.polyline(run); // a run of one point draws nothing
        dc.setPen(before);
    }
    if (track.runs.empty()) return Point{0, 0};
    const gdi::XY last = track.runs.back().back();
    return Point{last.x, last.y};
}

void TMapWindow::DrawUserObjectOverlay(gdi::Dc& dc) {
    TChartWindowState& s = ChartWindowState();
    if (s.activeRouteId != 0 && map) {
        const ui::TRect client = GetClientRect();
        for (int i = 0; i < s.routePointCount && i < kRoutePointMax; ++i) {
            RoutePoint& p = s.routePoints[std::size_t(i)];
            const ClientPoint c = ClientPointOf(*map, GeoPoint{p.lon, p.lat}, client);
            p.x = c.x;
            p.y = c.y;
        }
    }

    DrawUserObjectsOfKind(dc, kSymbolsWithLabels);
    if (s.shownTrackId != 0) DrawUserObject(dc, kTrackType, s.shownTrackId);
    // While a route is placed or edited the own-ship overlay draws it.
    const bool editing = s.routeState == kRoutePlaced || s.routeState == kRouteEdited;
    if (editing) return;
    if (s.activeRouteId != 0)
        DrawUserObject(dc, kRouteType, s.activeRouteId);
    else if (s.routeTableFill)
        DrawUserObjectsOfKind(dc, kRouteSet); // a route is being chosen
}

void TMapWindow::DrawOwnShipOverlay(gdi::Dc& dc, int x, int y, bool newPosition) {
    if (FrameIsIconic()) return;
    TChartWindowState& s = ChartWindowState();
    const NavShared nav = NavSnapshot();
    const ui::TRect client = GetClientRect();

    if (newPosition) {
        const double length =
            CourseVectorLength(nav.nav.speedOverGround, s.pixelsPerNm, ViewerSettings().crsMinutes);
        const ScreenVector vector = CourseVector(nav.nav.courseOverGround, length);
        vectorDx = vector.dx;
        vectorDy = vector.dy;
        if (nav.nav.headingHold > 0) {
            const int screen = s.screenPixelsDown > 0 ? s.screenPixelsDown : client.Height();
            const ScreenVector heading = CourseVector(nav.nav.heading, 2.0 * screen);
            headingDx = heading.dx;
            headingDy = heading.dy;
        }
    }
    if (pictureCount != overlayPictureCount) {
        overlayPictureCount = pictureCount;
        rangeDistance = s.rangeMarkerDistance;
        rangeBearing = s.rangeMarkerBearing;
    }

    // Before the first paint there is no picture to draw on.
    if (memPicture1 && memPicture2) {
        gdi::RasterDc& work = *memPicture2;
        const gdi::Mapping mapping = work.setMapping(gdi::Mapping{});
        work.blit(0, 0, client.Width(), client.Height(), *memPicture1, 0, 0, gdi::BlitOp::Copy);
        DrawLitLightMarks(work);
        DrawOwnShipSymbol(work, x, y, nav.nav.heading, NrmToDegrees(s.ownShip.lon),
                          NrmToDegrees(s.ownShip.lat));

        const TChartSettings& settings = ChartSettings();
        if ((settings.trackSwitch || s.recordedRouteId != 0) && newPosition && nav.nav.fixValid &&
            nav.nav.latitude < kHighestLatitude && inside(client, x, y)) {
            // Into the chart picture too: the track grows between paints.
            const gdi::Pen track = trackPen();
            for (gdi::Dc* picture :
                 {static_cast<gdi::Dc*>(memPicture1.get()), static_cast<gdi::Dc*>(&work)}) {
                const gdi::Mapping m = picture->setMapping(gdi::Mapping{});
                const gdi::Pen before = picture->setPen(track);
                line(*picture, s.lastLoggedPoint.x, s.lastLoggedPoint.y, x, y);
                picture->setPen(before);
                picture->setMapping(m);
            }
        }
        if (s.routeState == kRoutePlaced || s.routeState == kRouteEdited)
            DrawActiveRouteFromTable(work);
        CopyToWindow(dc, work, client);
        work.setMapping(mapping);
    }
    if (newPosition) s.ownShipClient = ClientPoint{x, y};
    refreshReadouts(*this);
}

void TMapWindow::DrawOwnShipSymbol(gdi::Dc& dc, int x, int y, double, double, double lat) {
    if (lat > kHighestLatitude) return;
    x = held(x);
    y = held(y);
    const gdi::Pen penBefore = dc.pen();
    const gdi::Brush brushBefore = dc.setBrush(gdi::Brush::null());

    if (rangeDistance > 0) {
        const ClientPoint c =
            RangeMarkerCentre({x, y}, rangeDistance, rangeBearing, ChartWindowState().pixelsPerNm);
        dc.setPen(pen(*this, TMapPen::Fine));
        line(dc, c.x - kCrossHalf, c.y, c.x + kCrossHalf, c.y);
        line(dc, c.x, c.y - kCrossHalf, c.x, c.y + kCrossHalf);
    }

    dc.setPen(pen(*this, TMapPen::Ring));
    dc.ellipse(x - kRingLow, y - kRingLow, x + kRingHigh, y + kRingHigh);
    dc.setPen(pen(*this, TMapPen::Fine));
    dc.ellipse(x - kInnerLow, y - kInnerLow, x + kInnerHigh, y + kInnerHigh);

    const int vx = pixel(vectorDx), vy = pixel(vectorDy);
    if (vx != 0 || vy != 0) {
        dc.setPen(pen(*this, TMapPen::Vector));
        line(dc, x, y, x + vx, y + vy);
    }
    if (NavSnapshot().nav.headingHold > 0) {
        dc.setPen(pen(*this, TMapPen::Heading));
        line(dc, x, y, x + pixel(headingDx), y + pixel(headingDy));
    }

    dc.setPen(pen(*this, TMapPen::Fine));
    line(dc, x - kTickFrom, y, x - kTickTo, y);
    line(dc, x + kTickFrom, y, x + kTickTo, y);
    line(dc, x, y - kTickFrom, x, y - kTickTo);
    line(dc, x, y + kTickFrom, x, y + kTickTo);

    dc.setBrush(brushBefore);
    dc.setPen(penBefore);
}
