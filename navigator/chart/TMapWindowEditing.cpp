// The chart window's placing and editing of the user's objects: new routes
// and lines point by point, points inserted into and deleted from the edited
// route or line, and new symbols; the store writes behind the clicks and the
// route point table kept in step with them.
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "dialogs/TDbInfoDialog.h"
#include "dialogs/TMapDialog.h"
#include "os/Clock.h"
#include "store/DbaseWin.h"
#include "store/StoreRecordCalls.h"
#include "ui/Cursor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kRouteKind = kKindRoute, kLineKind = kKindLine;
// The key of a duplicate record.
constexpr int kDuplicateKey = 2;
// A new object whose position is taken moves east one store unit at a time,
// this many times at most.
constexpr int kNudgeTries = 1000;
// The sentinel the naming of a new route is skipped for.
constexpr std::int32_t kUnnamedRouteId = 65535;
// An object of this many points takes no further point: the placing limit,
// which leaves the route table room for route following's own-ship point.
constexpr int kMostEditedPoints = 499;
// Above every point number a route or line can have.
constexpr std::uint16_t kAbovePoints = 1000;
// Symbols that are never named when placed.
constexpr int kUnnamedSymbols[] = {116, 123};

std::int64_t now() {
    return static_cast<std::int64_t>(os::toTimeT(ChartClock().now()));
}

std::uint16_t limitField(int limit) {
    return static_cast<std::uint16_t>(std::clamp(limit, 0, 0xFFFF));
}

// Adds the record as the store's current ID record; while its kind and
// position are taken (answer 2) it moves east one store unit and tries again.
// Answers the record layer's last answer.
int addObject(DbaseWin& store) {
    IdRecord& r = store.CurrentIdRecord;
    int e = StoreRecordCalls().ADDREC(kIdFileNumber, r.Encode().data());
    for (int tries = 0; e == kDuplicateKey && tries < kNudgeTries; ++tries) {
        ++r.longitude;
        e = StoreRecordCalls().ADDREC(kIdFileNumber, r.Encode().data());
    }
    return e;
}

} // namespace

void TMapWindow::PlaceRoutePoint(gdi::Dc& dc, int mode) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    const ui::TRect client = GetClientRect();

    if (mode == 9) s.placedKind = kRouteKind;
    if (mode == 0 && editCount == 0) {
        s.anchorPoint = s.ownShip;
        mode = 2;
    }

    if (mode == 0) {
        if (editCount > 0 && s.routeState > 1) {
            const int last = editCount - 1;
            if (last < std::min(s.routePointCount, kRoutePointMax))
                s.routePoints[std::size_t(last)].crossTrackLimit = settings.crossTrackLimit;
        }
        // The overlay draws the route or line being placed, from the table.
        DrawOwnShipOverlay(dc, s.ownShipClient.x, s.ownShipClient.y, false);
    }

    if (mode == 1 || mode == 9) {
        const GeoPoint clicked = s.cursorPosition;
        s.anchorPoint = clicked;
        s.rubberBandStart = cursorPoint;
        auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
        if (!store) return;
        const int kind = s.placedKind == kLineKind ? kLineKind : kRouteKind;

        if (editCount == 1) {
            // The new object's ID record comes first: its points are stored
            // under its id only once the record is there.
            const std::int32_t id = store->NextFreeObjectId();
            store->CurrentIdRecord = IdRecord{};
            IdRecord& r = store->CurrentIdRecord;
            r.kind = static_cast<std::uint16_t>(kind);
            r.id = id;
            r.latitude = BinaryAngleToStoreUnits(clicked.lat);
            r.longitude = BinaryAngleToStoreUnits(clicked.lon);
            r.timeStamp = now();
            r.colour =
                static_cast<std::uint16_t>(kind == kRouteKind ? 2 : settings.currentLineColour);
            if (id == 0 || addObject(*store) != 0) {
                DbaseWin::ShowDbError("Add ID");
                // Nothing was stored: placing ends as the end command ends it.
                if (kind == kRouteKind) {
                    s.activeRouteId = 0;
                } else {
                    s.editedLineId = 0;
                    s.lineState = 0;
                }
                CmEndEditing();
                return;
            }
            if (kind == kRouteKind)
                s.activeRouteId = id;
            else
                s.editedLineId = id;
            if (s.activeRouteId != kUnnamedRouteId) {
                s.editedObject = r;
                const ScreenPoint at = ToScreen(*this, ToClient(s.rubberBandStart, client));
                TDbInfoDialog name(this, ui::TPoint(at.x, at.y), r, 0);
                name.Execute();
                ui::SetCursorPos(at.x, at.y);
            }
        }

        const std::int32_t id = kind == kRouteKind ? s.activeRouteId : s.editedLineId;
        if (id == 0) return; // no object was made to take the point
        store->CurrentPointRecord = PointRecord{};
        PointRecord& p = store->CurrentPointRecord;
        p.id = id;
        p.number = static_cast<std::uint16_t>(std::clamp(editCount, 0, 0xFFFF));
        p.latitude = BinaryAngleToStoreUnits(clicked.lat);
        p.longitude = BinaryAngleToStoreUnits(clicked.lon);
        p.time = now();
        p.speed = p.course = limitField(settings.crossTrackLimit);
        if (store->WritePointRecord() != 0) DbaseWin::ShowDbError("Write POINT");

        const int index = editCount - 1;
        if (kind == kRouteKind && index >= 0 && index + 1 < kRoutePointMax) {
            const ClientPoint at = ToClient(cursorPoint, client);
            RoutePoint& r = s.routePoints[std::size_t(index)];
            r.lon = clicked.lon;
            r.lat = clicked.lat;
            r.x = at.x;
            r.y = at.y;
            r.crossTrackLimit = settings.crossTrackLimit;
            s.routePoints[std::size_t(index + 1)] = r; // the rubber band's moving end
            s.routePointCount = editCount + 1;
        }
    }

    if (mode == 2) {
        s.rubberBandStart = ToChart(s.ownShipClient, client);
        ui::TPoint mouse;
        if (ui::GetCursorPos(mouse)) {
            ScreenToClient(mouse);
            cursorPoint = ToChart(ClientPoint{mouse.x, mouse.y}, client);
        }
    }

    // The rubber band from its start to the cursor, in client points.
    const ClientPoint from = ToClient(s.rubberBandStart, client);
    const ClientPoint to = ToClient(cursorPoint, client);
    ComputeLegGeometry(from.x, from.y, to.x, to.y, true, settings.crossTrackLimit);
    if (auto* bearing = dynamic_cast<TMapDialog*>(bearingInfoDlg)) {
        s.cursorBearing = legDirection;
        s.cursorDistance = legLength;
        bearing->Update();
    }
    if (mode == 9) s.placedKind = kRouteKind;
}

