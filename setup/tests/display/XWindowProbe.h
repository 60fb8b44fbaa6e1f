// Looking at another program's window on an X display, for the display test
// and the start-up benchmark of the setup program: find a top-level window by
// its title, read its pixels from the screen, and tell whether it has been
// painted (an unpainted window on Xvfb shows the black root below it).
#pragma once

#include <QImage>

#include <string>

typedef struct _XDisplay Display;

namespace xprobe {

struct WindowRect {
    unsigned long id = 0; // 0: no such window
    int x = 0, y = 0, width = 0, height = 0;
};

// The viewable window whose title (WM_NAME or _NET_WM_NAME) is `title`, with
// its place on the screen; id 0 when none is viewable now.
WindowRect FindWindow(Display* display, const std::string& title);

// The screen's pixels under the rectangle; a null image when they cannot be read.
QImage Grab(Display* display, const WindowRect& rect);

// Whether at least half of the image's pixels are not black.
bool Painted(const QImage& image);

} // namespace xprobe
