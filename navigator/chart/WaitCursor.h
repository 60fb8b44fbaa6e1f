// The wait cursor for a scope: set when made, the cursor before it put back
// when it goes.
//
//   { const WaitCursor wait; DrawChart(...); }
#pragma once

#include "ui/Cursor.h"

class WaitCursor {
  public:
    WaitCursor() : before_(ui::SetCursor(ui::LoadCursor(nullptr, ui::IDC_WAIT))) {}
    ~WaitCursor() { ui::SetCursor(before_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    ui::HCURSOR before_;
};
