#include "nmea/NmeaInput.h"

#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "nmea/NavLock.h"
#include "os/Clock.h"
#include "serial/SerialPorts.h"

namespace {

NmeaPortState gPorts[kNmeaPortCount];
std::atomic<os::Clock*> gClock{nullptr};

os::Clock& navClock() {
    os::Clock* c = gClock.load();
    return c ? *c : os::realClock();
}

// Sentence types, six characters each with the talker as "??"; the id of an
// entry is its index + 1.
constexpr char kSentenceTable[] =
    "$??GGA$??GLL$??VTG$??RMC$??TTM$??HDT$??DPT$??DBS$??DBT$??MTW$??RSD$??OSD$??VHW$??ZDA$??"
    "MWV$??VWR";
constexpr int kSentenceTypes = 16;

enum SentenceId {
    IdGga = 1,
    IdGll = 2,
    IdVtg = 3,
    IdRmc = 4,
    IdDpt = 7,
    IdDbs = 8,
    IdDbt = 9,
    IdZda = 14,
    IdMwv = 15,
    IdVwr = 16,
    IdFormL = 94,
    IdFormO = 95,
    IdFormT = 99,
};

bool isAccepted(int id) {
    switch (id) {
    case IdGga:
    case IdGll:
    case IdVtg:
    case IdRmc:
    case IdDpt:
    case IdDbs:
    case IdDbt:
    case IdZda:
    case IdMwv:
    case IdVwr:
        return true;
    default:
        return false;
    }
}

// Positions before which a blank is inserted in the fixed-width forms.
constexpr int kFormT[] = {4, 6, 11, 13, 18, 20, 26, 28, 34, 39, 43};
constexpr int kFormO[] = {7, 12, 19, 25, 27, 34, 36, 43};
constexpr int kFormL[] = {7};

template <std::size_t N> bool listed(const int (&list)[N], int position) {
    for (int p : list)
        if (p == position) return true;
    return false;
}

bool needsBlank(char form, int position) {
    switch (form) {
    case 'T':
        return listed(kFormT, position);
    case 'O':
        return listed(kFormO, position);
    case 'L':
        return listed(kFormL, position);
    default:
        return false;
    }
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Stores one character of the sentence; a sentence that would grow past its
// limit is abandoned.
bool store(NmeaPortState& p, char c) {
    if (p.position < 0 || p.position >= kNmeaSentenceMax) {
        p.inSentence = 0;
        return false;
    }
    p.sentence[p.position++] = c;
    p.sentence[p.position] = 0;
    return true;
}

// The numbers of every sentence are read with "C" conventions.
class CNumbers {
  public:
    CNumbers() : previous_(uselocale(cLocale())) {}
    ~CNumbers() { uselocale(previous_); }

  private:
    static locale_t cLocale() {
        static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    locale_t previous_;
};

bool finite(float v) {
    return std::isfinite(v);
}

bool fieldsFinite(const NmeaParseFields& f) {
    return finite(f.seconds) && finite(f.latitudeMinutes) && finite(f.longitudeMinutes);
}

float foldCourse(float course) {
    return course >= 0 && course <= 360 ? course : 0;
}

// Physical limits of the instrument values: the deepest ocean is about
// 11,000 m, and no wind on earth reaches 250 knots. A reading outside them
// is a garbled sentence and changes nothing.
constexpr float kMaxDepthMetres = 11000;
constexpr float kMaxWindKnots = 250;

bool depthInLimits(float metres) {
    return metres >= 0 && metres <= kMaxDepthMetres;
}

// The wind speed limit in the unit of a wind sentence: knots (N), km/h (K),
// or metres per second (M, and any other unit, whose value is taken as it is).
bool windSpeedInLimits(float speed, char unit) {
    const float limit = unit == 'N'   ? kMaxWindKnots
                        : unit == 'K' ? kMaxWindKnots * 1.852f
                                      : kMaxWindKnots * 0.5144f;
    return speed >= 0 && speed <= limit;
}

void lowerHeadingHold(NavState& nav) {
    if (nav.headingHold > 0) --nav.headingHold;
}

// A parsed number that may be cast to int safely, else the fallback.
int wholeOr(float v, int fallback) {
    return finite(v) && v > -1e6f && v < 1e6f ? static_cast<int>(v) : fallback;
}

void setClockFromFix(NavShared& s) {
    const NmeaParseFields& f = s.parse;
    bool setDate = f.day != 0 && !s.dateSet;
    if (s.satelliteCount != -1 && !setDate) return;
    os::Clock& clock = navClock();
    os::SystemTime t = clock.now();
    t.hour = f.hours;
    t.minute = f.minutes;
    t.second = wholeOr(f.seconds, -1);
    if (setDate) {
        t.year = f.year < 70 ? f.year + 2000 : f.year < 100 ? f.year + 1900 : f.year;
        t.month = f.month;
        t.day = f.day;
    }
    if (!os::isValidSystemTime(t)) return; // a garbled time never reaches the system clock
    clock.set(t);
    if (setDate) s.dateSet = 1;
}

// One axis of the committed position: a jump is taken as it is, a small
// movement is stepped ahead by half of it.
double stepAhead(double committed, double fresh, double lastRaw) {
    if (std::fabs(committed - fresh) > 0.01) return fresh;
    if (fresh != lastRaw) return fresh + (fresh - lastRaw) * 0.5;
    return committed;
}

int commitFixLocked(NavShared& s, int port) {
    if (s.outputPort >= 0 && s.outputPort != port) return 0;
    const NmeaParseFields& f = s.parse;
    // Range checks come first: a refused fix changes nothing, the clock included.
    if (!finite(f.latitudeMinutes) || !finite(f.longitudeMinutes) || f.latitudeMinutes < 0 ||
        f.latitudeMinutes >= 60 || f.longitudeMinutes < 0 || f.longitudeMinutes >= 60 ||
        f.latitudeDegrees < 0 || f.longitudeDegrees < 0 || f.longitudeDegrees > 180)
        return 0;
    double longitude = static_cast<double>(f.longitudeDegrees) + f.longitudeMinutes / 60.0;
    double latitude = static_cast<double>(f.latitudeDegrees) + f.latitudeMinutes / 60.0;
    if (latitude == 0 || latitude > 85 || longitude > 180) return 0;
    if (f.eastWest == 'W') longitude = -longitude;
    if (f.northSouth == 'S') latitude = -latitude;

    if (s.nav.fixValid != 0) setClockFromFix(s);

    int result = 0;
    if (s.lastRawLatitude != 0) {
        double lon = stepAhead(s.nav.longitude, longitude, s.lastRawLongitude);
        double lat = stepAhead(s.nav.latitude, latitude, s.lastRawLatitude);
        if (std::fabs(std::trunc(lon)) <= 180 && std::fabs(std::trunc(lat)) <= 90) {
            s.nav.longitude = lon;
            s.nav.latitude = lat;
            s.windHeading = s.nav.headingHold > 0 ? s.nav.heading : s.nav.courseOverGround;
            if (s.outputPort < 0) s.outputPort = port;
            result = 1;
        }
    }
    s.lastRawLongitude = longitude;
    s.lastRawLatitude = latitude;
    return result;
}

float magneticToTrueLocked(const NavShared& s, float course, bool alreadyTrue) {
    if (!alreadyTrue) course += static_cast<float>(s.magneticVariation);
    if (course > 360) course -= 360;
    if (course < 0) course += 360;
    return course;
}

void computeWindLocked(NavShared& s, bool relative) {
    NmeaParseFields& f = s.parse;
    f.windAngle += s.windHeading;
    if (f.windAngle > 360) f.windAngle -= 360;
    s.nav.windDirection = f.windAngle - 180;
    s.nav.windSpeed = f.windSpeed;
    if (relative) {
        constexpr double kRad = 3.14159265358979323846 / 180.0;
        double vs = s.nav.speedOverGround * 0.5144;
        double h = s.windHeading * kRad;
        double a = f.windAngle * kRad;
        double x = f.windSpeed * std::cos(a) - vs * std::cos(h);
        double y = f.windSpeed * std::sin(a) - vs * std::sin(h);
        if (x * x + y * y > 0) s.nav.windSpeed = static_cast<float>(std::sqrt(x * x + y * y));
        if (x != 0 || y != 0)
            s.nav.windDirection = static_cast<float>(std::atan2(y, x) * 57.29577951308232);
    }
    if (s.nav.windDirection < 0) s.nav.windDirection += 360;
}

// Interprets one checked sentence (its text rewritten: blanks for commas, "0"
// in empty fields). Returns 1 when it committed a fix.
int interpret(NavShared& s, int port, int id, const char* text) {
    NmeaParseFields& f = s.parse;
    NavState& nav = s.nav;
    f.eastWest = 'X';
    const std::int32_t source = s.positionSource;
    int result = 0;
    switch (id) {
    case IdGga: {
        if (source != NmeaSourceAuto && source != NmeaSourceGgaVtg) break;
        NmeaParseFields n = f;
        char ns[2] = {n.northSouth, 0}, ew[2] = {'X', 0};
        int quality = nav.fixValid, satellites = s.satelliteCount;
        std::sscanf(text, "%*6s%2d%2d%f%2ld%f%1s%3ld%f%1s%d%d", &n.hours, &n.minutes, &n.seconds,
                    &n.latitudeDegrees, &n.latitudeMinutes, ns, &n.longitudeDegrees,
                    &n.longitudeMinutes, ew, &quality, &satellites);
        if ((ew[0] != 'E' && ew[0] != 'W') || !fieldsFinite(n)) break;
        n.northSouth = ns[0];
        n.eastWest = ew[0];
        f = n;
        nav.fixValid = static_cast<std::uint8_t>(quality);
        s.satelliteCount = static_cast<std::int8_t>(satellites);
        if (s.vtgSeen) result = commitFixLocked(s, port);
        s.ggaSeen = 1;
        break;
    }
    case IdGll: {
        if ((source != NmeaSourceAuto && source != NmeaSourceGllVtg) || s.ggaSeen) break;
        NmeaParseFields n = f;
        char ns[2] = {n.northSouth, 0}, ew[2] = {'X', 0}, status[2] = {0, 0};
        std::sscanf(text, "%*6s%2ld%f%1s%3ld%f%1s%2d%2d%f%1s", &n.latitudeDegrees,
                    &n.latitudeMinutes, ns, &n.longitudeDegrees, &n.longitudeMinutes, ew, &n.hours,
                    &n.minutes, &n.seconds, status);
        if ((ew[0] != 'E' && ew[0] != 'W') || !fieldsFinite(n)) break;
        n.northSouth = ns[0];
        n.eastWest = ew[0];
        f = n;
        if (s.vtgSeen) {
            // The validity comes first, so that the clock follows only a valid fix.
            if (status[0] == 'A' || status[0] == 'V') nav.fixValid = status[0] == 'A' ? 1 : 0;
            result = commitFixLocked(s, port);
            if (!s.ggaSeen) s.satelliteCount = 0;
        }
        s.gllSeen = 1;
        break;
    }
    case IdVtg: {
        if (source == NmeaSourceRmc || !(s.ggaSeen || s.gllSeen)) break;
        float trueCourse = 0, magneticCourse = 0, speed = nav.speedOverGround;
        std::sscanf(text, "%*6s%f%*1s%f%*1s%f", &trueCourse, &magneticCourse, &speed);
        if (!finite(trueCourse) || !finite(magneticCourse) || !finite(speed)) break;
        nav.speedOverGround = speed;
        float course = 0;
        if (trueCourse > 0)
            course = trueCourse;
        else if (magneticCourse > 0)
            course = magneticToTrueLocked(s, magneticCourse, false);
        nav.courseOverGround = foldCourse(course);
        lowerHeadingHold(nav);
        s.vtgSeen = 1;
        break;
    }
    case IdRmc: {
        if ((source != NmeaSourceAuto && source != NmeaSourceRmc) || s.vtgSeen) break;
        NmeaParseFields n = f;
        char status[2] = {0, 0}, ns[2] = {n.northSouth, 0}, ew[2] = {'X', 0};
        float speed = nav.speedOverGround, course = nav.courseOverGround;
        std::sscanf(text, "%*6s%2d%2d%f%1s%2ld%f%1s%3ld%f%1s%f%f%2d%2d%2d", &n.hours, &n.minutes,
                    &n.seconds, status, &n.latitudeDegrees, &n.latitudeMinutes, ns,
                    &n.longitudeDegrees, &n.longitudeMinutes, ew, &speed, &course, &n.day, &n.month,
                    &n.year);
        if ((ew[0] != 'E' && ew[0] != 'W') || !fieldsFinite(n) || !finite(speed) || !finite(course))
            break;
        n.northSouth = ns[0];
        n.eastWest = ew[0];
        f = n;
        nav.speedOverGround = speed;
        nav.courseOverGround = foldCourse(course);
        lowerHeadingHold(nav);
        if (status[0] == 'A' || status[0] == 'V') nav.fixValid = status[0] == 'A' ? 1 : 0;
        result = commitFixLocked(s, port);
        if (!s.ggaSeen) s.satelliteCount = 0;
        break;
    }
    case IdDpt: {
        float depth = nav.depth, offset = 0;
        std::sscanf(text, "%*6s%f%f", &depth, &offset);
        if (!finite(depth) || !finite(offset) || !depthInLimits(depth)) break;
        depth += offset;
        if (depth > kMaxDepthMetres) break;
        nav.depth = depth < 0 ? 0 : depth;
        break;
    }
    case IdDbs:
    case IdDbt: {
        float feet = 0, metres = 0, fathoms = 0;
        std::sscanf(text, "%*6s%f%*1s%f%*1s%f", &feet, &metres, &fathoms);
        if (!finite(feet) || !finite(metres) || !finite(fathoms)) break;
        float depth = nav.depth;
        if (metres != 0)
            depth = metres;
        else if (feet != 0)
            depth = feet * 0.3048f;
        else if (fathoms != 0)
            depth = fathoms * 1.8288f;
        if (depthInLimits(depth)) nav.depth = depth;
        break;
    }
    case IdZda: {
        NmeaParseFields n = f;
        std::sscanf(text, "%*6s%2d%2d%f%d%d%d", &n.hours, &n.minutes, &n.seconds, &n.day, &n.month,
                    &n.year);
        if (!finite(n.seconds)) break;
        f = n;
        break;
    }
    case IdMwv: {
        float angle = f.windAngle, speed = f.windSpeed;
        char reference[2] = {0, 0}, unit[2] = {0, 0};
        std::sscanf(text, "%*6s%f%1s%f%1s", &angle, reference, &speed, unit);
        if (!finite(angle) || !finite(speed) || !windSpeedInLimits(speed, unit[0])) break;
        if (unit[0] == 'N')
            speed *= 0.5144f;
        else if (unit[0] == 'K')
            speed *= 0.2778f;
        f.windAngle = angle;
        f.windSpeed = speed;
        computeWindLocked(s, reference[0] == 'R');
        break;
    }
    case IdVwr: {
        float angle = 0, speed = f.windSpeed;
        char side[2] = {0, 0};
        int got = std::sscanf(text, "%*6s%f%1s%*f%*1s%f", &angle, side, &speed);
        if (got < 1 || !finite(angle) || !finite(speed) || !windSpeedInLimits(speed, 'M')) break;
        f.windAngle = side[0] == 'R' ? angle : 360 - angle;
        f.windSpeed = speed;
        computeWindLocked(s, true);
        break;
    }
    default:
        break;
    }
    return result;
}

// The end of a sentence: its checksum is checked and, when it is sound, the
// sentence is interpreted. Returns 1 when a fix was committed.
int endOfSentence(NmeaPortState& p, int port) {
    p.inSentence = 0;
    if (p.checksumMark > 0) {
        // Exactly two hexadecimal digits follow the "*".
        int mark = p.checksumMark;
        int hi = mark + 3 == p.position ? hexValue(p.sentence[mark + 1]) : -1;
        int lo = mark + 3 == p.position ? hexValue(p.sentence[mark + 2]) : -1;
        if (p.sentence[mark] != '*' || hi < 0 || lo < 0 || hi * 16 + lo != p.checksum)
            p.sentenceId = 0;
    }
    if (p.sentenceId == 0 || p.sentenceId >= IdFormL) return 0;
    if (!isAccepted(p.sentenceId)) return 0;
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    return interpret(NavSharedLocked(), port, p.sentenceId, p.sentence);
}

} // namespace

NmeaPortState* NmeaPort(int port) {
    return port >= 0 && port < kNmeaPortCount ? &gPorts[port] : nullptr;
}

int ParseNmeaBuffer(int port) {
    NmeaPortState* state = NmeaPort(port);
    if (!state) return 0;
    NmeaPortState& p = *state;
    CNumbers cNumbers;
    int result = 0;
    std::uint32_t count = p.readCount > kNmeaReadBufferSize ? kNmeaReadBufferSize : p.readCount;
    for (std::uint32_t i = 0; i < count; ++i) {
        char c = p.readBuffer[i];
        if (c == '*') p.checksumMark = p.position;
        if (c == '$') {
            p.inSentence = 1;
            p.position = 0;
            p.sentenceId = 0;
            p.checksum = 0;
            p.checksumMark = 0;
            p.fixedForm = 0;
        } else if (p.checksumMark == 0) {
            p.checksum ^= static_cast<std::uint8_t>(c);
        }
        if (!p.inSentence) continue;

        if (p.position == 4) {
            p.fixedForm = 0;
            if (p.sentence[0] == '$' && isLetter(p.sentence[1]) && isDigit(p.sentence[2]) &&
                isDigit(p.sentence[3])) {
                switch (p.sentence[1]) {
                case 'T':
                    p.fixedForm = 'T';
                    p.sentenceId = IdFormT;
                    break;
                case 'O':
                    p.fixedForm = 'O';
                    p.sentenceId = IdFormO;
                    break;
                case 'L':
                    p.fixedForm = 'L';
                    p.sentenceId = IdFormL;
                    break;
                default:
                    break;
                }
                if (p.fixedForm) p.sentence[1] = ' ';
            }
        }
        if (p.fixedForm && needsBlank(p.fixedForm, p.position) && !store(p, ' ')) continue;
        if (!p.fixedForm && p.position == 6) {
            p.sentence[1] = '?';
            p.sentence[2] = '?';
            p.sentenceId = 0;
            for (int t = 0; t < kSentenceTypes; ++t)
                if (std::memcmp(kSentenceTable + t * 6, p.sentence, 6) == 0) p.sentenceId = t + 1;
            if (!isAccepted(p.sentenceId)) {
                p.inSentence = 0;
                continue;
            }
        }
        if (c == ',') {
            if (p.previous == ',' && !store(p, '0')) continue;
            p.previous = ',';
            c = ' ';
        } else {
            p.previous = c;
        }
        if (c == '\r') {
            result |= endOfSentence(p, port);
            continue;
        }
        store(p, c);
    }
    p.readCount = 0;
    if (result == 1) StartPortWriter(0);
    return result;
}

int CommitFix(int port) {
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    return commitFixLocked(NavSharedLocked(), port);
}

void ComputeWind(bool relative) {
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    computeWindLocked(NavSharedLocked(), relative);
}

float MagneticToTrue(float course, bool alreadyTrue) {
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    return magneticToTrueLocked(NavSharedLocked(), course, alreadyTrue);
}

void ResetFixHistory(int port) {
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    NavShared& s = NavSharedLocked();
    if (port >= 0 && port == s.outputPort) {
        s.lastRawLongitude = 0;
        s.lastRawLatitude = 0;
    }
}

void SetNavClock(os::Clock* clock) {
    gClock.store(clock);
}

os::Clock& NavClock() {
    return navClock();
}
