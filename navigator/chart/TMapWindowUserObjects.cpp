// The chart window's drawing and picking of the user's stored objects: the
// pass over the objects of one kind, the batched reads of one object's
// points, the active route from the route table, labels and the symbol strip.
#include "chart/UserObjectCodes.h"

#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "chart/WaitCursor.h"
#include "dialogs/ReadoutText.h"
#include "dialogs/TListDlg.h"
#include "geo/GeoRect.h"
#include "geo/geodesy.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "store/DbaseWin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

// A batch of POINT records: up to 500 entries of a 4-byte record position
// and the 38-byte record.
constexpr std::size_t kBatchEntries = 500;
constexpr std::size_t kBatchEntrySize = 4 + kPointRecordSize;
constexpr std::size_t kBatchBufferSize = kBatchEntries * kBatchEntrySize; // 21000
constexpr int kBatchIndexStep = static_cast<int>(kBatchEntries);

constexpr int kNoPick = 1024;         // the running minimum a pass starts with
constexpr int kStripCell = 17;        // pixels of a strip cell
constexpr int kStripColumns = 20;     // symbols 0 to 19
constexpr int kStripColourRows = 6;   // colour numbers 1 to 6
constexpr int kTrackStartColumn = 15; // the mark at a shown track's start
constexpr int kDeletionColumn = 19, kDeletionRow = 6;
constexpr int kTrackStartRise = 6;      // the track-start mark stands this far above the point
constexpr int kNumberShift = 11;        // point numbers stand this far left of the point
constexpr std::time_t kNumberLabel = 2; // the time argument of point-number labels
constexpr int kArrowStroke = 12;
constexpr double kArrowSpread = 60; // degrees either side of the leg
constexpr int kClampLimit = 15000;
constexpr unsigned kNtPlatform = 2;
constexpr double kLegAngle = 0.4; // radians between a leg and a click that hits it

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

int truncated(double v) {
    return static_cast<int>(std::trunc(v));
}

// A length in tenths of a nautical mile for a u16 field, truncated and held
// at 65535.
std::uint16_t tenthsField(double nauticalMiles) {
    const double tenths = std::trunc(nauticalMiles * 10);
    return tenths >= 65535 ? std::uint16_t(65535) : static_cast<std::uint16_t>(tenths);
}

gdi::Pen solidPen(gdi::Colour colour) {
    return gdi::Pen{gdi::PenStyle::Solid, 0, colour};
}

ui::TColor colourOfNumber(int colour) {
    return PaletteColourByType(colour, ChartWindowState().illuminationLevel);
}

// A line from point to point; on graphics systems with 16-bit coordinates
// each coordinate is first held within -15000..15000.
void limitedLine(gdi::Dc& dc, int x1, int y1, int x2, int y2) {
    if (gdPlatformId() != kNtPlatform) {
        const auto hold = [](int v) { return std::clamp(v, -kClampLimit, kClampLimit); };
        x1 = hold(x1), y1 = hold(y1), x2 = hold(x2), y2 = hold(y2);
    }
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
}

// The leg from a to b as the route table keeps it: nautical miles and a
// course in degrees.
void legOf(const GeoPoint& a, const GeoPoint& b, RoutePoint& record, double& total) {
    double distance = 0, course = 0;
    IPC(a, b, distance, course);
    record.legLength = static_cast<float>(distance);
    record.legCourse = static_cast<float>(course * kDegreesPerRadian);
    total += distance;
}

GeoPoint positionOf(const RoutePoint& r) {
    return GeoPoint{r.lon, r.lat};
}

struct TKeptPoint {
    ClientPoint at;
    int index; // in the batch
};

// The polyline of a track or line, split where a point was dropped: moves to
// a run's first point and draws the rest with PolylineTo, so that a run goes
// on across batches.
class TRunDrawer {
  public:
    explicit TRunDrawer(gdi::Dc& dc) : dc_(dc) {}
    void add(const ClientPoint& p) {
        if (!open_) {
            dc_.moveTo(p.x, p.y);
            open_ = true;
        } else {
            pending_.push_back({p.x, p.y});
        }
    }
    void drop() {
        flush();
        open_ = false;
    }
    void flush() {
        if (!pending_.empty()) dc_.polylineTo(pending_);
        pending_.clear();
    }

