// The object-information dialogs and the short read-out: the description of
// a stored object byte for byte, the name and text written back (through a
// spy on the store's record calls), button 404, the placement and the
// cursor; the chart objects' tree on fake objects and on the sample chart,
// with the light shown on the chart; the short read-out's texts and life.
#include "DialogTestSupport.h"
#include "SampleChart.h"
#include "procedureKit.h"
#include "store/tests/StoreSpy.h"
#include "store/tests/storeTestSupport.h"

#include "ModalScript.h"
#include "app/ViewerPalette.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "chart/pass/ChartDrawingPass.h"
#include "context/TMapContext.h"
#include "dialogs/InfoDialogPlacement.h"
#include "dialogs/TDbInfoDialog.h"
#include "dialogs/TObjView.h"
#include "dialogs/TObjectInfoDialog.h"
#include "dialogs/TShortReadoutWindow.h"
#include "gdb/TGdbQuery.h"
#include "graphics/GraphicsLayer.h"
#include "gdi/RasterDc.h"
#include "kv71/TGeoCell.h"
#include "kv71/TKV71DbObject.h"
#include "nmea/NavState.h"
#include "store/DbaseWin.h"
#include "ui/Controls.h"
#include "ui/Cursor.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using storetest::StoreSpy;

// 2026-06-12 10:00 UTC: 12:00 in Oslo.
constexpr std::int64_t kStamp = 1781258400;
// 60 24.000 N, 5 19.230 E in store units, and 6 minutes further north.
constexpr std::int32_t kLat = 36240000, kLon = 3192300, kLatNorth = 36300000;
const std::string kPos = " 60 24.000N    5 19.230E";
const std::string kStored = "Lagret:  12 / 06 - 2026  12:00\n";

gdi::Colour chartColour(int number) {
    return gdi::paletteIndex(static_cast<std::uint16_t>(_anSp57ColorsMap[std::size_t(number)]));
}

// A chart window that notes its chart drawing (and whether the picture was
// filled before it), over an empty store of its own in Oslo's time zone, on a
// screen of 1920 x 1080.
class TInfoWindow : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;
    std::vector<std::string> log;
    bool drawChart = false; // the real drawing pass too
    void DrawChart(double scale, double divisor, int level, Map* m, gdi::Dc& dc,
                   const ui::TRect& view) override {
        log.push_back(dc.getPixel(0, 0) == dc.resolve(chartColour(9)) ? "fill 9" : "no fill");
        log.push_back("DrawChart");
        if (drawChart) TMapWindow::DrawChart(scale, divisor, level, m, dc, view);
    }
    bool Shows(const gdi::Dc& picture) {
        gdi::Dc& window = GetDC();
        const ui::TRect r = GetClientRect();
        for (int y = 0; y < r.Height(); y += 7)
            for (int x = 0; x < r.Width(); x += 7)
                if (window.getPixel(x, y) != picture.getPixel(x, y)) return false;
        return true;
    }
};

struct InfoHost : ::testing::Test {
    dialogtest::TimeZone tz{"Europe/Oslo"};
    storetest::TempFolder folder;
    charttest::Host<ui::TMDIClient> host;
    TInfoWindow* chart = nullptr;
    DbaseWin* store = nullptr;

    void SetUp() override {
        storetest::MakeEmptyStore(folder.path());
        ui::SetScreenCapsOverride(gdi::DeviceCaps::forScreen(1920, 1080));
        ChartWindowCalls().makeStore =
            [bases = StoreFileBasesIn(folder.path())](TMapWindow& owner) -> ui::TWindow* {
            return new DbaseWin(&owner, bases);
        };
        chart = new TInfoWindow(*host.client, "", 5, 5.3205, 60.3975);
        ASSERT_TRUE(chart->Create());
        chart->ShowWindow(ui::SW_SHOW);
        charttest::settle();
        chart->KillTimer(kChartTimerId);
        // The showing's sizes asked for a re-centre at the next tick, which
        // would end that tick early.
        ChartWindowState().recentreRequest = 0;
        store = dynamic_cast<DbaseWin*>(chart->dbaseWin);
        ASSERT_TRUE(store && !store->Failed());
        ChartWindowState().redrawRequest = 0;
    }
    void TearDown() override {
        delete chart;
        ui::SetScreenCapsOverride(std::nullopt);
        StoreRecordCalls() = TStoreRecordCalls{};
    }

