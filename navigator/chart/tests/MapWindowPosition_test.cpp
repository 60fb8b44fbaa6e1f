// The look-ahead edge test and its threshold, on their own and through the
// chart window's timer, and the position entry of the Insert key with its
// dialog scripted.
#include "TimerTestSupport.h"

#include "ModalScript.h"
#include "chart/LookAhead.h"
#include "resources/DialogTemplates.h"
#include "ui/Cursor.h"

#include <array>
#include <climits>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace {

using charttest::TimerFixture;
using charttest::TTimerWindow;

TChartWindowState& state() {
    return ChartWindowState();
}

void setCourse(float course) {
    UpdateNavShared([&](NavShared& n) { n.nav.courseOverGround = course; });
}

struct CourseReset {
    ~CourseReset() { setCourse(0); }
};

// ---------------------------------------------------------------------------
// The threshold and the edge test

TEST(LookAheadEdge, TheThreshold) {
    const struct {
        const char* name;
        int width, height;
        bool viewRunning;
        double course;
        int threshold;
    } cases[] = {
        {"800 x 600 with the defaults: 172.8 truncated", 800, 600, false, 0, 172},
        {"the 3D view at course 200: factor 10, 21.6", 800, 600, true, 200, 21},
        {"the 3D view at course 150 changes nothing", 800, 600, true, 150, 172},
        {"course 200 without the 3D view", 800, 600, false, 200, 172},
        {"the band is open: course 190", 800, 600, true, 190, 172},
        {"the band is open: course 300", 800, 600, true, 300, 172},
        {"the smaller side counts: 600 x 800", 600, 800, false, 0, 172},
        {"a 3 x 3 client: 0 raised to 1", 3, 3, false, 0, 1},
        {"an empty client", 0, 0, false, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LookAheadThreshold(c.width, c.height, 80, 90, c.viewRunning, c.course),
                  c.threshold)
            << c.name;
    // Settings out of reason give a usable distance, never a negative one or
    // an overflow.
    EXPECT_EQ(LookAheadThreshold(800, 600, -80, 90, false, 0), 1);
    EXPECT_EQ(LookAheadThreshold(1 << 30, 1 << 30, 1 << 30, 1 << 30, false, 0), INT_MAX);
}

TEST(LookAheadEdge, TheSectorsAndTheirBounds) {
    const CourseReset reset;
    const struct {
        const char* name;
        float course;
        int x, y, threshold;
        bool reached;
    } cases[] = {
        {"course 0, 100 below the centre, T 120", 0, 0, -100, 120, true},
        {"course 0, 130 below", 0, 0, -130, 120, false},
        {"course 0 looks at y only", 0, -900, -100, 120, true},
        {"course 360 is north", 360, 0, -100, 120, true},
        // Exactly 10 degrees takes the general rule: 200 to the west puts own
        // ship 133 behind the centre along 10 degrees.
        {"course 9.9 looks at y only", 9.9f, -200, -100, 120, true},
        {"course 10 takes the general rule", 10, -200, -100, 120, false},
        {"course 10, 100 east of that", 10, -100, -100, 120, true},
        {"course 350 takes the general rule", 350, 200, -100, 120, false},
        {"course 180, 100 above", 180, 0, 100, 120, true},
        {"course 180, 130 above", 180, 0, 130, 120, false},
        {"course 90, 100 west", 90, -100, 0, 120, true},
        {"course 90, 130 west", 90, -130, 0, 120, false},
        {"course 270, 130 east", 270, 130, 0, 120, false},
        {"course 270, 100 east", 270, 100, 0, 120, true},
        {"course 225, 90 north-east: 127 behind", 225, 90, 90, 120, false},
        {"course 225, 80 north-east: 113 behind", 225, 80, 80, 120, true},
        {"course 45, past the centre", 45, 50, 50, 120, true},
    };
    for (const auto& c : cases) {
        setCourse(c.course);
        EXPECT_EQ(LookAheadEdgeReached(c.x, c.y, c.threshold), c.reached) << c.name;
    }
    for (const float course : {std::nanf(""), INFINITY, -INFINITY}) {
        setCourse(course);
        EXPECT_FALSE(LookAheadEdgeReached(0, 0, 120)) << course;
    }
}

// Against the plain statement of the test: own ship lies less than T behind
// the centre along the course, -(x sin a + y cos a) < T; within the four
// bands around the cardinal courses, that band's one-axis rule.
TEST(LookAheadEdge, AgreesWithTheDistanceBehindTheCentre) {
    const CourseReset reset;
    std::mt19937 random(118);
    std::uniform_int_distribution<int> coordinate(-1500, 1500), threshold(1, 300);
    std::uniform_real_distribution<float> course(0, 360);
    int general = 0, banded = 0, reached = 0, skipped = 0;
    for (int i = 0; i < 100000; ++i) {
        const int x = coordinate(random), y = coordinate(random), t = threshold(random);
        const float a = course(random);
        setCourse(a);
        const bool got = LookAheadEdgeReached(x, y, t);
        std::optional<bool> band;
        if (a > 350 || a < 10) band = y > -t;
        if (a > 170 && a < 190) band = y < t;
        if (a > 80 && a < 100) band = x > -t;
        if (a > 260 && a < 280) band = x < t;
        if (band) {
            ++banded;
            ASSERT_EQ(got, *band) << x << ", " << y << " T " << t << " at " << a;
        } else {
            const double r = double(a) * std::numbers::pi / 180;
            const double behind = -(x * std::sin(r) + y * std::cos(r));
            if (std::fabs(behind - t) < 1e-6) {
                ++skipped; // on the line itself, where rounding decides
                continue;
            }
            ++general;
            ASSERT_EQ(got, behind < t) << x << ", " << y << " T " << t << " at " << a;
        }
        reached += got;
    }
    // Both rules were exercised, with both answers.
    EXPECT_GT(banded, 15000);
    EXPECT_GT(general, 70000);
    EXPECT_GT(reached, 30000);
    EXPECT_LT(reached, 70000);
    EXPECT_LT(skipped, 10);
}

// With look-ahead on at course 0, own ship drifting north toward the centre
// re-centres the chart at the first tick at which it lies less than T behind
// the centre, and at no tick before.
TEST(LookAheadEdge, TheTimerReCentresWhereTheTestTurnsTrue) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    f.fixAt({0, 0}, 0, 6);
    f.tick(); // following just came on: the centre goes ahead of own ship
    ASSERT_EQ(state().lookAhead, 1);
    const ui::TRect client = w.GetClientRect();
    const int t = LookAheadThreshold(client.Width(), client.Height(),
                                     ChartSettings().lookAheadFactor, ChartSettings().margin,
                                     false, 0);
    const ChartPoint start = f.shipChart();
    ASSERT_EQ(start.x, 0);
    // Behind the edge, and inside the 0.45 box, which must not be what fires.
    ASSERT_LT(start.y, -t);
    ASSERT_LE(std::abs(start.y), int(0.45 * client.Height()));

    int recentredAt = 0;
    for (int y = start.y + 1; y <= 0 && !recentredAt; ++y) {
        const GeoPoint before = w.centre;
        const std::size_t drawn = w.ownShipDrawings.size();
        f.fixAt({0, y}, 0, 6);
        f.tick();
        if (w.centre.lat != before.lat || w.centre.lon != before.lon) {
            recentredAt = y;
            EXPECT_EQ(w.ownShipDrawings.size(), drawn); // a re-centre ends the tick
        } else {
            ASSERT_EQ(f.shipChart(), (ChartPoint{0, y})); // the fix landed where meant
        }
    }
    EXPECT_EQ(recentredAt, -t + 1);
    // The new centre lies ahead (north) of own ship again.
    EXPECT_GT(w.centre.lat, state().ownShip.lat);
    EXPECT_LT(f.shipChart().y, -t);
}

