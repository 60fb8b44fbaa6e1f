// The NMEA output: RMC, RMB and APB built from a table of states, their
// fields as an independent parser (python3-nmea2) reads them, the cadence of
// the calls, the locale, and the sentences as a pseudo-terminal receives them.
//
// The sentence tables are written to the build tree; the CTest test
// "vardekka_route_python3_nmea2" parses them with pynmea2 (checksums checked)
// and compares the fields with the values given here.
#include "chart/ChartWindowState.h"
#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "nmea/NmeaOutput.h"
#include "os/Clock.h"
#include "os/tests/PseudoTerminal.h"
#include "route/RouteFollowing.h"
#include "serial/SerialPorts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

os::SystemTime utcTime(int year, int month, int day, int hour = 12, int minute = 0) {
    os::SystemTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    return t;
}

// A vessel at 60 23.852 N, 5 19.231 E with a valid fix, as a GGA and a VTG
// would leave the shared record.
NavShared bergenFix() {
    NavShared s;
    s.nav.fixValid = 1;
    s.nav.latitude = 60 + 23.852 / 60;
    s.nav.longitude = 5 + 19.231 / 60;
    s.nav.speedOverGround = 11.8f;
    s.nav.courseOverGround = 315.2f;
    s.windHeading = 315.2f;
    s.parse.hours = 10;
    s.parse.minutes = 15;
    s.parse.seconds = 30.7f;
    s.parse.latitudeDegrees = 60;
    s.parse.latitudeMinutes = 23.852f;
    s.parse.northSouth = 'N';
    s.parse.longitudeDegrees = 5;
    s.parse.longitudeMinutes = 19.231f;
    s.parse.eastWest = 'E';
    s.magneticVariation = 1;
    return s;
}

GeoPoint degrees(double lon, double lat) {
    return GeoPoint{deg2nrm(lon), deg2nrm(lat)};
}

// A route being followed towards point `destination` of four points, the
// destination at (lon, lat), each leg's course 10 degrees more than the last
// (10, 20, 30).
void following(TChartWindowState& s, int destination,
               GeoPoint at = degrees(5 + 19.231 / 60, 60 + 23.852 / 60)) {
    for (int i = 0; i < 4; ++i) {
        s.routePoints[i].lon = deg2nrm(5.0);
        s.routePoints[i].lat = deg2nrm(60.0 + i / 60.0);
        s.routePoints[i].legCourse = i < 3 ? 10.0f * (i + 1) : 0.0f;
        s.routePoints[i].legLength = i < 3 ? 1.0f : 0.0f;
    }
    s.routePoints[destination].lon = at.lon;
    s.routePoints[destination].lat = at.lat;
    s.routePointCount = 4;
    s.destinationIndex = destination;
    s.followingState = 1;
    s.activeRouteId = 17;
    s.routeState = 1;
    s.routeRange = 1.234;
    s.routeBearing = 12.34;
    s.crossTrackError = 0.123;
}

struct SentenceCase {
    const char* name;
    const char* kind; // RMC, RMB or APB
    std::function<void(NavShared&, TChartWindowState&, os::SystemTime&)> change;
    // Fields as the reference parser must read them, "key=value" separated by
    // blanks (keys: nmea_output_check.py).
    const char* fields;
    // The whole sentence without its checksum, where it is pinned.
    const char* exact = nullptr;
};

