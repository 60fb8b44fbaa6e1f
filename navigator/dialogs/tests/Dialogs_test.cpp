// The chart window's dialogs and controls: the position entry, the list
// chooser, the help dialog, the colour patch and the cross-track gauge.
#include "DialogTestSupport.h"

#include "ModalScript.h"
#include "app/ViewerModule.h"
#include "dialogs/TColorControl.h"
#include "dialogs/TF1Dlg.h"
#include "dialogs/TGaugeX.h"
#include "dialogs/TListDlg.h"
#include "dialogs/TPositionDlg.h"
#include "gdi/RecordingDc.h"
#include "ui/Controls.h"
#include "ui/Screen.h"

#include <QComboBox>
#include <QWidget>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using dialogtest::ChartHost;

std::string text(const ui::TWindow& w, int id) {
    char buf[128] = {};
    w.GetDlgItemText(id, buf, sizeof buf);
    return buf;
}

bool hasFocus(const ui::TWindow& dialog, int id) {
    const QWidget* item = dialog.GetDlgItem(id);
    return item && item->window()->focusWidget() == item;
}

// ---------------------------------------------------------------------------
// Position entry

TEST(PositionDialog, ReadsDegreesMinutesDecimalsAndHemisphere) {
    ChartHost h;
    const struct {
        const char* name;
        const char* fields[8];
        double lat, lon;
    } accepted[] = {
        {"one decimal is tenths",
         {"60", "23", "5", "N", "5", "19", "050", "E"},
         60 + 23 / 60.0 + 0.5 / 60,
         5 + 19 / 60.0 + 0.05 / 60},
        {"south and west",
         {"33", "51", "75", "S", "151", "12", "450", "W"},
         -(33 + 51.75 / 60),
         -(151 + 12.45 / 60)},
        {"lower case", {"1", "0", "", "n", "0", "30", "", "e"}, 1, 0.5},
        {"empty fields count 0", {"", "", "", "N", "", "", "", "E"}, 0, 0},
        {"an empty hemisphere is the negative one", {"10", "", "", "", "20", "", "", ""}, -10, -20},
        {"the poles and the antimeridian",
         {"90", "00", "000", "S", "180", "0", "0", "W"},
         -90,
         -180},
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.name);
        TChartWindowState& s = ChartWindowState();
        s.enteredLon = s.enteredLat = 7;
        uitest::TModalScript script;
        script.Dialog(kPositionTemplate, [&](ui::TDialog& d) {
            EXPECT_EQ(d.GetCaption(), "Oppgi \xF8nsket posisjon");
            EXPECT_EQ(text(d, 1004), "N");
            EXPECT_EQ(text(d, 1008), "E");
            for (int i = 0; i < 8; ++i)
                d.SetDlgItemText(1001 + i, c.fields[i]);
            d.SendMessage(ui::WM_COMMAND, ui::IDOK);
        });
        TPositionDlg dialog(h.chart);
        EXPECT_EQ(dialog.Execute(), ui::IDOK);
        EXPECT_DOUBLE_EQ(s.enteredLat, c.lat);
        EXPECT_DOUBLE_EQ(s.enteredLon, c.lon);
        EXPECT_TRUE(script.Done());
    }
}

TEST(PositionDialog, RefusesWithTheFocusOnTheFieldAndCancelStoresNothing) {
    ChartHost h;
    const struct {
        const char* name;
        const char* fields[8];
        int focus;
    } refused[] = {
        {"a letter in the degrees", {"6a", "0", "0", "N", "5", "0", "0", "E"}, 1001},
        {"minutes of 60", {"60", "60", "0", "N", "5", "0", "0", "E"}, 1002},
        {"a sign in the decimals", {"60", "0", "-1", "N", "5", "0", "0", "E"}, 1003},
        {"a latitude above 90", {"90", "01", "0", "N", "5", "0", "0", "E"}, 1001},
        {"a latitude of 91", {"91", "0", "0", "S", "5", "0", "0", "E"}, 1001},
        {"a longitude above 180", {"60", "0", "0", "N", "180", "0", "1", "E"}, 1005},
        {"longitude minutes of 75", {"60", "0", "0", "N", "5", "75", "0", "E"}, 1006},
        {"a blank in the longitude decimals", {"60", "0", "0", "N", "5", "0", "1 2", "E"}, 1007},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        TChartWindowState& s = ChartWindowState();
        s.enteredLon = s.enteredLat = 7;
        uitest::TModalScript script;
        script.Dialog(kPositionTemplate, [&](ui::TDialog& d) {
            for (int i = 0; i < 8; ++i)
                d.SetDlgItemText(1001 + i, c.fields[i]);
            d.SendMessage(ui::WM_COMMAND, ui::IDOK);
            EXPECT_TRUE(d.IsWindow()); // still open
            EXPECT_TRUE(hasFocus(d, c.focus));
            d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
        });
        TPositionDlg dialog(h.chart);
        EXPECT_EQ(dialog.Execute(), ui::IDCANCEL);
        EXPECT_EQ(s.enteredLat, 7);
        EXPECT_EQ(s.enteredLon, 7);
        EXPECT_TRUE(script.Done());
    }
    // The hemisphere fields hold one character, typed in either case.
    uitest::TModalScript script;
    script.Dialog(kPositionTemplate, [&](ui::TDialog& d) {
        d.SetDlgItemText(1004, "sx");
        d.SetDlgItemText(1001, "123");
        EXPECT_EQ(text(d, 1004), "s");
        EXPECT_EQ(text(d, 1001), "12");
        d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
    });
    TPositionDlg dialog(h.chart);
    EXPECT_EQ(dialog.Execute(), ui::IDCANCEL);
    EXPECT_EQ(ChartWindowState().enteredLat, 7); // Cancel stores nothing
    EXPECT_TRUE(script.Done());
}