    // An object anchored at (kLat, kLon + offset).
    static IdRecord Object(std::uint16_t kind, std::int32_t id, std::uint16_t length = 0,
                           std::uint16_t count = 0, const std::string& name = "",
                           std::int32_t offset = 0) {
        return IdRecord{.kind = kind,
                        .id = id,
                        .latitude = kLat,
                        .longitude = kLon + offset,
                        .timeStamp = kStamp,
                        .colour = 2,
                        .length = length,
                        .pointCount = count,
                        .name = name};
    }
    void Point(std::int32_t id, std::uint16_t n, std::int32_t lat, PointRecord p = {}) const {
        p.id = id;
        p.number = n;
        p.latitude = lat;
        p.longitude = kLon;
        store->CurrentPointRecord = p;
        ASSERT_EQ(store->WritePointRecord(), 0);
    }
    // The active route 3 (three points going north) with its table; its legs
    // from the table: 010.0 over 1.5 Nm, then 000.5 over 2.3 Nm.
    void ActiveRoute() const {
        TChartWindowState& s = ChartWindowState();
        s.activeRouteId = 3;
        s.routeState = 1;
        s.routePointCount = 3;
        s.routePoints[0] = RoutePoint{.legLength = 1.5f, .legCourse = 10.0f};
        s.routePoints[1] = RoutePoint{.legLength = 2.3f, .legCourse = 0.5f};
        s.routePoints[2] = RoutePoint{};
        s.routeTotal = 3.8;
    }
    // Runs the dialog of the object through the script step `act`.
    int Run(const IdRecord& object, int point, const std::function<void(ui::TDialog&)>& act,
            const ui::TPoint& click = {100, 100}) {
        uitest::TModalScript script;
        script.Dialog(kDbInfoTemplate, act);
        TDbInfoDialog dialog(chart, click, object, point);
        const int result = dialog.Execute();
        EXPECT_TRUE(script.Done());
        return result;
    }
    static std::string Text(ui::TDialog& d, int id) {
        std::vector<char> buffer(20000);
        d.GetDlgItemText(id, buffer.data(), int(buffer.size()));
        return buffer.data();
    }
    static void Modify(ui::TDialog& d, int id, const std::string& text) {
        d.SetDlgItemText(id, text.c_str());
        QWidget* item = static_cast<QWidget*>(d.GetDlgItem(id));
        if (auto* line = qobject_cast<QLineEdit*>(item)) line->setModified(true);
        if (auto* edit = qobject_cast<QPlainTextEdit*>(item)) edit->document()->setModified(true);
    }
    static std::optional<IdRecord> Stored(std::int32_t id) {
        IdBytes bytes;
        if (isam::EQLREC(kIdKey, IdKey(id).data(), bytes.data()) != 0) return std::nullopt;
        return IdRecord::Decode(bytes);
    }
    static std::optional<std::string> StoredText(std::int32_t id) {
        std::uint8_t fixed[kInfoFixedSize];
        if (isam::EQLREC(kInfoKey, InfoKey(id, 0).data(), fixed) != 0) return std::nullopt;
        std::vector<std::uint8_t> whole(isam::GETVLEN(kInfoFileNumber));
        if (isam::REDVREC(kInfoFileNumber, whole.data(), whole.size()) != 0) return std::nullopt;
        return InfoRecord::Decode(whole.data(), whole.size()).value_or(InfoRecord{}).text;
    }
};

// ---------------------------------------------------------------------------
// The description

using DbInfoDescriptionTest = InfoHost;