const std::vector<SentenceCase>& sentenceCases() {
    using N = NavShared;
    using S = TChartWindowState;
    using T = os::SystemTime;
    static const std::vector<SentenceCase> cases = {
        // --- RMC ---
        {"rmc-valid", "RMC", [](N&, S&, T&) {},
         "time=101530 status=A lat=60.397533 lon=5.320517 speed=11.8 course=315.2 date=120626 "
         "var=1 vardir=E",
         "GPRMC,101530,A,6023.852,N,00519.231,E,11.8,315.2,120626,1,E"},
        {"rmc-no-fix", "RMC", [](N& n, S&, T&) { n.nav.fixValid = 0; }, "status=V"},
        {"rmc-south-west", "RMC",
         [](N& n, S&, T&) {
             n.parse.latitudeDegrees = 33;
             n.parse.latitudeMinutes = 51.1234f;
             n.parse.northSouth = 'S';
             n.parse.longitudeDegrees = 151;
             n.parse.longitudeMinutes = 12.5678f;
             n.parse.eastWest = 'W';
         },
         "lat=-33.852050 lon=-151.209467"},
        // A sentence after the position sentence left "X" as its E/W letter:
        // the committed longitude's sign gives the letter.
        {"rmc-x-letter-east", "RMC", [](N& n, S&, T&) { n.parse.eastWest = 'X'; }, "lon=5.320517"},
        {"rmc-x-letter-west", "RMC",
         [](N& n, S&, T&) {
             n.parse.eastWest = 'X';
             n.parse.longitudeDegrees = 3;
             n.parse.longitudeMinutes = 30.0f;
             n.nav.longitude = -3.5;
         },
         "lon=-3.5"},
        // 59.9996' rounds to the next degree with 00.000.
        {"rmc-minutes-carry", "RMC",
         [](N& n, S&, T&) {
             n.parse.latitudeDegrees = 59;
             n.parse.latitudeMinutes = 59.9996f;
             n.parse.longitudeDegrees = 179;
             n.parse.longitudeMinutes = 59.9996f;
             n.parse.eastWest = 'W';
         },
         "lat=60 lon=-180", "GPRMC,101530,A,6000.000,N,18000.000,W,11.8,315.2,120626,1,E"},
        // Below 3 knots the course is the one taken at the last committed fix.
        {"rmc-slow", "RMC",
         [](N& n, S&, T&) {
             n.nav.speedOverGround = 2.5f;
             n.nav.courseOverGround = 123.4f;
             n.windHeading = 200.0f;
         },
         "speed=2.5 course=200"},
        {"rmc-three-knots", "RMC",
         [](N& n, S&, T&) {
             n.nav.speedOverGround = 3.0f;
             n.nav.courseOverGround = 123.4f;
             n.windHeading = 200.0f;
         },
         "speed=3 course=123.4"},
        {"rmc-course-360", "RMC", [](N& n, S&, T&) { n.nav.courseOverGround = 359.96f; },
         "course=0", "GPRMC,101530,A,6023.852,N,00519.231,E,11.8,0.0,120626,1,E"},
        {"rmc-2001", "RMC", [](N&, S&, T& t) { t = utcTime(2001, 3, 5); }, "date=050301"},
        {"rmc-2100", "RMC", [](N&, S&, T& t) { t = utcTime(2100, 1, 2); }, "date=020100"},
        // 22:30 UTC is 00:30 of the next day in Norway: the UTC date is sent.
        {"rmc-utc-date", "RMC", [](N&, S&, T& t) { t = utcTime(2026, 6, 11, 22, 30); },
         "date=110626"},
        {"rmc-west-variation", "RMC", [](N& n, S&, T&) { n.magneticVariation = -3; },
         "var=3 vardir=W"},
        {"rmc-no-variation", "RMC", [](N& n, S&, T&) { n.magneticVariation = 0; },
         "var=0 vardir=E"},

        // --- RMB ---
        {"rmb-destination", "RMB", [](N&, S& s, T&) { following(s, 2); },
         "status=A xte=0.12 steer=R origin=2 dest=3 dlat=60.397533 dlon=5.320517 range=1.23 "
         "bearing=12.3 speed=11.8 arrival=V",
         "GPRMB,A,0.12,R,2,3,6023.852,N,00519.231,E,1.23,12.3,11.8,V"},
        {"rmb-destination-0", "RMB", [](N&, S& s, T&) { following(s, 0); },
         "xte=0 steer=R origin=0 dest=1"},
        {"rmb-left", "RMB",
         [](N&, S& s, T&) {
             following(s, 1);
             s.crossTrackError = -0.456;
         },
         "xte=0.46 steer=L origin=1 dest=2"},
        {"rmb-south-west", "RMB",
         [](N&, S& s, T&) {
             following(s, 1, degrees(-(151 + 12.5678 / 60), -(33 + 51.1234 / 60)));
         },
         "dlat=-33.852050 dlon=-151.209467"},
        {"rmb-minutes-carry", "RMB",
         [](N&, S& s, T&) { following(s, 1, degrees(4 + 59.9998 / 60, 59 + 59.9996 / 60)); },
         "dlat=60 dlon=5"},
        {"rmb-no-fix", "RMB",
         [](N& n, S& s, T&) {
             n.nav.fixValid = 0;
             following(s, 1);
         },
         "status=V"},
        {"rmb-arrived", "RMB",
         [](N&, S& s, T&) {
             following(s, 1);
             s.arrivalEntered = 1;
         },
         "arrival=A"},
        {"rmb-passed", "RMB",
         [](N&, S& s, T&) {
             following(s, 1);
             s.perpendicularPassed = 1;
         },
         "arrival=A"},
        {"rmb-bearing-360", "RMB",
         [](N&, S& s, T&) {
             following(s, 1);
             s.routeBearing = 359.97;
         },
         "bearing=0"},

        // --- APB ---
        {"apb-magnetic", "APB", [](N&, S& s, T&) { following(s, 2); },
         "status=A xte=0.12 steer=R arrival=V perp=V legbearing=19 legtype=M dest=3 "
         "bearing=11.3 type=M",
         "GPAPB,A,A,0.12,R,N,V,V,019.0,M,3,011.3,M,,"},
        {"apb-true", "APB",
         [](N&, S& s, T&) {
             following(s, 2);
             s.trueBearings = 1;
         },
         "legbearing=20 legtype=T dest=3 bearing=12.3 type=T"},
        // Magnetic = true - east variation, folded into 0 to 360.
        {"apb-magnetic-fold", "APB",
         [](N& n, S& s, T&) {
             following(s, 1);
             s.routeBearing = 0.5;
             n.magneticVariation = 1;
         },
         "legbearing=9 bearing=359.5 type=M"},
        {"apb-west-variation", "APB",
         [](N& n, S& s, T&) {
             following(s, 1);
             s.routeBearing = 358.5;
             n.magneticVariation = -2;
         },
         "legbearing=12 bearing=0.5"},
        {"apb-destination-0", "APB",
         [](N&, S& s, T&) {
             following(s, 0);
             s.trueBearings = 1;
         },
         "xte=0 steer=R legbearing=12.3 dest=1 bearing=12.3"},
        {"apb-arrived", "APB",
         [](N&, S& s, T&) {
             following(s, 1);
             s.arrivalEntered = 1;
         },
         "arrival=A perp=V"},
        {"apb-passed-left", "APB",
         [](N& n, S& s, T&) {
             n.nav.fixValid = 0;
             following(s, 1);
             s.perpendicularPassed = 1;
             s.crossTrackError = -1.5;
         },
         "status=V arrival=V perp=A xte=1.5 steer=L"},
    };
    return cases;
}

