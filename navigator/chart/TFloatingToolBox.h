// The chart window's floating tool box: one column of buttons at the top right
// corner of the chart window's client area, with the commands used while
// navigating (automatic chart change, illumination, shallow soundings, object
// information, relief and 3D view) and those that edit the user's objects and
// routes. The chart window makes it once (TMapWindow::ShowToolBox) and answers
// its commands (chart/TMapWindowCommands.cpp).
//
// The box is a frameless child of the chart window (styles 0x50400000 and
// 0x188: child, visible, dialog frame; kept above the window's other
// children). Its buttons are the module's bitmaps of the glyph numbers below
// (18 x 18, so each button is a cell of 25 x 25 pixels), and each has its tool
// tip in the program's tool-tip control. The two optional buttons are left out
// when their service is missing: 131 without the exchange library, 132
// without the 3D view.
//
//   auto* box = new TFloatingToolBox(chart, IsViewerExchangeLoaded(), Is3DViewAvailable(),
//                                    app->GetTooltip());
//   box->Create(); // at the chart window's right edge, and kept there
#pragma once

#include "ui/Gadgets.h"

#include <span>
#include <vector>

// One button of the tool box.
struct TToolBoxButton {
    int glyph;   // bitmap of the program's module
    int command; // the command, also the gadget's id
    ui::TButtonGadget::TType type;
    const char* tip; // tool tip (Windows-1252)
};

// The optional buttons.
inline constexpr int kReliefCommand = 131, k3DViewCommand = 132;

// Every button of the box in its order, the optional ones included.
std::span<const TToolBoxButton> ToolBoxButtons();

// The buttons a box has: all of them, less 131 without the exchange library
// and 132 without the 3D view.
std::vector<TToolBoxButton> ToolBoxButtonsFor(bool exchangeLoaded, bool viewAvailable);

class TFloatingToolBox : public ui::TToolBox {
  public:
    // The box in `parent` (the chart window) with its buttons; each button's
    // tip goes to `tooltip` (the program's tool-tip control; null: none) when
    // the box's window is made.
    TFloatingToolBox(ui::TWindow* parent, bool exchangeLoaded, bool viewAvailable,
                     ui::TTooltip* tooltip, ui::TModule* module = nullptr);

    const std::vector<TToolBoxButton>& Buttons() const { return buttons_; }

    // The tool box's size plus 6 pixels in width and height (the frame).
    void GetDesiredSize(ui::TSize& size) override;
    // The enablers, then back to the parent's right edge when the parent's
    // client width changed since the box was placed.
    bool IdleAction(long idleCount) override;

    // Moves the box to (client width of the parent - box width, 0), keeping
    // its size and z-order.
    void PlaceAtRightEdge();

  protected:
    // The base set-up, the box at the parent's right edge, the tool tips on
    // the buttons' cells.
    void SetupWindow() override;

  private:
    std::vector<TToolBoxButton> buttons_;
    ui::TTooltip* tooltip_;
    int placedForWidth_ = -1; // the parent's client width at the last placing
};