TEST_F(DbInfoDescriptionTest, EveryKindAndPointByteForByte) {
    // Track 1: point 2 with a depth in tenths, point 3 in hundredths with a
    // temperature. 12:34 and 12:40 local time.
    storetest::AddObject(Object(kKindTrack, 1, 123, 3));
    Point(1, 1, kLat);
    Point(1, 2, kLat,
          PointRecord{.time = kStamp + 34 * 60, .speed = 56, .course = 1234, .depth = 123});
    Point(1, 3, kLat,
          PointRecord{.time = kStamp + 40 * 60,
                      .speed = 5,
                      .course = 5,
                      .temperature = 1234,
                      .depth = 1256,
                      .depthScale = 1});
    // Route 2, not active: two points, 6 minutes north.
    storetest::AddObject(Object(kKindRoute, 2, 60, 2));
    Point(2, 1, kLat);
    Point(2, 2, kLatNorth);
    // Route 3, active (its legs from the table).
    storetest::AddObject(Object(kKindRoute, 3, 38, 3, "Sundet", 1));
    for (std::uint16_t n = 1; n <= 3; ++n)
        Point(3, n, kLat);
    // Symbols with and without a depth, and a record of no known kind.
    storetest::AddObject(Object(kKindSymbol, 5, 57, 7, "Grunne"));
    storetest::AddObject(Object(kKindSymbol, 6, 0, 7, "", 10000)); // a minute further east
    storetest::AddObject(Object(9, 9));
    const std::string track = "TRACK       ( id: 1 )\n" + kStored + "Lengde: 12.3 Nm.  3 punkter\n";
    const std::string route2 = "RUTE       ( id: 2 )\n" + kStored + "Lengde: 6.0 Nm.  2 punkter\n";
    const std::string route3 =
        "RUTE       ( id: 3 )\n" + kStored + "Lengde: 3.8 Nm.  3 punkter\nDist.: 3.8 Nm.\n";

    struct Case {
        const char* name;
        IdRecord object;
        int point;
        std::function<void(TChartWindowState&)> state;
        std::string text;
    };
    const auto active = [this](TChartWindowState&) { ActiveRoute(); };
    const Case cases[] = {
        {"track point, depth in tenths",
         Object(kKindTrack, 1, 123, 3),
         2,
         {},
         track + "\nPunkt: 2   Tid: 12:34\nPos.: " + kPos +
             "\nKurs: 123.4 \xB0\nFart: 5.6 Kt.\nDybde: 12.3 mtr.\n"},
        {"track point, depth in hundredths, temperature",
         Object(kKindTrack, 1, 123, 3),
         3,
         {},
         track + "\nPunkt: 3   Tid: 12:40\nPos.: " + kPos +
             "\nKurs: 000.5 \xB0\nFart: 0.5 Kt.\nDybde: 12.6 mtr.\nTemp: 12.3 \xB0 \n"},
        {"another route: the leg to the next stored point, variation 1 E",
         Object(kKindRoute, 2, 60, 2),
         1,
         {},
         route2 + "\nPunkt: 1\nPos.: " + kPos +
             "\nKurs: 000.0 \xB0  (359.0 \xB0)\nDist.: 6.0 Nm.\n"},
        {"another route's last point",
         Object(kKindRoute, 2, 60, 2),
         2,
         {},
         route2 + "\nPunkt: 2\nPos.:  60 30.000N    5 19.230E\nKurs: 000.0 \xB0  (359.0 "
                  "\xB0)\nDist.: 0.0 Nm.\n"},
        {"active forward route, point 1: table record 0", Object(kKindRoute, 3, 38, 3), 1, active,
         route3 + "\nPunkt: 1\nPos.: " + kPos +
             "\nKurs: 010.0 \xB0  (009.0 \xB0)\nDist.: 1.5 Nm.\n"},
        {"active forward route, point 2: the magnetic form wraps", Object(kKindRoute, 3, 38, 3), 2,
         active,
         route3 + "\nPunkt: 2\nPos.: " + kPos +
             "\nKurs: 000.5 \xB0  (359.5 \xB0)\nDist.: 2.3 Nm.\n"},
        {"active reversed route, point 3 is travelled first", Object(kKindRoute, 3, 38, 3), 3,
         [&](TChartWindowState& s) {
             active(s);
             s.forwardFlag = 0;
         },
         route3 + "\nPunkt: 3\nPos.: " + kPos +
             "\nKurs: 010.0 \xB0  (009.0 \xB0)\nDist.: 1.5 Nm.\n"},
        {"active reversed route, point 1 is the last", Object(kKindRoute, 3, 38, 3), 1,
         [&](TChartWindowState& s) {
             active(s);
             s.forwardFlag = 0;
         },
         route3 + "\nPunkt: 1\nPos.: " + kPos +
             "\nKurs: 000.0 \xB0  (359.0 \xB0)\nDist.: 0.0 Nm.\n"},
        {"active route while followed: the distance to go", Object(kKindRoute, 3, 38, 3), 0,
         [&](TChartWindowState& s) {
             active(s);
             s.followingState = 1;
             s.destinationIndex = 1;
             s.routeRange = 0.7;
         },
         "RUTE       ( id: 3 )\n" + kStored + "Lengde: 3.8 Nm.  3 punkter\nDist.: 3.0 Nm.\n"},
        {"active route while edited: its name", Object(kKindRoute, 3, 38, 3, "Sundet"), 2,
         [&](TChartWindowState& s) {
             active(s);
             s.routeState = 3;
         },
         "Sundet\nLengde: 3.8 Nm.  3 punkter\nDist.: 3.8 Nm.\n\nPunkt: 2\nPos.: " + kPos +
             "\nKurs: 000.5 \xB0  (359.5 \xB0)\nDist.: 2.3 Nm.\n"},
        {"symbol with a depth",
         Object(kKindSymbol, 5, 57, 7, "Grunne"),
         0,
         {},
         "SYMBOL       ( id: 5 )\n" + kStored + "\nPos.: " + kPos + "\nDybde: 5.7 mtr.\n"},
        {"symbol without a depth",
         Object(kKindSymbol, 6, 0, 7, "", 10000),
         0,
         {},
         "SYMBOL       ( id: 6 )\n" + kStored + "\nPos.:  60 24.000N    5 20.230E"},
        {"a kind of no name", Object(9, 9), 0, {}, "       ( id: 9 )\n" + kStored},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TChartWindowState& s = ChartWindowState();
        s.activeRouteId = 0;
        s.routeState = 0;
        s.forwardFlag = 1;
        s.followingState = 0;
        if (c.state) c.state(s);
        EXPECT_EQ(DbInfoDescription(c.object, c.point), c.text);
    }
}

// ---------------------------------------------------------------------------
// The dialog of a stored object

using DbInfoDialogTest = InfoHost;

