// The program's own frame on the MDI client: the chart window made at the
// start, the level buttons' commands, and the key hook held by the chart
// window.
#include "AppTestSupport.h"
#include "TimerTestSupport.h"

#include "app/TMyFrame.h"
#include "chart/KVViewerMDIClient.h"
#include "chart/TMapWindow.h"

#include <QApplication>
#include <QTest>

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

TEST(ChartApp, TheFrameRunsOnTheProgramsClientAndItsChartWindow) {
    apptest::TestFolder folder;
    apptest::writeFile(folder / "SOLVNV.INI", apptest::sampleIni());
    ASSERT_TRUE(LoadSettings());
    auto app = std::make_unique<KVViewerApp>();
    ASSERT_TRUE(app->InitInstance());
    settle();
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

} // namespace