  private:
    gdi::Dc& dc_;
    bool open_ = false;
    std::vector<gdi::XY> pending_;
};

} // namespace

// ---------------------------------------------------------------------------
// Plain rules

TUserObjectCode DecodeUserObjectCode(int code, const TChartSettings& settings) {
    TUserObjectCode c;
    c.kind = code;
    if (c.kind >= 401) {
        c.action = UserObjectAction::PickEdit;
        c.kind -= 400;
    } else if (c.kind >= 301) {
        c.action = UserObjectAction::Delete;
        c.kind -= 300;
    } else if (c.kind > 200) {
        c.action = UserObjectAction::Pick;
        c.kind -= 200;
    } else if (c.kind >= 101) {
        c.action = UserObjectAction::Labels;
        c.kind -= 100;
    }
    switch (c.kind) {
    case kKindTrack:
        c.walked = settings.trackSwitch != 0;
        break;
    case kKindRoute:
        c.walked = true;
        break;
    case kKindLine:
    case kKindZone:
    case kKindArea:
        c.walked = settings.lineSwitch != 0;
        break;
    case kKindSymbol:
        c.walked = settings.symbolSwitch != 0;
        break;
    default:
        c.walked = false;
    }
    return c;
}

bool InTrackWindow(const ChartPoint& p) {
    return p.x >= -1000 && p.x <= 2000 && p.y >= -1000 && p.y <= 1800;
}

ChartPoint RangeClamp(const ChartPoint& p) {
    return {std::clamp(p.x, -kClampLimit, kClampLimit), std::clamp(p.y, -kClampLimit, kClampLimit)};
}

double AngleDifference(double a, double b) {
    double d = std::remainder(a - b, 2 * std::numbers::pi); // [-pi, pi]
    if (d <= -std::numbers::pi) d += 2 * std::numbers::pi;
    return d;
}

bool LegHit(int dx, int dy, int lx, int ly, int tolerance) {
    const double c = std::hypot(double(dx), double(dy)),
                 length = std::hypot(double(lx), double(ly));
    if (!(c > 0) || !(c < length)) return false;
    const double across = std::fabs(double(dx) * ly - double(dy) * lx) / length;
    const double off =
        AngleDifference(std::atan2(double(dy), double(dx)), std::atan2(double(ly), double(lx)));
    return across <= tolerance && std::fabs(off) < kLegAngle;
}

// ---------------------------------------------------------------------------
// The passes

struct TMapWindow::TObjectPass {
    int minDistance = kNoPick; // the nearest point so far, max(|dx|, |dy|)
    bool hit = false;          // something was picked
    bool editPicked = false;   // a 4xx pick took its record (once per pass)
    int seenCount = -1;        // the last object's points read; -1 none read
    double lengthSum = 0;      // its length from its points, nautical miles
};

bool TMapWindow::OnScreen(int x, int y) const {
    const TChartWindowState& s = ChartWindowState();
    return x >= 0 && x <= s.screenPixelsAcross && y >= 0 && y <= s.screenPixelsDown;
}