TEST_F(DbInfoDialogTest, ShowsTheNameDescriptionAndText) {
    storetest::AddObject(Object(kKindSymbol, 5, 57, 7, "Grunne"));
    storetest::AddText(InfoRecord{.id = 5, .text = "Godt fiske\r\nved fl\xF8o"});
    Run(Object(kKindSymbol, 5, 57, 7, "Grunne"), 0, [](ui::TDialog& d) {
        dialogtest::savePicture(static_cast<QWidget*>(d.GetHandle())->grab().toImage(),
                                "db-info-dialog.png");
        EXPECT_EQ(Text(d, kDbInfoName), "Grunne");
        EXPECT_EQ(Text(d, kDbInfoText), "Godt fiske\r\nved fl\xF8o");
        std::string description = DbInfoDescription(Object(kKindSymbol, 5, 57, 7), 0);
        for (std::size_t at = 0; (at = description.find('\n', at)) != std::string::npos; at += 2)
            description.replace(at, 1, "\r\n");
        EXPECT_EQ(Text(d, kDbInfoDescription), description);
        EXPECT_FALSE(d.IsDlgItemModified(kDbInfoName));
        d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
    });
}

TEST_F(DbInfoDialogTest, TextsAreAddedOrRewrittenAndUnchangedFieldsWriteNothing) {
    storetest::AddObject(Object(kKindRoute, 4, 10, 2, "Old"));
    {
        SCOPED_TRACE("unchanged: nothing written");
        StoreSpy spy;
        EXPECT_EQ(Run(Object(kKindRoute, 4), 0,
                      [](ui::TDialog& d) { d.SendMessage(ui::WM_COMMAND, ui::IDOK); }),
                  ui::IDOK);
        EXPECT_TRUE(spy.Writes().empty());
        EXPECT_EQ(ChartWindowState().redrawRequest, 1); // closing asks for a redraw anyway
    }
    {
        SCOPED_TRACE("a new text: ADDVREC of its length + 8");
        StoreSpy spy;
        Run(Object(kKindRoute, 4), 0, [](ui::TDialog& d) {
            EXPECT_TRUE(dynamic_cast<TDbInfoDialog&>(d).NewText());
            Modify(d, kDbInfoText, "Ankret her");
            d.SendMessage(ui::WM_COMMAND, ui::IDOK);
        });
        EXPECT_EQ(spy.Writes(), (std::vector<std::string>{"ADDVREC 6 id=4 length=18"}));
        EXPECT_EQ(StoredText(4), "Ankret her");
    }
    {
        SCOPED_TRACE("an existing text: RWTVREC; the name: 29 bytes of 40");
        StoreSpy spy;
        ChartWindowState().redrawRequest = 0;
        Run(Object(kKindRoute, 4, 10, 2, "Old"), 0, [](ui::TDialog& d) {
            EXPECT_FALSE(dynamic_cast<TDbInfoDialog&>(d).NewText());
            EXPECT_EQ(Text(d, kDbInfoText), "Ankret her");
            Modify(d, kDbInfoText, "Kort");
            Modify(d, kDbInfoName, std::string(40, 'N'));
            EXPECT_EQ(Text(d, kDbInfoName), std::string(30, 'N')); // the field's 30
            d.SendMessage(ui::WM_COMMAND, ui::IDOK);
        });
        EXPECT_EQ(spy.Writes(),
                  (std::vector<std::string>{"RWTREC 0 kind=2 id=4", "RWTVREC 6 id=4 length=12"}));
        EXPECT_EQ(StoredText(4), "Kort");
        const std::optional<IdRecord> stored = Stored(4);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->name, std::string(29, 'N'));
        EXPECT_EQ(stored->length, 10); // the rest of the record as it was
        EXPECT_EQ(stored->pointCount, 2);
        EXPECT_EQ(ChartWindowState().redrawRequest, 1);
    }
    {
        SCOPED_TRACE("5000 characters keep 4800");
        Run(Object(kKindRoute, 4), 0, [](ui::TDialog& d) {
            Modify(d, kDbInfoText, std::string(5000, 'x'));
            d.SendMessage(ui::WM_COMMAND, ui::IDOK);
        });
        EXPECT_EQ(StoredText(4), std::string(4800, 'x'));
    }
    {
        SCOPED_TRACE("another object's text made current meanwhile stays as it was");
        storetest::AddText(InfoRecord{.id = 8, .text = "Naboens tekst"});
        Run(Object(kKindRoute, 4), 0, [](ui::TDialog& d) {
            // The chart's labels look INFO records up while the dialog is open.
            std::uint8_t fixed[kInfoFixedSize];
            ASSERT_EQ(isam::EQLREC(kInfoKey, InfoKey(8, 0).data(), fixed), 0);
            Modify(d, kDbInfoText, "Egen");
            d.SendMessage(ui::WM_COMMAND, ui::IDOK);
        });
        EXPECT_EQ(StoredText(4), "Egen");
        EXPECT_EQ(StoredText(8), "Naboens tekst");
    }
    {
        SCOPED_TRACE("Cancel writes nothing");
        StoreSpy spy;
        Run(Object(kKindRoute, 4), 0, [](ui::TDialog& d) {
            Modify(d, kDbInfoText, "lost");
            Modify(d, kDbInfoName, "lost");
            d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
        });
        EXPECT_TRUE(spy.Writes().empty());
    }
}

