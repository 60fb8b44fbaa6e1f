#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <fstream>
#include <locale>
#include <map>
#include <sstream>
#include <vector>

#include "NmeaTestSupport.h"
#include "os/Clock.h"

namespace {

class NmeaInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetNmeaInput();
        clock.setNow(os::SystemTime{2026, 12, 10, 1, 2, 3, 456});
        SetNavClock(&clock);
    }
    void TearDown() override {
        SetNavClock(nullptr);
        resetNmeaInput();
    }
    static void set(const std::function<void(NavShared&)>& change) { UpdateNavShared(change); }

    os::FakeClock clock;
};

// ---- values against the independent library's reading -------------------

struct ReferenceRow {
    std::string sentence;
    std::map<std::string, double> expected;
};

std::vector<ReferenceRow> loadReference() {
    std::ifstream in(NMEA_REFERENCE_DIR "/nmea_reference.tsv");
    std::vector<ReferenceRow> rows;
    std::string text;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') continue;
        std::size_t tab = text.find('\t');
        ReferenceRow row;
        row.sentence = text.substr(0, tab);
        std::istringstream pairs(text.substr(tab + 1));
        pairs.imbue(std::locale::classic());
        std::string pair;
        while (pairs >> pair) {
            std::size_t eq = pair.find('=');
            std::istringstream value(pair.substr(eq + 1));
            value.imbue(std::locale::classic());
            double v = 0;
            value >> v;
            row.expected[pair.substr(0, eq)] = v;
        }
        rows.push_back(row);
    }
    return rows;
}

// Feeds every reference sentence to a fresh parser and compares the shared
// record with the reference values.
void checkReferenceTable(const std::vector<ReferenceRow>& rows) {
    ASSERT_GE(rows.size(), 20u);
    for (const ReferenceRow& row : rows) {
        SCOPED_TRACE(row.sentence);
        resetNmeaInput();
        std::string type = row.sentence.substr(3, 3);
        UpdateNavShared([&](NavShared& s) {
            s.vtgSeen = type == "GGA" || type == "GLL";
            s.ggaSeen = type == "VTG";
            s.nav.depth = 99;
        });
        std::string text = row.sentence + "\r\n";
        bool position = type == "GGA" || type == "GLL" || type == "RMC";
        EXPECT_EQ(feed(0, text), 0); // a first fix only primes
        if (position) {
            EXPECT_EQ(feed(0, text), 1);
        }
        NavShared s = NavSnapshot();
        const std::map<std::string, double>& e = row.expected;
        auto near = [&](const char* key, double actual, double tolerance) {
            auto it = e.find(key);
            if (it != e.end()) {
                EXPECT_NEAR(actual, it->second, tolerance) << key;
            }
        };
        near("lat", s.nav.latitude, 1e-6);
        near("lon", s.nav.longitude, 1e-6);
        near("hour", s.parse.hours, 0);
        near("minute", s.parse.minutes, 0);
        near("second", s.parse.seconds, 1e-3);
        near("day", s.parse.day, 0);
        near("month", s.parse.month, 0);
        near("year", s.parse.year, 0);
        near("fix_valid", s.nav.fixValid, 0);
        near("sats", s.satelliteCount, 0);
        near("sog", s.nav.speedOverGround, 1e-4);
        near("cog", s.nav.courseOverGround, 1e-4);
        near("depth", s.nav.depth, 1e-4);
        near("wind_dir", s.nav.windDirection, 1e-3);
        near("wind_speed", s.nav.windSpeed, 1e-4);
    }
}

TEST_F(NmeaInputTest, ReadsWhatTheReferenceLibraryReads) {
    checkReferenceTable(loadReference());
}

TEST_F(NmeaInputTest, ReadsNumbersTheSameUnderADecimalCommaLocale) {
    std::vector<ReferenceRow> rows = loadReference();
    std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5"); // the locale really uses a decimal comma
    checkReferenceTable(rows);
    std::setlocale(LC_ALL, previous.c_str());
}

// ---- sentence assembly ----------------------------------------------------

