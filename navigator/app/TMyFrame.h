// The navigation program's frame, "Solvanor V lite": the MDI client with the
// chart window, the control bar of chart levels above it and the status bar
// with the gadgets below.
//
// Control bar (10-point gadget font): 118 (non-exclusive), then 111 to 117.
// Status bar (recessed), after its message text: a separator, 1009, 1008,
// 1007, a separator, 1006, a separator, 1002, 1003, a separator, 1001.
// Gadgets 1004 and 1005 are made and kept but not placed.
//   1001 TScaleGadget; 1002 TCoordGadget (0, 0) latitude, 1003 (1, 0)
//   longitude, 1004 (0, 1), 1005 (1, 1); 1006 TInfoGadget GPS, 1007 elapsed
//   time, 1008 trip distance, 1009 track.
#pragma once

#include "ui/Frame.h"
#include "ui/Gadgets.h"

#include <memory>

class TScaleGadget;
class TCoordGadget;
class TInfoGadget;

class TMyFrame : public ui::TDecoratedMDIFrame {
  public:
    // The bars and gadgets are made here; the windows when the frame is created.
    TMyFrame(ui::TMDIClient& client, ui::TModule* module);
    ~TMyFrame() override;

    ui::TControlBar* GetControlBar() const { return controlBar_; }
    ui::TStatusBar* GetStatusBar() const { return statusBar_; }

    // The gadgets 1001 to 1009 (placed or not); null for another id.
    ui::TGadget* StatusGadget(int id) const;
    TScaleGadget* ScaleGadget() const { return scale_; }
    // 1002 to 1005; null for another id.
    TCoordGadget* CoordGadget(int id) const;
    // 1006 to 1009; null for another id.
    TInfoGadget* InfoGadget(int id) const;

    // The frame's own window, kept once it exists (the keyboard handling asks
    // whether it is minimised or maximised); null before.
    ui::HWND FrameHandle() const { return handle_; }

  protected:
    void SetupWindow() override;

  private:
    ui::TControlBar* controlBar_;
    ui::TStatusBar* statusBar_;
    TScaleGadget* scale_;
    TCoordGadget* coords_[4];
    TInfoGadget* infos_[4];
    // The two coordinate gadgets the status bar does not hold.
    std::unique_ptr<ui::TGadget> unplaced_[2];
    ui::HWND handle_ = nullptr;
};

// The frame a window lies in (the window itself or one of its parents); null
// when it lies in none.
TMyFrame* FrameOfWindow(const ui::TWindow* window);