// ---------------------------------------------------------------------------
// List chooser

struct ListTest : ::testing::Test {
    ChartHost h;
    TListDlg* open(int mode) {
        ChartWindowState().listMode = mode;
        auto* list = new TListDlg(h.chart);
        h.chart->listDlg = list;
        list->AddItem("Bergen - Ask\xF8y  (12.4)", 17); // before its window exists
        EXPECT_TRUE(list->Create());
        list->AddItem("Nul  (0.0)", 0);
        list->AddItem("Minus  (1.0)", -3);
        list->AddItem("Fra Sotra til Fedje langs leia nordover  (41.2)", 23);
        return list;
    }
    static void select(TListDlg* list, int index) {
        auto* combo = dynamic_cast<ui::TComboBox*>(ui::GetWindowPtr(list->GetDlgItem(kListCombo)));
        ASSERT_TRUE(combo);
        ASSERT_EQ(combo->GetCount(), 4);
        combo->SetSelIndex(index);
    }
};

TEST_F(ListTest, ModeOneChoosesAnItemWithReturDisabled) {
    TListDlg* list = open(1);
    EXPECT_FALSE(list->GetDlgItem(kListReverse)->isEnabled());
    EXPECT_TRUE(list->GetDlgItem(kListOk)->isEnabled());
    select(list, 0);
    list->SendMessage(ui::WM_COMMAND, kListOk);
    const TChartWindowState& s = ChartWindowState();
    EXPECT_EQ(s.chosenItem, 17);
    EXPECT_EQ(s.pendingAction, 5);
    EXPECT_EQ(s.listMode, 0);
    EXPECT_EQ(s.activeRouteId, 0);
    EXPECT_EQ(h.chart->listDlg, nullptr);
    charttest::settle(); // deleted after its message
                         // Only the tool box is left.
    EXPECT_EQ(h.chart->GetChildren(), std::vector<ui::TWindow*>{h.chart->toolBox});
}

