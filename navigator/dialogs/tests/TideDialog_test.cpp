// The tide dialog against the tide library on the nine sample ports, its
// summer hour, a new date, the graph on the recording and the raster
// backends, the mouse read-out, and two dialogs closed in either order.
#include "DialogTestSupport.h"

#include "TideFileWriter.h"
#include "app/ViewerPalette.h"
#include "dialogs/TGraphWindow.h"
#include "dialogs/TTideDialog.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsLayer.h"
#include "ModalScript.h"
#include "ui/Cursor.h"

#include <QWidget>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

using dialogtest::ChartHost;
using dialogtest::TimeZone;
using dialogtest::utc;

struct Port {
    const char* name; // Windows-1252
    int lat, lon, zone;
};

const Port kPorts[] = {
    {"Bergen", 3624, 319, -1},     {"Stavanger", 3538, 344, -1},  {"M\xE5l\xF8y", 3716, 307, -1},
    {"\xC5lesund", 3748, 369, -1}, {"Trondheim", 3806, 624, -1},  {"Troms\xF8", 4179, 1137, -1},
    {"Liverpool", 3207, -181, 0},  {"Honolulu", 1278, -9472, 10}, {"Pensacola", 1824, -5233, 6},
};
const Port& port(const char* name) {
    for (const Port& p : kPorts)
        if (std::string(p.name) == name) return p;
    throw std::runtime_error(name);
}

std::uint32_t packed(int day, int month, int year) {
    return std::uint32_t(day | month << 8 | year << 16);
}

std::string text(const ui::TWindow& w, int id) {
    char buf[128] = {};
    w.GetDlgItemText(id, buf, sizeof buf);
    return buf;
}

// What the dialog's texts say of the day, gathered for comparison.
std::vector<std::string> readouts(const ui::TWindow& w) {
    std::vector<std::string> r;
    for (int id : {kTidePortName, kTideLatitude, kTideLongitude, kTideZone, kTideHighHeight,
                   kTideHighHour, kTideHighMinute, kTideLowHeight, kTideLowHour, kTideLowMinute})
        r.push_back(text(w, id));
    return r;
}

class TideDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { dialogtest::loadSampleTides(); }
    TTideDialog* open(const Port& p, int day, int month, int year, os::Clock* clock = nullptr) {
        auto* d = new TTideDialog(h.chart, p.lat, p.lon, packed(day, month, year), 0.3f, clock);
        EXPECT_TRUE(d->Create());
        return d;
    }
    ChartHost h;
};

// The highest or lowest water of a library curve: height text, hour, minute.
struct Water {
    std::string height;
    int hour, minute;
};
Water libraryWater(const Port& p, int day, int month, int year, bool highest, int summerHour) {
    std::string dir = dialogtest::kSampleTides;
    TideWave wave(short(p.lat), short(p.lon), dir.data(), nullptr);
    EXPECT_EQ(wave.Calculate(0.3f, char(day), char(month), short(year)), 0);
    short index = -1;
    const float v = highest ? wave.GetMaxValue(index) : wave.GetMinValue(index);
    EXPECT_EQ(wave.GetNumPoints(), 81);
    char h[32];
    std::snprintf(h, sizeof h, "%.1f M", v * 0.01);
    const double t = double(0.3f) * index;
    int hour = int(t) + summerHour, minute = int((t - int(t)) * 60 + 0.5);
    if (hour >= 24) hour -= 24;
    return {h, hour, minute};
}

