// Until the read-out helpers are built, every colour type draws in the
// button text's colour.
#include "dialogs/ReadoutText.h"

#include "ui/Screen.h"

ui::TColor TextColourByType(int, int) {
    return ui::GetSysColor(ui::COLOR_BTNTEXT);
}