void TMapWindow::DrawUserObjectsOfKind(gdi::Dc& dc, int code) {
    TChartWindowState& s = ChartWindowState();
    TObjectPass pass;
    s.pickedFlag = 0;
    const TUserObjectCode c = DecodeUserObjectCode(code, ChartSettings());
    if (!c.walked) return;
    auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
    if (!store || store->Failed()) return;
    const WaitCursor wait;

    const bool listing = c.action == UserObjectAction::Pick && s.listKind == c.kind;
    const bool symbols = c.kind == kKindSymbol && (c.action == UserObjectAction::Labels ||
                                                   c.action == UserObjectAction::Delete ||
                                                   c.action == UserObjectAction::PickEdit);
    const ui::TRect client = GetClientRect();
    GeoRect view{};
    if (symbols && map) {
        const ui::TRect r = ChartViewRect(client);
        view = ChartPassGeoRect(*map, Rect{r.left, r.top, r.right, r.bottom});
    }
    const TChartSettings& settings = ChartSettings();

    // Only the active route is tested by 402, unless a route is appended to it.
    const bool onlyActive = code == 402 && !s.routeExtension;
    IdBytes bytes;
    const auto first = onlyActive ? IdKindKey(kKindRoute, s.activeRouteId)
                                  : IdKindKey(static_cast<std::uint16_t>(c.kind), 0);
    for (int e = isam::GTEREC(kIdKindKey, first.data(), bytes.data()); e == 0;
         e = isam::NXTREC(kIdKindKey, bytes.data())) {
        IdRecord object = IdRecord::Decode(bytes);
        if (object.kind != c.kind) break;
        store->CurrentIdRecord = object;
        pass.seenCount = -1;
        pass.lengthSum = 0;

        if (c.kind == kKindRoute && !listing) {
            DrawStoredObject(dc, code, object.id, pass);
            if (c.action == UserObjectAction::PickEdit) {
                if (!s.routeExtension) break;
            } else {
                s.pendingGrab = 2;
                s.cursorRequest = 3;
            }
        }
        if (pass.hit) break;

        if (symbols && map) {
            const GeoPoint g{StoreUnitsToBinaryAngle(object.longitude),
                             StoreUnitsToBinaryAngle(object.latitude)};
            if (!(g & view)) continue;
            const ClientPoint p = ClientPointOf(*map, g, client);
            if (c.action == UserObjectAction::Labels) {
                if (object.name.empty() || object.name[0] != '/' || s.deleteSymbolMode)
                    DrawStripSymbol(dc, p.x, p.y, object.pointCount, object.colour);
                if (s.detailWord > 0)
                    DrawObjectLabel(dc, p.x, p.y, object.id, object.colour,
                                    static_cast<std::time_t>(object.timeStamp), object.name.c_str(),
                                    settings.symbolTime != 0);
                continue;
            }
            if (std::abs(cursorClient.x - p.x) > kPickTolerance ||
                std::abs(cursorClient.y - p.y) > kPickTolerance)
                continue;
            if (c.action == UserObjectAction::Delete) {
                store->DeleteObject(kKindSymbol, object.id); // its texts, then the record
                DrawDeletionMark(dc, p.x, p.y);
                s.storeChanged = 1;
            } else {
                s.editedObject = object;
                s.pickedObjectId = object.id;
                s.pickedFlag = 1;
            }
            pass.hit = true;
            break;
        }

        // Upkeep of a drawn route, line or track: its point count and length.
        if (code < 200 && c.kind >= kKindTrack && c.kind <= kKindLine && pass.seenCount >= 0 &&
            (pass.seenCount != object.pointCount || object.pointCount == 0 || object.length == 0)) {
            const bool beingEdited = (s.routeState == 2 || s.routeState == 3) &&
                                     c.kind == kKindRoute && object.id == s.activeRouteId;
            if (pass.seenCount < 2) {
                if (!beingEdited) store->DeleteObject(c.kind, object.id);
            } else {
                object.pointCount = static_cast<std::uint16_t>(std::min(pass.seenCount, 65535));
                if (pass.lengthSum > 0) object.length = tenthsField(pass.lengthSum);
                store->CurrentIdRecord = object;
                isam::RWTREC(kIdFileNumber, object.Encode().data());
            }
        }

        if (listing && !object.name.empty())
            if (auto* list = dynamic_cast<TListDlg*>(listDlg)) {
                char text[64];
                std::snprintf(text, sizeof text, "%s  (%.1f)", object.name.c_str(),
                              object.length * 0.1);
                list->AddItem(text, object.id);
            }
    }
    if (listing) s.listKind = 0;
}

void TMapWindow::DrawUserObject(gdi::Dc& dc, int type, std::int32_t id) {
    TObjectPass pass;
    if (type > 200) ChartWindowState().pickedFlag = 0;
    DrawStoredObject(dc, type, id, pass);
}