TEST_F(TideDialogTest, AgreesWithTheLibraryOnTheNinePorts) {
    const struct {
        const char* zone;
        int day, month;
        bool summer; // the computer's summer time is in force that day
    } days[] = {
        {"Europe/Oslo", 21, 6, true}, {"Europe/Oslo", 21, 12, false}, {"UTC", 21, 6, false}};
    for (const auto& d : days) {
        TimeZone tz(d.zone);
        for (const Port& p : kPorts) {
            SCOPED_TRACE(std::string(d.zone) + " " + std::to_string(d.month) + " " + p.name);
            TTideDialog* dialog = open(p, d.day, d.month, 2024);
            const int summer = d.summer && p.zone == -1 ? 1 : 0;
            EXPECT_EQ(dialog->GetSummerHour(), summer);
            EXPECT_EQ(text(*dialog, kTidePortName), p.name);
            EXPECT_EQ(text(*dialog, kTideZone), std::to_string(p.zone - summer));
            for (bool highest : {true, false}) {
                const Water w = libraryWater(p, d.day, d.month, 2024, highest, summer);
                const int hourId = highest ? kTideHighHour : kTideLowHour;
                const int minuteId = highest ? kTideHighMinute : kTideLowMinute;
                EXPECT_EQ(text(*dialog, highest ? kTideHighHeight : kTideLowHeight), w.height);
                char hh[8], mm[8];
                std::snprintf(hh, sizeof hh, "%02d", w.hour);
                std::snprintf(mm, sizeof mm, "%02d", w.minute);
                EXPECT_EQ(text(*dialog, hourId), hh);
                EXPECT_EQ(text(*dialog, minuteId), mm);
                if (std::string(d.zone) == "UTC") {
                    const int minutes =
                        std::stoi(text(*dialog, hourId)) * 60 + std::stoi(text(*dialog, minuteId));
                    EXPECT_EQ(minutes % 18, 0) << minutes;
                }
            }
            if (std::string(p.name) == "Bergen") {
                EXPECT_EQ(text(*dialog, kTideLatitude), " 60,24,000,N");
                EXPECT_EQ(text(*dialog, kTideLongitude), "  5,19,000,E");
            }
            if (std::string(p.name) == "Honolulu") {
                EXPECT_EQ(text(*dialog, kTideLatitude), " 21,18,000,N");
                EXPECT_EQ(text(*dialog, kTideLongitude), "157,52,000,W");
            }
            delete dialog;
        }
    }
}

TEST_F(TideDialogTest, SummerHourOnlyForPortsOfTheComputersZone) {
    const struct {
        const char* port;
        const char* zone;
        int month, summer;
    } cases[] = {
        {"Bergen", "Europe/Oslo", 6, 1},        {"Bergen", "Europe/Oslo", 12, 0},
        {"Honolulu", "Europe/Oslo", 6, 0},      {"Pensacola", "Europe/Oslo", 6, 0},
        {"Pensacola", "America/Chicago", 6, 1}, {"Pensacola", "America/Chicago", 12, 0},
        {"Liverpool", "Europe/London", 6, 1},   {"Honolulu", "Pacific/Honolulu", 6, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + c.zone + " " + std::to_string(c.month));
        TimeZone tz(c.zone);
        const Port& p = port(c.port);
        EXPECT_EQ(SummerHourOfPort(p.zone, 21, c.month, 2024), c.summer);
        std::unique_ptr<TTideDialog> dialog(open(p, 21, c.month, 2024));
        EXPECT_EQ(dialog->GetSummerHour(), c.summer);
        EXPECT_EQ(text(*dialog, kTideZone), std::to_string(p.zone - c.summer));
    }
    TimeZone tz("UTC");
    for (const Port& p : kPorts)
        for (int month = 1; month <= 12; ++month)
            EXPECT_EQ(SummerHourOfPort(p.zone, 15, month, 2024), 0) << p.name << " " << month;
}

