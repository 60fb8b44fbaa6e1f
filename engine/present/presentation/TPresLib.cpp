#include "presentation/TPresLib.h"

#include "gdb/TGdbDictionary.h"
#include "graphics/GraphicsFonts.h"
#include "runtime/paths.h"

#include <dlfcn.h>

#include <cstring>
#include <string>

namespace {

std::unique_ptr<char[]> copyText(const char* text) {
    if (!text) return nullptr;
    const std::size_t n = std::strlen(text);
    std::unique_ptr<char[]> copy(new char[n + 1]);
    std::memcpy(copy.get(), text, n + 1);
    return copy;
}

unsigned countOf(int n) {
    return n > 0 ? static_cast<unsigned>(n) : 0;
}

} // namespace

TPresLib::Module::~Module() {
    if (handle) dlclose(handle);
}

TPresLib::Module& TPresLib::Module::operator=(Module&& other) noexcept {
    if (this != &other) {
        if (handle) dlclose(handle);
        handle = other.handle;
        other.handle = nullptr;
    }
    return *this;
}

TPresLib::TPresLib(TGdbDictionary* dictionary_, const char* name_, const char* directory_)
    : name(copyText(name_)), directory(copyText(folderPath(directory_).c_str())), reserved(-1),
      procCount(0), procs(nullptr), dictionary(dictionary_) {
    loadTables();
    if (name && std::strcmp(name.get(), "INT1Pres") == 0) {
        procCount = kInt1CondSymbProcCount;
        procs = Int1CondSymbProcs;
    } else if (name) {
        loadPlugin(name.get());
    }
    if (!gdFontsLoaded()) throw "Fonts are not found";
}

TPresLib::TPresLib(TGdbDictionary* dictionary_, unsigned count, CondSymbProc* table,
                   const char* directory_)
    : directory(copyText(folderPath(directory_).c_str())), reserved(-1), procCount(count),
      procs(table), dictionary(dictionary_) {
    loadTables();
    if (!gdFontsLoaded()) throw "Fonts are not found";
}

TPresLib::~TPresLib() = default;

void TPresLib::loadTables() {
    const std::string dir = directory.get();
    objectCount_ = dictionary ? countOf(dictionary->GetObjectNum()) : 0;
    objects = loadObjectLUT((dir + "OBJLUT.DIC").c_str(), objectCount_);
    if (!objects) throw 10;
    attrCount_ = dictionary ? countOf(dictionary->GetAttrNum()) : 0;
    attributes = loadAttributeLUT((dir + "ATTRLUT.DIC").c_str(), attrCount_);
    if (!attributes) throw 11;
}

void TPresLib::loadPlugin(const char* file) {
    std::string path = std::string(directory.get()) + file;
    // A bare file name would be searched on the library path: the plug-in
    // lies in the presentation directory, the current one when none is given.
    if (path.find('/') == std::string::npos) path = "./" + path;
    Module loaded(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!loaded.handle) return;
    const auto* count = static_cast<const std::uint32_t*>(dlsym(loaded.handle, "nCondSymbProcs"));
    if (!count || *count == 0) return;
    auto* table = static_cast<CondSymbProc*>(dlsym(loaded.handle, "pCondSymbProcs"));
    if (!table) return;
    procCount = *count;
    procs = table;
    module = std::move(loaded);
}

CondSymbProc TPresLib::setSymbProcedure(int code, CondSymbProc procedure) {
    const auto c = static_cast<unsigned>(code);
    if (!procs || c >= procCount) return nullptr;
    const CondSymbProc old = procs[c];
    procs[c] = procedure;
    return old;
}

const GdbObjectLookup* TPresLib::objectLookup(unsigned code) const {
    return objects && code <= objectCount_ ? &objects[code] : nullptr;
}

const GdbAttrLookup* TPresLib::attrLookup(unsigned code) const {
    return attributes && code <= attrCount_ ? &attributes[code] : nullptr;
}