bool TMapWindow::ApplyPick(int type, const IdRecord& object, int index, const ClientPoint& at,
                           bool leg, TObjectPass& pass) {
    TChartWindowState& s = ChartWindowState();
    s.pickedObjectId = object.id;
    s.pickedIndex = index;
    switch (type) {
    case 201:
        s.shownTrackId = object.id;
        s.shownTrackColour = object.colour;
        break;
    case 202:
        s.activeRouteId = object.id;
        if (s.routeState < 2) s.routeExtension = s.routePointCount > 0 ? 1 : 0;
        if (s.routeExtension) {
            s.routeName2 = object.name.substr(0, kRouteNameLength);
        } else {
            s.routeName1 = object.name.substr(0, kRouteNameLength);
            s.routeName2.clear();
        }
        break;
    case 203:
        if (s.editedLineId != object.id) s.editedLineColour = object.colour;
        s.editedLineId = object.id;
        break;
    default:
        break;
    }
    if (type > 400) {
        if (!pass.editPicked) {
            // A point of a route appended to the active one counts only where
            // the route table has it.
            if (type == 402 && s.routeExtension && !leg && !HitRouteTablePoint(at.x, at.y))
                return false;
            s.editedObject = object;
            s.pickedPointNumber = index + 1;
            pass.editPicked = true;
        }
        s.pickedFlag = 1;
    } else {
        s.pickedPointNumber = index + 1;
        if (!leg) s.pickedFlag = 1;
    }
    pass.hit = true;
    return true;
}