TEST_F(TideDialogTest, NyKurveComputesTheDateOfTheEditsAndRefusesOthers) {
    TimeZone tz("Europe/Oslo");
    std::unique_ptr<TTideDialog> december(open(port("Bergen"), 21, 12, 2024));
    const std::vector<std::string> decemberTexts = readouts(*december);
    std::unique_ptr<TTideDialog> dialog(open(port("Bergen"), 21, 6, 2024));
    const std::vector<std::string> juneTexts = readouts(*dialog);
    ASSERT_NE(juneTexts, decemberTexts);
    EXPECT_EQ(dialog->GetSummerHour(), 1);

    dialog->SetDlgItemText(kTideMonth, "12");
    dialog->SendMessage(ui::WM_COMMAND, kTideNewCurve);
    EXPECT_EQ(readouts(*dialog), decemberTexts);
    EXPECT_EQ(dialog->GetSummerHour(), 0);
    t_date shown;
    dialog->GetWave().GetPredictionDate(&shown);
    EXPECT_EQ(shown.month, 12);

    // A date that does not exist, letters and an empty field change nothing.
    const struct {
        const char *day, *month, *year;
    } refused[] = {{"31", "02", "2024"}, {"ab", "06", "2024"}, {"21", "6x", "2024"},
                   {"", "06", "2024"},   {"21", "06", "20 4"}, {"30", "02", "2023"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.day) + "." + r.month + "." + r.year);
        dialog->SetDlgItemText(kTideDay, r.day);
        dialog->SetDlgItemText(kTideMonth, r.month);
        dialog->SetDlgItemText(kTideYear, r.year);
        dialog->SendMessage(ui::WM_COMMAND, kTideNewCurve);
        EXPECT_EQ(readouts(*dialog), decemberTexts);
        dialog->GetWave().GetPredictionDate(&shown);
        EXPECT_EQ(shown.month, 12);
    }
}

// ---------------------------------------------------------------------------
// The graph on the recording backend

struct Drawn {
    std::string kind, tool; // "FillRect" with its brush, "Polyline" with its pen
    std::vector<int> numbers;
};

std::vector<Drawn> parse(const std::string& log) {
    std::vector<Drawn> shapes;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        Drawn d;
        std::istringstream words(line);
        words >> d.kind >> d.tool;
        for (char& c : line)
            if (c == '(' || c == ')' || c == '[' || c == ']' || c == ',') c = ' ';
        std::istringstream rest(line.substr(line.find(d.tool) + d.tool.size()));
        for (std::string w; rest >> w;)
            if (!w.empty() && (std::isdigit(static_cast<unsigned char>(w[0])) || w[0] == '-'))
                d.numbers.push_back(std::stoi(w));
        shapes.push_back(d);
    }
    return shapes;
}

std::vector<Drawn> only(const std::vector<Drawn>& shapes, const std::string& kind,
                        const std::string& tool) {
    std::vector<Drawn> r;
    for (const Drawn& d : shapes)
        if (d.kind == kind && d.tool == tool) r.push_back(d);
    return r;
}

// A port's curve for a day and its graph drawn on a recording context of
// width x height.
struct Graphed {
    std::unique_ptr<TideWave> wave;
    std::vector<Drawn> shapes;
};
Graphed graph(const Port& p, int day, int month, int year, int width, int height,
              os::Clock* clock) {
    std::string dir = dialogtest::kSampleTides;
    Graphed g{std::make_unique<TideWave>(short(p.lat), short(p.lon), dir.data(), nullptr), {}};
    EXPECT_EQ(g.wave->Calculate(0.3f, char(day), char(month), short(year)), 0);
    TGraphWindow window(nullptr, kTideGraph, g.wave.get(), clock);
    gdi::RecordingDc dc(width, height);
    window.PaintGraph(dc, ui::TRect(0, 0, width, height));
    g.shapes = parse(dc.log());
    return g;
}

int minutesOf(const t_time& t) {
    return t.hour * 60 + t.minute;
}

