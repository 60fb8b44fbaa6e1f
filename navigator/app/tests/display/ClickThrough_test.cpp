// The navigation program clicked through on the display test server, in
// process: the sample chart, tides and dictionaries in a temporary folder
// reached through a drive letter of the platform file, an empty store, and
// real mouse clicks at the screen points of chart positions, worked out from
// the chart window's Map. The scripted modal runner answers the dialogs. A
// screen grab of every step goes to <build>/navigator/app/tests/pictures.
//
//  1. left clicks on Bergen zoom in level by level up to the harbour level;
//  2. the Bergen tide station opens its tide dialog;
//  3. a new route of three points, named, ended and then active;
//  4. the information mode on a lit buoy;
//  5. a symbol placed, and deleted again after a cancelled route deletion;
//  6. the close: exit code 0, no child process, and the store as it was left.
#include "AppTestSupport.h"
#include "storeTestSupport.h"

#include "ModalScript.h"
#include "TideWave.h"
#include "app/OutsidePrograms.h"
#include "os/Process.h"
#include "app/TMyFrame.h"
#include "chart/ChartFrames.h"
#include "chart/ChartLevels.h"
#include "chart/KVViewerMDIClient.h"
#include "chart/TFloatingToolBox.h"
#include "chart/TMapWindow.h"
#include "dialogs/TDbInfoDialog.h"
#include "dialogs/TObjView.h"
#include "dialogs/TObjectInfoDialog.h"
#include "dialogs/TTideDialog.h"
#include "geo/GeoPoint.h"
#include "ui/Application.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Positions of the sample chart (degrees east, north).
struct Position {
    double lon, lat;
};
constexpr Position kBergen{319 / 60.0, 3624 / 60.0}; // the tide station, in Vågen
constexpr int kHarbourLevel = 6;                     // 1:7 500, the finest level
// Three points on the water of Vågen, away from the station and the buoys.
constexpr Position kRoute[3] = {{5.3165, 60.3978}, {5.3150, 60.3985}, {5.3132, 60.3994}};
// "Vågen starboard" as the sample chart has it: its maker moved it from
// 5.3100 E 60.3990 N onto the water of the channel.
constexpr Position kLitBuoy{5.3114, 60.3993};
constexpr Position kSymbolAt{5.3185, 60.3992};

GeoPoint geo(const Position& p) {
    return GeoPoint{deg2nrm(p.lon), deg2nrm(p.lat)};
}

// Runs the event loop (timers, paints, the idle pass) for a while.
void pump(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds; false at the timeout.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        pump(20ms);
    }
    return true;
}

std::string windowText(ui::TWindow& dialog, int id) {
    char text[512] = {};
    dialog.GetDlgItemText(id, text, sizeof text);
    return text;
}

// Processes whose parent is this process.
std::vector<int> childProcesses() {
    std::vector<int> children;
    const int self = ::getpid();
    for (const auto& e : fs::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string status = apptest::readFile(e.path().string() + "/status");
        const auto at = status.find("\nPPid:");
        if (at != std::string::npos && std::stoi(status.substr(at + 6)) == self)
            children.push_back(std::stoi(name));
    }
    return children;
}

// The application of the run: the scenario starts once the loop runs.
class TScenarioApp : public KVViewerApp {
  public:
    std::function<void(TScenarioApp&)> scenario;
    bool InitInstance() override {
        if (!KVViewerApp::InitInstance()) return false;
        QTimer::singleShot(0, [this] { scenario(*this); });
        return true;
    }
};

