// Helpers of the form-layer tests: a form with one of each component, whose
// handlers log what fired, and event processing.
#pragma once

#include "ModalScript.h"
#include "ui/forms/Forms.h"

#include <QApplication>
#include <QElapsedTimer>

#include <functional>
#include <string>
#include <vector>

namespace formstest {

using namespace ui::forms;

// Runs the event loop until nothing is pending.
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

inline constexpr TComponentDesc kTestParts[] = {
    {.Name = "PnlMain", .Maker = Make<TPanel>, .Bounds = {8, 8, 300, 200}},
    {.Name = "PopMenu", .Maker = Make<TPopupMenu>},
    {.Name = "PopSetReadOnlyOff",
     .Maker = Make<TMenuItem>,
     .Parent = "PopMenu",
     .Caption = u8"Slå av skrive&beskyttelse",
     .Events = {"OnClick=PopSetReadOnlyOffClick"}},
    {.Name = "PopClearDatabase",
     .Maker = Make<TMenuItem>,
     .Parent = "PopMenu",
     .Caption = u8"&Nullstill vektor database"},
    {.Name = "PnlPlain", .Maker = Make<TPanel>, .Bounds = {320, 8, 100, 100}},
    {.Name = "RadA",
     .Maker = Make<TRadioButton>,
     .Parent = "PnlMain",
     .Caption = u8"A",
     .Bounds = {4, 4, 60, 20},
     .Events = {"OnClick=RadClick"}},
    {.Name = "RadB",
     .Maker = Make<TRadioButton>,
     .Parent = "PnlMain",
     .Caption = u8"B",
     .Bounds = {4, 28, 60, 20},
     .Events = {"OnClick=RadClick"}},
    {.Name = "GrpPorts",
     .Maker = Make<TGroupBox>,
     .Parent = "PnlMain",
     .Caption = u8"COM-porter",
     .Bounds = {80, 4, 200, 80}},
    {.Name = "TstCOM1",
     .Maker = Make<TRadioButton>,
     .Parent = "GrpPorts",
     .Caption = u8"COM1",
     .Bounds = {8, 20, 60, 20},
     .Events = {"OnClick=RadClick"}},
    {.Name = "TstCOM2",
     .Maker = Make<TRadioButton>,
     .Parent = "GrpPorts",
     .Caption = u8"COM2",
     .Bounds = {8, 44, 60, 20},
     .Events = {"OnClick=RadClick"}},
    {.Name = "VecRTE",
     .Maker = Make<TCheckBox>,
     .Caption = u8"RTE ut:",
     .Bounds = {8, 220, 80, 20},
     .Events = {"OnClick=Logged"}},
    {.Name = "VecMainDir",
     .Maker = Make<TEdit>,
     .Bounds = {100, 220, 120, 22},
     .Events = {"OnChange=Logged"}},
    {.Name = "SpinLength",
     .Maker = Make<TSpinEdit>,
     .Bounds = {230, 220, 60, 22},
     .Range = {0, 1000},
     .Events = {"OnChange=Logged"}},
    {.Name = "CmbBaud",
     .Maker = Make<TComboBox>,
     .Bounds = {8, 250, 80, 22},
     .Items = u8"4800\n9600",
     .Events = {"OnChange=Logged"}},
    {.Name = "VecGPS",
     .Maker = Make<TComboBox>,
     .Bounds = {100, 250, 100, 22},
     .Items = u8"AUTO\nGGA + VTG\nGLL + VTG\nRMC",
     .Events = {"OnChange=Logged"},
     .Style = csDropDownList},
    {.Name = "TstMemo", .Maker = Make<TMemo>, .Bounds = {8, 280, 300, 120}},
    {.Name = "TabControl1",
     .Maker = Make<TTabControl>,
     .Bounds = {440, 8, 300, 200},
     .Items = u8"Vektor instillinger\nGenerelle instillinger\nNMEA-Test",
     .Events = {"OnChanging=TabControl1Changing", "OnChange=TabControl1Change"}},
    {.Name = "ImgBoat",
     .Maker = Make<TImage>,
     .Parent = "TabControl1",
     .Hint = u8"GPS",
     .Bounds = {20, 40, 58, 142},
     .Picture = ":/formstest/glyph.png",
     .Events = {"OnMouseDown=ImgBoatMouseDown", "OnMouseMove=ImgBoatMouseMove",
                "OnMouseUp=ImgBoatMouseDown"}},
    {.Name = "Timer1", .Maker = Make<TTimer>, .Events = {"OnTimer=Logged"}, .Enabled = false},
    {.Name = "BtnOK",
     .Maker = Make<TButton>,
     .Caption = u8"OK",
     .Bounds = {440, 220, 75, 25},
     .Events = {"OnClick=Logged"}},
    {.Name = "BtnCopyCD1",
     .Maker = Make<TBitBtn>,
     .Caption = u8"Kopiér CD #1",
     .Hint = u8"Sone 1-2",
     .Bounds = {520, 220, 120, 25},
     .Picture = ":/formstest/glyph.png"},
    {.Name = "LblNote",
     .Maker = Make<TLabel>,
     .Caption = u8"Porter som er\rskravert",
     .Bounds = {440, 260, 0, 0}},
    {.Name = "ProgressBar1",
     .Maker = Make<TProgressBar>,
     .Bounds = {440, 300, 200, 16},
     .Range = {0, 50}},
    {.Name = "StatusBar1", .Maker = Make<TStatusBar>, .Caption = u8"Klar"},
};

inline constexpr TFormDesc kTestForm{.Name = "FoTest",
                                     .Caption = u8"Prøveskjema",
                                     .Bounds = {40, 40, 760, 440},
                                     .Events = {"OnCreate=FormCreate"},
                                     .Components = kTestParts};

// One of each component; handlers write "<sender>:<what>" into Log.
class TFoTest : public TForm {
  public:
    TFoTest(TComponent* owner) : TForm(owner, kTestForm) {}

