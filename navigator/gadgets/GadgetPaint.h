// What the status bar's gadgets share: the size they ask for and the way they
// paint their text.
#pragma once

#include "ui/Gadgets.h"

#include <string_view>

// Adds to a gadget's base size the extent of its sample text, plus 2 pixels
// each way, in its gadget window's font (nothing without a window).
void AddSampleExtent(const ui::TGadget& gadget, ui::TSize& size, std::string_view sample);

// The colour of a colour type at an illumination level: the button text for
// type 0, otherwise TextColourByType.
ui::TColor GadgetTextColour(int colourType, int illuminationLevel);

// Paints the gadget's border and its text (Windows-1252) inside it: centred
// across when narrower than the inner area, else from its left edge, centred
// down; clipped to the inner area, which is filled with the button face first.
void PaintGadgetText(ui::TGadget& gadget, ui::TDC& dc, std::string_view text, ui::TColor colour);