void TMapWindow::DrawStoredObject(gdi::Dc& dc, int type, std::int32_t id, TObjectPass& pass) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    const int kind = type % 100;
    const bool active = kind == kKindRoute && id != 0 && id == s.activeRouteId;

    if (active && s.routeState == 1) {
        DrawActiveRouteFromTable(dc);
        // Only a pick in the information mode goes on to the stored points.
        if (!s.informationMode || type < 200) return;
    }
    if (type == 1 && !settings.trackSwitch) return;
    if (type == 3 && !settings.lineSwitch) return;
    auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
    if (!store || store->Failed() || !map) return;

    // The object's own record: its kind, colour, name, count and length.
    IdRecord object;
    object.kind = static_cast<std::uint16_t>(kind);
    object.id = id;
    bool known = false;
    IdBytes idBytes;
    if (isam::EQLREC(kIdKey, IdKey(id).data(), idBytes.data()) == 0) {
        object = IdRecord::Decode(idBytes);
        store->CurrentIdRecord = object;
        known = true;
    }

    int colour = object.colour;
    if (type == 2)
        colour = 2;
    else if (id == s.shownTrackId)
        colour = s.shownTrackColour;
    else if (id == s.editedLineId)
        colour = s.editedLineColour;
    else if (id == s.recordedRouteId)
        colour = settings.trackColour;
    const bool lineEdited = id != 0 && id == s.editedLineId && s.lineState == 3;
    const bool edited = (active && s.routeState == 3) || lineEdited;
    const gdi::Pen pen =
        type != 1 && edited ? pens[int(TMapPen::Entry2Width0)] : solidPen(colourOfNumber(colour));
    const gdi::Pen penBefore = dc.pen();
    const gdi::Brush brushBefore = dc.setBrush(gdi::Brush::null());
    if (type < 4) dc.setPen(pen);

    const ui::TRect client = GetClientRect();
    const bool picking = type > 200;
    const bool lengthWanted = type < 200 && known && object.kind >= kKindTrack &&
                              object.kind <= kKindLine &&
                              (object.pointCount == 0 || object.length == 0);
    const bool fill = active && s.routeState < 3 && s.routeTableFill;
    const int entryCount = s.routePointCount;
    const bool legsPicked = type == 201 || type == 202 || type == 203 || type == 301 ||
                            type == 303 || type == 401 || type == 403 ||
                            (type == 402 && (active || s.routeExtension));
    const bool corridorAlarm = settings.crossTrackAlarmSwitch == 2;

    TRunDrawer runs(dc);
    const bool runDrawn = type < 100 && type != 2;
    std::vector<ClientPoint> lineKept;
    GeoPoint previous{};
    bool havePrevious = false;
    PointRecord last;
    ClientPoint previousKept{};
    int keptCount = 0;     // points kept over all batches
    bool stopped = false;  // a pick ended the operation
    bool pointHit = false; // a point (not a leg) was hit: where the moved point is
    ClientPoint hitAt{};
    const ClientPoint click = cursorClient;

    const auto batchRead =
        ChartWindowCalls().batchRead ? ChartWindowCalls().batchRead : std::function(isam::BATSET);
    isam::BatchRequest request;
    request.significantLength = 4; // the id
    const auto target = PointKey(id, 0);
    std::copy(target.begin(), target.end(), request.target.begin());
    isam::TFRMKEY(kPointKey, request.target.data());
    std::vector<std::uint8_t> buffer(kBatchBufferSize);
    std::vector<TKeptPoint> kept;
    kept.reserve(kBatchEntries);

    pass.seenCount = 0;
    int e = batchRead(kPointKey, &request, buffer.data(), buffer.size(), isam::kBatchStart);
    for (int batch = 0; e == 0 && !stopped; ++batch) {
        // Field by field, and only what the buffer holds.
        const std::uint32_t n = request.returned;
        if (n > kBatchEntries || std::size_t(n) * kBatchEntrySize > buffer.size()) break;
        kept.clear();
        for (std::uint32_t i = 0; i < n && !stopped; ++i) {
            PointBytes bytes;
            const std::uint8_t* entry = buffer.data() + i * kBatchEntrySize + 4;
            std::copy(entry, entry + kPointRecordSize, bytes.begin());
            const PointRecord point = PointRecord::Decode(bytes);
            const GeoPoint g{StoreUnitsToBinaryAngle(point.longitude),
                             StoreUnitsToBinaryAngle(point.latitude)};
            const int limit = point.speed; // the cross-track limit of the leg ending here
            const int index = static_cast<int>(i) + kBatchIndexStep * batch;
            ++pass.seenCount;
            if (lengthWanted && havePrevious) {
                double distance = 0, course = 0;
                IPC(previous, g, distance, course);
                pass.lengthSum += distance;
            }

            ChartPoint c = ChartPointOf(*map, g);
            const bool keep = kind != kKindTrack || InTrackWindow(c);
            if (kind != kKindTrack && gdPlatformId() != kNtPlatform) c = RangeClamp(c);
            const ClientPoint q = ToClient(c, client);
            if (keep) {
                kept.push_back({q, static_cast<int>(i)});
                if (runDrawn) runs.add(q);
                if (lineEdited) lineKept.push_back(q);
            } else if (runDrawn) {
                runs.drop();
            }

            if (picking) {
                const int d = std::max(std::abs(click.x - q.x), std::abs(click.y - q.y));
                if (d < pass.minDistance) {
                    pass.minDistance = d;
                    s.pickedObjectId = id;
                    s.pickedIndex = index;
                    if (d <= kPickTolerance) {
                        if (!ApplyPick(type, object, index, q, false, pass)) break;
                        pointHit = true;
                        hitAt = q;
                        if (!s.informationMode) stopped = true;
                    }
                }
            }

            if (type == 1 && batch == 0 && i == 0 && keep && settings.trackStartMark)
                DrawStripSymbol(dc, q.x, q.y - kTrackStartRise, kTrackStartColumn, colour);

            if (type == 2 && keep) {
                if (keptCount > 0) {
                    const double dx = corridorDx, dy = corridorDy;
                    const bool corridor =
                        corridorAlarm || (settings.crossTrackAlarmSwitch == 1 && active &&
                                          keptCount == s.destinationIndex);
                    ComputeLegGeometry(previousKept.x, previousKept.y, q.x, q.y, corridor, limit);
                    DrawLeg(dc, previousKept.x, previousKept.y, q.x, q.y,
                            corridor ? truncated(corridorDx) : 0,
                            corridor ? truncated(corridorDy) : 0, 2);
                    dc.setPen(pen);
                    corridorDx = dx, corridorDy = dy;
                }
                if (OnScreen(q.x, q.y)) {
                    dc.rectangle(q.x - 3, q.y - 3, q.x + 3, q.y + 3);
                    if (i + 1 == n) dc.rectangle(q.x - 6, q.y - 6, q.x + 6, q.y + 6);
                    if (s.detailWord > 2) {
                        const std::string number = std::to_string(keptCount + 1);
                        DrawObjectLabel(dc, q.x, q.y, 0, 1, kNumberLabel, number.c_str(), false);
                    }
                }
            }

            if (type == 3 && keep && keptCount == 0 && s.detailWord > 0) {
                if (lineEdited)
                    DrawObjectLabel(dc, q.x, q.y, 0, colour, 0, "( ! ! )", false);
                else
                    DrawObjectLabel(dc, q.x, q.y, id, colour,
                                    static_cast<std::time_t>(object.timeStamp), object.name.c_str(),
                                    settings.objectTime != 0);
            }

            if (fill) {
                const int h =
                    s.forwardFlag ? s.routePointCount : entryCount + static_cast<int>(n - i) - 1;
                if (h >= 0 && h < kRoutePointMax) {
                    RoutePoint& r = s.routePoints[std::size_t(h)];
                    r = RoutePoint{g.lon, g.lat, q.x, q.y, 0, 0, 0};
                    if (i > 0) {
                        if (s.forwardFlag) {
                            if (h > 0) {
                                RoutePoint& before = s.routePoints[std::size_t(h - 1)];
                                legOf(previous, g, before, s.routeTotal);
                                before.crossTrackLimit = limit;
                            }
                        } else {
                            legOf(g, previous, r, s.routeTotal);
                            r.crossTrackLimit = limit;
                        }
                    }
                    ++s.routePointCount;
                }
            }

            if (keep) {
                previousKept = q;
                ++keptCount;
            }
            previous = g;
            havePrevious = true;
            last = point;
        }

        // The legs between the batch's kept points.
        if (picking && legsPicked && !stopped && !(s.informationMode && pass.hit)) {
            for (std::size_t j = 0; j + 1 < kept.size(); ++j) {
                const ClientPoint a = kept[j].at, b = kept[j + 1].at;
                if (a == b) continue;
                if (!LegHit(click.x - a.x, click.y - a.y, b.x - a.x, b.y - a.y, kPickTolerance))
                    continue;
                const int index = kept[j].index + kBatchIndexStep * batch;
                if (ApplyPick(type, object, index, a, true, pass) && !s.informationMode)
                    stopped = true;
                break;
            }
        }
        if (runDrawn) {
            dc.setPen(pen);
            runs.flush();
        }
        if (type == 2) break; // a route is read in one batch
        if (!stopped)
            e = batchRead(kPointKey, &request, buffer.data(), buffer.size(), isam::kBatchNext);
    }
    batchRead(kPointKey, nullptr, nullptr, 0, isam::kBatchEnd);

    if (lineEdited) linePoints = std::move(lineKept);
    if (fill) {
        // The leg that joins an appended route to the points before it.
        if (entryCount > 0 && s.routePointCount > entryCount) {
            RoutePoint& join = s.routePoints[std::size_t(entryCount - 1)];
            legOf(positionOf(join), positionOf(s.routePoints[std::size_t(entryCount)]), join,
                  s.routeTotal);
            join.crossTrackLimit = 0;
        }
        s.routeTableFill = 0;
    }
    dc.setPen(penBefore);
    dc.setBrush(brushBefore);
    if ((kind == kKindRoute && active && s.routeState == 3) || lineEdited) {
        dc.setRop2(gdi::Rop2::Copy);
        if (pointHit) cursorClient = hitAt; // where the grabbed point starts
    }
    if (id != 0 && id == s.recordedRouteId && havePrevious) {
        // The recorded route's newest point starts the track ring again.
        s.trackRing[0].lon = StoreUnitsToDegrees(last.longitude);
        s.trackRing[0].lat = StoreUnitsToDegrees(last.latitude);
    }
    if ((type == 301 || type == 303) && pass.hit) {
        store->DeleteObject(type - 300, id);
        if (s.detailWord > 3)
            s.redrawRequest = 1;
        else
            DrawDeletionMark(dc, click.x, click.y);
    }
}

