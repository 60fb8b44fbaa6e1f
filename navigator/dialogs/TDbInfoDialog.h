// One of the user's stored objects (template 4), run modally from the chart
// window: its name (401, 30 characters), a read-only description (402) and
// its free text (403, at most 4800 characters), with the buttons 404 (chart
// information), OK and Cancel.
//
// Set-up: the name from the object's ID record, the description
// (DbInfoDescription), the text from the object's INFO record (key 7 of (id,
// 0)); without one the record will be new. Button 404 is enabled while route
// planning is allowed (route state 0 or 1, neither symbol mode on: the rule of
// the information command), so it is greyed while a new route or symbol is
// being named.
//
// OK stores what the user changed, and nothing else:
//  - the name: the ID record found by key 1 of (kind, id) gets the first 29
//    bytes and is rewritten (RWTREC), and the chart window is asked to redraw;
//  - the text (at most 4800 bytes, without a terminating zero): ADDVREC with
//    the fixed part (id, 0) when the object has no INFO record, else the
//    record is found again and rewritten (RWTVREC), each of length text + 8.
// A call that fails is shown with DbaseWin::ShowDbError. Button 404 stores as
// OK does and ends the dialog with 404, the request for chart information.
//
// Placement and cursor: InfoDialogPlacement.h. Store calls go through
// StoreRecordCalls().
//
//   TDbInfoDialog info(chart, screenClick, ChartWindowState().editedObject, pointNumber);
//   if (info.Execute() == kChartInfoButton) chart->ShowObjectInfo(clientClick);
#pragma once

#include "dialogs/TMapDialog.h"
#include "resources/DialogTemplates.h"
#include "store/storeRecords.h"

#include <cstdint>
#include <string>

namespace ui {
class TEdit;
}

inline constexpr int kDbInfoName = 401, kDbInfoDescription = 402, kDbInfoText = 403;
inline constexpr int kChartInfoButton = 404;
// The longest text kept with an object (bytes).
inline constexpr std::size_t kMaxInfoText = 4800;
// The name field takes 30 characters; a name keeps kMaxNameLength (29) bytes.
inline constexpr int kNameFieldLimit = 30;

// The description of an object (Windows-1252, "\n" line breaks; the degree
// sign is 0xB0), from its ID record and, for a track or route, its chosen
// point (store point number, 1 up; below 1 none):
//  - the kind's name (none for a kind without one), "       ( id: N )\n" and
//    "Lagret:  dd / mm - yyyy  hh:mm\n" of the time stamp in local time; for
//    the active route while it is edited (route state 3) its name and "\n"
//    in place of these;
//  - tracks, routes and lines: "Lengde: %.1f Nm.  %d punkter\n" (the length
//    field x 0.1, for the active route the route table's total) and for the
//    active route "Dist.: %.1f Nm.\n" (the distance to go while it is
//    followed, else the total);
//  - symbols: "\nPos.: " with latitude and longitude, and with a depth stored
//    (the length field, x 0.1) "\nDybde: %.1f mtr.\n";
//  - tracks: "\nPunkt: %d" and from its POINT record "   Tid: hh:mm\nPos.: ...",
//    "\nKurs: %05.1f \xB0\nFart: %.1f Kt.\n" (x 0.1 each), "Dybde: %.1f mtr.\n"
//    when a depth is stored (x 0.01 when the depth scale is 1, else x 0.1) and
//    "Temp: %.1f \xB0 \n" when a temperature is stored (x 0.01);
//  - routes: "\nPunkt: %d" and from its POINT record "\nPos.: ...", then
//    "\nKurs: %05.1f \xB0  (%05.1f \xB0)\n" (the course of the leg that starts
//    at the point in travel order, and that less the magnetic variation, east
//    positive, in [0, 360)) and "Dist.: %.1f Nm.\n" (its length; 0 for the
//    last point). The active route's legs come from the route table, another
//    route's from IPC to the next stored point.
// Positions read " 60 24.000N  005 19.230E" (the coordinate format 2, two
// blanks between).
std::string DbInfoDescription(const IdRecord& object, int point);

class TDbInfoDialog : public TMapDialog {
  public:
    // `click`: the screen point of the click (for the placement); `object`: a
    // copy of the object's ID record; `point`: the chosen point (store point
    // number) of a track or route.
    TDbInfoDialog(TMapWindow* owner, const ui::TPoint& click, const IdRecord& object, int point,
                  int resId = kDbInfoTemplate);
    ~TDbInfoDialog() override;

    const IdRecord& Object() const { return object_; }
    // Whether the object had no INFO record when the dialog was set up.
    bool NewText() const { return newText_; }

    void CmOk();
    void CmChartInfo();

  protected:
    void SetupWindow() override;
    void CleanupWindow() override;

  private:
    // Stores the changed name and text (as above).
    void Store();

    ui::TPoint click_;
    IdRecord object_;
    int point_;
    InfoRecord info_;
    bool newText_ = true;
    ui::TEdit* name_;
    ui::TEdit* text_;

    DECLARE_RESPONSE_TABLE(TDbInfoDialog);
};
