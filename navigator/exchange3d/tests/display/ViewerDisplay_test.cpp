// The exchange end to end on an X display: command 132 exports the view and
// starts the test's viewer ("Vistrel" on the test's PATH), which reads the
// export, puts its relief picture on the clipboard and reports it through
// status B; the timer step takes that report, the picture is read through the
// window layer's clipboard, and command 132 again closes the viewer.
#include "ExchangeTestSupport.h"
#include "d5arer/ExchangeSegment.h"

#include "gdi/Bitmap.h"
#include "os/Process.h"
#include "ui/Screen.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/mman.h>
#include <thread>

namespace {

using namespace exchangetest;
using Button = ViewerExchangeRequests::Button;

TEST(ViewerDisplay, ReliefPictureComesBackThroughTheClipboard) {
    TempCurrentFolder folder;
    // The exchange's segment and the viewer's lookup are the test's own.
    setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
    const std::string segment = d5arer::exchangeSegmentName();
    const char* path = std::getenv("PATH");
    setenv("PATH", (std::string(FAKE_VIEWER_DIR) + ":" + (path ? path : "")).c_str(), 1);

    ChartTree tree(folder.path());
    kv71write::CellFile cell;
    cell.soundings = {{{{10000, 10000, 50}, {20000, 20000, 120}, {30000, 30000, 12003}}, {}}};
    cell.objects = {soundingObject(0)};
    tree.addCell(15, 450, 5, cell);
    tree.open();

    ASSERT_TRUE(LoadViewerExchange()); // libD5ARER.so beside the test program
    ASSERT_TRUE(Is3DViewAvailable());
    ViewerExchangeInput in;
    in.clientWidth = 320;
    in.clientHeight = 200;
    in.view = GeoRect{deg2nrm(5.01), deg2nrm(60.01), deg2nrm(5.3), deg2nrm(60.3)};
    in.levelIndex = 4;
    in.levelScale = 50000;
    in.detailWord = 5;
    in.database = tree.db.get();
    in.pictureCount = 1;
    in.ownShip = GeoPoint{deg2nrm(5.1), deg2nrm(60.1)};
    in.ownShipClient = Point{160, 100};
    in.fixSeen = true;

    ASSERT_EQ(Run3DViewCommand(in).button132, Button::Down);
    ASSERT_TRUE(Is3DViewRunning());

    ViewerExchangeRequests r;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(r = ViewerExchangeTimerStep(in)).reliefReady &&
           std::chrono::steady_clock::now() < end) {
        ASSERT_TRUE(Is3DViewRunning()) << "the viewer ended early: " << ViewerProcess().exitCode();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(r.reliefReady);
    EXPECT_TRUE(r.redraw);

    ui::TWindow window(nullptr, "chart");
    const std::shared_ptr<gdi::Bitmap> picture = ui::TClipboard(window).GetDibBitmap();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 320);
    EXPECT_EQ(picture->height(), 200);

    EXPECT_EQ(Run3DViewCommand(in).button132, Button::Up);
    EXPECT_FALSE(Is3DViewRunning());
    const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ViewerProcess().running() && std::chrono::steady_clock::now() < stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(ViewerProcess().running());
    EXPECT_EQ(ViewerProcess().exitCode(), 0);
    if (ViewerProcess().running()) ViewerProcess().terminate(1);

    UnloadViewerExchange();
    ::shm_unlink(segment.c_str());
}

} // namespace
