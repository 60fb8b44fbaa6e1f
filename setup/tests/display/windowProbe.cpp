// The display test's look at the setup program's window (XWindowProbe.h):
//   window-probe wait TITLE SECONDS   waits until the window is shown and
//                                     painted; prints its rectangle
//   window-probe grab TITLE FILE      writes the window's pixels as a PNG
// Exit code 0 when it did so, 1 otherwise.
#include "XWindowProbe.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s wait TITLE SECONDS | grab TITLE FILE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const std::string command = argv[1], title = argv[2];
    int status = 1;
    if (command == "wait") {
        const auto end = std::chrono::steady_clock::now() +
                         std::chrono::milliseconds(long(std::atof(argv[3]) * 1000));
        while (std::chrono::steady_clock::now() < end) {
            const xprobe::WindowRect rect = xprobe::FindWindow(display, title);
            if (rect.id && xprobe::Painted(xprobe::Grab(display, rect))) {
                std::printf("%d %d %d %d\n", rect.x, rect.y, rect.width, rect.height);
                status = 0;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    } else if (command == "grab") {
        const QImage image = xprobe::Grab(display, xprobe::FindWindow(display, title));
        status = !image.isNull() && image.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
    }
    XCloseDisplay(display);
    return status;
}
