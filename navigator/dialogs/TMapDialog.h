// The base of the chart window's dialogs and read-out panels, and the
// placement of the panels.
//
// A read-out panel is a child window of the chart window (template style
// WS_CHILD): it floats over the chart, never takes the focus or the
// activation, and is placed by its set-up. Panels stand in two columns of the
// chart window's client area:
//   - the left column stacks down from (0, 0): position (22), date (18),
//     wind (25);
//   - the right column stacks up from the bottom right corner: route panel 1
//     (19) at the bottom, route panel 2 (20) above it, then bearing (15),
//     speed and course (16) and depth (24); panels that are not open take no
//     room, so no two panels overlap.
// Each right-column panel stands at x = client width - its width. Opening or
// closing a panel places the open ones again.
//
// The chart window owns its panels through its fields (TMapWindow.h) and
// refreshes them from its timer:
//
//   chart->depthDlg = new TDepthDlg(chart);    // made, set up and placed
//   chart->depthDlg->Create();
//   if (auto* panel = dynamic_cast<TMapDialog*>(chart->depthDlg)) panel->Update();
//   delete std::exchange(chart->depthDlg, nullptr); // the others move up or down
//
// After a size change of the chart window, PlaceReadoutPanels(*chart) puts
// the open panels back in their places.
#pragma once

#include "ui/Dialog.h"

#include <span>
#include <vector>

class TMapWindow;

class TMapDialog : public ui::TDialog {
  public:
    // The dialog of template `resId` from the program's module; `owner` is
    // the chart window (the parent window; may be null for a dialog that is
    // run without one).
    TMapDialog(TMapWindow* owner, int resId);

    TMapWindow* GetOwner() const { return owner_; }
    int GetResId() const { return resId_; }

    // Writes the panel's texts from the program-wide values. Dialogs that are
    // not panels do nothing.
    virtual void Update() {}

  protected:
    TMapWindow* owner_;
    int resId_;
};

// A read-out panel: a child of the chart window that places itself (and the
// other open panels) when it is set up and when it goes.
class TReadoutPanel : public TMapDialog {
  public:
    TReadoutPanel(TMapWindow* owner, int resId);
    // Destroys the window here, so that the others are placed again.
    ~TReadoutPanel() override;

  protected:
    void SetupWindow() override;
    void CleanupWindow() override;
};

// One open panel for the placement: its template id and its size (pixels).
struct TPanelExtent {
    int resId = 0;
    ui::TSize size;
};

// Where each panel goes in a client area of `client` (pixels): the top left
// corner of each, in the order given. Panels of template ids that belong to no
// column stay at (0, 0).
std::vector<ui::TPoint> ReadoutPanelPlaces(const ui::TSize& client,
                                           std::span<const TPanelExtent> panels);

// Moves every open panel of the chart window to its place (no z-order change,
// no activation, no redraw); `leaving`, when given, is a panel that is going
// and takes no room.
void PlaceReadoutPanels(TMapWindow& chart, const ui::TWindow* leaving = nullptr);
