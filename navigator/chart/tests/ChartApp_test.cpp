// The program's own frame on the MDI client: the chart window made at the
// start, the level buttons' commands, the key hook held by the chart window,
// and the chart window's tool box with its tips.
#include "AppTestSupport.h"
#include "TimerTestSupport.h"

#include "app/TMyFrame.h"
#include "chart/KVViewerMDIClient.h"
#include "chart/TFloatingToolBox.h"
#include "chart/TMapWindow.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <filesystem>

namespace {

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
}

ui::MSG keyTo(ui::HWND window, ui::UINT key) {
    ui::MSG msg;
    msg.hwnd = window;
    msg.message = ui::WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = ui::MAKELPARAM(1, 0);
    return msg;
}

// The program started on the sample data in the folder: settings, the
// application, its frame shown; null when the start fails.
std::unique_ptr<KVViewerApp> startProgram(const apptest::TestFolder& folder) {
    apptest::writeFile(folder / "SOLVNV.INI", apptest::sampleIni());
    if (!LoadSettings()) return nullptr;
    auto app = std::make_unique<KVViewerApp>();
    if (!app->InitInstance()) return nullptr;
    settle();
    return app;
}

TEST(ChartApp, TheFrameRunsOnTheProgramsClientAndItsChartWindow) {
    apptest::TestFolder folder;
    auto app = startProgram(folder);
    ASSERT_TRUE(app);
    TMyFrame& frame = *app->GetFrame();
    auto* client = dynamic_cast<KVViewerMDIClient*>(frame.GetClientWindow());
    ASSERT_TRUE(client);
    TMapWindow* chart = client->GetChartWindow();
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->levelIndex, 7);
    EXPECT_EQ(client->GetActiveMDIChild(), chart);

    // The level buttons' commands come through the frame.
    frame.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(116, 0));
    EXPECT_EQ(chart->levelIndex, 5);
    EXPECT_EQ(ChartWindowState().detailWord, 6);

    // Keys pressed in the chart window or anywhere else in its frame are
    // the chart window's (W asks for the overview); nothing else's.
    ui::MSG toChart = keyTo(chart->GetHandle(), 'W');
    ui::MSG toFrame = keyTo(frame.GetHandle(), 'W');
    ui::MSG toStatusBar = keyTo(frame.GetStatusBar()->GetHandle(), 'W');
    ui::MSG toNothing = keyTo(nullptr, 'W');
    for (ui::MSG* m : {&toChart, &toFrame, &toStatusBar}) {
        ChartWindowState().levelRequest = kNoLevelRequest;
        EXPECT_TRUE(app->ProcessAppMsg(*m));
        EXPECT_EQ(ChartWindowState().levelRequest, 7);
    }
    EXPECT_FALSE(app->ProcessAppMsg(toNothing));
    // A chart window that went takes no keys.
    chart->Destroy();
    EXPECT_EQ(client->GetChartWindow(), nullptr);
    EXPECT_FALSE(app->ProcessAppMsg(toChart));
    app.reset();
}

TEST(ChartApp, AKeyPressedInTheChartWindowReachesItsKeyHandlerOnce) {
    apptest::TestFolder folder;
    apptest::writeFile(folder / "SOLVNV.INI", apptest::sampleIni());
    ASSERT_TRUE(LoadSettings());
    charttest::TTimerWindow* chart = nullptr;
    SetChartWindowFactory(
        [&](ui::TMDIClient& client, const char* title, int level, double lon, double lat) {
            return chart = new charttest::TTimerWindow(client, title, level, lon, lat);
        });
    auto app = std::make_unique<KVViewerApp>();
    ASSERT_TRUE(app->InitInstance());
    settle();
    ASSERT_TRUE(chart);
    chart->KillTimer(kChartTimerId);
    ChartWindowState().followFlag = 1;
    // Through Qt, the application's hook and the window layer's dispatch.
    QTest::keyClick(chart->GetHandle(), Qt::Key_PageDown);
    settle();
    EXPECT_EQ(chart->keyDowns, 1);
    EXPECT_EQ(chart->previousKey, 34u);
    EXPECT_EQ(chart->centre.lon, ChartWindowState().ownShip.lon); // own ship, following
    app.reset();
    SetChartWindowFactory(nullptr);
}

// The running program's chart window carries its tool box at the right edge,
// with the glyphs and the tips in the program's tool-tip control; the
// picture of the frame is written for a person to look at.
TEST(ChartApp, TheToolBoxShowsWithItsGlyphsAndTips) {
    apptest::TestFolder folder;
    auto app = startProgram(folder);
    ASSERT_TRUE(app);
    app->RunIdle();
    settle();
    TMapWindow* chart =
        dynamic_cast<KVViewerMDIClient*>(app->GetFrame()->GetClientWindow())->GetChartWindow();
    ASSERT_TRUE(chart);
    auto* box = dynamic_cast<TFloatingToolBox*>(chart->toolBox);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->GetGadgets().size(),
              ToolBoxButtonsFor(IsViewerExchangeLoaded(), Is3DViewAvailable()).size());
    const QRect r = box->GetHandle()->geometry();
    EXPECT_EQ(r.right() + 1, chart->GetClientRect().Width());
    EXPECT_EQ(r.top(), 0);

    // A real tool-tip event over each button shows its text.
    for (const TToolBoxButton& b : box->Buttons()) {
        QWidget* button = box->GadgetWithId(b.command)->GetHandle();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &help);
        EXPECT_EQ(QToolTip::text(), QString::fromLatin1(b.tip)) << b.command;
        QToolTip::hideText();
    }
    // The enablers ran: 97 and 55 are commands, 55 greyed with nothing to end.
    EXPECT_TRUE(box->GadgetWithId(97)->GetEnabled());
    EXPECT_FALSE(box->GadgetWithId(55)->GetEnabled());
    EXPECT_TRUE(box->GadgetWithId(120)->GetEnabled());

    std::filesystem::create_directories(CHART_TEST_PICTURES);
    EXPECT_TRUE(
        app->GetFrame()->GetHandle()->grab().save(CHART_TEST_PICTURES "/program-with-toolbox.png"));
    app.reset();
}

} // namespace
