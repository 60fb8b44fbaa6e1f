// Basic types and Windows numbers of the window layer: points, sizes and
// rectangles, message parameters, and the message, key, style, show, box and
// colour numbers the programs use, with their Windows values.
//
// A window handle (HWND) is the window's QWidget; a device context (TDC) is a
// gdi::Dc.
#pragma once

#include "gdi/Dc.h"

#include <algorithm>
#include <cstdint>

class QWidget;

namespace ui {

using UINT = unsigned;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HWND = QWidget*;
using TDC = gdi::Dc;
using TColor = gdi::Colour;

// A point, in client, window or screen pixels as the call says.
struct TPoint {
    int x = 0, y = 0;
    TPoint() = default;
    TPoint(int x_, int y_) : x(x_), y(y_) {}
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0, cy = 0;
    TSize() = default;
    TSize(int w, int h) : cx(w), cy(h) {}
    bool operator==(const TSize&) const = default;
};

// Left and top inclusive, right and bottom exclusive.
struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    TRect() = default;
    TRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    TRect(const TPoint& topLeft, const TSize& size)
        : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy) {
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    TSize Size() const { return {Width(), Height()}; }
    TPoint TopLeft() const { return {left, top}; }
    bool IsEmpty() const { return left >= right || top >= bottom; }
    bool Contains(const TPoint& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // Grows (or with negative values shrinks) the rectangle on every side.
    TRect& Inflate(int dx, int dy) {
        left -= dx, top -= dy, right += dx, bottom += dy;
        return *this;
    }
    TRect& Offset(int dx, int dy) {
        left += dx, top += dy, right += dx, bottom += dy;
        return *this;
    }
    bool operator==(const TRect&) const = default;
};

// A message as the application's hook sees it.
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr UINT LOWORD(std::uintptr_t v) {
    return UINT(v & 0xFFFF);
}
constexpr UINT HIWORD(std::uintptr_t v) {
    return UINT((v >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(UINT lo, UINT hi) {
    return WPARAM((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
}
// Client points travel in lParam as two signed 16-bit halves.
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(
        std::uint32_t((std::uint32_t(lo) & 0xFFFF) | ((std::uint32_t(hi) & 0xFFFF) << 16)));
}
constexpr int GET_X_LPARAM(LPARAM lp) {
    return std::int16_t(lp & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return std::int16_t((lp >> 16) & 0xFFFF);
}

// Messages.
inline constexpr UINT WM_DESTROY = 0x0002, WM_SIZE = 0x0005, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
                      WM_NOTIFY = 0x004E, WM_KEYDOWN = 0x0100, WM_COMMAND = 0x0111,
                      WM_TIMER = 0x0113, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
                      WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONDBLCLK = 0x0206,
                      WM_MBUTTONDOWN = 0x0207, WM_MBUTTONDBLCLK = 0x0209, WM_PARENTNOTIFY = 0x0210,
                      WM_MDIACTIVATE = 0x0222, WM_USER = 0x0400;
// The layer's own message asking a handler chain for a command's state.
inline constexpr UINT WM_COMMAND_ENABLE = 0x7F00;

// Notification codes (high word of a WM_COMMAND's wParam, or WM_NOTIFY's code).
inline constexpr UINT BN_CLICKED = 0, CBN_SELCHANGE = 1, EN_CHANGE = 0x0300;
inline constexpr UINT TVN_SELCHANGED = UINT(-402);

// Mouse key flags.
inline constexpr UINT MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004,
                      MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010;

// Virtual keys (letters and digits are their upper-case ASCII codes).
inline constexpr UINT VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
                      VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_ESCAPE = 0x1B,
                      VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
                      VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                      VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
                      VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
                      VK_F1 = 0x70, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
                      VK_OEM_PERIOD = 0xBE;

// Window styles. Acted on: WS_CHILD, WS_VISIBLE, WS_MAXIMIZE, WS_DLGFRAME and
// WS_EX_TOPMOST with WS_EX_TOOLWINDOW; every other bit is kept and ignored.
inline constexpr std::uint32_t WS_OVERLAPPED = 0, WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u,
                               WS_VISIBLE = 0x10000000u, WS_DISABLED = 0x08000000u,
                               WS_MAXIMIZE = 0x01000000u, WS_CAPTION = 0x00C00000u,
                               WS_BORDER = 0x00800000u, WS_DLGFRAME = 0x00400000u,
                               WS_SYSMENU = 0x00080000u, WS_THICKFRAME = 0x00040000u;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008u, WS_EX_TOOLWINDOW = 0x00000080u,
                               WS_EX_WINDOWEDGE = 0x00000100u;
// Edit styles of dialog items.
inline constexpr std::uint32_t ES_MULTILINE = 0x0004u, ES_READONLY = 0x0800u;
// A position or size the layer chooses.
inline constexpr int CW_USEDEFAULT = int(0x80000000u);

// Window class styles.
inline constexpr UINT CS_DBLCLKS = 0x0008, CS_OWNDC = 0x0020;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
                     SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWNA = 8,
                     SW_RESTORE = 9;

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004,
                      SWP_NOREDRAW = 0x0008, SWP_NOACTIVATE = 0x0010;

// WM_SIZE kinds.
inline constexpr UINT SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;

// Message boxes and dialog results.
inline constexpr UINT MB_OK = 0x0000, MB_OKCANCEL = 0x0001, MB_ICONHAND = 0x0010,
                      MB_ICONQUESTION = 0x0020, MB_ICONEXCLAMATION = 0x0030,
                      MB_ICONASTERISK = 0x0040, MB_TASKMODAL = 0x2000,
                      MB_SETFOREGROUND = 0x00010000;
inline constexpr int IDOK = 1, IDCANCEL = 2;

// System colour elements.
inline constexpr int COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9,
                     COLOR_APPWORKSPACE = 12, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
                     COLOR_BTNTEXT = 18, COLOR_BTNHIGHLIGHT = 20, COLOR_3DLIGHT = 22,
                     COLOR_INFOBK = 24;

// Text alignment and text output options of device contexts.
using gdi::ETO_CLIPPED;
using gdi::ETO_OPAQUE;
using gdi::TA_BASELINE;
using gdi::TA_BOTTOM;
using gdi::TA_CENTER;
using gdi::TA_LEFT;
using gdi::TA_RIGHT;
using gdi::TA_TOP;

// A colour from red, green and blue, as 0x00BBGGRR.
constexpr TColor RGB(int r, int g, int b) {
    return gdi::rgb(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b));
}

} // namespace ui