TEST_F(DbInfoDialogTest, ShortOrLongTextRecordsAndFailedWrites) {
    storetest::AddObject(Object(kKindSymbol, 5, 0, 7, "Merke"));
    storetest::AddText(InfoRecord{.id = 5, .text = std::string(6000, 'y')});
    // A stored text longer than the field shows its first 4800 bytes.
    Run(Object(kKindSymbol, 5), 0, [](ui::TDialog& d) {
        EXPECT_EQ(Text(d, kDbInfoText), std::string(4800, 'y'));
        d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
    });
    {
        SCOPED_TRACE("a record the record layer gives as 3 bytes holds no text");
        StoreSpy spy;
        spy.variableLength = 3;
        Run(Object(kKindSymbol, 5), 0, [](ui::TDialog& d) {
            EXPECT_EQ(Text(d, kDbInfoText), "");
            EXPECT_FALSE(dynamic_cast<TDbInfoDialog&>(d).NewText());
            d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
        });
    }
    {
        SCOPED_TRACE("a refused rename and a refused text are both shown");
        StoreSpy spy;
        spy.Refuse("RWTREC 0", isam::kReadWrite);
        spy.Refuse("RWTVREC 6", isam::kReadWrite);
        uitest::TModalScript script;
        script
            .Dialog(kDbInfoTemplate,
                    [](ui::TDialog& d) {
                        Modify(d, kDbInfoName, "Nytt");
                        Modify(d, kDbInfoText, "ny");
                        d.SendMessage(ui::WM_COMMAND, ui::IDOK);
                    })
            .Box(ui::IDOK)
            .Box(ui::IDOK);
        ChartWindowState().redrawRequest = 0;
        TDbInfoDialog dialog(chart, {100, 100}, Object(kKindSymbol, 5), 0);
        dialog.Execute();
        EXPECT_TRUE(script.Done());
        ASSERT_EQ(script.Modals().size(), 3u);
        EXPECT_EQ(script.Modals()[0].caption, "Rewrite ID");
        EXPECT_EQ(script.Modals()[1].caption, "Rewrite INFO");
        EXPECT_EQ(Stored(5)->name, "Merke");
        EXPECT_EQ(StoredText(5), std::string(6000, 'y'));
    }
}

TEST_F(DbInfoDialogTest, ButtonFourHundredFourAsksForChartInformation) {
    storetest::AddObject(Object(kKindSymbol, 5, 0, 7, "Merke"));
    struct Case {
        int routeState;
        bool placeSymbols;
        bool enabled;
    };
    for (const Case c : {Case{0, false, true}, Case{1, false, true}, Case{2, false, false},
                         Case{3, false, false}, Case{0, true, false}}) {
        SCOPED_TRACE(testing::Message()
                     << "route state " << c.routeState << ", place symbols " << c.placeSymbols);
        ChartWindowState().routeState = c.routeState;
        ChartWindowState().placeSymbolMode = c.placeSymbols;
        Run(Object(kKindSymbol, 5), 0, [&](ui::TDialog& d) {
            EXPECT_EQ(static_cast<QWidget*>(d.GetDlgItem(kChartInfoButton))->isEnabled(),
                      c.enabled);
            d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
        });
    }
    ChartWindowState().routeState = 1;
    ChartWindowState().placeSymbolMode = false;
    // It stores as OK does and ends the dialog with 404.
    EXPECT_EQ(Run(Object(kKindSymbol, 5), 0,
                  [](ui::TDialog& d) {
                      Modify(d, kDbInfoName, "Skj\xE6r");
                      d.SendMessage(ui::WM_COMMAND, kChartInfoButton);
                  }),
              kChartInfoButton);
    EXPECT_EQ(Stored(5)->name, "Skj\xE6r");
}

TEST(InfoDialogPlace, LeftOfTheMiddleGoesRightAndTheThreeDViewKeepsLeft) {
    struct Case {
        int x;
        bool viewer;
        int left;
    };
    for (const Case c : {Case{100, false, 1920 - 300 - 5}, Case{960, false, 1920 - 300 - 5},
                         Case{961, false, 5}, Case{1900, false, 5}, Case{100, true, 5}}) {
        SCOPED_TRACE(testing::Message() << c.x << (c.viewer ? ", 3D view" : ""));
        EXPECT_EQ(InfoDialogPlace({c.x, 400}, 300, 1920, c.viewer), ui::TPoint(c.left, 5));
    }
}

TEST_F(DbInfoDialogTest, PlacedByTheClickWithTheCursorHeldAtOk) {
    storetest::AddObject(Object(kKindSymbol, 5, 0, 7));
    for (const int clickX : {300, 1500}) {
        SCOPED_TRACE(clickX);
        uitest::TCursorRecorder cursor;
        ChartWindowState().redrawRequest = 0;
        Run(Object(kKindSymbol, 5), 0,
            [&](ui::TDialog& d) {
                const ui::TRect self = d.GetWindowRect();
                EXPECT_EQ(self.Height(), kInfoDialogHeight);
                EXPECT_EQ(self.top, 5);
                EXPECT_EQ(self.left, clickX > 960 ? 5 : 1920 - self.Width() - 5);
                const ui::TRect ok = ui::GetWindowRect(d.GetDlgItem(ui::IDOK));
                ASSERT_EQ(cursor.Requests.size(), 2u);
                EXPECT_TRUE(cursor.Requests[0].clipped);
                EXPECT_EQ(cursor.Requests[1].x, ok.left + 160);
                EXPECT_EQ(cursor.Requests[1].y, ok.top + 10);
                d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
            },
            {clickX, 300});
        EXPECT_FALSE(cursor.Requests.back().clipped);
        EXPECT_EQ(ChartWindowState().redrawRequest, 1);
    }
}