bool TMapWindow::InsertOrDeleteObjectPoint(int n, bool insert) {
    TChartWindowState& s = ChartWindowState();
    const bool route = s.placedKind != kLineKind;
    const std::int32_t id = route ? s.activeRouteId : s.editedLineId;
    auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
    if (id == 0 || !store || n < 0) return false;
    TStoreRecordCalls& calls = StoreRecordCalls();
    const int count = std::clamp(s.routePointCount, 0, kRoutePointMax);
    const bool forward = !route || s.forwardFlag;
    // Table and line buffer moves from one entry to another, within the
    // entries there are.
    const auto moveTable = [&](int from, int to) {
        if (from >= 0 && to >= 0 && from < kRoutePointMax && to < kRoutePointMax)
            s.routePoints[std::size_t(to)] = s.routePoints[std::size_t(from)];
    };
    const auto moveLine = [&](int from, int to) {
        if (from < 0 || to < 0 || std::size_t(from) >= linePoints.size()) return;
        if (std::size_t(to) >= linePoints.size()) linePoints.resize(std::size_t(to) + 1);
        linePoints[std::size_t(to)] = linePoints[std::size_t(from)];
    };
    PointBytes bytes{};

    if (insert) {
        // The object's last point tells how many it has.
        int e = calls.LTEREC(kPointKey, PointKey(id, kAbovePoints).data(), bytes.data());
        const PointRecord last = PointRecord::Decode(bytes);
        const int stored = e == 0 && last.id == id ? last.number : 0;
        if (stored >= kMostEditedPoints || (route && count >= kMostEditedPoints)) return false;
        if (route && !forward && n > count - 1) return false;

        // Highest first, so that each renumbered point finds its new number
        // free.
        bool failed = false;
        for (; e == 0; e = calls.PRVREC(kPointKey, bytes.data())) {
            PointRecord p = PointRecord::Decode(bytes);
            if (p.id != id || p.number <= n) break;
            const int k = p.number;
            if (route && forward) moveTable(k - 1, k);
            if (!route) moveLine(k - 1, k);
            p.number = static_cast<std::uint16_t>(k + 1);
            if (calls.RWTREC(kPointFileNumber, p.Encode().data()) != 0) {
                failed = true;
                break;
            }
        }
        if (failed) {
            // The point above the one that stays is still there: a new point
            // would take its place.
            DbaseWin::ShowDbError("Rewrite POINT");
            return false;
        }

        const GeoPoint clicked = s.cursorPosition;
        if (route) {
            int at = n, before = n - 1;
            if (!forward) {
                for (int i = count; i >= count - n + 1; --i)
                    moveTable(i - 1, i);
                at = count - n;
                before = at - 1;
            }
            if (at >= 0 && at < kRoutePointMax) {
                RoutePoint& r = s.routePoints[std::size_t(at)];
                if (before >= 0) {
                    const RoutePoint& b = s.routePoints[std::size_t(before)];
                    r.x = b.x;
                    r.y = b.y;
                    r.crossTrackLimit = b.crossTrackLimit;
                }
                r.lon = clicked.lon;
                r.lat = clicked.lat;
            }
        }

        const TChartSettings& settings = ChartSettings();
        store->CurrentPointRecord = PointRecord{};
        PointRecord& p = store->CurrentPointRecord;
        p.id = id;
        p.number = static_cast<std::uint16_t>(n + 1);
        p.latitude = BinaryAngleToStoreUnits(clicked.lat);
        p.longitude = BinaryAngleToStoreUnits(clicked.lon);
        p.speed = p.course = limitField(settings.crossTrackLimit);
        if (store->WritePointRecord() != 0) {
            DbaseWin::ShowDbError("Write POINT");
            return false;
        }
        return true;
    }

    // A deletion's number counts along the route as it is travelled.
    if (route && !forward) n = count - n + 1;
    if (n < 1 || n > 0xFFFF) return false;
    if (calls.EQLREC(kPointKey, PointKey(id, std::uint16_t(n)).data(), bytes.data()) != 0)
        return false;
    if (calls.DELREC(kPointFileNumber) != 0) {
        DbaseWin::ShowDbError("Delete POINT");
        return false;
    }
    // Lowest first, each into the number just freed.
    for (int e = calls.NXTREC(kPointKey, bytes.data()); e == 0;
         e = calls.NXTREC(kPointKey, bytes.data())) {
        PointRecord p = PointRecord::Decode(bytes);
        if (p.id != id) break;
        const int k = p.number;
        if (route && forward && k - 1 < count) moveTable(k - 1, k - 2);
        if (!route) moveLine(k - 1, k - 2);
        p.number = static_cast<std::uint16_t>(k - 1);
        if (calls.RWTREC(kPointFileNumber, p.Encode().data()) != 0) {
            DbaseWin::ShowDbError("Rewrite POINT");
            break;
        }
    }
    if (route && !forward)
        for (int i = count - n; i < count - 1; ++i)
            moveTable(i + 1, i);
    if (!route && std::size_t(n) <= linePoints.size()) linePoints.pop_back();
    return true;
}

