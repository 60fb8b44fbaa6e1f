// The frame: its title and icon, the control bar's buttons, the status bar's
// gadgets in order, the status text, the key hook and the commands 120 and
// 135 of the application.
#include "AppTestSupport.h"

#include "ModalScript.h"
#include "app/TMyFrame.h"
#include "gadgets/TCoordGadget.h"
#include "gadgets/TInfoGadget.h"
#include "gadgets/TScaleGadget.h"
#include "ui/Screen.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using apptest::TestFolder;

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
}

// The application on the sample settings, its main window made and shown as
// Run would, without running the loop.
struct StartedApp {
    TestFolder folder;
    std::unique_ptr<KVViewerApp> app;
    explicit StartedApp(const std::string& extra = "") {
        apptest::writeFile(folder / "SOLVNV.INI", apptest::sampleIni() + extra);
        if (!LoadSettings()) return;
        app = std::make_unique<KVViewerApp>();
        if (!app->InitInstance()) app.reset();
        settle();
    }
    TMyFrame& frame() const { return *app->GetFrame(); }
    void command(int id) const { frame().SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(id, 0)); }
};

TEST(Frame, TitleIconBarsAndGadgetsInOrder) {
    StartedApp s;
    ASSERT_TRUE(s.app);
    TMyFrame& frame = s.frame();
    EXPECT_EQ(s.app->GetName(), kViewerTitle);
    EXPECT_EQ(frame.GetCaption(), kViewerTitle);
    EXPECT_EQ(s.app->GetMainWindow(), &frame);
    EXPECT_FALSE(frame.GetHandle()->windowIcon().isNull());
    EXPECT_EQ(frame.FrameHandle(), frame.GetHandle());
    EXPECT_EQ(s.app->nCmdShow, ui::SW_SHOWMAXIMIZED);
    EXPECT_TRUE(s.app->GetTooltip());

    std::vector<int> commands;
    for (ui::TGadget* g : frame.GetControlBar()->GetGadgets()) {
        auto* b = dynamic_cast<ui::TButtonGadget*>(g);
        ASSERT_TRUE(b);
        commands.push_back(b->GetId());
        EXPECT_EQ(b->GetButtonType(),
                  b->GetId() == 118 ? ui::TButtonGadget::NonExclusive : ui::TButtonGadget::Command);
        ui::TSize size;
        b->GetDesiredSize(size);
        EXPECT_EQ(size, ui::TSize(27, 27)) << "glyph of " << b->GetId();
    }
    EXPECT_EQ(commands, (std::vector<int>{118, 111, 112, 113, 114, 115, 116, 117}));
    EXPECT_EQ(frame.GetControlBar()->GetFont(), ui::TGadgetWindowFont(10));

    // After the message text: separators as 0.
    std::vector<int> ids;
    for (ui::TGadget* g : frame.GetStatusBar()->GetGadgets())
        ids.push_back(dynamic_cast<ui::TSeparatorGadget*>(g) ? 0 : g->GetId());
    EXPECT_EQ(ids, (std::vector<int>{0, 0, 1009, 1008, 1007, 0, 1006, 0, 1002, 1003, 0, 1001}));
    EXPECT_EQ(frame.GetStatusBar()->GetGadgetBorderStyle(), ui::TGadget::Recessed);
    EXPECT_EQ(frame.StatusGadget(1001)->GetBorderStyle(), ui::TGadget::Recessed);

    // Kinds and coordinate flags; 1004 and 1005 exist but are not placed.
    const struct {
        int id, longitude, second;
    } coords[] = {{1002, 0, 0}, {1003, 1, 0}, {1004, 0, 1}, {1005, 1, 1}};
    for (const auto& c : coords) {
        TCoordGadget* g = frame.CoordGadget(c.id);
        ASSERT_TRUE(g) << c.id;
        EXPECT_EQ(g->IsLongitude(), c.longitude == 1) << c.id;
        EXPECT_EQ(g->GetSecond(), c.second) << c.id;
        EXPECT_EQ(frame.GetStatusBar()->GadgetWithId(c.id) != nullptr, c.id < 1004) << c.id;
    }
    const int kinds[] = {kInfoGps, kInfoElapsed, kInfoTrip, kInfoTrack};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame.InfoGadget(1006 + i)->GetKind(), kinds[i]);
    EXPECT_EQ(frame.StatusGadget(1001), frame.ScaleGadget());
    EXPECT_EQ(frame.StatusGadget(1000), nullptr);
    EXPECT_EQ(frame.StatusGadget(1010), nullptr);
}

