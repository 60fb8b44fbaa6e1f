// Fuzz target of the dictionary loaders. The input is split at NUL bytes
// into the attribute file, its value-description file, the object file and
// the source file (missing parts are empty files); the three files are loaded
// and every entry of the resulting tables is read through.
#include "kv71/dictionaryTables.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

void readEverything() {
    const unsigned attributes = GetAttNum();
    for (unsigned i = 0; i < attributes; ++i) {
        const KV71AttributeClass* a = GetAttDescr(i);
        fuzzCheck(a && std::strlen(a->acronym) <= 6 && a->format <= 7);
        for (std::uint32_t v = 0; v < a->valueCount; ++v)
            if (a->values[v]) fuzzCheck(std::strlen(a->values[v]) < (1u << 30));
    }
    fuzzCheck(GetAttDescr(attributes) == nullptr);
    const unsigned objects = GetObjNum();
    for (unsigned i = 0; i < objects; ++i) {
        const KV71ObjectClass* o = GetObjDescr(i);
        fuzzCheck(o && std::strlen(o->acronym) <= 6);
        if (o->name) fuzzCheck(std::strlen(o->name) < (1u << 30));
        for (unsigned k = 0; k < o->attributeCount; ++k)
            fuzzCheck(o->attributes[k] < attributes);
    }
    fuzzCheck(GetObjDescr(objects) == nullptr);
    for (unsigned i = 0; i < GetHosNum(); ++i) {
        const KV71HosEntry* h = GetHosDescr(i);
        fuzzCheck(h && ((h->first && h->sorind && h->authority) ||
                        (!h->first && !h->sorind && !h->authority)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& folder = fuzzFolder();
    static const std::string names[4] = {folder + "/KV71ATTR.DIC", folder + "/KV71ATTR.des",
                                         folder + "/KV71OBJ.DIC", folder + "/HOSOURCE.DIC"};
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        std::size_t end = start;
        while (end < size && data[end] != 0)
            ++end;
        writeFuzzFile(names[part], data + start, end - start);
        start = end < size ? end + 1 : size;
    }
    std::string a = names[0], o = names[2], h = names[3];
    try {
        InitKV71Dictionary(a.data(), o.data(), h.data());
    } catch (const char* text) {
        fuzzCheck(std::strncmp(text, "ERROR: ", 7) == 0);
    }
    readEverything();
    DoneKV71Dictionary();
    fuzzCheck(GetAttNum() == 0 && GetObjNum() == 0 && GetHosNum() == 0);
    return 0;
}