TEST_F(TideDialogTest, GraphShadesDayAndTwilightFromTheLibrarysSunTimes) {
    os::FakeClock clock;
    clock.setNow(utc(2024, 6, 21, 30, 0)); // no valid hour: no present-time line
    const int width = 610, height = 410, W = 600, H = 400;
    const std::string day = "solid/p" + std::to_string(_anSp57ColorsMap[14]);
    const std::string dusk = "solid/p" + std::to_string(_anSp57ColorsMap[12]);
    const auto x = [&](int minutes) { return 5 + minutes * W / 1440; };
    const struct {
        const char* port;
        int day, month;
        bool rise, set, dawn, dusk; // which sun times the library gives
        const char* riseText;       // "hh:mm-hh:mm" of the day band, or of the twilight band
    } cases[] = {
        {"Troms\xF8", 21, 6, false, false, false, false, ""},
        {"Troms\xF8", 21, 12, false, false, true, true, "07:47-15:38"},
        {"Bergen", 21, 6, true, true, false, false, "03:10-22:11"},
        {"Bergen", 20, 3, true, true, true, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + std::to_string(c.month));
        const Graphed g = graph(port(c.port), c.day, c.month, 2024, width, height, &clock);
        t_time rise, set, dawn, twilightEnd;
        g.wave->GetSunRize(rise);
        g.wave->GetSunSet(set);
        g.wave->GetBeginTwilight(dawn);
        g.wave->GetEndTwilight(twilightEnd);
        ASSERT_EQ(rise.hour >= 0, c.rise);
        ASSERT_EQ(set.hour >= 0, c.set);
        ASSERT_EQ(dawn.hour >= 0, c.dawn);
        ASSERT_EQ(twilightEnd.hour >= 0, c.dusk);
        char band[32] = "";
        const t_time& from = c.rise ? rise : dawn;
        const t_time& to = c.rise ? set : twilightEnd;
        if (c.rise || c.dawn)
            std::snprintf(band, sizeof band, "%02d:%02d-%02d:%02d", from.hour, from.minute, to.hour,
                          to.minute);
        if (*c.riseText) {
            EXPECT_STREQ(band, c.riseText);
        }

        // Black client, grey plot, then the bands in the order drawn.
        const std::vector<Drawn> fills = only(g.shapes, "FillRect", "brush=solid/#000000");
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].numbers, (std::vector<int>{0, 0, width, height}));
        EXPECT_EQ(only(g.shapes, "FillRect", "brush=solid/#464646")[0].numbers,
                  (std::vector<int>{5, 5, 5 + W, 5 + H}));
        std::vector<std::pair<std::string, std::vector<int>>> bands;
        for (const Drawn& d : g.shapes)
            if (d.kind == "FillRect" && (d.tool == "brush=" + day || d.tool == "brush=" + dusk))
                bands.emplace_back(d.tool.substr(6), d.numbers);
        using Band = std::pair<std::string, std::vector<int>>;
        const std::vector<int> whole{5, 5, 5 + W, 5 + H};
        const auto span = [&](const t_time& a, const t_time& b) {
            return std::vector<int>{x(minutesOf(a)), 5, x(minutesOf(b)), 5 + H};
        };
        std::vector<Band> expected;
        if (!c.rise && !c.dawn) expected = {{day, whole}}; // the polar day
        if (!c.rise && c.dawn) expected = {{dusk, span(dawn, twilightEnd)}};
        if (c.rise && !c.dawn) expected = {{dusk, whole}, {day, span(rise, set)}};
        if (c.rise && c.dawn) expected = {{dusk, span(dawn, twilightEnd)}, {day, span(rise, set)}};
        EXPECT_EQ(bands, expected);
    }
}