TEST_F(ListTest, ModeTwoChoosesTheRouteItsNameAndDirection) {
    const struct {
        const char* name;
        std::int32_t activeBefore;
        int index, button;
        std::int32_t route;
        std::uint8_t forward;
        const char *name1, *name2;
    } cases[] = {
        {"OK with no route active", 0, 0, kListOk, 17, 1, "Bergen - Ask\xF8y  (12.4)", ""},
        {"Retur with a route active", 5, 0, kListReverse, 17, 0, "", "Bergen - Ask\xF8y  (12.4)"},
        {"a long name is cut to 35", 0, 3, kListOk, 23, 1, "Fra Sotra til Fedje langs leia nord",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetChartWindowState();
        TChartWindowState& s = ChartWindowState();
        s.activeRouteId = c.activeBefore;
        TListDlg* list = open(2);
        EXPECT_TRUE(list->GetDlgItem(kListReverse)->isEnabled());
        select(list, c.index);
        list->SendMessage(ui::WM_COMMAND, ui::UINT(c.button));
        EXPECT_EQ(s.activeRouteId, c.route);
        EXPECT_EQ(s.forwardFlag, c.forward);
        EXPECT_EQ(s.routeName1, c.name1);
        EXPECT_EQ(s.routeName2, c.name2);
        EXPECT_EQ(s.followRouteRequest, 1);
        EXPECT_EQ(s.redrawRequest, 1);
        EXPECT_EQ(s.listMode, 0);
        EXPECT_EQ(h.chart->listDlg, nullptr);
        charttest::settle();
    }
}

TEST_F(ListTest, ValuesOfZeroOrBelowChangeNothingAndModeThreeAndCancel) {
    TListDlg* list = open(2);
    for (int index : {1, 2}) {
        select(list, index);
        list->SendMessage(ui::WM_COMMAND, kListOk);
        EXPECT_EQ(h.chart->listDlg, list); // still open
        EXPECT_EQ(ChartWindowState().activeRouteId, 0);
        EXPECT_EQ(ChartWindowState().followRouteRequest, 0);
        EXPECT_EQ(ChartWindowState().listMode, 2);
    }
    list->SendMessage(ui::WM_COMMAND, ui::IDCANCEL); // closed: nothing chosen
    EXPECT_EQ(h.chart->listDlg, nullptr);
    EXPECT_EQ(ChartWindowState().activeRouteId, 0);
    charttest::settle();

    list = open(3);
    select(list, 3);
    list->SendMessage(ui::WM_COMMAND, kListOk);
    EXPECT_EQ(ChartWindowState().thirdSelection, 23);
    EXPECT_EQ(ChartWindowState().chosenItem, 0);
    EXPECT_EQ(ChartWindowState().listMode, 0);
    charttest::settle();

    // One left open goes with the chart window, which gives it back once.
    open(2);
}

// ---------------------------------------------------------------------------
// Help

// A folder that is the current folder for the object's life, with a PATH
// whose xdg-open notes its arguments.
struct HelpFolder {
    std::string path;
    std::filesystem::path before = std::filesystem::current_path();
    std::optional<std::string> oldPath;
    HelpFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vardekka-help-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        std::filesystem::current_path(path);
        std::filesystem::create_directories(path + "/bin");
        std::ofstream(path + "/bin/xdg-open")
            << "#!/bin/sh\necho \"$@\" > \"" << path << "/xdg-open-ran\"\n";
        std::filesystem::permissions(path + "/bin/xdg-open", std::filesystem::perms::owner_all);
        if (const char* p = std::getenv("PATH")) oldPath = p;
        setenv("PATH", (path + "/bin:/usr/bin:/bin").c_str(), 1);
    }
    ~HelpFolder() {
        if (oldPath) setenv("PATH", oldPath->c_str(), 1);
        std::filesystem::current_path(before);
        std::filesystem::remove_all(path);
    }
    // What xdg-open was given, waited for a while.
    std::string viewerRun() const {
        for (int i = 0; i < 500; ++i) {
            std::ifstream in(path + "/xdg-open-ran");
            std::stringstream s;
            s << in.rdbuf();
            if (!s.str().empty()) return s.str();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "";
    }
};

TEST(HelpDialog, OpensTheManualOrSaysItIsMissing) {
    ChartHost h;
    HelpFolder folder;
    for (bool present : {true, false}) {
        SCOPED_TRACE(present ? "present" : "missing");
        if (present)
            std::ofstream(folder.path + "/brukdokk.doc") << "manual";
        else
            std::filesystem::remove(folder.path + "/brukdokk.doc");
        ChartWindowState().redrawRequest = 0;
        uitest::TCursorRecorder cursor;
        uitest::TModalScript script;
        script.Dialog(kHelpTemplate, [&](ui::TDialog& d) {
            EXPECT_EQ(d.GetCaption(), std::string(kViewerTitle) + " " + kViewerVersion);
            EXPECT_EQ(ChartWindowState().inputMode, 8);
            const ui::TRect two = ui::GetWindowRect(d.GetDlgItem(ui::IDCANCEL));
            ASSERT_GE(cursor.Requests.size(), 2u);
            EXPECT_EQ(cursor.Requests[0].x, two.left + 75);
            EXPECT_EQ(cursor.Requests[0].y, two.top + 8);
            EXPECT_TRUE(cursor.Requests[1].clipped);
            d.SendMessage(ui::WM_COMMAND, kHelpManualButton);
            EXPECT_FALSE(d.IsWindow()); // the button closes the dialog
        });
        if (!present) script.Box(ui::IDOK);
        TF1Dlg help(h.chart);
        help.Execute();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(ChartWindowState().inputMode, 0);
        EXPECT_EQ(ChartWindowState().redrawRequest, 1);
        EXPECT_FALSE(cursor.Requests.back().clipped);
        if (present) {
            EXPECT_EQ(folder.viewerRun(), "brukdokk.doc\n");
        } else {
            ASSERT_EQ(script.Modals().size(), 2u);
            const auto& box = script.Modals()[0]; // recorded before the dialog it came from
            EXPECT_EQ(box.kind, ui::TModalTask::Kind::Box);
            EXPECT_EQ(box.caption, kViewerTitle);
            EXPECT_NE(box.text.find("Brukdokk.doc"), std::string::npos) << box.text;
        }
    }
    // Closed without the manual: the same clean-up.
    ChartWindowState().redrawRequest = 0;
    uitest::TModalScript script;
    script.Dialog(kHelpTemplate,
                  [](ui::TDialog& d) { d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL); });
    TF1Dlg help(h.chart);
    EXPECT_EQ(help.Execute(), ui::IDCANCEL);
    EXPECT_EQ(ChartWindowState().inputMode, 0);
    EXPECT_EQ(ChartWindowState().redrawRequest, 1);
}

