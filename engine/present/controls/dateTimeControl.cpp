#include "controls/dateTimeControl.h"

#include "controls/windowClasses.h"
#include "os/Clock.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

using namespace std::chrono;

constexpr std::uint64_t ticksPerMillisecond = 10'000;
constexpr std::uint64_t ticksPerDay = 86'400ull * 1000 * ticksPerMillisecond;
constexpr sys_days firstDay = sys_days{year{1601} / January / 1};
constexpr long long lastDayCount = (sys_days{year{30827} / December / 31} - firstDay).count();

os::Clock* controlClock = nullptr;

bool isDateField(int bit) {
    return bit < 3;
}

// Layout units of the fields (a digit takes 2, an edit's frame 1) and of the
// separators.
constexpr int fieldUnits[6] = {5, 5, 9, 5, 5, 5};
constexpr int fieldLength[6] = {2, 2, 5, 2, 2, 2};
constexpr int dayCountLength = 8;
const char* const fieldFormats[6] = {"%2d", "%02d", "%4d", "%2d", "%02d", "%02d"};

// The local time now: the clock's UTC time in the process's time zone.
bool localNow(TSystemTime& local) {
    const os::SystemTime utc = (controlClock ? *controlClock : os::realClock()).now();
    if (!os::isValidSystemTime(utc)) return false;
    const sys_days day{year{utc.year} / utc.month / utc.day};
    const std::time_t t = static_cast<std::time_t>(day.time_since_epoch().count()) * 86400 +
                          utc.hour * 3600 + utc.minute * 60 + std::min(utc.second, 59);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return false;
    local.year = static_cast<std::uint16_t>(tm.tm_year + 1900);
    local.month = static_cast<std::uint16_t>(tm.tm_mon + 1);
    local.day = static_cast<std::uint16_t>(tm.tm_mday);
    local.hour = static_cast<std::uint16_t>(tm.tm_hour);
    local.minute = static_cast<std::uint16_t>(tm.tm_min);
    local.second = static_cast<std::uint16_t>(std::min(tm.tm_sec, 59));
    local.milliseconds = static_cast<std::uint16_t>(utc.milliseconds);
    return true;
}

} // namespace