void TMapWindow::DrawActiveRouteFromTable(gdi::Dc& dc) {
    TChartWindowState& s = ChartWindowState();
    const int alarm = ChartSettings().crossTrackAlarmSwitch;
    const gdi::Pen penBefore = dc.setPen(solidPen(colourOfNumber(s.routeState == 1 ? 2 : 1)));
    const gdi::Brush brushBefore = dc.setBrush(gdi::Brush::null());
    const int count = std::clamp(s.routePointCount, 0, kRoutePointMax);
    for (int i = 0; i < count; ++i) {
        const RoutePoint& p = s.routePoints[std::size_t(i)];
        if (i < count - 1) {
            const RoutePoint& next = s.routePoints[std::size_t(i + 1)];
            ComputeLegGeometry(p.x, p.y, next.x, next.y, true, p.crossTrackLimit);
            const int type = alarm == 2 || (alarm == 1 && i + 1 == s.destinationIndex) ? 2 : 0;
            DrawLeg(dc, p.x, p.y, next.x, next.y, truncated(corridorDx), truncated(corridorDy),
                    type);
        }
        if (!OnScreen(p.x, p.y)) continue;
        if (i == s.markedRoutePoint) dc.rectangle(p.x - 7, p.y - 8, p.x + 7, p.y + 9);
        if (s.detailWord > 2) {
            const std::string number = std::to_string(i + 1);
            DrawObjectLabel(dc, p.x, p.y, 0, 1, kNumberLabel, number.c_str(), false);
        }
    }
    dc.setBrush(brushBefore);
    dc.setPen(penBefore);
}