// ---------------------------------------------------------------------------
// The chart objects under a click

// A fake object that counts how many of its kind were destroyed.
class TCounted : public kit::FakeObject {
  public:
    explicit TCounted(int code) : FakeObject(code) {}
    ~TCounted() override { ++destroyed; }
    static inline int destroyed = 0;
};

// What a light's procedure saw: its detail level and whether it drew on the
// chart window's picture 1.
struct LightSeen {
    int details;
    gdi::Dc* dc;
};
std::vector<LightSeen> lightsSeen;
void lightSpy(TMapContext* context, GdbObject*, MapObject*) {
    lightsSeen.push_back({context->details, context->dc});
}

std::unique_ptr<TObjView> node(int code, const char* name, const char* attributes,
                               const char* objectName = nullptr) {
    const auto text = [](const char* t) {
        return t ? std::optional<std::string>(t) : std::nullopt;
    };
    return std::make_unique<TObjView>(new TCounted(code), text(name), text(attributes),
                                      text(objectName));
}

struct ItemSeen {
    int depth;
    std::string text;
    const TObjView* node;
};
void walk(const ui::TTreeWindow& tree, ui::HTREEITEM parent, int depth,
          std::vector<ItemSeen>& out) {
    for (int i = 0; i < tree.GetChildCount(parent); ++i) {
        const ui::HTREEITEM item = tree.GetChild(parent, i);
        out.push_back({depth, tree.GetItemText(item),
                       reinterpret_cast<const TObjView*>(tree.GetItemData(item))});
        walk(tree, item, depth + 1, out);
    }
}

using ObjectInfoDialogTest = InfoHost;

TEST_F(ObjectInfoDialogTest, TheTreeItsTextsAndTheLightOnTheChart) {
    // Root (the coverage object) > a structure with a light and a top mark,
    // a buoy with a name, a wreck without attributes.
    auto root = std::make_unique<TObjView>(new TCounted(217), "M_COVR", "CATCOV: 1\r\n");
    TObjView& structure = root->Append(node(185, "BCNLAT", "CATLAM: 1\r\n", "Nordnes"));
    TObjView& light = structure.Append(node(86, "LIGHTS", "COLOUR: 3\r\nLITCHR: 2\r\n"));
    structure.Append(node(197, "TOPMAR", "TOPSHP: 3\r\n"));
    root->Append(node(17, "BOYLAT", "OBJNAM: Laksev\xE5g\r\n", "Laksev\xE5g"));
    TObjView& wreck = root->Append(node(159, "WRECKS", nullptr));
    const TObjView* expectedLight = &light;

    const CondSymbProc before = kit::chart().presentation->setSymbProcedure(86, lightSpy);
    lightsSeen.clear();
    TCounted::destroyed = 0;
    chart->log.clear();
    uitest::TModalScript script;
    script.Dialog(kObjectInfoTemplate, [&](ui::TDialog& d) {
        auto& info = dynamic_cast<TObjectInfoDialog&>(d);
        std::vector<ItemSeen> items;
        walk(info.Tree(), ui::TVI_ROOT, 0, items);
        ASSERT_EQ(items.size(), 5u);
        const std::vector<std::pair<int, std::string>> expected = {{0, "BCNLAT - Nordnes"},
                                                                   {1, "LIGHTS"},
                                                                   {1, "TOPMAR"},
                                                                   {0, "BOYLAT - Laksev\xE5g"},
                                                                   {0, "WRECKS"}};
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].depth, expected[i].first) << i;
            EXPECT_EQ(items[i].text, expected[i].second) << i;
        }
        EXPECT_EQ(items[1].node, expectedLight); // the node is the item's data

        char text[256];
        // A structure: its attributes; nothing is drawn.
        info.Tree().SelectItem(info.Tree().GetChild(ui::TVI_ROOT, 0));
        d.GetDlgItemText(kObjectAttributes, text, sizeof text);
        EXPECT_STREQ(text, "CATLAM: 1\r\n");
        EXPECT_TRUE(chart->log.empty());
        // No attributes.
        info.Tree().SelectItem(info.Tree().GetChild(ui::TVI_ROOT, 2));
        d.GetDlgItemText(kObjectAttributes, text, sizeof text);
        EXPECT_STREQ(text, kNoAttributes);
        EXPECT_TRUE(chart->log.empty());
        EXPECT_TRUE(lightsSeen.empty());
        // The light: the picture drawn again with erase, the light over it in
        // detail level 2, and the picture on the window.
        info.Tree().SelectItem(info.Tree().GetChild(info.Tree().GetChild(ui::TVI_ROOT, 0), 0));
        d.GetDlgItemText(kObjectAttributes, text, sizeof text);
        EXPECT_STREQ(text, "COLOUR: 3\r\nLITCHR: 2\r\n");
        EXPECT_EQ(chart->log, (std::vector<std::string>{"fill 9", "DrawChart"}));
        ASSERT_EQ(lightsSeen.size(), 1u);
        EXPECT_EQ(lightsSeen[0].details, 2);
        EXPECT_EQ(lightsSeen[0].dc, chart->memPicture1.get());
        EXPECT_TRUE(chart->Shows(*chart->memPicture1));
        EXPECT_EQ(chart->memPicture1->mapping(), gdi::Mapping{}); // put back
        d.SendMessage(ui::WM_COMMAND, ui::IDOK);
    });
    {
        TObjectInfoDialog dialog(chart, {1500, 300}, std::move(root));
        dialog.Execute();
        EXPECT_EQ(TCounted::destroyed, 0);
    }
    EXPECT_TRUE(script.Done());
    kit::chart().presentation->setSymbProcedure(86, before);
    // The dialog destroyed the whole tree, the root's object included.
    EXPECT_EQ(TCounted::destroyed, 6);
    EXPECT_EQ(ChartWindowState().redrawRequest, 1);
    (void)wreck;
}

