#include "controls/windowClasses.h"

#include <array>

namespace {

struct WindowClass {
    const char* name;
    WindowClassFactory factory;
};

// The classes registered at library start.
const std::array<WindowClass, 2>& windowClasses() {
    static const std::array<WindowClass, 2> classes{{
        {"TGeoPosition32", &newGeoPositionControl},
        {"TDateTime32", &newDateTimeControl},
    }};
    return classes;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (lowerAscii(*a) != lowerAscii(*b)) return false;
    return *a == *b;
}

} // namespace

WindowClassFactory findWindowClass(const char* className) {
    if (!className) return nullptr;
    for (const WindowClass& c : windowClasses())
        if (sameName(c.name, className)) return c.factory;
    return nullptr;
}