    PUBLISHED_FIELD(TPanel, PnlMain);
    PUBLISHED_FIELD(TPanel, PnlPlain);
    PUBLISHED_FIELD(TPopupMenu, PopMenu);
    PUBLISHED_FIELD(TMenuItem, PopSetReadOnlyOff);
    PUBLISHED_FIELD(TMenuItem, PopClearDatabase);
    PUBLISHED_FIELD(TRadioButton, RadA);
    PUBLISHED_FIELD(TRadioButton, RadB);
    PUBLISHED_FIELD(TRadioButton, TstCOM1);
    PUBLISHED_FIELD(TRadioButton, TstCOM2);
    PUBLISHED_FIELD(TCheckBox, VecRTE);
    PUBLISHED_FIELD(TEdit, VecMainDir);
    PUBLISHED_FIELD(TSpinEdit, SpinLength);
    PUBLISHED_FIELD(TComboBox, CmbBaud);
    PUBLISHED_FIELD(TComboBox, VecGPS);
    PUBLISHED_FIELD(TMemo, TstMemo);
    PUBLISHED_FIELD(TTabControl, TabControl1);
    PUBLISHED_FIELD(TImage, ImgBoat);
    PUBLISHED_FIELD(TTimer, Timer1);
    PUBLISHED_FIELD(TButton, BtnOK);
    PUBLISHED_FIELD(TBitBtn, BtnCopyCD1);
    PUBLISHED_FIELD(TLabel, LblNote);
    PUBLISHED_FIELD(TProgressBar, ProgressBar1);
    PUBLISHED_FIELD(TStatusBar, StatusBar1);

    void FormCreate(TObject*) { Log.push_back("FoTest:Create"); }
    PUBLISHED_METHOD(FormCreate);
    void Logged(TObject* sender) { Log.push_back(NameOf(sender) + ":event"); }
    PUBLISHED_METHOD(Logged);
    void RadClick(TObject* sender) { Log.push_back(NameOf(sender) + ":click"); }
    PUBLISHED_METHOD(RadClick);
    void PopSetReadOnlyOffClick(TObject* sender) { Log.push_back(NameOf(sender) + ":click"); }
    PUBLISHED_METHOD(PopSetReadOnlyOffClick);
    void TabControl1Changing(TObject*, bool& allowChange) {
        Log.push_back("changing from " +
                      TabControl1->GetTabs().GetString(TabControl1->GetTabIndex()));
        allowChange = AllowTabChange;
    }
    PUBLISHED_METHOD(TabControl1Changing);
    void TabControl1Change(TObject*) {
        Log.push_back("change to " + TabControl1->GetTabs().GetString(TabControl1->GetTabIndex()));
    }
    PUBLISHED_METHOD(TabControl1Change);
    void ImgBoatMouseDown(TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        Mouse.push_back({button == mbLeft ? "button L" : "button R", shift, x, y});
    }
    PUBLISHED_METHOD(ImgBoatMouseDown);
    void ImgBoatMouseMove(TObject*, TShiftState shift, int x, int y) {
        Mouse.push_back({"move", shift, x, y});
    }
    PUBLISHED_METHOD(ImgBoatMouseMove);

    static std::string NameOf(TObject* sender) {
        auto* c = dynamic_cast<TComponent*>(sender);
        return c ? c->GetName() : "?";
    }

    struct TMouseSeen {
        std::string what;
        TShiftState shift;
        int x, y;
    };
    std::vector<std::string> Log;
    std::vector<TMouseSeen> Mouse;
    bool AllowTabChange = true;
};

} // namespace formstest
