#include "controls/geoPositionControl.h"

#include "controls/windowClasses.h"

#include <QApplication>
#include <QListWidget>
#include <QStyle>

namespace {

constexpr std::int64_t binary90 = 0x40000000;

// The children's places in layout units, one row per style: (latitude × 8)
// + (seconds × 4) + k. A row holds the total width, then x and width of
// children 100 to 108 (-1: absent). A digit takes 2 units and an edit 2 more
// for its frame; a static text takes 2, the hemisphere list 6 after a gap of
// 1. Decimals stand after the minutes or seconds they belong to, before the
// unit's mark. With seconds, k = 3 lays out as k = 2 (3 digits at most).
constexpr int layoutCount = 16;
// clang-format off
constexpr int layoutTable[layoutCount][19] = {
    // total, then x and width of 100, 101, 102, 103, 104, 105, 106, 107, 108
    // longitude, minutes, k 0 to 3
    {25,   0,  8,   8,  2,  10,  6,  16,  2,  -1, -1,  -1, -1,  -1, -1,  -1, -1,  19,  6},
    {33,   0,  8,   8,  2,  10,  6,  24,  2,  -1, -1,  -1, -1,  16,  2,  18,  6,  27,  6},
    {35,   0,  8,   8,  2,  10,  6,  26,  2,  -1, -1,  -1, -1,  16,  2,  18,  8,  29,  6},
    {37,   0,  8,   8,  2,  10,  6,  28,  2,  -1, -1,  -1, -1,  16,  2,  18, 10,  31,  6},
    // longitude, seconds, k 0 to 3
    {33,   0,  8,   8,  2,  10,  6,  16,  2,  18,  6,  24,  2,  -1, -1,  -1, -1,  27,  6},
    {41,   0,  8,   8,  2,  10,  6,  16,  2,  18,  6,  32,  2,  24,  2,  26,  6,  35,  6},
    {43,   0,  8,   8,  2,  10,  6,  16,  2,  18,  6,  34,  2,  24,  2,  26,  8,  37,  6},
    {43,   0,  8,   8,  2,  10,  6,  16,  2,  18,  6,  34,  2,  24,  2,  26,  8,  37,  6},
    // latitude, minutes, k 0 to 3
    {23,   0,  6,   6,  2,   8,  6,  14,  2,  -1, -1,  -1, -1,  -1, -1,  -1, -1,  17,  6},
    {31,   0,  6,   6,  2,   8,  6,  22,  2,  -1, -1,  -1, -1,  14,  2,  16,  6,  25,  6},
    {33,   0,  6,   6,  2,   8,  6,  24,  2,  -1, -1,  -1, -1,  14,  2,  16,  8,  27,  6},
    {35,   0,  6,   6,  2,   8,  6,  26,  2,  -1, -1,  -1, -1,  14,  2,  16, 10,  29,  6},
    // latitude, seconds, k 0 to 3
    {31,   0,  6,   6,  2,   8,  6,  14,  2,  16,  6,  22,  2,  -1, -1,  -1, -1,  25,  6},
    {39,   0,  6,   6,  2,   8,  6,  14,  2,  16,  6,  30,  2,  22,  2,  24,  6,  33,  6},
    {41,   0,  6,   6,  2,   8,  6,  14,  2,  16,  6,  32,  2,  22,  2,  24,  8,  35,  6},
    {41,   0,  6,   6,  2,   8,  6,  14,  2,  16,  6,  32,  2,  22,  2,  24,  8,  35,  6},
};
// clang-format on

std::int64_t magnitude(std::int32_t angle) {
    // 0x80000000 (-180 degrees) has no positive int32: take it unsigned.
    return angle < 0 ? 0u - static_cast<std::uint32_t>(angle) : static_cast<std::uint32_t>(angle);
}

} // namespace