TEST_F(TideDialogTest, GraphGridCurveAndPresentTime) {
    os::FakeClock clock;
    const int W = 600, H = 400;
    clock.setNow(utc(2024, 3, 20, 10, 30)); // 11:30 in Bergen's standard time
    const Graphed g = graph(port("Bergen"), 20, 3, 2024, W + 10, H + 10, &clock);
    const std::vector<Drawn> grid = only(g.shapes, "Polyline", "pen=solid/1/#969696");
    ASSERT_EQ(grid.size(), 29u);
    for (int i = 1; i <= 23; ++i) {
        const int xi = 5 + i * W / 24;
        EXPECT_EQ(grid[std::size_t(i - 1)].numbers, (std::vector<int>{xi, 5, xi, 5 + H})) << i;
    }
    for (int k = 0; k <= 5; ++k) {
        const int y = 5 + H - k * H / 5;
        EXPECT_EQ(grid[std::size_t(23 + k)].numbers, (std::vector<int>{5, y, 5 + W, y})) << k;
    }
    const std::vector<Drawn> now = only(g.shapes, "Polyline", "pen=solid/1/#ff0000");
    ASSERT_EQ(now.size(), 1u);
    const int xNow = 5 + int(11.5 * W / 24);
    EXPECT_EQ(now[0].numbers, (std::vector<int>{xNow, 5, xNow, 5 + H}));

    const std::vector<Drawn> curve = only(g.shapes, "Polyline", "pen=solid/2/#ff0000");
    ASSERT_EQ(curve.size(), 1u);
    const std::vector<int>& pts = curve[0].numbers;
    ASSERT_EQ(pts.size(), 2u * 81);
    EXPECT_EQ(pts.front(), 5);
    EXPECT_EQ(pts[pts.size() - 2], 5 + W);
    // The highest water is at or just below the top metre line.
    short high = 0;
    const double top = std::ceil(g.wave->GetMaxValue(high) * 0.01);
    const int yHigh = pts[std::size_t(2 * high + 1)];
    EXPECT_EQ(yHigh, 5 + H - int(std::ceil(g.wave->GetMaxValue(high) * H / (top * 100))));

    // Outside the port's day the line is not drawn, before it neither.
    for (const os::SystemTime& t : {utc(2024, 3, 20, 23, 30), utc(2024, 3, 20, 0, 0)}) {
        clock.setNow(t);
        const Graphed later = graph(port("Honolulu"), 20, 3, 2024, W + 10, H + 10, &clock);
        // Honolulu (zone 10): 23:30 UTC is 13:30, 00:00 UTC is 14:00 the day before.
        EXPECT_EQ(only(later.shapes, "Polyline", "pen=solid/1/#ff0000").size(),
                  t.hour == 23 ? 1u : 0u);
    }
}

// Every point of the curve lies inside the plot, also for heights below 0.
void expectCurveInPlot(const Graphed& g, int W, int H, bool onBottomEdge) {
    const std::vector<Drawn> curve = only(g.shapes, "Polyline", "pen=solid/2/#ff0000");
    ASSERT_EQ(curve.size(), 1u);
    for (std::size_t i = 0; i + 1 < curve[0].numbers.size(); i += 2) {
        const int x = curve[0].numbers[i], y = curve[0].numbers[i + 1];
        EXPECT_GE(x, 5);
        EXPECT_LE(x, 5 + W);
        EXPECT_GE(y, 5);
        EXPECT_LE(y, 5 + H);
        if (onBottomEdge) {
            EXPECT_EQ(y, 5 + H);
        }
    }
}

TEST_F(TideDialogTest, CurvesBelowChartDatumStayInThePlot) {
    os::FakeClock clock;
    const int W = 500, H = 300;
    const Graphed pensacola = graph(port("Pensacola"), 21, 6, 2024, W + 10, H + 10, &clock);
    short low = 0;
    EXPECT_LT(pensacola.wave->GetMinValue(low), 0); // the sample reaches -11 cm
    expectCurveInPlot(pensacola, W, H, false);

    // A port whose heights are all below 0 (mean level -50 cm, M2 20 cm).
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vardekka-negative-tides-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;
    const std::vector<tidetools::TidePort> ports = {
        {1, 3600, 300, -1, "Under", {{0, 1800, 5000}, {29, 0, 2000}}}};
    ASSERT_EQ(tidetools::writeTideFiles(dir, ports), "");
    std::string d = dir;
    ASSERT_EQ(TD_LoadDataFiles(d.data()), 0);
    const Port under{"Under", 3600, 300, -1};
    const Graphed g = graph(under, 21, 6, 2024, W + 10, H + 10, &clock);
    short high = 0;
    EXPECT_LT(g.wave->GetMaxValue(high), 0);
    expectCurveInPlot(g, W, H, true);
    std::filesystem::remove_all(dir);
}