TEST(Frame, APictureOfTheFrameWithItsStatusBar) {
    StartedApp s;
    ASSERT_TRUE(s.app);
    TMyFrame& frame = s.frame();
    frame.MoveWindow(0, 0, 1100, 300);
    frame.ScaleGadget()->SetValue(25000);
    frame.CoordGadget(1002)->SetValue(60.3975);
    frame.CoordGadget(1003)->SetValue(5.3205);
    TInfoGadgetValues v;
    v.fixQuality = 1;
    v.satellites = 8;
    v.ggaSeen = true;
    v.tripLog = 3.4;
    v.storedPoints = 120;
    for (int id = 1006; id <= 1009; ++id)
        frame.InfoGadget(id)->SetValues(v);
    ShowStatusText("V tast: Zoom inn, H: Zoom ut, Senter/piltast: Flytt kart, F1:Hjelp");
    settle();
    QDir().mkpath(APP_TEST_PICTURES);
    const QImage shot = frame.GetHandle()->grab().toImage();
    EXPECT_TRUE(shot.save(APP_TEST_PICTURES "/frame.png", "PNG"));
    // The glyphs and the icon, four times their size.
    const QImage bar = frame.GetControlBar()->GetHandle()->grab().toImage();
    EXPECT_TRUE(bar.copy(0, 0, 240, bar.height())
                    .scaled(960, bar.height() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(APP_TEST_PICTURES "/control-bar-x4.png", "PNG"));
    const QImage icon = frame.GetHandle()->windowIcon().pixmap(32, 32).toImage();
    EXPECT_TRUE(icon.scaled(128, 128, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(APP_TEST_PICTURES "/icon-x4.png", "PNG"));
    EXPECT_GT(frame.GetStatusBar()->GetClientRect().Height(), 10);
}

TEST(Frame, StatusTextIsCutAndNeedsAFrame) {
    {
        TestFolder folder;
        ShowStatusText("%s", "no application: nothing happens");
        apptest::writeFile(folder / "SOLVNV.INI", apptest::sampleIni());
        ASSERT_TRUE(LoadSettings());
        KVViewerApp app; // no frame before its main window is made
        ShowStatusText("%s", "no frame yet");
        EXPECT_EQ(app.GetFrame(), nullptr);
    }
    StartedApp s;
    ASSERT_TRUE(s.app);
    const std::string longText(5000, 'x');
    ShowStatusText("%s", longText.c_str());
    EXPECT_EQ(std::string(s.frame().GetStatusBar()->GetText()), std::string(999, 'x'));
    ShowStatusText("Sp%c %d", '\xE5', 42);
    EXPECT_STREQ(s.frame().GetStatusBar()->GetText(), "Sp\xE5 42");
}

TEST(Frame, KeyPressesGoToTheChartWindowsHandler) {
    StartedApp s;
    ASSERT_TRUE(s.app);
    QWidget* target = s.frame().GetStatusBar()->GetHandle();
    QTest::keyClick(target, Qt::Key_PageDown); // the chart window's own handler takes it
    std::vector<unsigned> keys;
    SetChartKeyHandler([&](const ui::MSG& msg) {
        keys.push_back(unsigned(msg.wParam));
        return true;
    });
    QTest::keyClick(target, Qt::Key_PageDown);
    QTest::keyClick(target, Qt::Key_A);
    EXPECT_EQ(keys, (std::vector<unsigned>{34, 'A'}));
    SetChartKeyHandler({});
    QTest::keyClick(target, Qt::Key_Home);
    EXPECT_EQ(keys.size(), 2u);
    EXPECT_FALSE(FrameIsIconic());
}

TEST(Frame, Command120TogglesFollowing) {
    StartedApp s;
    ASSERT_TRUE(s.app);
    const struct {
        int flag, counter, request;
    } after[] = {{0, 0, 0}, {1, 1000, 1}, {0, 1000, 1}, {1, 1000, 1}};
    ResetChartWindowState(); // following at start
    for (const auto& a : after) {
        s.command(CM_FOLLOW_OWN_SHIP);
        EXPECT_EQ(ChartWindowState().followFlag, a.flag);
        EXPECT_EQ(ChartWindowState().autoChartCounter, a.counter);
        EXPECT_EQ(ChartWindowState().autoChartRequest, a.request);
    }
}

TEST(Frame, Command135RunsTheHelp) {
    StartedApp s;
    ASSERT_TRUE(s.app);
    const std::string& dir = s.folder.path();
    apptest::EnvSetting path("PATH", dir + "/bin:/usr/bin:/bin");
    os::setDrive('C', dir + "/c", os::DriveType::Fixed);
    apptest::writeScript(dir + "/bin/showhelp", "echo \"$@\" > \"" + dir + "/showhelp-ran\"\n");
    apptest::writeScript(dir + "/bin/xdg-open", "echo \"$@\" > \"" + dir + "/xdg-open-ran\"\n");
    apptest::writeFile(dir + "/c/KV71/Brukdokk.doc", "doc");
    apptest::writeFile(dir + "/Lokal.pdf", "doc");
    const std::string wordpad = "\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\" ";
    const struct {
        const char* name;
        std::string help;
        std::string marker, markerText; // a program's record of its arguments
        std::string boxText;            // a part of the box's text; empty: no box
    } cases[] = {
        {"empty", "", "", "", "HELP"},
        {"a program found on the PATH", "showhelp \"Brukdokk.doc\" -s", "showhelp-ran",
         "Brukdokk.doc -s\n", ""},
        {"an existing document", wordpad + "\"C:\\KV71\\Brukdokk.doc\"", "xdg-open-ran",
         dir + "/c/KV71/Brukdokk.doc\n", ""},
        {"a document in the current folder", "Lokal.pdf", "xdg-open-ran", "Lokal.pdf\n", ""},
        {"a missing document", wordpad + "\"C:\\KV71\\Mangler.doc\"", "", "",
         "C:\\KV71\\Mangler.doc"},
        {"a program path that is not there", "/opt/ingen/hjelp", "", "", "/opt/ingen/hjelp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir + "/showhelp-ran");
        std::filesystem::remove(dir + "/xdg-open-ran");
        ViewerSettings().helpCommand = c.help;
        uitest::TModalScript script;
        if (!c.boxText.empty()) script.Box(ui::IDOK);
        s.command(CM_HELP);
        if (!c.boxText.empty()) {
            ASSERT_EQ(script.Modals().size(), 1u);
            EXPECT_EQ(script.Modals()[0].caption, kViewerTitle);
            EXPECT_NE(script.Modals()[0].text.find(c.boxText), std::string::npos)
                << script.Modals()[0].text;
        }
        if (!c.marker.empty()) {
            const std::string marker = dir + "/" + c.marker;
            for (int i = 0; i < 500 && apptest::readFile(marker).empty(); ++i)
                std::this_thread::sleep_for(10ms);
            EXPECT_EQ(apptest::readFile(marker), c.markerText);
        }
        EXPECT_TRUE(script.Done());
    }
}

} // namespace