std::string buildCase(const SentenceCase& c) {
    NavShared nav = bergenFix();
    auto route = std::make_unique<TChartWindowState>();
    os::SystemTime utc = utcTime(2026, 6, 12, 10, 15);
    c.change(nav, *route, utc);
    const std::string kind = c.kind;
    if (kind == "RMC") return BuildRmcSentence(nav, utc);
    if (kind == "RMB") return BuildRmbSentence(nav, *route);
    return BuildApbSentence(nav, *route);
}

// Whether text is "$" + body + "*hh\r\n" with the right checksum.
::testing::AssertionResult wellFormed(const std::string& text) {
    if (text.size() < 7 || text[0] != '$' || text.compare(text.size() - 2, 2, "\r\n") != 0 ||
        text[text.size() - 5] != '*')
        return ::testing::AssertionFailure() << "not a sentence: " << text;
    unsigned x = 0;
    for (std::size_t i = 1; i < text.size() - 5; ++i)
        x ^= static_cast<unsigned char>(text[i]);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", x);
    if (text.compare(text.size() - 4, 2, hex) != 0)
        return ::testing::AssertionFailure() << "checksum " << hex << ": " << text;
    return ::testing::AssertionSuccess();
}

// Writes text to path through a temporary file renamed into place.
void writeFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new." + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary);
        out << text;
    }
    ASSERT_EQ(std::rename(temporary.c_str(), path.c_str()), 0) << path;
}

class NmeaOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetChartWindowState();
        ResetNmeaOutput();
        UpdateNavShared([](NavShared& s) { s = NavShared(); });
        SetNavClock(&clock);
        clock.setNow(utcTime(2026, 6, 12, 10, 15));
    }
    void TearDown() override {
        SetNavClock(nullptr);
        UpdateNavShared([](NavShared& s) { s = NavShared(); });
        ResetChartWindowState();
        ResetNmeaOutput();
    }
    os::FakeClock clock;
};

using NmeaOutputSentences = NmeaOutputTest;

TEST_F(NmeaOutputSentences, TableOfStates) {
    std::string table;
    for (const SentenceCase& c : sentenceCases()) {
        SCOPED_TRACE(c.name);
        const std::string sentence = buildCase(c);
        ASSERT_TRUE(wellFormed(sentence));
        EXPECT_EQ(sentence.compare(1, 5, std::string("GP") + c.kind), 0) << sentence;
        if (c.exact) {
            EXPECT_EQ(sentence.substr(1, sentence.size() - 6), c.exact);
        }
        table += std::string(c.name) + "\t" + sentence.substr(0, sentence.size() - 2) + "\t" +
                 c.fields + "\n";
    }
    writeFile(NMEA_OUTPUT_SENTENCES, table);
}

TEST_F(NmeaOutputSentences, SameBytesUnderADecimalCommaLocale) {
    std::vector<std::string> inC;
    for (const SentenceCase& c : sentenceCases())
        inC.push_back(buildCase(c));
    ASSERT_NE(std::setlocale(LC_ALL, "nb_NO.UTF-8"), nullptr) << "needs the locales-all package";
    char comma[8];
    std::snprintf(comma, sizeof comma, "%.1f", 1.5);
    EXPECT_STREQ(comma, "1,5"); // the locale is in force
    std::size_t i = 0;
    for (const SentenceCase& c : sentenceCases())
        EXPECT_EQ(buildCase(c), inC[i++]) << c.name;
    std::setlocale(LC_ALL, "C");
}

// The date is the navigation clock's UTC date: just after midnight in Norway
// it is still the day before.
TEST_F(NmeaOutputTest, TheDateIsTheUtcDateOfTheNavigationClock) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    ::setenv("TZ", "Europe/Oslo", 1);
    ::tzset();
    UpdateNavShared([](NavShared& s) { s = bergenFix(); });
    clock.setNow(utcTime(2026, 6, 11, 22, 30));
    SendNmeaOutput();
    EXPECT_NE(NmeaOutputText().find(",110626,1,E*"), std::string::npos) << NmeaOutputText();
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

// Field n of a sentence (0: its address, "GPRMC").
std::string field(const std::string& sentence, int n) {
    std::size_t at = 1;
    for (int i = 0; i < n && at != std::string::npos; ++i) {
        at = sentence.find(',', at);
        if (at != std::string::npos) ++at;
    }
    if (at == std::string::npos) return {};
    return sentence.substr(at, sentence.find_first_of(",*", at) - at);
}

// Which sentences one call's text holds, in order: "RMC", "RMC RMB APB", ...
std::string kinds(const std::string& text) {
    std::string out;
    for (std::size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + 1)) {
        if (!out.empty()) out += ' ';
        out += text.substr(at + 3, 3);
    }
    return out;
}

