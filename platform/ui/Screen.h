// The screen, the program's system colours and the clipboard.
//
// System colours stay inside the program: GetSysColor and SetSysColors keep a
// table of the colours the programs use (COLOR_APPWORKSPACE and the ten
// elements the illumination schemes set) and map them onto the program's own
// Qt palette, so that no other program's colours change.
//
// | element             | Qt palette roles              |
// | COLOR_WINDOW        | Base                          |
// | COLOR_WINDOWTEXT    | Text, WindowText              |
// | COLOR_BTNFACE       | Button, Window                |
// | COLOR_BTNTEXT       | ButtonText                    |
// | COLOR_BTNSHADOW     | Dark                          |
// | COLOR_3DLIGHT       | Midlight                      |
// | COLOR_BTNHIGHLIGHT  | Light                         |
// | COLOR_INFOBK        | ToolTipBase                   |
// | COLOR_CAPTIONTEXT, COLOR_APPWORKSPACE | (table only; the window manager
//   draws captions, the MDI client reads its background from the table) |
#pragma once

#include "ui/Types.h"

#include <memory>
#include <optional>

namespace gdi {
class Bitmap;
}

namespace ui {

class TWindow;

// The primary screen: pixels, millimetres, bits per pixel (20 reserved
// palette entries, as a palette display keeps).
gdi::DeviceCaps GetScreenCaps();
// Tests: what GetScreenCaps reports in place of the screen (a screen of 8 bits
// per pixel, another size); none gives the screen back. A window's context
// keeps what it was made with.
void SetScreenCapsOverride(std::optional<gdi::DeviceCaps> caps);

// A system colour as 0x00BBGGRR; an element the table does not hold gives black.
TColor GetSysColor(int element);
// Sets n elements to their colours in order (a later duplicate wins) and
// applies them to the program's palette. Elements outside the table are
// ignored. Returns true.
bool SetSysColors(int n, const int* elements, const TColor* colours);

// The clipboard, read on behalf of a window.
class TClipboard {
  public:
    explicit TClipboard(TWindow& window);
    // The image on the clipboard as a colour bitmap, or null when it holds none.
    std::shared_ptr<gdi::Bitmap> GetDibBitmap() const;
};

} // namespace ui