bool fileTimeToSystemTime(const TFileTime& fileTime, TSystemTime* systemTime) {
    if (!systemTime || fileTime.ticks >> 63) return false;
    const auto dayCount = static_cast<long long>(fileTime.ticks / ticksPerDay);
    const year_month_day date{firstDay + days{dayCount}};
    const std::uint64_t ms = fileTime.ticks % ticksPerDay / ticksPerMillisecond;
    systemTime->year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
    systemTime->month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
    systemTime->day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
    systemTime->dayOfWeek = static_cast<std::uint16_t>((dayCount + 1) % 7); // 1601-01-01: Monday
    systemTime->hour = static_cast<std::uint16_t>(ms / 3'600'000);
    systemTime->minute = static_cast<std::uint16_t>(ms / 60'000 % 60);
    systemTime->second = static_cast<std::uint16_t>(ms / 1000 % 60);
    systemTime->milliseconds = static_cast<std::uint16_t>(ms % 1000);
    return true;
}

bool systemTimeToFileTime(const TSystemTime& t, TFileTime* fileTime) {
    if (!fileTime || t.year < 1601 || t.year > 30827 || t.hour > 23 || t.minute > 59 ||
        t.second > 59 || t.milliseconds > 999)
        return false;
    const year_month_day date{year{t.year}, month{t.month}, day{t.day}};
    if (!date.ok()) return false;
    const auto dayCount = static_cast<std::uint64_t>((sys_days{date} - firstDay).count());
    const std::uint64_t ms = ((t.hour * 60ull + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    fileTime->ticks = dayCount * ticksPerDay + ms * ticksPerMillisecond;
    return true;
}

void setDateTimeControlClock(os::Clock* clock) {
    controlClock = clock;
}

TDateTimeControl::TDateTimeControl(QWidget* parent, std::uint32_t style, int id)
    : TDialogControl(parent, style, id) {
    std::uint32_t s = GetStyle();
    if (s >= 64) s &= ~5u; // no day and no year
    present_ = s & 63;
    const int dayCountWidth = 4 * static_cast<int>((s >> 6) & 3);
    dayCount_ = dayCountWidth && (s & 2);
    std::fill(std::begin(units_), std::end(units_), -1);

    int previous = -1;
    for (int bit = 0; bit < 6; ++bit) {
        if (!(present_ & (1u << bit))) continue;
        if (previous >= 0) {
            // The separator after the previous field.
            const bool date0 = isDateField(previous), date1 = isDateField(bit);
            const char* text = date0 && date1 ? "." : date0 ? " " : ":";
            addStatic(101 + 2 * previous, QString::fromLatin1(text));
            units_[1 + 2 * previous] = date0 && !date1 ? 3 : 2;
        }
        const bool days = dayCount_ && bit == 1;
        addEdit(100 + 2 * bit, days ? dayCountLength : fieldLength[bit]);
        units_[2 * bit] = days ? dayCountWidth : fieldUnits[bit];
        previous = bit;
    }
    Message(CTLM_SETVALUE, 0, 0);
    layoutChildren();
}

void TDateTimeControl::writeFields() {
    TSystemTime t;
    fileTimeToSystemTime(value_, &t);
    const int parts[6] = {t.day, t.month, t.year, t.hour, t.minute, t.second};
    for (int bit = 0; bit < 6; ++bit) {
        if (!(present_ & (1u << bit))) continue;
        if (dayCount_ && bit == 1)
            writeField(102, "%d", static_cast<long long>(value_.ticks / ticksPerDay));
        else
            writeField(100 + 2 * bit, fieldFormats[bit], parts[bit]);
    }
}

bool TDateTimeControl::readFields(TFileTime& value) const {
    TSystemTime t;
    if (!fileTimeToSystemTime(value_, &t)) return false;
    std::uint16_t* parts[6] = {&t.day, &t.month, &t.year, &t.hour, &t.minute, &t.second};
    for (int bit = 0; bit < 6; ++bit) {
        if (!(present_ & (1u << bit))) continue;
        const long long n = fieldNumber(100 + 2 * bit);
        if (dayCount_ && bit == 1) {
            if (n < 0 || n > lastDayCount) return false;
            const year_month_day date{firstDay + days{n}};
            t.year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
            t.month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
            t.day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
            continue;
        }
        if (n < 0 || n > 0xFFFF) return false;
        *parts[bit] = static_cast<std::uint16_t>(n);
    }
    if (!systemTimeToFileTime(t, &value)) return false;
    value.ticks += value_.ticks % ticksPerMillisecond; // finer than the fields: kept
    return true;
}

std::intptr_t TDateTimeControl::getValue(std::uintptr_t wParam, std::intptr_t lParam) {
    TFileTime value;
    if (!lParam || !readFields(value)) return 0;
    if (wParam == 0) {
        *reinterpret_cast<TFileTime*>(lParam) = value;
        return 1;
    }
    return fileTimeToSystemTime(value, reinterpret_cast<TSystemTime*>(lParam)) ? 1 : 0;
}

std::intptr_t TDateTimeControl::setValue(std::uintptr_t wParam, std::intptr_t lParam) {
    TFileTime value;
    TSystemTime t;
    if (!lParam) {
        if (!localNow(t) || !systemTimeToFileTime(t, &value)) return 0;
    } else if (wParam == 0) {
        value = *reinterpret_cast<const TFileTime*>(lParam);
        // Only times the fields can show and give back.
        TFileTime back;
        if (!fileTimeToSystemTime(value, &t) || !systemTimeToFileTime(t, &back)) return 0;
    } else if (!systemTimeToFileTime(*reinterpret_cast<const TSystemTime*>(lParam), &value)) {
        return 0;
    }
    value_ = value;
    writeFields();
    return 1;
}

std::intptr_t TDateTimeControl::isModified() {
    TFileTime value;
    return readFields(value) && value.ticks != value_.ticks ? 1 : 0;
}

bool TDateTimeControl::fieldRange(int, int&, const char*&) const {
    return false; // no up-down
}

void TDateTimeControl::layoutChildren() {
    int total = 0;
    for (const int u : units_)
        total += std::max(u, 0);
    if (total == 0) return;
    int x = 0;
    for (int i = 0; i < 11; ++i) {
        if (units_[i] < 0) continue;
        place(100 + i, static_cast<int>(roundedMulDiv(x, width(), total)),
              static_cast<int>(roundedMulDiv(units_[i], width(), total)));
        x += units_[i];
    }
}

QWidget* newDateTimeControl(QWidget* parent, std::uint32_t style, int id) {
    // Widgets need the application's widget support.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    return new TDateTimeControl(parent, style, id);
}
