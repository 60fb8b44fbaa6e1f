// The navigation program's frame for the chart window's benchmarks: Qt
// offscreen, the program's frame with its bars and gadgets around an MDI
// client grown to width x height, on a screen of that size, the sample chart
// (DATA_DIR/sample/kv71 with DATA_DIR/dict) as the chart database, the
// program's palettes (DATA_DIR/ECPALETT.INI) and no user-object store.
//
//   benchframe::ProgramFrame frame(1920, 1080);
//   auto* window = new TMapWindow(*frame.client, "", 5, 5.32, 60.40);
#pragma once

#include "ChartRenderer.h"

#include "app/TMyFrame.h"
#include "app/ViewerModule.h"
#include "app/ViewerPalette.h"
#include "chart/ChartPainting.h"
#include "chart/TMapWindow.h"
#include "kv71/TKV71Db.h"
#include "ui/Application.h"
#include "ui/Frame.h"
#include "ui/Screen.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace benchframe {

struct ProgramFrame {
    std::unique_ptr<ui::TApplication> app;
    std::unique_ptr<chartview::ChartEngine> engine;
    ui::TMDIClient* client = nullptr;

    ProgramFrame(int width, int height) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ui::EnsureQtApplication();
        app = std::make_unique<ui::TApplication>();
        engine =
            std::make_unique<chartview::ChartEngine>(DATA_DIR "/dict", DATA_DIR "/sample/kv71");
        SetChartDatabase(&engine->database());
        LoadPalettes(DATA_DIR);
        ui::SetScreenCapsOverride(gdi::DeviceCaps::forScreen(width, height));
        ChartWindowCalls().makeStore = [](TMapWindow&) -> ui::TWindow* { return nullptr; };

        client = new ui::TMDIClient(nullptr);
        auto* frame = new TMyFrame(*client, &ViewerModule());
        frame->Attr.W = width;
        frame->Attr.H = height;
        app->SetMainWindow(frame);
        frame->Create();
        frame->ShowWindow(ui::SW_SHOWNORMAL);
        QApplication::processEvents();
        const ui::TRect c = client->GetClientRect();
        frame->MoveWindow(0, 0, 2 * width - c.Width(), 2 * height - c.Height(), true);
        QApplication::processEvents();
    }
};

} // namespace benchframe