TEST_F(TideDialogTest, PolarDayInThePalettesDayColour) {
    LoadPalettes(DATA_DIR);
    ASSERT_TRUE(ProgramPalette());
    os::FakeClock clock;
    clock.setNow(utc(2024, 6, 21, 9, 0));
    const struct {
        const char* port;
        int day, month;
        const char* picture;
    } graphs[] = {
        {"Troms\xF8", 21, 6, "tide-graph-tromso-june.png"},
        {"Troms\xF8", 21, 12, "tide-graph-tromso-december.png"},
        {"Bergen", 21, 6, "tide-graph-bergen-june.png"},
        {"Bergen", 20, 3, "tide-graph-bergen-march.png"},
        {"Pensacola", 21, 6, "tide-graph-pensacola-june.png"},
    };
    for (const auto& c : graphs) {
        std::string dir = dialogtest::kSampleTides;
        TideWave wave(short(port(c.port).lat), short(port(c.port).lon), dir.data(), nullptr);
        ASSERT_EQ(wave.Calculate(0.3f, char(c.day), char(c.month), 2024), 0);
        TGraphWindow window(nullptr, kTideGraph, &wave, &clock);
        QImage image(600, 400, QImage::Format_RGB32);
        gdi::RasterDc dc(&image);
        window.PaintGraph(dc, ui::TRect(0, 0, 600, 400));
        dc.flush();
        if (std::string(c.picture) == "tide-graph-tromso-june.png") {
            // Between the grid lines, above the curve: the day colour of the palette.
            const gdi::PaletteEntry& e = ProgramPalette()->entry(_anSp57ColorsMap[14]);
            EXPECT_EQ(image.pixel(5 + 590 * 7 / 48, 6) & 0xFFFFFFu,
                      QColor(e.red, e.green, e.blue).rgb() & 0xFFFFFFu);
            EXPECT_NE(image.pixel(5 + 590 * 7 / 48, 6) & 0xFFFFFFu, 0x464646u);
        }
        dialogtest::savePicture(image, c.picture);
    }
    LoadPalettes("/nonexistent");
}

// ---------------------------------------------------------------------------
// The dialog as a window

TEST_F(TideDialogTest, MouseReadOutThroughMouseMessages) {
    TimeZone tz("Europe/Oslo");
    std::unique_ptr<TTideDialog> dialog(open(port("Bergen"), 21, 6, 2024));
    ASSERT_EQ(dialog->GetSummerHour(), 1);
    TGraphWindow* g = dialog->GetGraph();
    const TideWave& wave = dialog->GetWave();
    const auto height = [&](int i) {
        char h[32];
        std::snprintf(h, sizeof h, "%.1f M", wave.GetPoint(i) * 0.01);
        return std::string(h);
    };
    const auto move = [&](int x) {
        g->SendMessage(ui::WM_MOUSEMOVE, 0, ui::MAKELPARAM(x, 50));
        return std::make_pair(text(*dialog, kTideCursorTime), text(*dialog, kTideCursorHeight));
    };
    for (int W : {480, 485}) {
        SCOPED_TRACE(W);
        g->SetWindowPos(nullptr, 0, 0, W + 10, 250, ui::SWP_NOMOVE | ui::SWP_NOZORDER);
        ASSERT_EQ(g->GetClientRect().Width(), W + 10);
        EXPECT_EQ(move(5), std::make_pair(std::string("00:00"), height(0)));
        EXPECT_EQ(move(-20), std::make_pair(std::string("00:00"), height(0)));
        EXPECT_EQ(move(5 + W), std::make_pair(std::string("24:00"), height(80)));
        EXPECT_EQ(move(5 + W + 4), std::make_pair(std::string("24:00"), height(80)));
        if (W % 2 == 0) {
            EXPECT_EQ(move(5 + W / 2), std::make_pair(std::string("13:00"), height(40)));
        }
        // Near the right edge the hour is 23 (+ 1 in summer), never 24.
        const std::string edge = move(5 + W - 1).first;
        EXPECT_EQ(edge.substr(0, 3), "00:") << edge;
        // The point under the cursor is the one drawn there.
        const int c = 37;
        EXPECT_EQ(move(5 + c).second, height(int(std::nearbyint(c * 80.0 / W))));
    }
    TimeZone utcZone("UTC");
    ASSERT_TRUE(dialog->Refresh());
    EXPECT_EQ(dialog->GetSummerHour(), 0);
    g->SetWindowPos(nullptr, 0, 0, 495, 250, ui::SWP_NOMOVE | ui::SWP_NOZORDER);
    EXPECT_EQ(move(5 + 484).first.substr(0, 3), "23:");
    EXPECT_EQ(move(5 + 242).first, "11:58");
}

