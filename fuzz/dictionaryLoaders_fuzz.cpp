// Fuzz target of the dictionary loaders. The input is split at NUL bytes
// into the attribute file, its value-description file, the object file and
// the source file (missing parts are empty files); the three files are loaded
// and every entry of the resulting tables is read through.
#include "kv71/dictionaryTables.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::string makeFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "skjoldr-dicfuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    static std::string folder = pattern;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    });
    return pattern;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

void check(bool ok) {
    if (!ok) std::abort();
}

void readEverything() {
    const unsigned attributes = GetAttNum();
    for (unsigned i = 0; i < attributes; ++i) {
        const KV71AttributeClass* a = GetAttDescr(i);
        check(a && std::strlen(a->acronym) <= 6 && a->format <= 7);
        for (std::uint32_t v = 0; v < a->valueCount; ++v)
            if (a->values[v]) check(std::strlen(a->values[v]) < (1u << 30));
    }
    check(GetAttDescr(attributes) == nullptr);
    const unsigned objects = GetObjNum();
    for (unsigned i = 0; i < objects; ++i) {
        const KV71ObjectClass* o = GetObjDescr(i);
        check(o && std::strlen(o->acronym) <= 6);
        if (o->name) check(std::strlen(o->name) < (1u << 30));
        for (unsigned k = 0; k < o->attributeCount; ++k)
            check(o->attributes[k] < attributes);
    }
    check(GetObjDescr(objects) == nullptr);
    for (unsigned i = 0; i < GetHosNum(); ++i) {
        const KV71HosEntry* h = GetHosDescr(i);
        check(h && ((h->first && h->sorind && h->authority) ||
                    (!h->first && !h->sorind && !h->authority)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = makeFolder();
    static const std::string names[4] = {folder + "/KV71ATTR.DIC", folder + "/KV71ATTR.des",
                                         folder + "/KV71OBJ.DIC", folder + "/HOSOURCE.DIC"};
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        std::size_t end = start;
        while (end < size && data[end] != 0)
            ++end;
        writeFile(names[part], data + start, end - start);
        start = end < size ? end + 1 : size;
    }
    std::string a = names[0], o = names[2], h = names[3];
    try {
        InitKV71Dictionary(a.data(), o.data(), h.data());
    } catch (const char* text) {
        check(std::strncmp(text, "ERROR: ", 7) == 0);
    }
    readEverything();
    DoneKV71Dictionary();
    check(GetAttNum() == 0 && GetObjNum() == 0 && GetHosNum() == 0);
    return 0;
}