// The folder of the run: drive C of the platform file is its "nav" folder,
// which holds the chart, the dictionaries, the tides, the palette and the
// store; SOLVNV.INI names them through the drive and lies in the current
// folder. A 3D generator that ends on SIGTERM is on the PATH.
class ScenarioFolder {
  public:
    ScenarioFolder() {
        const fs::path nav = folder_.path() + "/nav";
        fs::create_directories(nav);
        const auto recursive = fs::copy_options::recursive;
        fs::copy(apptest::kDataDir + "/sample/kv71", nav / "KV71", recursive);
        fs::copy(apptest::kDataDir + "/dict", nav / "DICT", recursive);
        fs::copy(apptest::kDataDir + "/sample/tides", nav / "TIDES", recursive);
        fs::copy_file(apptest::kDataDir + "/ECPALETT.INI", folder_ / "ECPALETT.INI");
        apptest::writeFile(folder_ / "config/solvanor/platform.ini",
                           "[DRIVES]\nC=fixed:" + nav.string() + "\n");
        os::resetDrives("/proc/self/mountinfo", folder_ / "config/solvanor/platform.ini");
        // The empty store of an installation, which DBROOT names through the
        // drive letter.
        fs::copy(SAMPLE_BACKUP_DIR, nav / "DB", recursive);
        apptest::writeFile(folder_ / "SOLVNV.INI",
                           "[DIRECTORY]\r\nKV71ROOT=C:\\KV71\r\nDBROOT=C:\\DB\r\n"
                           "[DICTIONARY]\r\nKV71ATTR.DIC=C:\\DICT\r\nTIDES=C:\\TIDES\r\n");
        fs::create_directories(folder_ / "bin");
        apptest::writeScript(folder_ / "bin/Bygrel",
                             "exec 2>/dev/null\ntrap 'exit 0' TERM\necho $$ > bygrel-started\n"
                             "while :; do sleep 0.05; done\n");
    }
    std::string store() const { return folder_.path() + "/nav/DB"; }
    std::string operator/(const std::string& name) const { return folder_ / name; }

  private:
    apptest::TestFolder folder_;
    apptest::EnvSetting config_{"XDG_CONFIG_HOME", folder_ / "config"};
    apptest::EnvSetting path_{"PATH", folder_ / "bin" + ":/usr/bin:/bin"};
};

// One run of the program with the scenario's helpers.
class ClickThrough {
  public:
    explicit ClickThrough(TScenarioApp& app) : app_(app) {}

    TMapWindow* chart() const {
        auto* client = dynamic_cast<KVViewerMDIClient*>(app_.GetFrame()->GetClientWindow());
        return client ? client->GetChartWindow() : nullptr;
    }

    // The screen, as a person would see it, into the build tree.
    void grab(const std::string& name) {
        pump(300ms);
        fs::create_directories(APP_TEST_PICTURES);
        const std::string path = std::string(APP_TEST_PICTURES) + "/click-through-" + name + ".png";
        EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(
            QString::fromStdString(path)))
            << path;
    }

    // The screen point of a chart position in the view as the chart window's
    // Map now has it: chart units, then client (cx + x, cy - y), then screen.
    ScreenPoint screenPointOf(const Position& p) {
        TMapWindow& w = *chart();
        const ClientPoint c = ClientPointOf(*w.map, geo(p), w.GetClientRect());
        return ToScreen(w, c);
    }

    // A click of the real mouse at a screen point, which must lie on the
    // window `expected` (the chart window unless given).
    bool clickAtScreen(const ScreenPoint& s, Qt::MouseButton button, QWidget* expected = nullptr) {
        if (!expected) expected = chart()->GetHandle();
        const QPoint global(s.x, s.y);
        QWidget* under = QApplication::widgetAt(global);
        EXPECT_EQ(under, expected) << "at screen (" << s.x << ", " << s.y << ")";
        if (under != expected) return false;
        const QPoint local = under->mapFromGlobal(global);
        QTest::mouseMove(under, local);
        QTest::mouseClick(under, button, Qt::NoModifier, local);
        return true;
    }

    // 8 pixels south of the Bergen tide station's mark.
    ScreenPoint besideTheStation() {
        const ScreenPoint s = screenPointOf(kBergen);
        return {s.x, s.y + 8};
    }

    bool clickAt(const Position& p, Qt::MouseButton button = Qt::LeftButton) {
        return clickAtScreen(screenPointOf(p), button);
    }

    // A click on the tool box's button of a command, at its screen point.
    bool clickTool(int command) {
        auto* box = dynamic_cast<TFloatingToolBox*>(chart()->toolBox);
        EXPECT_TRUE(box);
        if (!box) return false;
        ui::TGadget* gadget = box->GadgetWithId(command);
        EXPECT_TRUE(gadget) << command;
        if (!gadget) return false;
        QWidget* button = gadget->GetHandle();
        const QPoint centre = button->mapToGlobal(button->rect().center());
        const bool clicked = clickAtScreen({centre.x(), centre.y()}, Qt::LeftButton, button);
        pump(250ms); // the cursor and the hint at the next tick, the enablers at idle
        return clicked;
    }

    // A view settled: no level asked for, the chart drawn for it.
    bool settled() {
        const unsigned long before = chart()->pictureCount;
        return waitFor([&] {
            return ChartWindowState().levelRequest == kNoLevelRequest &&
                   ChartWindowState().pictureUpToDate && chart()->pictureCount > 0;
        }) && (pump(200ms), before <= chart()->pictureCount);
    }

    uitest::TModalScript script;

  private:
    TScenarioApp& app_;
};