TEST(ObjView, TextsOfAChartObject) {
    kit::FakeObject light(86);
    EXPECT_EQ(ObjectNameText(light), std::nullopt);
    light.set(kit::textAttr(87, "Nordnes"));
    // The fake prints nothing: the texts are absent, the name's value is there.
    EXPECT_EQ(ObjectClassNameText(light), std::nullopt);
    EXPECT_EQ(ObjectAttributeText(light), std::nullopt);
    EXPECT_TRUE(ObjectNameText(light).has_value());

    TObjView plain(nullptr, "LIGHTS");
    EXPECT_EQ(plain.ItemText(), "LIGHTS");
    EXPECT_EQ(plain.Info().attributes, nullptr);
    plain.SetObjectName("Nordnes");
    EXPECT_EQ(plain.ItemText(), "LIGHTS - Nordnes");
}

// The sample chart around Bergen: a tree of real chart objects, each node a
// clone that locks its cell.
struct SampleTree {
    std::unique_ptr<TObjView> root = std::make_unique<TObjView>();
    std::map<TGeoCell*, std::uint32_t> locksBefore;
    int nodes = 0;
    const TObjView* light = nullptr;

    void add(GdbObject& object, TObjView& parent) {
        if (auto* kv = dynamic_cast<TKV71DbObject*>(&object))
            if (TGeoCell* cell = kv->GetCell()) locksBefore.emplace(cell, cell->lockCount);
        GdbObject* clone = object.clone();
        ASSERT_NE(clone, nullptr);
        TObjView& n = parent.Append(std::make_unique<TObjView>(clone, ObjectClassNameText(*clone),
                                                               ObjectAttributeText(*clone),
                                                               ObjectNameText(*clone)));
        ++nodes;
        if (clone->GetLabel() == 86 && !light) light = &n;
        for (GdbObject* child = object.FirstChild(); child; child = object.NextChild())
            add(*child, n);
    }
    static bool hasLight(GdbObject& object) {
        if (object.GetLabel() == 86) return true;
        for (GdbObject* child = object.FirstChild(); child; child = object.NextChild())
            if (hasLight(*child)) return true;
        return false;
    }
};