TGeoPositionControl::TGeoPositionControl(QWidget* parent, std::uint32_t style, int id)
    : TDialogControl(parent, style, id) {
    const std::uint32_t s = GetStyle();
    latitude_ = s & 1;
    upDown_ = !(s & 2);
    seconds_ = s & 4;
    const int k = (s >> 4) & 3;
    layout_ = (latitude_ ? 8 : 0) + (seconds_ ? 4 : 0) + k;
    decimals_ = k == 0 ? 0 : std::min(k + 1, seconds_ ? 3 : 4);
    static const char* const formats[] = {"%d", "%d", "%02d", "%03d", "%04d"};
    decimalsFormat_ = formats[decimals_];
    divisor_ = 1;
    for (int i = 0; i < decimals_; ++i)
        divisor_ *= 10;
    unitsPer90_ = 90 * 60 * (seconds_ ? 60 : 1) * divisor_;

    addEdit(100, latitude_ ? 2 : 3);
    addStatic(101, QString(QChar(0x00B0)));
    addEdit(102, 2);
    addStatic(103, QStringLiteral("'"));
    if (seconds_) {
        addEdit(104, 2);
        addStatic(105, QStringLiteral("\""));
    }
    if (decimals_) {
        addStatic(106, QStringLiteral("."));
        addEdit(107, decimals_);
    }
    hemisphere_ = latitude_ ? addList(108, QStringLiteral("N"), QStringLiteral("S"))
                            : addList(108, QStringLiteral("E"), QStringLiteral("W"));
    if (upDown_) addUpDown(109);
    Message(CTLM_SETVALUE, 0, 0);
    layoutChildren();
}

std::int64_t TGeoPositionControl::unitsOf(std::int32_t angle) const {
    const std::int64_t units = roundedMulDiv(magnitude(angle), unitsPer90_, binary90);
    return angle < 0 ? -units : units;
}

bool TGeoPositionControl::readFields(std::int64_t& units) const {
    const long long degrees = fieldNumber(100), minutes = fieldNumber(102);
    if (degrees < 0 || degrees > (latitude_ ? 90 : 180) || minutes < 0 || minutes > 59)
        return false;
    std::int64_t total = degrees * 60 + minutes;
    if (seconds_) {
        const long long secs = fieldNumber(104);
        if (secs < 0 || secs > 59) return false;
        total = total * 60 + secs;
    }
    total *= divisor_;
    if (decimals_) {
        const long long decimals = fieldNumber(107);
        if (decimals < 0 || decimals >= divisor_) return false;
        total += decimals;
    }
    if (total > unitsPer90_ * (latitude_ ? 1 : 2)) return false;
    units = hemisphere_->currentRow() == 1 ? -total : total;
    return true;
}

std::intptr_t TGeoPositionControl::getValue(std::uintptr_t, std::intptr_t lParam) {
    std::int64_t units = 0;
    if (!lParam || !readFields(units)) return 0;
    // 180 degrees is 0x80000000 either way: the angle wraps as binary angles do.
    const auto angle = static_cast<std::uint32_t>(roundedMulDiv(units, binary90, unitsPer90_));
    *reinterpret_cast<std::int32_t*>(lParam) = static_cast<std::int32_t>(angle);
    return 1;
}

std::intptr_t TGeoPositionControl::setValue(std::uintptr_t, std::intptr_t lParam) {
    const auto angle = static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam));
    if (latitude_ && magnitude(angle) > binary90) return 0;
    std::int64_t units = unitsOf(angle);
    if (units < 0) units = -units;
    if (decimals_) writeField(107, decimalsFormat_, units % divisor_);
    units /= divisor_;
    if (seconds_) {
        writeField(104, "%02d", units % 60);
        units /= 60;
    }
    writeField(102, "%02d", units % 60);
    writeField(100, "%d", units / 60);
    hemisphere_->setCurrentRow(angle < 0 ? 1 : 0);
    value_ = angle;
    return 1;
}

std::intptr_t TGeoPositionControl::isModified() {
    std::int64_t units = 0;
    return readFields(units) && units != unitsOf(value_) ? 1 : 0;
}

bool TGeoPositionControl::fieldRange(int id, int& max, const char*& format) const {
    switch (id) {
    case 100:
        max = latitude_ ? 90 : 180;
        format = "%d";
        return true;
    case 102:
    case 104:
        max = 59;
        format = "%02d";
        return true;
    case 107:
        max = static_cast<int>(divisor_ - 1);
        format = decimalsFormat_;
        return true;
    default:
        return false;
    }
}

void TGeoPositionControl::layoutChildren() {
    const int* row = layoutTable[layout_];
    const int upDownWidth = upDown_ ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int available = std::max(0, width() - upDownWidth);
    for (int id = 100; id <= 108; ++id) {
        const int x = row[1 + 2 * (id - 100)], w = row[2 + 2 * (id - 100)];
        if (x >= 0)
            place(id, static_cast<int>(roundedMulDiv(x, available, row[0])),
                  static_cast<int>(roundedMulDiv(w, available, row[0])));
    }
    if (upDown_) place(109, available, upDownWidth);
}

QWidget* newGeoPositionControl(QWidget* parent, std::uint32_t style, int id) {
    // Widgets need the application's widget support.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    return new TGeoPositionControl(parent, style, id);
}