TTideDialog* OpenTideDialog(TMapWindow& chart) {
    for (ui::TWindow* child : chart.GetChildren())
        if (auto* tide = dynamic_cast<TTideDialog*>(child)) return tide;
    return nullptr;
}

// 1. From the overview, left clicks on Bergen re-centre and zoom in, level by
// level, until the harbour level shows. Each click lies 8 pixels south of the
// station's mark, where it is no station click.
bool ZoomToBergen(ClickThrough& run) {
    EXPECT_TRUE(run.settled());
    EXPECT_EQ(run.chart()->levelIndex, 7);
    run.grab("0-start");
    std::vector<int> levels;
    for (int click = 0; click < 12 && run.chart()->levelIndex != kHarbourLevel; ++click) {
        if (!run.clickAtScreen(run.besideTheStation(), Qt::LeftButton)) return false;
        if (!run.settled()) return false;
        EXPECT_TRUE(OpenTideDialog(*run.chart()) == nullptr);
        levels.push_back(run.chart()->levelIndex);
    }
    EXPECT_EQ(run.chart()->levelIndex, kHarbourLevel);
    EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    // The view is centred where the last click was, 8 pixels of level 5
    // south of the station.
    const ScreenPoint bergen = run.screenPointOf(kBergen);
    const ScreenPoint centre =
        ToScreen(*run.chart(), ClientCentre(run.chart()->GetClientRect()));
    EXPECT_LE(std::abs(bergen.x - centre.x), 1);
    EXPECT_NEAR(centre.y - bergen.y, 16, 2); // 15 000 / 7 500
    EXPECT_EQ(ChartWindowState().followFlag, 0);
    run.grab("1-bergen-harbour");
    return run.chart()->levelIndex == kHarbourLevel;
}

// 2. The Bergen tide station's dialog: its name, the library's highest water,
// the read-out of the graph under the mouse; OK closes it.
bool TideDialogOfBergen(ClickThrough& run) {
    EXPECT_EQ(ChartWindowState().tideFlag, 2);
    if (!run.clickAt(kBergen)) return false;
    TTideDialog* tide = nullptr;
    EXPECT_TRUE(waitFor([&] { return (tide = OpenTideDialog(*run.chart())) != nullptr; }, 5s));
    if (!tide) return false;
    EXPECT_EQ(run.chart()->levelIndex, kHarbourLevel); // the click did not zoom
    EXPECT_EQ(windowText(*tide, kTidePortName), "Bergen");

    // The library's own curve of the day.
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    std::string dir = apptest::kDataDir + "/sample/tides/";
    TideWave wave(3624, 319, dir.data(), nullptr);
    EXPECT_EQ(wave.Calculate(0.3, char(today.tm_mday), char(today.tm_mon + 1),
                             short(today.tm_year + 1900)),
              0);
    short at = 0;
    char high[32];
    std::snprintf(high, sizeof high, "%.1f M", double(wave.GetMaxValue(at)) * 0.01); // cm
    EXPECT_EQ(windowText(*tide, kTideHighHeight), high);
    run.grab("2-tide-dialog");

    // The mouse over the graph: the time under it.
    QWidget* graph = tide->GetDlgItem(kTideGraph);
    const std::string before = windowText(*tide, kTideCursorTime);
    QTest::mouseMove(graph, QPoint(graph->width() / 3, graph->height() / 2));
    pump(100ms);
    const std::string hovered = windowText(*tide, kTideCursorTime);
    EXPECT_NE(hovered, before);
    EXPECT_FALSE(hovered.empty());
    QTest::mouseMove(graph, QPoint(graph->width() * 2 / 3, graph->height() / 2));
    pump(100ms);
    EXPECT_NE(windowText(*tide, kTideCursorTime), hovered);
    run.grab("2-tide-graph-hovered");

    QWidget* ok = tide->GetDlgItem(ui::IDOK);
    const QPoint okCentre = ok->mapToGlobal(ok->rect().center());
    run.clickAtScreen({okCentre.x(), okCentre.y()}, Qt::LeftButton, ok);
    EXPECT_TRUE(waitFor([&] { return OpenTideDialog(*run.chart()) == nullptr; }, 5s));
    EXPECT_EQ(ChartWindowState().inputMode, 0);
    return OpenTideDialog(*run.chart()) == nullptr;
}

