#include "dialogs/TDbInfoDialog.h"

#include "chart/ChartWindowState.h"
#include "dialogs/InfoDialogPlacement.h"
#include "geo/crdText.h"
#include "geo/geodesy.h"
#include "nmea/NavState.h"
#include "route/RouteFollowing.h"
#include "store/DbaseWin.h"
#include "store/StoreRecordCalls.h"
#include "ui/Controls.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr int kRouteEdited = 3;
// The longest variable record the record layer keeps.
constexpr std::size_t kLargestRecord = 65535;

void append(std::string& text, const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0) text.append(buffer, std::min<std::size_t>(std::size_t(n), sizeof buffer - 1));
}

std::tm localTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!::localtime_r(&t, &local)) local = std::tm{};
    return local;
}

// Latitude and longitude (store units) as " 60 24.000N  005 19.230E".
std::string positionText(std::int32_t latitude, std::int32_t longitude) {
    char lat[64] = "", lon[64] = "";
    if (!_crd2str(StoreUnitsToBinaryAngle(latitude), lat, _apszgpFormat[2], 0x4E53, 0x40000000u, 3,
                  90u, 60u, 1000u))
        lat[0] = '\0';
    if (!_crd2str(StoreUnitsToBinaryAngle(longitude), lon, _apszgpFormat[2], 0x4557, 0x80000000u, 3,
                  90u, 60u, 1000u))
        lon[0] = '\0';
    return std::string(lat) + "  " + lon;
}

GeoPoint geoPointOf(const PointRecord& p) {
    return {StoreUnitsToBinaryAngle(p.longitude), StoreUnitsToBinaryAngle(p.latitude)};
}

std::optional<PointRecord> storedPoint(std::int32_t id, int number) {
    if (number < 1 || number > 0xFFFF) return std::nullopt;
    PointBytes bytes{};
    if (StoreRecordCalls().EQLREC(kPointKey, PointKey(id, std::uint16_t(number)).data(),
                                  bytes.data()) != 0)
        return std::nullopt;
    return PointRecord::Decode(bytes);
}

struct Leg {
    double course = 0, length = 0; // degrees, nautical miles
};

// The leg that starts at store point `number` in travel order.
Leg legFrom(const IdRecord& object, int number, const PointRecord& point, bool active) {
    const TChartWindowState& s = ChartWindowState();
    if (active) {
        const int count = std::clamp(s.routePointCount, 0, kRoutePointMax);
        const int index = s.forwardFlag ? number - 1 + (s.ownShipInserted ? 1 : 0) : count - number;
        if (index < 0 || index >= count - 1) return {};
        const RoutePoint& r = s.routePoints[std::size_t(index)];
        return {r.legCourse, r.legLength};
    }
    // Another route is travelled in stored order: the leg to the next stored
    // point (EQLREC above made this point current).
    PointBytes bytes{};
    if (StoreRecordCalls().NXTREC(kPointKey, bytes.data()) != 0) return {};
    const PointRecord next = PointRecord::Decode(bytes);
    if (next.id != object.id) return {};
    double distance = 0, course = 0;
    IPC(geoPointOf(point), geoPointOf(next), distance, course);
    return {course * 180 / std::numbers::pi, distance};
}

double magnetic(double course, int variation) {
    double m = std::fmod(course - variation, 360.0);
    if (m < 0) m += 360;
    return m >= 360 ? 0 : m;
}

} // namespace

std::string DbInfoDescription(const IdRecord& object, int point) {
    const TChartWindowState& s = ChartWindowState();
    const bool active =
        object.kind == kKindRoute && s.activeRouteId != 0 && object.id == s.activeRouteId;
    std::string text;

    if (active && s.routeState == kRouteEdited) {
        text = object.name + "\n";
    } else {
        if (const char* kind = ObjectKindName(object.kind)) text = kind;
        append(text, "       ( id: %ld )\n", static_cast<long>(object.id));
        const std::tm t = localTime(object.timeStamp);
        append(text, "Lagret:  %02d / %02d - %d  %02d:%02d\n", t.tm_mday, t.tm_mon + 1,
               t.tm_year + 1900, t.tm_hour, t.tm_min);
    }

    if (object.kind >= kKindTrack && object.kind <= kKindLine) {
        const double length = active ? s.routeTotal : object.length * 0.1;
        append(text, "Lengde: %.1f Nm.  %d punkter\n", length, int(object.pointCount));
        if (active)
            append(text, "Dist.: %.1f Nm.\n",
                   s.followingState == 1 ? DistanceToGo(s) : s.routeTotal);
    }

    if (object.kind == kKindSymbol) {
        text += "\nPos.: " + positionText(object.latitude, object.longitude);
        if (object.length != 0) append(text, "\nDybde: %.1f mtr.\n", object.length * 0.1);
    }

    if ((object.kind == kKindTrack || object.kind == kKindRoute) && point >= 1) {
        append(text, "\nPunkt: %d", point);
        if (const std::optional<PointRecord> p = storedPoint(object.id, point)) {
            if (object.kind == kKindTrack) {
                const std::tm t = localTime(p->time);
                append(text, "   Tid: %02d:%02d\nPos.: ", t.tm_hour, t.tm_min);
                text += positionText(p->latitude, p->longitude);
                append(text, "\nKurs: %05.1f \xB0\nFart: %.1f Kt.\n", p->course * 0.1,
                       p->speed * 0.1);
                if (p->depth != 0)
                    append(text, "Dybde: %.1f mtr.\n",
                           p->depth * (p->depthScale == 1 ? 0.01 : 0.1));
                if (p->temperature != 0) append(text, "Temp: %.1f \xB0 \n", p->temperature * 0.01);
            } else {
                text += "\nPos.: " + positionText(p->latitude, p->longitude);
                const Leg leg = legFrom(object, point, *p, active);
                append(text, "\nKurs: %05.1f \xB0  (%05.1f \xB0)\n", leg.course,
                       magnetic(leg.course, NavSnapshot().magneticVariation));
                append(text, "Dist.: %.1f Nm.\n", leg.length);
            }
        }
    }
    return text;
}