int TMapWindow::HitRouteTablePoint(int x, int y) {
    TChartWindowState& s = ChartWindowState();
    const int count = std::clamp(s.routePointCount, 0, kRoutePointMax);
    for (int i = 0; i < count; ++i) {
        const RoutePoint& p = s.routePoints[std::size_t(i)];
        if (std::abs(x - p.x) < kPickTolerance && std::abs(y - p.y) < kPickTolerance) {
            s.pickedPointNumber = i + 1;
            return 1;
        }
    }
    return 0;
}

void TMapWindow::ComputeLegGeometry(int x1, int y1, int x2, int y2, bool corridor, int limit) {
    if (x1 == x2 && y1 == y2) {
        legLength = 0;
        legDirection = 0;
        return;
    }
    const double perMile = ChartWindowState().pixelsPerNm;
    if ((x1 == 0 && y1 == 0) || perMile == 0) return;
    legLength = std::hypot(double(x1 - x2), double(y1 - y2)) / perMile;
    legDirection = std::atan2(double(x1 - x2), double(y2 - y1)) * kDegreesPerRadian + 180;
    if (legDirection > 360) legDirection -= 360;
    if (corridor) {
        const double r = perMile * limit * 0.01;
        const double d = legDirection / kDegreesPerRadian;
        corridorDx = std::trunc(std::cos(d) * r);
        corridorDy = std::trunc(std::sin(d) * r);
    }
}

void TMapWindow::DrawLeg(gdi::Dc& dc, int x1, int y1, int x2, int y2, int dx, int dy, int type) {
    const TChartWindowState& s = ChartWindowState();
    const gdi::Pen legPen = dc.pen();
    if (type == 2 && (dx != 0 || dy != 0 || s.routeState == 3)) {
        dc.setPen(pens[int(TMapPen::Fine)]);
        limitedLine(dc, x1 + dx, y1 + dy, x2 + dx, y2 + dy);
        limitedLine(dc, x1 - dx, y1 - dy, x2 - dx, y2 - dy);
    }
    const bool edited = (type == 2 && s.routeState == 3) || (type == 3 && s.lineState == 3);
    dc.setPen(edited ? pens[int(TMapPen::Entry2Width0)] : legPen);
    limitedLine(dc, x1, y1, x2, y2);
    if (type == 0 || type == 2) {
        const int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        const double a = (legDirection + kArrowSpread) / kDegreesPerRadian;
        const double b = (legDirection - kArrowSpread) / kDegreesPerRadian;
        limitedLine(dc, mx, my, mx + truncated(std::cos(a) * kArrowStroke),
                    my + truncated(std::sin(a) * kArrowStroke));
        limitedLine(dc, mx, my, mx - truncated(std::cos(b) * kArrowStroke),
                    my - truncated(std::sin(b) * kArrowStroke));
    }
    dc.setPen(legPen);
}