TEST_F(NmeaOutputTest, CallSequence) {
    const struct {
        const char* name;
        bool route;
        std::uint8_t fixValid;
        std::vector<const char*> calls;
    } cases[] = {
        {"no route", false, 1, {"RMC", "RMC", "RMC", "RMC", "RMC", "RMC"}},
        {"following", true, 1, {"RMC", "RMC RMB APB", "RMC", "RMC RMB APB", "RMC", "RMC RMB APB"}},
        {"no valid fix",
         true,
         0,
         {"RMC", "RMC RMB APB", "RMC", "RMC RMB APB", "RMC", "RMC RMB APB"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetChartWindowState();
        ResetNmeaOutput();
        const std::uint8_t valid = c.fixValid;
        UpdateNavShared([valid](NavShared& s) {
            s = bergenFix();
            s.nav.fixValid = valid;
        });
        if (c.route) following(ChartWindowState(), 2);
        for (std::size_t call = 0; call < c.calls.size(); ++call) {
            SendNmeaOutput();
            const std::string& text = NmeaOutputText();
            EXPECT_EQ(kinds(text), c.calls[call]) << "call " << call + 1;
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t end = text.find("\r\n", at) + 2;
                const std::string sentence = text.substr(at, end - at);
                EXPECT_TRUE(wellFormed(sentence));
                // The status: RMC's second field, the first of RMB and APB.
                EXPECT_EQ(field(sentence, sentence.compare(3, 3, "RMC") == 0 ? 2 : 1),
                          c.fixValid ? "A" : "V")
                    << sentence;
                at = end;
            }
        }
    }
    // An active route that is not followed (being edited, say) sends no RMB or APB.
    ResetChartWindowState();
    ResetNmeaOutput();
    following(ChartWindowState(), 2);
    ChartWindowState().followingState = 0;
    ChartWindowState().routeState = 3;
    for (int call = 0; call < 4; ++call) {
        SendNmeaOutput();
        EXPECT_EQ(kinds(NmeaOutputText()), "RMC");
    }
    // Their counters stood still: following from now on, they go out at the
    // second call.
    ChartWindowState().followingState = 1;
    SendNmeaOutput();
    EXPECT_EQ(kinds(NmeaOutputText()), "RMC");
    SendNmeaOutput();
    EXPECT_EQ(kinds(NmeaOutputText()), "RMC RMB APB");
}

TEST_F(NmeaOutputTest, StopEndsTheAutopilotSentences) {
    UpdateNavShared([](NavShared& s) { s = bergenFix(); });
    TChartWindowState& s = ChartWindowState();
    following(s, 2);
    s.arrivalEntered = 1;
    SendNmeaOutput();
    EXPECT_EQ(kinds(NmeaOutputText()), "RMC");
    StopRouteFollowing();
    EXPECT_EQ(s.followingState, 0);
    EXPECT_EQ(s.destinationIndex, 0);
    EXPECT_EQ(s.arrivalEntered, 0);
    EXPECT_EQ(s.routePointCount, 4);
    EXPECT_EQ(s.activeRouteId, 17);
    EXPECT_EQ(s.routeState, 1);
    for (int call = 0; call < 3; ++call) {
        SendNmeaOutput();
        EXPECT_EQ(kinds(NmeaOutputText()), "RMC");
    }
}

// Port 0 on a pseudo-terminal: two RMC fixes through the port's reader
// (ParseNmeaBuffer) make it the output port and start the writer; the
// instrument's side then receives what SendNmeaOutput built, whole.
using NmeaOutputPty = NmeaOutputTest;

TEST_F(NmeaOutputPty, TheOutputPortReceivesWholeSentences) {
    for (int port = 0; port < kNmeaPortCount; ++port)
        *NmeaPort(port) = NmeaPortState();
    ostest::PseudoTerminal pty;
    ASSERT_FALSE(pty.name.empty());
    ASSERT_TRUE(OpenComPort(0, (pty.name + ":4800,n,8,1").c_str()));
    pty.send("$GPRMC,101530,A,6023.852,N,00519.231,E,11.8,315.2,120626,1.0,E*48\r\n"
             "$GPRMC,101531,A,6023.855,N,00519.226,E,11.8,315.2,120626,1.0,E*48\r\n");
    bool started = false;
    for (auto end = std::chrono::steady_clock::now() + 10s;
         !started && std::chrono::steady_clock::now() < end;) {
        const NavShared s = NavSnapshot();
        started = s.outputPort == 0 && s.newFix == 1;
        if (!started) std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(started);

    following(ChartWindowState(), 2);
    std::string received;
    for (int call = 0; call < 2; ++call) {
        SendNmeaOutput();
        const std::string sent = NmeaOutputText();
        const std::string got = pty.receive(sent.size(), 5000ms);
        EXPECT_EQ(got, sent) << "call " << call + 1;
        received += got;
    }
    EXPECT_EQ(kinds(received), "RMC RMC RMB APB");
    EXPECT_NE(received.find("$GPRMC,101531,A,6023.855,N,00519.226,E,11.8,315.2,120626,1,E*"),
              std::string::npos)
        << received;
    EXPECT_EQ(CloseComPort(0), 0);
    writeFile(NMEA_OUTPUT_RECEIVED, received);
}

} // namespace
