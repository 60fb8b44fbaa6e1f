#include "TideWave.h"

#include "TideEngine.h"
#include "TideFiles.h"
#include "util/sunTimes.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The first TideWave of the process loads the data files.
bool filesLoadedByTideWave = false;

const char* const kNotImplemented =
    "Not implemented for this moment, use TideWave(Lat,Lon) constructor";

// Hours of the day to a t_time; a missing event (negative) is hour -1.
t_time toTime(double hours) {
    if (hours < 0.0) return {-1, 0};
    hours = std::fmod(hours, 24.0);
    const int hour = static_cast<int>(std::trunc(hours));
    const int minute = static_cast<int>(std::trunc((hours - hour) * 60.0));
    return {static_cast<char>(hour), static_cast<char>(minute)};
}

bool validDate(int day, int month, int year) {
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    return day <= lengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

} // namespace

TideWave::TideWave(short lat, short lon, char* dir, char*)
    : lat_(lat), lon_(lon), timeZone_(0), name_{},
      beginTwilight_{-1, 0}, sunrise_{-1, 0}, sunset_{-1, 0}, endTwilight_{-1, 0}, date_{},
      step_(1.0), values_(nullptr) {
    if (!filesLoadedByTideWave) {
        filesLoadedByTideWave = true;
        flodwave::loadTideFiles(dir);
    }
    if (AllocMem() != 0)
        throw static_cast<const char*>("Out of memory in TideWave(2) constructor\n");
}

TideWave::TideWave(int, char*, char*) {
    throw kNotImplemented;
}

TideWave::TideWave(char*, char*, char*) {
    throw kNotImplemented;
}

TideWave::TideWave(char*, char*) {
    throw kNotImplemented;
}

TideWave::~TideWave() {
    std::free(values_);
}

int TideWave::AllocMem() {
    const int count = GetNumPoints();
    if (count == 0) {
        std::free(values_);
        values_ = nullptr;
        return 0;
    }
    const bool fresh = values_ == nullptr;
    float* grown =
        static_cast<float*>(std::realloc(values_, static_cast<std::size_t>(count) * sizeof(float)));
    if (grown == nullptr) {
        std::free(values_);
        values_ = nullptr;
        return -1;
    }
    values_ = grown;
    // A new curve starts as zeros; a resized one keeps its heights.
    if (fresh)
        for (int i = 0; i < count; ++i)
            values_[i] = 0.0f;
    return 0;
}

short TideWave::GetNumPoints() const {
    const int count = flodwave::predictionPointCount(step_);
    return static_cast<short>(count < 0 ? 0 : count);
}

float TideWave::GetPoint(int i) const {
    if (values_ == nullptr || i < 0 || i >= GetNumPoints()) return 0.0f;
    return values_[i];
}

float TideWave::GetMaxValue(short& idx) const {
    const short count = values_ == nullptr ? 0 : GetNumPoints();
    if (count == 0) return 0.0f;
    short best = 0;
    for (short i = 1; i < count; ++i)
        if (values_[i] > values_[best]) best = i;
    idx = best;
    return values_[best];
}

float TideWave::GetMinValue(short& idx) const {
    const short count = values_ == nullptr ? 0 : GetNumPoints();
    if (count == 0) return 0.0f;
    short best = 0;
    for (short i = 1; i < count; ++i)
        if (values_[i] < values_[best]) best = i;
    idx = best;
    return values_[best];
}

double TideWave::GetStep() const {
    return step_;
}

char TideWave::GetTimeZone() const {
    return timeZone_;
}

void TideWave::GetSunRize(t_time& t) const {
    t = sunrise_;
}

void TideWave::GetSunSet(t_time& t) const {
    t = sunset_;
}

void TideWave::GetBeginTwilight(t_time& t) const {
    t = beginTwilight_;
}

void TideWave::GetEndTwilight(t_time& t) const {
    t = endTwilight_;
}

void TideWave::GetPredictionDate(t_date* date) const {
    if (date != nullptr) *date = date_;
}

short TideWave::GetPortLat() const {
    return lat_;
}

short TideWave::GetPortLon() const {
    return lon_;
}

void TideWave::GetPortName(char* name) const {
    if (name != nullptr) std::strcpy(name, name_);
}

int TideWave::Calculate(double step, char day, char month, short year) {
    // Everything is checked and computed before the object changes, so a
    // failed call leaves the previous curve, name and times whole.
    const int count = flodwave::predictionPointCount(step);
    if (count < 0 || !validDate(day, month, year)) return -1;
    flodwave::resetTables();
    flodwave::PortHeader header;
    if (flodwave::readTidePort(lat_, lon_, header) != 1) return -1;

    const t_date date{day, month, year};
    const double lat = header.lat / 60.0;
    const double lon = header.lon / 60.0;
    const int zone = header.timeZone;
    double morning = -1.0, rise = -1.0, set = -1.0, evening = -1.0;
    sunTimes(&date, lat, lon, &morning, &rise, &set, &evening, zone);

    float* values =
        static_cast<float*>(std::malloc(static_cast<std::size_t>(count) * sizeof(float)));
    if (values == nullptr) return -1;
    // The day starts at the port's local midnight: 00:00 UTC + zone.
    const double hours = static_cast<double>(hoursSince1996(&date)) + zone;
    if (flodwave::predictTide(values, count, hours, step) != count) {
        std::free(values);
        return -1;
    }

    std::free(values_);
    values_ = values;
    step_ = step;
    date_ = date;
    std::memset(name_, 0, sizeof name_);
    std::memcpy(name_, header.name, sizeof header.name);
    beginTwilight_ = toTime(morning);
    sunrise_ = toTime(rise);
    sunset_ = toTime(set);
    endTwilight_ = toTime(evening);
    timeZone_ = static_cast<char>(zone);
    return 0;
}

extern "C" {

int TD_LoadDataFiles(char* dir) {
    return flodwave::loadTideFiles(dir);
}

int TD_GetNumPorts() {
    flodwave::resetTables();
    return flodwave::tidePortCount();
}

int TD_GetTidePoint(int i, IndexFileStruct* point) {
    flodwave::resetTables();
    if (point == nullptr) return -1;
    return flodwave::tideIndexRecord(i, *point) ? 0 : -1;
}

void TD_DoneTides() {
    flodwave::releaseTideFiles();
}
}