void TMapWindow::DrawObjectLabel(gdi::Dc& dc, int x, int y, std::int32_t objectId, int colour,
                                 std::time_t time, const char* text, bool timeFlag) {
    const TChartWindowState& s = ChartWindowState();
    std::string shown = text ? text : "";
    if (!OnScreen(x, y) || y <= 2 || (shown.empty() && !timeFlag)) return;
    if (time == kNumberLabel) x -= kNumberShift;

    const bool timeShown = shown.empty();
    if (timeShown) {
        std::tm local{};
        localtime_r(&time, &local);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%02d/%02d-%02d %02d:%02d", local.tm_mday,
                      local.tm_mon + 1, local.tm_year % 100, local.tm_hour, local.tm_min);
        shown = stamp;
    }
    auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
    if (objectId > 0 && store && !store->Failed() &&
        isam::EQLKEY(kInfoKey, InfoKey(objectId, 0).data()) == 0)
        shown += timeShown ? "+" : " (+)";
    if (!s.deleteSymbolMode && shown[0] == '/')
        shown.erase(0, 1);
    else
        x += 6;
    if (shown.empty()) return;

    if (!labelFont_) labelFont_ = gdi::Font::create(gdi::LogFont{"MS Sans Serif", -10, 500});
    const auto fontBefore = dc.selectFont(labelFont_);
    const gdi::Colour textBefore = dc.setTextColour(TextColourByType(colour, s.illuminationLevel));
    const unsigned alignBefore = dc.setTextAlign(gdi::TA_LEFT | gdi::TA_BOTTOM);
    const gdi::BkMode modeBefore = dc.setBkMode(gdi::BkMode::Transparent);
    const gdi::Pen penBefore =
        dc.setPen(solidPen(s.illuminationLevel >= 2 ? colourOfNumber(colour) : gdColour(0)));
    const gdi::Brush brushBefore = dc.setBrush(gdi::Brush::solid(gdColour(1)));

    const gdi::XY extent = dc.textExtent(shown);
    dc.roundRect(x, y + 7, x + extent.x + 4, y - 6, 6, 4);
    dc.textOut(x + 2, y + 7, shown);

    dc.setBrush(brushBefore);
    dc.setPen(penBefore);
    dc.setBkMode(modeBefore);
    dc.setTextAlign(alignBefore);
    dc.setTextColour(textBefore);
    dc.selectFont(fontBefore);
}

void TMapWindow::DrawStripSymbol(gdi::Dc& dc, int x, int y, int column, int row) {
    // Symbol numbers and colours the strip has no cell for draw nothing.
    if (column < 0 || column >= kStripColumns || row < 1 || row > kStripColourRows || !symbolStrip)
        return;
    if (!stripDc_) stripDc_ = gdi::RasterDc::createCompatible(nullptr);
    if (stripDc_->bitmap() != symbolStrip) stripDc_->selectBitmap(symbolStrip);
    dc.blit(x - 8, y - 8, kStripCell, kStripCell, *stripDc_, kStripCell * column, 0,
            gdi::BlitOp::And);
    dc.blit(x - 8, y - 8, kStripCell, kStripCell, *stripDc_, kStripCell * column, kStripCell * row,
            gdi::BlitOp::Paint);
}

void TMapWindow::DrawDeletionMark(gdi::Dc& dc, int x, int y) {
    // On the chart picture and on what the screen shows.
    if (memPicture1 && memPicture1.get() != &dc)
        DrawStripSymbol(*memPicture1, x, y, kDeletionColumn, kDeletionRow);
    DrawStripSymbol(dc, x, y, kDeletionColumn, kDeletionRow);
}