// ---------------------------------------------------------------------------
// Colour patch and gauge

class TNoticeParent : public ui::TWindow {
  public:
    TNoticeParent() : ui::TWindow(nullptr) {}
    void Patch() { ++Clicks; }
    int Clicks = 0;
    DECLARE_RESPONSE_TABLE(TNoticeParent);
};
DEFINE_RESPONSE_TABLE1(TNoticeParent, ui::TWindow)
EV_CBN_SELCHANGE(1701, Patch), END_RESPONSE_TABLE;

class TCountedPatch : public TColorControl {
  public:
    using TColorControl::TColorControl;
    void Paint(ui::TDC& dc, bool erase, ui::TRect& rect) override {
        ++Paints;
        TColorControl::Paint(dc, erase, rect);
    }
    int Paints = 0;
};

TEST(ColorControl, PaintsItsColourAndTellsItsParentOfAClick) {
    static_assert(kColorControlClicked == ui::CBN_SELCHANGE); // code 1
    ViewerModule(); // registers the classes the templates name
    EXPECT_NE(ui::FindRegisteredClass("ColorControl"), nullptr);
    EXPECT_NE(ui::FindRegisteredClass("TGraphWindow"), nullptr);
    TNoticeParent parent;
    parent.Attr.Style = ui::WS_VISIBLE;
    parent.Attr.W = 100;
    parent.Attr.H = 60;
    auto* patch = new TCountedPatch(&parent, 1701, gdi::rgb(255, 0, 0));
    patch->Attr.X = patch->Attr.Y = 10;
    patch->Attr.W = 30;
    patch->Attr.H = 20;
    ASSERT_TRUE(parent.Create());
    parent.ShowWindow(ui::SW_SHOW);
    charttest::settle();
    EXPECT_STREQ(patch->GetClassName(), "ColorControl");
    EXPECT_EQ(patch->GetDC().getPixel(15, 10), gdi::rgb(255, 0, 0));
    const int paints = patch->Paints;
    patch->SetColor(gdi::rgb(0, 0, 255));
    patch->SetColor(gdi::rgb(0, 0, 255));
    charttest::settle();
    EXPECT_EQ(patch->Paints, paints + 1);
    EXPECT_EQ(patch->GetDC().getPixel(15, 10), gdi::rgb(0, 0, 255));
    patch->SendMessage(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MAKELPARAM(3, 4));
    EXPECT_EQ(parent.Clicks, 1);
}

TEST(GaugeX, FrameBackgroundLimitAndValueBars) {
    const std::string grey = gdi::RecordingDc::colourText(ui::GetSysColor(ui::COLOR_BTNSHADOW));
    const std::string white = gdi::RecordingDc::colourText(ui::GetSysColor(ui::COLOR_WINDOW));
    const struct {
        const char* name;
        bool fromRight;
        int min, max, limit, value;
        std::vector<std::string> fills; // after the frame
    } cases[] = {
        {"from the left",
         false,
         0,
         100,
         5,
         30,
         {white + " [1,1,101,11]", grey + " [1,1,51,11]", "#00ff00 [1,1,31,11]"}},
        {"from the right",
         true,
         0,
         100,
         5,
         30,
         {white + " [1,1,101,11]", grey + " [51,1,101,11]", "#00ff00 [71,1,101,11]"}},
        {"a limit beyond the range",
         false,
         0,
         100,
         40,
         100,
         {white + " [1,1,101,11]", grey + " [1,1,101,11]", "#00ff00 [1,1,101,11]"}},
        {"no limit, no value", true, 0, 100, 0, 0, {white + " [1,1,101,11]"}},
        {"a range of nothing", false, 50, 50, 5, 50, {white + " [1,1,101,11]"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGaugeX gauge(nullptr, 1904, c.fromRight);
        gauge.SetRange(c.min, c.max);
        gauge.SetLimit(c.limit);
        gauge.SetValue(c.value);
        gdi::RecordingDc dc(102, 12);
        gauge.PaintGauge(dc, ui::TRect(0, 0, 102, 12));
        std::istringstream lines(dc.log());
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "Rectangle pen=solid/1/#000000 brush=null rop=copy [0,0,102,12]");
        std::vector<std::string> fills;
        while (std::getline(lines, line))
            fills.push_back(line.substr(std::string("FillRect brush=solid/").size()));
        EXPECT_EQ(fills, c.fills);
    }
}

} // namespace
