#include "XWindowProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace xprobe {

namespace {

std::string TitleOf(Display* display, Window window) {
    std::string title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    if (!title.empty()) return title;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &items,
                           &rest, &data) == Success &&
        data) {
        if (type == utf8 && format == 8) title.assign(reinterpret_cast<char*>(data), items);
        XFree(data);
    }
    return title;
}

Window Search(Display* display, Window window, const std::string& title, int depth) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable &&
        TitleOf(display, window) == title)
        return window;
    if (depth > 3) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = Search(display, children[i], title, depth + 1);
    if (children) XFree(children);
    return found;
}

// Where a mask's bits lie, and how many there are.
void Shift(unsigned long mask, int& shift, int& bits) {
    shift = bits = 0;
    if (!mask) return;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++bits;
    }
}

int Channel(unsigned long pixel, unsigned long mask) {
    int shift = 0, bits = 0;
    Shift(mask, shift, bits);
    if (!bits) return 0;
    const unsigned long value = (pixel & mask) >> shift;
    return int(value * 255 / ((1ul << bits) - 1));
}

} // namespace

WindowRect FindWindow(Display* display, const std::string& title) {
    WindowRect rect;
    const Window root = DefaultRootWindow(display);
    const Window window = Search(display, root, title, 0);
    if (!window) return rect;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return rect;
    Window child = 0;
    int x = 0, y = 0;
    if (!XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child)) return rect;
    rect = {window, x, y, attributes.width, attributes.height};
    return rect;
}

QImage Grab(Display* display, const WindowRect& rect) {
    if (!rect.id || rect.width <= 0 || rect.height <= 0) return {};
    const Window root = DefaultRootWindow(display);
    XWindowAttributes screen;
    XGetWindowAttributes(display, root, &screen);
    // Only the part on the screen can be read.
    const int x0 = std::max(rect.x, 0), y0 = std::max(rect.y, 0);
    const int x1 = std::min(rect.x + rect.width, screen.width);
    const int y1 = std::min(rect.y + rect.height, screen.height);
    if (x1 <= x0 || y1 <= y0) return {};
    XImage* shot =
        XGetImage(display, root, x0, y0, unsigned(x1 - x0), unsigned(y1 - y0), AllPlanes, ZPixmap);
    if (!shot) return {};
    QImage image(x1 - x0, y1 - y0, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const unsigned long p = XGetPixel(shot, x, y);
            image.setPixel(x, y,
                           qRgb(Channel(p, shot->red_mask), Channel(p, shot->green_mask),
                                Channel(p, shot->blue_mask)));
        }
    XDestroyImage(shot);
    return image;
}

bool Painted(const QImage& image) {
    if (image.isNull()) return false;
    long lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0) ++lit;
    return lit * 2 >= long(image.width()) * image.height();
}

} // namespace xprobe