// ---------------------------------------------------------------------------
// The position entry

// The timer tests' window with the position entry of its own.
class TPositionWindow : public TTimerWindow {
  public:
    using TTimerWindow::TTimerWindow;
    bool EnterPosition() override { return TMapWindow::EnterPosition(); }
};

constexpr ui::UINT kInsert = 45;

// The position dialog filled in with the eight fields and ended with OK, or
// with Cancel.
void scriptPosition(uitest::TModalScript& script, const std::array<const char*, 8>& fields,
                    int end = ui::IDOK) {
    script.Dialog(kPositionTemplate, [fields, end](ui::TDialog& d) {
        for (int i = 0; i < 8; ++i)
            d.SetDlgItemText(1001 + i, fields[std::size_t(i)]);
        d.SendMessage(ui::WM_COMMAND, ui::UINT(end));
    });
}

std::vector<uitest::TCursorRecorder::Request> positions(const uitest::TCursorRecorder& r) {
    std::vector<uitest::TCursorRecorder::Request> out;
    for (const auto& q : r.Requests)
        if (q.kind == ui::TCursorRequest::SetPos) out.push_back(q);
    return out;
}

TEST(PositionEntry, TheInsertKeyMovesTheChartToTheTypedPosition) {
    TimerFixture f;
    auto& w = f.make<TPositionWindow>(5, 10, 59);
    ASSERT_EQ(state().followFlag, 1);
    uitest::TModalScript script;
    scriptPosition(script, {"60", "23", "850", "N", "005", "19", "230", "E"});
    uitest::TCursorRecorder cursor;
    w.EvKeyDown(kInsert, 1, 0);
    EXPECT_TRUE(script.Done());

    // As the dialog works them out.
    const double lat = 60 + 23 / 60.0 + 850 / 60000.0, lon = 5 + 19 / 60.0 + 230 / 60000.0;
    EXPECT_EQ(state().followFlag, 0);
    EXPECT_EQ(w.centre.lat, deg2nrm(lat));
    EXPECT_EQ(w.centre.lon, deg2nrm(lon));
    const ScreenPoint middle = ToScreen(w, ClientCentre(w.GetClientRect()));
    const auto moves = positions(cursor);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].x, middle.x);
    EXPECT_EQ(moves[0].y, middle.y);

    // The same position again: the chart is there already and does not move.
    scriptPosition(script, {"60", "23", "850", "N", "005", "19", "230", "E"});
    EXPECT_FALSE(w.EnterPosition());
    EXPECT_EQ(w.centre.lat, deg2nrm(lat));
    EXPECT_TRUE(script.Done());
}

