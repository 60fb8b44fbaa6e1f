// Fuzz target of the presentation's look-up table loaders. The input's first
// two bytes are the object and attribute counts; the rest is split at its
// first NUL byte into OBJLUT.DIC and ATTRLUT.DIC. Both files are loaded and
// every record and entry of the tables is read through.
#include "presentation/lookupTables.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned objects = data[0], attributes = data[1];
    data += 2;
    size -= 2;
    std::size_t split = 0;
    while (split < size && data[split] != 0)
        ++split;
    const std::string& folder = fuzzFolder();
    const std::string objlut = folder + "/OBJLUT.DIC", attrlut = folder + "/ATTRLUT.DIC";
    writeFuzzFile(objlut, data, split);
    const std::size_t rest = split < size ? split + 1 : size;
    writeFuzzFile(attrlut, data + rest, size - rest);

    if (const auto table = loadObjectLUT(objlut.c_str(), objects)) {
        fuzzCheck(objects > 0);
        for (unsigned code = 0; code <= objects; ++code) {
            fuzzCheck(table[code].reserved[0] <= 10);
            fuzzCheck(table[code].reserved[1] <= 1000);
        }
    } else {
        fuzzCheck(objects == 0 || split > 0);
    }
    if (const auto table = loadAttributeLUT(attrlut.c_str(), attributes)) {
        fuzzCheck(attributes > 0);
        for (unsigned code = 0; code <= attributes; ++code) {
            const TAttributeLUTEntry& e = table[code];
            if (e.format) fuzzCheck(std::strlen(e.format) < size);
            if (e.name) fuzzCheck(std::strlen(e.name) < size && e.name[0] != ' ');
        }
    }
    return 0;
}
