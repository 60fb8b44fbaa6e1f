// Loads the library as a program does and checks, before calling anything in
// it, what its start-up prepared: the symbol fonts found, the built-in
// procedure table filled and the window-class table holding both controls.
// Usage: libraryLoadProbe LIBRARY. Exit status 0 when all holds.
#include "controls/windowClasses.h"
#include "procedures/CondSymbProcs.h"

#include <dlfcn.h>

#include <cstdio>

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

template <typename T> T find(void* library, const char* name) {
    void* p = dlsym(library, name);
    if (!p) std::fprintf(stderr, "no symbol %s\n", name);
    return reinterpret_cast<T>(p);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    // C++ names as the compiler spells them: gdFontsLoaded() and
    // findWindowClass(const char*); the tables are plain data names.
    const auto fontsLoaded = find<bool (*)()>(library, "_Z13gdFontsLoadedv");
    const auto findClass =
        find<WindowClassFactory (*)(const char*)>(library, "_Z15findWindowClassPKc");
    const auto* procedures = find<const CondSymbProc*>(library, "Int1CondSymbProcs");
    const auto* top = find<const std::int32_t*>(library, "SymbolElementTop");
    if (!fontsLoaded || !findClass || !procedures || !top) return 1;

    check(fontsLoaded(), "the symbol fonts are found at load");
    int filled = 0;
    for (unsigned c = 0; c < kInt1CondSymbProcCount; ++c)
        filled += procedures[c] != nullptr;
    check(filled == 197, "197 procedures in the built-in table");
    check(procedures[86] != nullptr && procedures[0] == nullptr && procedures[222] == nullptr,
          "the table's entries by code");
    check(*top == 10, "symbol elements up to 10");
    check(findClass("TGeoPosition32") != nullptr, "window class TGeoPosition32");
    check(findClass("TDateTime32") != nullptr, "window class TDateTime32");
    check(findClass("tgeoposition32") == findClass("TGeoPosition32"),
          "class names without regard to case");
    check(findClass("LISTBOX") == nullptr && findClass(nullptr) == nullptr,
          "an unknown class has no factory");
    if (dlclose(library) != 0) check(false, "the library unloads");
    return failures == 0 ? 0 : 1;
}