TEST(PositionEntry, CancelAndPositionsBeyondTheChartMoveNothing) {
    const struct {
        const char* name;
        std::array<const char*, 8> fields;
        int end;
    } cases[] = {
        {"Cancel", {"60", "23", "850", "N", "005", "19", "230", "E"}, ui::IDCANCEL},
        {"86 N", {"86", "0", "0", "N", "5", "0", "0", "E"}, ui::IDOK},
        {"just beyond 85 S", {"85", "0", "001", "S", "5", "0", "0", "E"}, ui::IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimerFixture f;
        auto& w = f.make<TPositionWindow>(5, 10, 59);
        const GeoPoint before = w.centre;
        uitest::TModalScript script;
        scriptPosition(script, c.fields, c.end);
        uitest::TCursorRecorder cursor;
        EXPECT_FALSE(w.EnterPosition());
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(w.centre.lat, before.lat);
        EXPECT_EQ(w.centre.lon, before.lon);
        EXPECT_EQ(state().followFlag, 1);
        EXPECT_TRUE(positions(cursor).empty());
    }
}

// Positions on the equator and the prime meridian are positions like any
// other; so are the largest latitude and the antimeridian.
TEST(PositionEntry, ZeroDegreesAndTheLimitsCanBeEntered) {
    const struct {
        const char* name;
        std::array<const char*, 8> fields;
        double lon, lat;
    } cases[] = {
        {"the prime meridian", {"60", "23", "850", "N", "000", "00", "000", "E"}, 0, 60 + 23 / 60.0 + 850 / 60000.0},
        {"the equator", {"00", "00", "000", "N", "5", "0", "0", "E"}, 5, 0},
        {"both", {"0", "0", "0", "S", "0", "0", "0", "W"}, 0, 0},
        {"85 S", {"85", "0", "0", "S", "5", "0", "0", "E"}, 5, -85},
        {"180 W", {"60", "0", "0", "N", "180", "0", "0", "W"}, -180, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimerFixture f;
        auto& w = f.make<TPositionWindow>(5, 10, 59);
        uitest::TModalScript script;
        scriptPosition(script, c.fields);
        EXPECT_TRUE(w.EnterPosition());
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(state().followFlag, 0);
        EXPECT_EQ(w.centre.lat, deg2nrm(c.lat));
        EXPECT_EQ(w.centre.lon, deg2nrm(c.lon));
    }
}

} // namespace
