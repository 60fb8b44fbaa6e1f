// Helpers of the chart window's tests: a frame with an MDI client, made,
// created and shown as the program's would be, with the chart window's
// program-wide state set back before and after each test.
#pragma once

#include "app/KVViewerApp.h"
#include "app/TMyFrame.h"
#include "app/ViewerModule.h"
#include "chart/ChartWindowState.h"
#include "chart/KVViewerMDIClient.h"
#include "chart/TMapWindow.h"
#include "ui/Application.h"
#include "ui/Frame.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>
#include <type_traits>

namespace charttest {

// Runs the event loop until nothing is pending (posted events, paints).
inline void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
}

// An application whose main window is a frame of 640 x 480 (a plain MDI
// frame, or the program's own with its bars and gadgets) around a client of
// the given class; the client's set-up has run when the constructor ends.
// Chart windows made meanwhile get no user-object store, and the frame is
// noted neither minimised nor maximised.
template <class Client, class Frame = ui::TDecoratedMDIFrame> struct Host {
    ui::TApplication app;
    Client* client;
    Frame* frame;

    Host() {
        ResetChartWindowState();
        NoteFrameStates(false, false);
        ChartWindowCalls() = TChartWindowCalls{};
        ChartWindowCalls().makeStore = [](TMapWindow&) -> ui::TWindow* { return nullptr; };
        client = new Client(nullptr);
        if constexpr (std::is_same_v<Frame, TMyFrame>)
            frame = new TMyFrame(*client, &ViewerModule());
        else
            frame = new Frame("Solvanor V lite", 0, *client);
        frame->Attr.W = 640;
        frame->Attr.H = 480;
        app.SetMainWindow(frame);
        EXPECT_TRUE(frame->Create());
        frame->ShowWindow(ui::SW_SHOWNORMAL);
        settle();
    }
    ~Host() {
        NoteFrameStates(false, false);
        SetChartWindowFactory(nullptr);
        ChartWindowCalls() = TChartWindowCalls{};
        ResetChartWindowState();
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
};

// The frame as the application's hook notes it: maximised or not, for the
// object's life; afterwards neither minimised nor maximised.
struct NotedFrame {
    explicit NotedFrame(bool maximised) { NoteFrameStates(false, maximised); }
    ~NotedFrame() { NoteFrameStates(false, false); }
    NotedFrame(const NotedFrame&) = delete;
    NotedFrame& operator=(const NotedFrame&) = delete;
};

} // namespace charttest
