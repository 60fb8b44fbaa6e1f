// Helpers of the window-layer tests: the test module with its templates and
// pictures, event processing, and a window that logs its messages.
#pragma once

#include "ModalScript.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/Module.h"
#include "ui/Window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// Runs the event loop until nothing is pending (posted events, paints).
inline void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
}

// Runs the event loop until done() holds or ms pass; answers done().
inline bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Templates of the tests.
inline constexpr int kIdName = 101, kIdNotes = 102, kIdDay = 103, kIdDaySpin = 104, kIdList = 105,
                     kIdTree = 106, kIdRich = 107, kIdCustom = 108, kIdAttached = 109,
                     kIdStatic = 110, kIdChart = 1001;

inline constexpr ui::TDlgItem kFormItems[] = {
    {.Kind = ui::TDlgItemKind::Static,
     .Id = kIdStatic,
     .Text = u8"Navn\r\nog dybde °",
     .Row = 0,
     .Column = 0},
    {.Kind = ui::TDlgItemKind::Edit, .Id = kIdName, .Row = 0, .Column = 1, .Limit = 30},
    {.Kind = ui::TDlgItemKind::Edit,
     .Id = kIdNotes,
     .Row = 1,
     .Column = 1,
     .Style = ui::ES_MULTILINE},
    {.Kind = ui::TDlgItemKind::Edit, .Id = kIdDay, .Row = 2, .Column = 1, .Limit = 2},
    {.Kind = ui::TDlgItemKind::UpDown,
     .Id = kIdDaySpin,
     .Row = 2,
     .Column = 2,
     .Lo = 1,
     .Hi = 31,
     .Buddy = kIdDay},
    {.Kind = ui::TDlgItemKind::ComboBox, .Id = kIdList, .Row = 3, .Column = 1},
    {.Kind = ui::TDlgItemKind::TreeView, .Id = kIdTree, .Row = 4, .Column = 0, .ColumnSpan = 2},
    {.Kind = ui::TDlgItemKind::RichText, .Id = kIdRich, .Row = 5, .Column = 0, .ColumnSpan = 2},
    {.Kind = ui::TDlgItemKind::Custom,
     .Id = kIdCustom,
     .Row = 6,
     .Column = 0,
     .ClassName = "UiTestSwatch",
     .Width = 40,
     .Height = 20},
    {.Kind = ui::TDlgItemKind::Custom,
     .Id = kIdAttached,
     .Row = 6,
     .Column = 1,
     .Width = 60,
     .Height = 30},
    {.Kind = ui::TDlgItemKind::Button, .Id = kIdChart, .Text = u8"Kart", .Row = 7, .Column = 0},
    {.Kind = ui::TDlgItemKind::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 7, .Column = 1},
    {.Kind = ui::TDlgItemKind::Button,
     .Id = ui::IDCANCEL,
     .Text = u8"Avbryt",
     .Row = 7,
     .Column = 2},
};
inline constexpr ui::TDlgTemplate kForm{20, u8"Prøveskjema", ui::WS_POPUP | ui::WS_CAPTION,
                                        kFormItems};
static_assert(ui::ValidDialogTemplate(kForm));

inline constexpr ui::TDlgItem kPanelItems[] = {
    {.Kind = ui::TDlgItemKind::Static, .Id = 2201, .Text = u8"59° 00.000 N"},
    {.Kind = ui::TDlgItemKind::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 1},
};
// A modeless panel beside its owner, and the same as a child window.
inline constexpr ui::TDlgTemplate kPanel{22, u8"Egen POSISJON",
                                         ui::WS_POPUP | ui::WS_CAPTION | 0x800, kPanelItems};
inline constexpr ui::TDlgTemplate kChildPanel{23, u8"Liste", ui::WS_CHILD | ui::WS_VISIBLE,
                                              kPanelItems};
static_assert(ui::ValidDialogTemplate(kPanel));

inline constexpr ui::TDlgTemplate kTemplates[] = {kForm, kPanel, kChildPanel};

// A custom control of class "UiTestSwatch": fills itself with its colour and
// counts its paints and mouse moves.
class TSwatch : public ui::TWindow {
  public:
    TSwatch(ui::TWindow* parent, int id) : TWindow(parent) { Attr.Id = id; }
    void Paint(ui::TDC& dc, bool, ui::TRect&) override {
        ++Paints;
        const ui::TRect r = GetClientRect();
        dc.fillRect(r.left, r.top, r.right, r.bottom, gdi::Brush::solid(Colour));
    }
    void EvMouseMove(ui::UINT, const ui::TPoint& p) {
        ++Moves;
        LastMove = p;
    }
    int Paints = 0, Moves = 0;
    ui::TPoint LastMove;
    ui::TColor Colour = ui::RGB(0, 160, 0);
    DECLARE_RESPONSE_TABLE(TSwatch);
};
inline DEFINE_RESPONSE_TABLE1(TSwatch, ui::TWindow) EV_WM_MOUSEMOVE, END_RESPONSE_TABLE;

// The tests' module: templates 20, 22, 23; bitmap 120 (and "GLYPH"); icon 20001;
// cursor 19994. The swatch class is registered with it.
inline ui::TModule& TestModule() {
    static ui::TModule* m = [] {
        ui::RegisterClass("UiTestSwatch", [](ui::TWindow* parent, int id) -> ui::TWindow* {
            return new TSwatch(parent, id);
        });
        auto* module = new ui::TModule("uitest");
        module->AddDialogs(kTemplates);
        module->AddBitmap(120, ":/uitest/glyph.png");
        module->AddBitmap("GLYPH", ":/uitest/glyph.png");
        module->AddIcon(20001, ":/uitest/glyph.png");
        module->AddCursor(19994, ":/uitest/cursor.png", 7, 7);
        return module;
    }();
    return *m;
}

// A top-level window of the tests' size, shown.
inline void ShowAt(ui::TWindow& w, int width, int height) {
    w.Attr.Style = ui::WS_OVERLAPPED;
    w.Attr.X = 0;
    w.Attr.Y = 0;
    w.Attr.W = width;
    w.Attr.H = height;
    w.Create();
    w.ShowWindow(ui::SW_SHOWNORMAL);
    Settle();
}

} // namespace uitest