// ---------------------------------------------------------------------------

DEFINE_RESPONSE_TABLE1(TDbInfoDialog, TMapDialog)
EV_COMMAND(ui::IDOK, CmOk), EV_COMMAND(kChartInfoButton, CmChartInfo), END_RESPONSE_TABLE;

TDbInfoDialog::TDbInfoDialog(TMapWindow* owner, const ui::TPoint& click, const IdRecord& object,
                             int point, int resId)
    : TMapDialog(owner, resId), click_(click), object_(object), point_(point),
      name_(new ui::TEdit(this, kDbInfoName)), text_(new ui::TEdit(this, kDbInfoText)) {
    name_->LimitText(kNameFieldLimit);
    text_->LimitText(static_cast<int>(kMaxInfoText));
    info_.id = object.id;
}

TDbInfoDialog::~TDbInfoDialog() {
    Destroy();
}

void TDbInfoDialog::SetupWindow() {
    TMapDialog::SetupWindow();
    const TChartWindowState& s = ChartWindowState();
    name_->SetText(object_.name.c_str());
    SetDlgItemText(kDbInfoDescription, DbInfoDescription(object_, point_).c_str());

    TStoreRecordCalls& calls = StoreRecordCalls();
    std::uint8_t fixed[kInfoFixedSize] = {};
    newText_ = calls.EQLREC(kInfoKey, InfoKey(object_.id, 0).data(), fixed) != 0;
    if (!newText_) {
        // The text is what the record holds past its fixed part, read whole
        // and cut to what the field keeps; a record shorter than the fixed
        // part holds none.
        const std::size_t length = std::min(calls.GETVLEN(kInfoFileNumber), kLargestRecord);
        if (length > kInfoFixedSize) {
            std::vector<std::uint8_t> record(length);
            if (calls.REDVREC(kInfoFileNumber, record.data(), record.size()) == 0)
                if (std::optional<InfoRecord> read = InfoRecord::Decode(record.data(), length))
                    info_.text = read->text.substr(0, kMaxInfoText);
        }
    }
    text_->SetText(info_.text.c_str());

    const bool planningAllowed =
        (s.routeState == 0 || s.routeState == 1) && !s.placeSymbolMode && !s.deleteSymbolMode;
    EnableDlgItem(kChartInfoButton, planningAllowed);
    PlaceInfoDialog(*this, click_);
}

void TDbInfoDialog::CleanupWindow() {
    ReleaseInfoDialog();
    TMapDialog::CleanupWindow();
}

void TDbInfoDialog::CmOk() {
    Store();
    CloseWindow(ui::IDOK);
}

void TDbInfoDialog::CmChartInfo() {
    Store();
    CloseWindow(kChartInfoButton);
}

void TDbInfoDialog::Store() {
    TStoreRecordCalls& calls = StoreRecordCalls();
    if (name_->IsModified()) {
        char name[kNameFieldLimit + 1] = {};
        name_->GetText(name, sizeof name);
        IdBytes bytes{};
        if (calls.EQLREC(kIdKindKey, IdKindKey(object_.kind, object_.id).data(), bytes.data()) ==
            0) {
            IdRecord stored = IdRecord::Decode(bytes);
            stored.name = std::string(name).substr(0, kMaxNameLength);
            if (calls.RWTREC(kIdFileNumber, stored.Encode().data()) == 0) {
                object_.name = stored.name;
                ChartWindowState().redrawRequest = 1;
            } else {
                DbaseWin::ShowDbError("Rewrite ID");
            }
        } else {
            DbaseWin::ShowDbError("Rewrite ID");
        }
        name_->ClearModify();
    }
    if (text_->IsModified()) {
        std::vector<char> buffer(kMaxInfoText + 1, '\0');
        text_->GetText(buffer.data(), static_cast<int>(buffer.size()));
        info_.text.assign(buffer.data());
        info_.number = 0;
        const std::vector<std::uint8_t> record = info_.Encode();
        // The record is found again: the chart's drawing may have made
        // another INFO record current while the dialog was open.
        std::uint8_t fixed[kInfoFixedSize] = {};
        const bool stored =
            !newText_ && calls.EQLREC(kInfoKey, InfoKey(object_.id, 0).data(), fixed) == 0;
        if (stored) {
            if (calls.RWTVREC(kInfoFileNumber, record.data(), record.size()) != 0)
                DbaseWin::ShowDbError("Rewrite INFO");
        } else if (calls.ADDVREC(kInfoFileNumber, record.data(), record.size()) == 0) {
            newText_ = false;
        } else {
            DbaseWin::ShowDbError("Add INFO");
        }
        text_->ClearModify();
    }
}