std::vector<IdRecord> StoredOfKind(std::uint16_t kind) {
    std::vector<IdRecord> out;
    for (const IdRecord& r : storetest::ReadStore().objects)
        if (r.kind == kind) out.push_back(r);
    return out;
}

std::size_t StoredPointsOf(std::int32_t id) {
    std::size_t n = 0;
    for (const PointRecord& p : storetest::ReadStore().points)
        n += p.id == id;
    return n;
}

// The name dialog of a new object: the name typed in, OK.
std::function<void(ui::TDialog&)> Naming(const char* name) {
    return [name](ui::TDialog& d) {
        d.SetDlgItemText(kDbInfoName, name);
        static_cast<QLineEdit*>(d.GetDlgItem(kDbInfoName))->setModified(true);
        d.SendMessage(ui::WM_COMMAND, ui::IDOK);
    };
}

// 3. A new route: tool box 53, three clicks on the water (the first names
// it), 55. The store holds it with its points and name, and it becomes the
// active route within a few ticks.
bool NewRoute(ClickThrough& run) {
    if (!run.clickTool(53)) return false;
    EXPECT_EQ(ChartWindowState().routeState, 2);
    run.script.Dialog(kDbInfoTemplate, Naming("Testtur"));
    for (const Position& p : kRoute) {
        if (!run.clickAt(p)) return false;
        pump(150ms);
    }
    EXPECT_TRUE(run.script.Done());
    run.grab("3-route-placed");
    if (!run.clickTool(55)) return false;
    EXPECT_TRUE(waitFor([] { return ChartWindowState().routeState == 1; }, 3s));
    const std::vector<IdRecord> routes = StoredOfKind(kKindRoute);
    EXPECT_EQ(routes.size(), 1u);
    if (routes.size() != 1) return false;
    EXPECT_EQ(routes[0].name, "Testtur");
    EXPECT_EQ(routes[0].id, ChartWindowState().activeRouteId);
    EXPECT_EQ(StoredPointsOf(routes[0].id), 3u);
    run.grab("3-route-active");
    return ChartWindowState().routeState == 1;
}

// 4. The information mode: tool box 119, a click on the lit buoy lists it;
// choosing it shows its attributes. A right click ends the mode.
bool InformationOnABuoy(ClickThrough& run) {
    if (!run.clickTool(119)) return false;
    EXPECT_TRUE(ChartWindowState().informationMode);
    bool listed = false;
    run.script.Dialog(kObjectInfoTemplate, [&](ui::TDialog& d) {
        auto& info = dynamic_cast<TObjectInfoDialog&>(d);
        ui::TTreeWindow& tree = info.Tree();
        // The first item whose text names the buoy.
        std::string items;
        std::function<ui::HTREEITEM(ui::HTREEITEM)> find = [&](ui::HTREEITEM parent) {
            for (int i = 0; i < tree.GetChildCount(parent); ++i) {
                const ui::HTREEITEM item = tree.GetChild(parent, i);
                items += " [" + tree.GetItemText(item) + "]";
                if (tree.GetItemText(item).find("V\xE5gen starboard") != std::string::npos)
                    return item;
                if (ui::HTREEITEM inner = find(item)) return inner;
            }
            return ui::HTREEITEM{};
        };
        const ui::HTREEITEM buoy = find(ui::TVI_ROOT);
        EXPECT_TRUE(buoy) << "items:" << items;
        if (buoy) {
            listed = true;
            tree.SelectItem(buoy);
            const std::string attributes = windowText(d, kObjectAttributes);
            EXPECT_FALSE(attributes.empty());
            EXPECT_NE(attributes, kNoAttributes);
        }
        d.SendMessage(ui::WM_COMMAND, ui::IDOK);
    });
    if (!run.clickAt(kLitBuoy)) return false;
    EXPECT_TRUE(run.script.Done());
    pump(200ms);
    run.grab("4-information");
    if (!run.clickAt(kLitBuoy, Qt::RightButton)) return false;
    pump(200ms);
    EXPECT_FALSE(ChartWindowState().informationMode);
    EXPECT_EQ(run.chart()->levelIndex, kHarbourLevel); // the right click did not zoom out
    return listed && !ChartWindowState().informationMode;
}

