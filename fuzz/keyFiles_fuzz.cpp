// Fuzz target of the key files: the input up to its first NUL byte is the
// key, the rest the file. The file is read line by line with buffers of
// several sizes, and the key's value is read with a roomy and a tight value
// buffer.
#include "util/keyFiles.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Reads the whole file with lines of at most size - 1 bytes.
void readLines(const std::string& path, int size) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    fuzzCheck(f != nullptr);
    std::string buffer(static_cast<std::size_t>(size) + 1, '\x7f');
    int lines = 0;
    while (char* line = readLine(buffer.data(), size, f)) {
        fuzzCheck(line == buffer.data());
        const std::size_t n = strnlen(line, static_cast<std::size_t>(size));
        fuzzCheck(n < static_cast<std::size_t>(size));
        fuzzCheck(std::memchr(line, '\n', n) == nullptr);
        fuzzCheck(buffer[static_cast<std::size_t>(size)] == '\x7f'); // nothing past size
        ++lines;
    }
    fuzzCheck(std::ferror(f) == 0);
    std::fclose(f);
    (void)lines;
}

void readValue(const std::string& path, const char* key, std::size_t size) {
    std::string value(size + 1, '\x7f');
    readKeyValue(path.c_str(), key, "default", value.data(), size);
    const std::size_t n = strnlen(value.data(), size);
    fuzzCheck(n < size);
    fuzzCheck(value[size] == '\x7f');
    // Trailing bytes below 33 are cut from a value found; the default has none.
    if (n > 0) fuzzCheck(static_cast<unsigned char>(value[n - 1]) >= 33);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* nul = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    const std::size_t keyLength = nul ? static_cast<std::size_t>(nul - data) : size;
    const std::string key(reinterpret_cast<const char*>(data), keyLength);
    const std::size_t start = nul ? keyLength + 1 : size;
    static const std::string path = fuzzFolder() + "/SOLVNV.INI";
    writeFuzzFile(path, data + start, size - start);
    for (int lineSize : {1, 2, 3, 16, 81, 4096})
        readLines(path, lineSize);
    for (std::size_t valueSize : {1, 2, 8, 128})
        readValue(path, key.c_str(), valueSize);
    return 0;
}