TEST_F(NmeaInputTest, AssemblesChecksAndDropsSentences) {
    const std::string good = withChecksum("SDDPT,5.0,0.0");
    std::string lower = withChecksum("SDDPT,5.1,0.0,100");
    ASSERT_NE(lower.find_first_of("ABCDEF", lower.size() - 2), std::string::npos);
    for (std::size_t i = lower.size() - 2; i < lower.size(); ++i)
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
    std::string longest = "SDDPT,5.0,0.0";
    while (withChecksum(longest).size() < 80)
        longest += ",1";
    while (withChecksum(longest).size() > 80)
        longest.pop_back();
    ASSERT_EQ(withChecksum(longest).size(), 80u);
    std::string tooLong = longest + "1";
    // Empty fields get a "0" each, and those count against the 80 characters.
    std::string emptyFields = longest.substr(0, longest.size() - 6) + ",,,,";
    ASSERT_LE(withChecksum(emptyFields).size(), 80u);

    struct Case {
        const char* name;
        std::string input;
        std::size_t chunk;
        float depth; // 99: the sentence changed nothing
    } cases[] = {
        {"checked", good + "\r\n", 80, 5},
        {"without checksum", "$SDDPT,5.0,0.0\r\n", 80, 5},
        {"lower-case checksum", lower + "\r\n", 80, 5.1f},
        {"wrong checksum", "$SDDPT,5.0,0.0*00\r\n", 80, 99},
        {"one checksum digit", good.substr(0, good.size() - 1) + "\r\n", 80, 99},
        {"three checksum characters", good + "0\r\n", 80, 99},
        {"checksum not hexadecimal", "$SDDPT,5.0,0.0*G7\r\n", 80, 99},
        {"other talker", line("IIDPT,5.0,0.0"), 80, 5},
        {"depth without offset", line("SDDPT,6.5"), 80, 6.5f},
        {"unknown type", line("SDXYZ,5.0,0.0"), 80, 99},
        {"recognised but dropped type", line("SDMTW,5.0,C"), 80, 99},
        {"NUL among the type letters", std::string("$SDDP\0,5.0,0.0\r\n", 16), 80, 99},
        {"byte by byte", good + "\r\n", 1, 5},
        {"noise and line feeds around", "x\n\r*\n" + good + "\r\n\n", 7, 5},
        {"a new $ restarts", "$SDDPT,7.0,0.0" + good + "\r\n", 80, 5},
        {"no carriage return yet", good, 80, 99},
        {"80 characters", withChecksum(longest) + "\r\n", 80, 5},
        {"81 characters", withChecksum(tooLong) + "\r\n", 80, 99},
        {"80 with inserted zeros", withChecksum(emptyFields) + "\r\n", 80, 99},
        {"hundreds of empty fields", "$SDDPT" + std::string(300, ',') + "\r\n" + good + "\r\n", 80,
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetNmeaInput();
        set([](NavShared& s) { s.nav.depth = 99; });
        feed(0, c.input, c.chunk);
        EXPECT_FLOAT_EQ(NavSnapshot().nav.depth, c.depth);
    }
}

TEST_F(NmeaInputTest, FixedWidthFormsAreReformattedButNotInterpreted) {
    struct Case {
        const char* input;
        const char* stored;
    } cases[] = {
        {"$T12abcdefghijkl", "$ 12 a bcde f ghij k l"},
        {"$O12abcdefghij", "$ 12abc defg hij"},
        {"$L12abcdef", "$ 12abc def"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        resetNmeaInput();
        NavShared before = NavSnapshot();
        feed(2, c.input);
        EXPECT_STREQ(NmeaPort(2)->sentence, c.stored);
        feed(2, "\r\n");
        NavShared after = NavSnapshot();
        EXPECT_EQ(std::memcmp(&before.nav, &after.nav, sizeof before.nav), 0);
        EXPECT_EQ(after.parse.hours, 0);
    }
}

TEST_F(NmeaInputTest, EmptyPositionFieldsChangeNothing) {
    set([](NavShared& s) {
        s.vtgSeen = 1;
        s.parse.hours = 7;
    });
    EXPECT_EQ(
        feed(0, line("GPGGA,,,,,,,,,,,,,,") + line("GPRMC,,V,,,,,,,,,") + line("GPGLL,,,,,,,")), 0);
    NavShared s = NavSnapshot();
    EXPECT_EQ(s.parse.hours, 7);
    EXPECT_EQ(s.ggaSeen, 0);
    EXPECT_EQ(s.gllSeen, 0);
    EXPECT_EQ(s.lastRawLatitude, 0);
    EXPECT_EQ(s.satelliteCount, -1);
}

// ---- position sources and seen flags ---------------------------------------

TEST_F(NmeaInputTest, PositionSourceDecidesWhichSentencesAreTaken) {
    const std::string gga = line("GPGGA,070000,6024.000,N,00518.000,E,1,08,0.9,5.0,M,41.0,M,,");
    const std::string gll = line("GPGLL,6024.000,N,00518.000,E,070000,A");
    const std::string rmc = line("GPRMC,070000,A,6024.000,N,00518.000,E,7.5,10.0,101226,,");
    const std::string vtg = line("GPVTG,10.0,T,9.0,M,7.5,N,13.9,K");
    struct Case {
        int source;
        bool ggaSeen, gllSeen, vtgSeen;
        const std::string& sentence;
        bool taken;
    } cases[] = {
        {0, false, false, false, gga, true},  {0, false, false, false, gll, true},
        {0, true, false, false, gll, false},  {0, false, false, false, vtg, false},
        {0, true, false, false, vtg, true},   {0, false, true, false, vtg, true},
        {0, false, false, false, rmc, true},  {0, false, false, true, rmc, false},
        {1, false, false, false, gga, true},  {1, false, false, false, gll, false},
        {1, true, false, false, vtg, true},   {1, false, false, false, rmc, false},
        {2, false, false, false, gga, false}, {2, false, false, false, gll, true},
        {2, false, true, false, vtg, true},   {2, false, false, false, rmc, false},
        {3, false, false, false, gga, false}, {3, false, false, false, gll, false},
        {3, true, false, false, vtg, false},  {3, false, false, false, rmc, true},
        {3, false, false, true, rmc, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("source " + std::to_string(c.source) + " " + c.sentence.substr(3, 3) +
                     " seen " + std::to_string(c.ggaSeen) + std::to_string(c.gllSeen) +
                     std::to_string(c.vtgSeen));
        resetNmeaInput();
        set([&](NavShared& s) {
            s.positionSource = c.source;
            s.ggaSeen = c.ggaSeen;
            s.gllSeen = c.gllSeen;
            s.vtgSeen = c.vtgSeen;
        });
        feed(0, c.sentence);
        NavShared s = NavSnapshot();
        bool taken = c.sentence == vtg ? s.nav.speedOverGround == 7.5f : s.parse.hours == 7;
        EXPECT_EQ(taken, c.taken);
    }
}

TEST_F(NmeaInputTest, GgaCommitsOnlyAfterVtgAndTheFirstFixPrimes) {
    const std::string ggaA = line("GPGGA,100000,6024.000,N,00518.000,E,1,08,0.9,5.0,M,41.0,M,,");
    const std::string ggaB = line("GPGGA,100001,6024.006,N,00518.000,E,1,08,0.9,5.0,M,41.0,M,,");
    EXPECT_EQ(feed(0, ggaA), 0);
    EXPECT_EQ(NavSnapshot().lastRawLatitude, 0); // no VTG yet: nothing committed
    EXPECT_EQ(feed(0, line("GPVTG,0.0,T,0.0,M,6.0,N,11.1,K")), 0);
    EXPECT_EQ(feed(0, ggaA), 0); // primes
    NavShared s = NavSnapshot();
    EXPECT_EQ(s.nav.latitude, 0);
    EXPECT_NEAR(s.lastRawLatitude, 60.4, 1e-9);
    EXPECT_EQ(s.outputPort, -1);
    EXPECT_EQ(feed(0, ggaB), 1);
    s = NavSnapshot();
    EXPECT_NEAR(s.nav.latitude, 60.4001, 1e-6); // a jump from nothing is taken as it is
    EXPECT_NEAR(s.nav.longitude, 5.3, 1e-6);
    EXPECT_EQ(s.outputPort, 0);
}

TEST_F(NmeaInputTest, SmallMovementsAreSteppedAheadAndJumpsTakenAsTheyAre) {
    auto rmc = [](const char* lat, const char* lon) {
        return line(std::string("GPRMC,100000,A,") + lat + ",N," + lon + ",E,5.0,0.0,101226,,");
    };
    struct Step {
        const char* lat;
        const char* lon;
        int result;
        double latitude, longitude;
    } steps[] = {
        {"6024.000", "00518.000", 0, 0, 0},                   // primes
        {"6024.000", "00518.000", 1, 60.4, 5.3},              // from nothing: as it is
        {"6024.300", "00518.000", 1, 60.4075, 5.3},           // 0.005 degree: half a step ahead
        {"6024.300", "00518.000", 1, 60.4075, 5.3},           // no movement: unchanged
        {"6025.500", "00518.540", 1, 60.425, 5.309 + 0.0045}, // 0.0175 away: as it is;
                                                              // 0.009: ahead
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(std::string(st.lat) + " " + st.lon);
        EXPECT_EQ(feed(0, rmc(st.lat, st.lon)), st.result);
        NavShared s = NavSnapshot();
        EXPECT_NEAR(s.nav.latitude, st.latitude, 1e-6);
        EXPECT_NEAR(s.nav.longitude, st.longitude, 1e-6);
    }

    // After the no-fix timeout the next fix primes again.
    ResetFixHistory(1); // not the output port: no effect
    EXPECT_EQ(feed(0, rmc("6025.600", "00518.540")), 1);
    ResetFixHistory(0);
    EXPECT_EQ(NavSnapshot().lastRawLatitude, 0);
    EXPECT_EQ(feed(0, rmc("6025.700", "00518.540")), 0);
    EXPECT_NEAR(NavSnapshot().lastRawLatitude, 60.0 + 25.7 / 60, 1e-6);
}

TEST_F(NmeaInputTest, OutOfRangeFixesChangeNothing) {
    struct Case {
        const char* lat;
        const char* ns;
        const char* lon;
        const char* ew;
    } cases[] = {
        {"0000.000", "N", "00518.000", "E"}, // latitude 0
        {"8530.000", "N", "00518.000", "E"}, // beyond 85
        {"8600.000", "S", "00518.000", "E"}, // beyond 85 south
        {"6060.000", "N", "00518.000", "E"}, // 60 minutes
        {"6024.000", "N", "00575.000", "E"}, // 75 minutes
        {"6024.000", "N", "18030.000", "W"}, // beyond 180
        {"6024.000", "N", "99900.000", "E"}, // far beyond 180
        {"60-1.000", "N", "00518.000", "E"}, // negative minutes
        {"6024.000", "N", "005nan", "E"},    // not a number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lat) + c.ns + " " + c.lon + c.ew);
        resetNmeaInput();
        feed(0, line("GPRMC,100000,A,6024.000,N,00518.000,E,5.0,0.0,101226,,"));
        feed(0, line("GPRMC,100001,A,6024.001,N,00518.000,E,5.0,0.0,101226,,"));
        NavShared before = NavSnapshot();
        std::size_t clockSets = clock.sets().size();
        set([](NavShared& s) { s.satelliteCount = -1; }); // would set the clock
        before.satelliteCount = -1;
        EXPECT_EQ(feed(0, line(std::string("GPRMC,100002,A,") + c.lat + "," + c.ns + "," + c.lon +
                               "," + c.ew + ",5.0,0.0,101226,,")),
                  0);
        NavShared after = NavSnapshot();
        EXPECT_EQ(after.nav.latitude, before.nav.latitude);
        EXPECT_EQ(after.nav.longitude, before.nav.longitude);
        EXPECT_EQ(after.lastRawLatitude, before.lastRawLatitude);
        EXPECT_EQ(after.lastRawLongitude, before.lastRawLongitude);
        EXPECT_EQ(clock.sets().size(), clockSets);
    }
}

TEST_F(NmeaInputTest, OnlyTheOutputPortCommits) {
    const std::string a = line("GPRMC,100000,A,6024.000,N,00518.000,E,5.0,0.0,101226,,");
    const std::string b = line("GPRMC,100001,A,6024.001,N,00518.000,E,5.0,0.0,101226,,");
    const std::string far = line("GPRMC,100002,A,6124.000,N,00618.000,E,5.0,0.0,101226,,");
    EXPECT_EQ(feed(3, a + b), 1);
    EXPECT_EQ(NavSnapshot().outputPort, 3);
    EXPECT_EQ(feed(4, far + far), 0);
    EXPECT_EQ(CommitFix(4), 0);
    NavShared s = NavSnapshot();
    EXPECT_NEAR(s.nav.latitude, 60.0 + 24.001 / 60, 1e-6);
    EXPECT_EQ(s.outputPort, 3);
}

// ---- the PC clock ------------------------------------------------------------

TEST_F(NmeaInputTest, TheClockFollowsOnlyValidFixes) {
    // Unknown satellite count: the time of every valid fix; RMC brings a date.
    feed(0, line("GPRMC,123519,A,6024.000,N,00518.000,E,5.0,0.0,230394,,"));
    std::vector<os::SystemTime> sets = clock.sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].year, 1994);
    EXPECT_EQ(sets[0].month, 3);
    EXPECT_EQ(sets[0].day, 23);
    EXPECT_EQ(sets[0].hour, 12);
    EXPECT_EQ(sets[0].minute, 35);
    EXPECT_EQ(sets[0].second, 19);
    EXPECT_EQ(sets[0].milliseconds, 456); // kept as read
    EXPECT_EQ(NavSnapshot().dateSet, 1);
    // Satellites now known (0 from RMC) and the date set: no more.
    feed(0, line("GPRMC,123520,A,6024.001,N,00518.000,E,5.0,0.0,230394,,"));
    EXPECT_EQ(clock.sets().size(), 1u);

    struct Case {
        const char* name;
        std::string input;
        bool sets;
        int year;
    } cases[] = {
        {"status V", line("GPRMC,123519,V,6024.000,N,00518.000,E,5.0,0.0,230394,,"), false, 0},
        {"quality 0",
         line("GPGGA,123519,6024.000,N,00518.000,E,0,00,,,,,,,") + line("GPVTG,0,T,0,M,0,N,0,K") +
             line("GPGGA,123519,6024.000,N,00518.000,E,0,00,,,,,,,"),
         false, 0},
        {"year 69", line("GPRMC,123519,A,6024.000,N,00518.000,E,5.0,0.0,010169,,"), true, 2069},
        {"year 70", line("GPRMC,123519,A,6024.000,N,00518.000,E,5.0,0.0,010170,,"), true, 1970},
        {"ZDA date, GGA time",
         line("GPZDA,201530.00,04,07,2002,00,00") +
             line("GPGGA,201531,6024.000,N,00518.000,E,1,08,,,,,,,") +
             line("GPVTG,0,T,0,M,0,N,0,K") +
             line("GPGGA,201531,6024.000,N,00518.000,E,1,08,,,,,,,"),
         true, 2002},
        {"hour 25", line("GPRMC,253519,A,6024.000,N,00518.000,E,5.0,0.0,230394,,"), false, 0},
        {"31 February", line("GPRMC,123519,A,6024.000,N,00518.000,E,5.0,0.0,310294,,"), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetNmeaInput();
        std::size_t before = clock.sets().size();
        feed(0, c.input);
        std::vector<os::SystemTime> all = clock.sets();
        ASSERT_EQ(all.size(), before + (c.sets ? 1 : 0));
        if (c.sets) {
            EXPECT_EQ(all.back().year, c.year);
        }
    }
}

// ---- wind and courses --------------------------------------------------------

TEST_F(NmeaInputTest, RelativeWindIsCorrectedForTheVesselsMotion) {
    struct Case {
        float heading, knots; // the vessel
        const char* sentence;
        float direction, speed;
    } cases[] = {
        {90, 0, "WIMWV,030.0,R,4.0,M,A", 120, 4},                     // at rest, turned east
        {90, 0, "WIMWV,030.0,T,4.0,M,A", 300, 4},                     // true: angle + heading - 180
        {0, 10, "WIMWV,090.0,R,10.0,N,A", 135, 7.27462},              // abeam while moving north
        {0, 10, "IIVWR,090.0,R,10.0,N,5.144,M,18.5,K", 135, 7.27462}, // the same from VWR
        {350, 0, "WIMWV,020.0,R,1.0,M,A", 10, 1},                     // over north
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence);
        resetNmeaInput();
        set([&](NavShared& s) {
            s.windHeading = c.heading;
            s.nav.speedOverGround = c.knots;
        });
        feed(0, line(c.sentence));
        NavShared s = NavSnapshot();
        EXPECT_NEAR(s.nav.windDirection, c.direction, 1e-3);
        EXPECT_NEAR(s.nav.windSpeed, c.speed, 1e-4);
    }
}

// Depths outside 0 to 11,000 m and wind speeds outside 0 to 250 knots (in the
// sentence's unit) are garbled readings: they change nothing. Values up to the
// limits are taken.
TEST_F(NmeaInputTest, InstrumentValuesOutsidePhysicalLimitsChangeNothing) {
    constexpr float kept = -1; // the value before the sentence stays
    struct Case {
        const char* sentence;
        float depth, windSpeed; // metres, metres per second
    } cases[] = {
        {"SDDBT,32808398950000.0,f,10000000000000.0,M,5468066491600.0,F", kept, kept},
        {"SDDBT,0.0,f,11000.0,M,0.0,F", 11000, kept},
        {"SDDBT,0.0,f,11000.5,M,0.0,F", kept, kept},
        {"SDDBT,0.0,f,-2.0,M,0.0,F", kept, kept},
        {"SDDBS,36090.0,f,0.0,M,0.0,F", kept, kept}, // 11,000.2 m
        {"SDDBS,36080.0,f,0.0,M,0.0,F", 10997.184f, kept},
        {"SDDBS,0.0,f,0.0,M,6015.0,F", kept, kept}, // 11,000.2 m
        {"SDDPT,10999.0,0.5", 10999.5f, kept},
        {"SDDPT,10999.0,2.0", kept, kept},
        {"SDDPT,11001.0,-2.0", kept, kept},
        {"SDDPT,-1.0,0.0", kept, kept},
        {"SDDPT,0.5,-1.0", 0, kept}, // above the keel: 0, as ever
        {"WIMWV,030.0,T,999999.0,N,A", kept, kept},
        {"WIMWV,030.0,T,250.0,N,A", kept, 128.6f},
        {"WIMWV,030.0,T,251.0,N,A", kept, kept},
        {"WIMWV,030.0,T,463.0,K,A", kept, 128.6214f},
        {"WIMWV,030.0,T,464.0,K,A", kept, kept},
        {"WIMWV,030.0,T,128.6,M,A", kept, 128.6f},
        {"WIMWV,030.0,T,128.7,M,A", kept, kept},
        {"WIMWV,030.0,T,-3.0,M,A", kept, kept},
        {"IIVWR,090.0,R,0.0,N,128.7,M,0.0,K", kept, kept},
        {"IIVWR,090.0,R,0.0,N,-1.0,M,0.0,K", kept, kept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence);
        resetNmeaInput();
        set([](NavShared& s) {
            s.nav.depth = 12.5f;
            s.nav.windSpeed = 7;
            s.nav.windDirection = 45;
        });
        feed(0, line(c.sentence));
        const NavShared s = NavSnapshot();
        EXPECT_NEAR(s.nav.depth, c.depth == kept ? 12.5f : c.depth, 1e-3);
        EXPECT_NEAR(s.nav.windSpeed, c.windSpeed == kept ? 7 : c.windSpeed, 1e-3);
        if (c.windSpeed == kept) {
            EXPECT_EQ(s.nav.windDirection, 45);
        }
    }
}

TEST_F(NmeaInputTest, MagneticCoursesTurnTrue) {
    struct Case {
        float course;
        bool alreadyTrue;
        int variation;
        float expected;
    } cases[] = {
        {10, false, 1, 11}, {359.5f, false, 1, 0.5f}, {0.5f, false, -1, 359.5f},
        {10, true, 1, 10},  {370, true, 0, 10},       {-5, true, 0, 355},
    };
    for (const Case& c : cases) {
        set([&](NavShared& s) { s.magneticVariation = c.variation; });
        EXPECT_FLOAT_EQ(MagneticToTrue(c.course, c.alreadyTrue), c.expected)
            << c.course << " " << c.alreadyTrue << " " << c.variation;
    }
}

TEST_F(NmeaInputTest, CoursesOutsideTheCircleBecomeZeroAndHeadingHoldRunsDown) {
    set([](NavShared& s) {
        s.ggaSeen = 1;
        s.nav.headingHold = 2;
    });
    feed(0, line("GPVTG,400.0,T,0.0,M,6.0,N,11.1,K"));
    NavShared s = NavSnapshot();
    EXPECT_EQ(s.nav.courseOverGround, 0);
    EXPECT_EQ(s.nav.headingHold, 1);
    feed(0, line("GPVTG,0.0,T,0.0,M,6.0,N,11.1,K") + line("GPVTG,0.0,T,0.0,M,6.0,N,11.1,K"));
    EXPECT_EQ(NavSnapshot().nav.headingHold, 0);
}

} // namespace