bool TMapWindow::PlaceSymbol(int symbol, int colour, double depth) {
    TChartWindowState& s = ChartWindowState();
    auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
    if (!store) return false;
    const GeoPoint clicked = s.cursorPosition;
    const std::int32_t id = store->NextFreeObjectId();
    store->CurrentIdRecord = IdRecord{};
    IdRecord& r = store->CurrentIdRecord;
    r.kind = kKindSymbol;
    r.id = id;
    r.latitude = BinaryAngleToStoreUnits(clicked.lat);
    r.longitude = BinaryAngleToStoreUnits(clicked.lon);
    r.timeStamp = now();
    r.colour = static_cast<std::uint16_t>(std::clamp(colour, 0, 0xFFFF));
    const double tenths = std::isfinite(depth) ? std::trunc(depth * 10) : 0;
    r.length = static_cast<std::uint16_t>(std::clamp(tenths, 0.0, 65535.0));
    r.pointCount = static_cast<std::uint16_t>(std::clamp(symbol, 0, 0xFFFF));
    if (id == 0 || addObject(*store) != 0) {
        DbaseWin::ShowDbError("Add ID");
        return false;
    }
    if (ChartSettings().nameOnPlacing &&
        std::find(std::begin(kUnnamedSymbols), std::end(kUnnamedSymbols), symbol) ==
            std::end(kUnnamedSymbols)) {
        ui::TPoint mouse;
        ui::GetCursorPos(mouse);
        s.editedObject = r;
        TDbInfoDialog name(this, mouse, r, 0);
        name.Execute();
        ui::SetCursorPos(mouse.x, mouse.y);
    }
    return true;
}