// 5. A symbol placed with tool box 57 (named), then tool box 56: the route
// deletion is cancelled, which leaves the delete-symbol mode, and a click on
// the symbol deletes it.
bool SymbolPlacedAndDeleted(ClickThrough& run) {
    if (!run.clickTool(57)) return false;
    EXPECT_TRUE(ChartWindowState().placeSymbolMode);
    run.script.Dialog(kDbInfoTemplate, Naming("Garn"));
    if (!run.clickAt(kSymbolAt)) return false;
    EXPECT_TRUE(run.script.Done());
    const std::vector<IdRecord> symbols = StoredOfKind(kKindSymbol);
    EXPECT_EQ(symbols.size(), 1u);
    if (symbols.size() != 1) return false;
    EXPECT_EQ(symbols[0].name, "Garn");
    EXPECT_EQ(symbols[0].pointCount, ChartSettings().currentSymbol);
    EXPECT_EQ(symbols[0].colour, ChartSettings().currentSymbolColour);
    pump(200ms);
    run.grab("5-symbol-placed");

    run.script.Box(ui::IDCANCEL);
    if (!run.clickTool(56)) return false;
    EXPECT_TRUE(run.script.Done());
    const auto& seen = run.script.Modals();
    EXPECT_EQ(seen.empty() ? std::string() : seen.back().text, "Bekreftes !!");
    EXPECT_TRUE(ChartWindowState().deleteSymbolMode);
    EXPECT_EQ(StoredOfKind(kKindRoute).size(), 1u); // the route stays
    if (!run.clickAt(kSymbolAt)) return false;
    pump(300ms);
    EXPECT_TRUE(StoredOfKind(kKindSymbol).empty());
    run.grab("5-symbol-deleted");
    return StoredOfKind(kKindSymbol).empty();
}

TEST(ClickThrough, TheProgramOnTheSampleChartFromZoomToClose) {
    ScenarioFolder folder;
    bool generatorStarted = false;
    SetViewerAppFactory([&] {
        auto app = std::make_unique<TScenarioApp>();
        app->scenario = [&](TScenarioApp& a) {
            ClickThrough run(a);
            generatorStarted = waitFor([&] { return fs::exists(folder / "bygrel-started"); });
            const bool ok = run.chart() && ZoomToBergen(run) && TideDialogOfBergen(run) &&
                            NewRoute(run) && InformationOnABuoy(run) &&
                            SymbolPlacedAndDeleted(run);
            (void)ok; // each step has said what failed; the close runs anyway
            run.grab("6-before-close");
            // 6. Closed as the user closes it: the frame's close.
            a.GetFrame()->PostMessage(ui::WM_CLOSE);
        };
        return app;
    });
    char name[] = "vardekka";
    char* argv[] = {name, nullptr};
    const int result = OwlMain(1, argv);
    SetViewerAppFactory(nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(generatorStarted);
    EXPECT_FALSE(GeneratorProcess().running());
    EXPECT_TRUE(childProcesses().empty());

    // The store, opened again: the route with its three points and its name,
    // no symbol.
    {
        DbaseWin store(nullptr, StoreFileBasesIn(folder.store()));
        const storetest::StoreContent content = storetest::ReadStore();
        ASSERT_EQ(content.objects.size(), 1u);
        EXPECT_EQ(content.objects[0].kind, kKindRoute);
        EXPECT_EQ(content.objects[0].name, "Testtur");
        EXPECT_EQ(content.points.size(), 3u);
    }
}

} // namespace