TEST_F(TideDialogTest, OpensModelessOverTheChartAndClosesInEitherOrder) {
    TimeZone tz("Europe/Oslo");
    for (bool firstFirst : {true, false}) {
        SCOPED_TRACE(firstFirst ? "first closed first" : "second closed first");
        uitest::TCursorRecorder cursor;
        TTideDialog* a = open(port("Bergen"), 21, 6, 2024);
        TTideDialog* b = open(port("Troms\xF8"), 21, 12, 2024);
        EXPECT_EQ(ChartWindowState().inputMode, 8);
        EXPECT_FALSE(a->IsModal());
        EXPECT_EQ(a->GetCaption(), "Tidevann prognose");
        // The mouse was put on OK and held in the dialog.
        ASSERT_GE(cursor.Requests.size(), 2u);
        const ui::TRect ok = ui::GetWindowRect(a->GetDlgItem(ui::IDOK));
        EXPECT_EQ(cursor.Requests[0].kind, int(ui::TCursorRequest::SetPos));
        EXPECT_EQ(cursor.Requests[0].x, ok.left + 75);
        EXPECT_EQ(cursor.Requests[0].y, ok.top + 15);
        EXPECT_EQ(cursor.Requests[1].kind, int(ui::TCursorRequest::Clip));
        EXPECT_TRUE(cursor.Requests[1].clipped);
        cursor.Requests.clear();
        for (TTideDialog* d : firstFirst ? std::vector{a, b} : std::vector{b, a})
            d->SendMessage(ui::WM_COMMAND, ui::IDOK);
        charttest::settle(); // both deleted after their message
        EXPECT_EQ(ChartWindowState().inputMode, 0);
        const ui::TRect chart = h.chart->GetWindowRect();
        ASSERT_EQ(cursor.Requests.size(), 4u);
        EXPECT_FALSE(cursor.Requests[0].clipped);
        EXPECT_EQ(cursor.Requests[1].x, (chart.left + chart.right) / 2);
        EXPECT_EQ(cursor.Requests[1].y, (chart.top + chart.bottom) / 2);
        // Only the tool box is left.
        EXPECT_EQ(h.chart->GetChildren(), std::vector<ui::TWindow*>{h.chart->toolBox});
    }
    // One left open goes with the chart window.
    open(port("Pensacola"), 21, 6, 2024);
}

TEST_F(TideDialogTest, PictureOfTheDialog) {
    TimeZone tz("Europe/Oslo");
    LoadPalettes(DATA_DIR);
    os::FakeClock clock;
    clock.setNow(utc(2024, 6, 21, 13, 20));
    std::unique_ptr<TTideDialog> dialog(open(port("M\xE5l\xF8y"), 21, 6, 2024, &clock));
    dialog->ShowWindow(ui::SW_SHOW);
    charttest::settle();
    dialog->GetGraph()->SendMessage(ui::WM_MOUSEMOVE, 0, ui::MAKELPARAM(200, 60));
    charttest::settle();
    dialogtest::savePicture(dialog->GetHandle()->grab().toImage(), "tide-dialog-maloy.png");
    LoadPalettes("/nonexistent");
}

} // namespace
