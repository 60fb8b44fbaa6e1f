// The mouse cursor: shapes from the system or the program's module, the shape
// shown now, and the pointer's position.
//
// SetCursorPos moves the pointer where the display allows it (X11; the
// offscreen platform keeps the position for GetCursorPos). ClipCursor has no
// effect: Qt cannot confine the pointer, and grabbing it would be hostile. Tests
// see every request through an observer.
#pragma once

#include "ui/Module.h"
#include "ui/Types.h"

#include <functional>
#include <optional>
#include <string>

namespace ui {

// System cursors (with a null module).
inline constexpr int IDC_ARROW = 32512, IDC_WAIT = 32514, IDC_APPSTARTING = 32650;

// A cursor from the module, or with a null module one of the system cursors
// above; null when there is none.
HCURSOR LoadCursor(const TModule* module, TResId id);

// Shows the cursor everywhere in the program until it is changed; null gives
// the windows their own cursors back. Returns the cursor set before (null at first).
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// The pointer's position in screen pixels.
bool GetCursorPos(TPoint& point);
bool SetCursorPos(int x, int y);
// Kept for the record; has no effect. Null frees the pointer.
bool ClipCursor(const TRect* rect);

// What the programs asked of the cursor, for tests.
struct TCursorRequest {
    enum Kind { SetPos, Clip, Shape } kind = SetPos;
    TPoint pos;                // SetPos
    std::optional<TRect> clip; // Clip (none: freed)
    std::string cursor;        // Shape: the cursor's name, "" for none
};
using TCursorObserver = std::function<void(const TCursorRequest&)>;
// Installs an observer (an empty one removes it); returns the one before.
TCursorObserver SetCursorObserver(TCursorObserver observer);

} // namespace ui