TEST_F(ObjectInfoDialogTest, ATreeFromTheSampleChartGivesBackItsCells) {
    charttest::SampleChart sample;
    chart->displayScale = 15000;
    chart->levelScale = 20000;
    const ui::TRect client = chart->GetClientRect();
    GeoRect rect = ChartPassGeoRect(*chart->map, Rect{-100, -100, 100, 100});
    const TGdbFormula formula = ChartPassFormula(15);
    TGdbQuery query(*sample.database);
    ASSERT_TRUE(query.open(rect, 20000ul, &formula));
    SampleTree tree;
    int others = 0;
    while (GdbObject* o = query.next()) {
        if (o->HasParent()) continue;
        if (SampleTree::hasLight(*o) ? !tree.light : others++ < 12) tree.add(*o, *tree.root);
    }
    ASSERT_NE(tree.light, nullptr) << "no light near Bergen harbour";
    std::map<TGeoCell*, std::uint32_t> locked;
    for (const auto& [cell, count] : tree.locksBefore)
        locked[cell] = cell->lockCount;
    for (const auto& [cell, count] : tree.locksBefore)
        EXPECT_GT(locked[cell], count); // the clones hold their cells

    const CondSymbProc before = sample.presentation.setSymbProcedure(86, lightSpy);
    lightsSeen.clear();
    uitest::TModalScript script;
    script.Dialog(kObjectInfoTemplate, [&](ui::TDialog& d) {
        auto& info = dynamic_cast<TObjectInfoDialog&>(d);
        std::vector<ItemSeen> items;
        walk(info.Tree(), ui::TVI_ROOT, 0, items);
        EXPECT_EQ(int(items.size()), tree.nodes);
        ui::HTREEITEM lightItem = nullptr;
        for (const ItemSeen& item : items) {
            EXPECT_EQ(item.text, item.node->ItemText());
            EXPECT_FALSE(item.text.empty());
            EXPECT_EQ(item.text.find('\n'), std::string::npos);
        }
        // Find the light's item and choose it.
        std::function<void(ui::HTREEITEM)> find = [&](ui::HTREEITEM parent) {
            for (int i = 0; i < info.Tree().GetChildCount(parent); ++i) {
                ui::HTREEITEM item = info.Tree().GetChild(parent, i);
                if (reinterpret_cast<const TObjView*>(info.Tree().GetItemData(item)) == tree.light)
                    lightItem = item;
                find(item);
            }
        };
        find(ui::TVI_ROOT);
        ASSERT_NE(lightItem, nullptr);
        info.Tree().SelectItem(lightItem);
        std::vector<char> text(0x8000);
        d.GetDlgItemText(kObjectAttributes, text.data(), int(text.size()));
        ASSERT_TRUE(tree.light->Attributes());
        std::string shown = *tree.light->Attributes();
        EXPECT_NE(shown.find(':'), std::string::npos) << shown; // "name: value" lines
        EXPECT_EQ(lightsSeen.size(), 1u);
        EXPECT_EQ(lightsSeen.empty() ? -1 : lightsSeen[0].details, 2);

        // For a person to look at: the dialog, and the light drawn by its own
        // procedure over the chart.
        dialogtest::savePicture(static_cast<QWidget*>(d.GetHandle())->grab().toImage(),
                                "object-info-dialog.png");
        sample.presentation.setSymbProcedure(86, before);
        chart->drawChart = true;
        info.Tree().SelectItem(info.Tree().GetChild(ui::TVI_ROOT, 0));
        info.Tree().SelectItem(lightItem);
        chart->drawChart = false;
        dialogtest::savePicture(chart->memPicture1->picture(), "object-info-light.png");
        d.SendMessage(ui::WM_COMMAND, ui::IDOK);
    });
    {
        TObjectInfoDialog dialog(chart, {300, 300}, std::move(tree.root));
        dialog.Execute();
    }
    EXPECT_TRUE(script.Done());
    sample.presentation.setSymbProcedure(86, before);
    for (const auto& [cell, count] : tree.locksBefore)
        EXPECT_EQ(cell->lockCount, count);
    query.close();
    (void)client;
}

// ---------------------------------------------------------------------------
// The short read-out

using ShortReadoutTest = InfoHost;

TEST_F(ShortReadoutTest, TextsPlaceAndLife) {
    EXPECT_EQ(ShortReadoutLine("12.4", "mtr", nullptr), "12.4  mtr  ");
    ChartWindowState().dialogCounter = 30;
    TShortReadoutWindow& readout =
        TShortReadoutWindow::Show(*chart, "Dybde", "12.4", "mtr", "07:30");
    EXPECT_EQ(chart->shortReadout, &readout);
    EXPECT_EQ(ChartWindowState().dialogCounter, 0);
    char text[64];
    readout.GetDlgItemText(kShortReadoutTitle, text, sizeof text);
    EXPECT_STREQ(text, "Dybde");
    readout.GetDlgItemText(kShortReadoutLine, text, sizeof text);
    EXPECT_STREQ(text, "12.4  mtr  07:30");
    // 3 pixels inside the chart window's top and right edges, 540 high.
    ui::TRect r = readout.GetWindowRect();
    ui::TPoint topLeft(r.left, r.top);
    chart->ScreenToClient(topLeft);
    EXPECT_EQ(topLeft.y, 3);
    EXPECT_EQ(topLeft.x + r.Width(), chart->GetClientRect().right - 3);
    EXPECT_EQ(r.Height(), kShortReadoutHeight);
    // Shown again: the same window with the new texts.
    EXPECT_EQ(&TShortReadoutWindow::Show(*chart, "Fart", "6.2", "kt", ""), &readout);
    readout.GetDlgItemText(kShortReadoutLine, text, sizeof text);
    EXPECT_STREQ(text, "6.2  kt  ");

    // The timer destroys it at the 50th count (every second tick counts; own
    // ship is not followed, so every tick gets that far).
    ChartWindowState().followFlag = 0;
    ChartWindowState().dialogCounter = 48;
    chart->EvTimer(kChartTimerId);
    chart->EvTimer(kChartTimerId);
    ASSERT_EQ(ChartWindowState().dialogCounter, 49);
    EXPECT_EQ(chart->shortReadout, &readout);
    chart->EvTimer(kChartTimerId);
    chart->EvTimer(kChartTimerId);
    EXPECT_EQ(chart->shortReadout, nullptr);

    // Closed any other way, the chart window forgets it too.
    TShortReadoutWindow::Show(*chart, "Dybde", "1", "2", "3").Destroy();
    EXPECT_EQ(chart->shortReadout, nullptr);
    charttest::settle();
}

} // namespace
