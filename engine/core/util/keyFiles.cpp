#include "util/keyFiles.h"

#include <cstring>
#include <sys/stat.h>

namespace {

// Copies text into dst of size bytes, cut to size - 1; returns the length.
std::size_t copyCut(char* dst, std::size_t size, const char* text) {
    std::size_t n = text ? strnlen(text, size - 1) : 0;
    if (n > 0) std::memcpy(dst, text, n);
    dst[n] = '\0';
    return n;
}

} // namespace

extern "C" {

char* readLine(char* buf, int size, std::FILE* stream) {
    if (!buf || !stream || size < 1) return nullptr;
    if (size == 1) {
        // Room for the terminator only: fgets would answer buf even at the end
        // of the file, so the line is skipped here.
        int c = std::getc(stream);
        if (c == EOF) return nullptr;
        while (c != EOF && c != '\n')
            c = std::getc(stream);
        buf[0] = '\0';
        return buf;
    }
    if (!std::fgets(buf, size, stream)) return nullptr;
    std::size_t n = std::strlen(buf);
    if (n > 0 && buf[n - 1] == '\n') {
        buf[--n] = '\0';
    } else {
        int c;
        while ((c = std::getc(stream)) != EOF && c != '\n') {
        }
    }
    if (n > 0 && buf[n - 1] == '\r') buf[--n] = '\0';
    return buf;
}

void readKeyValue(const char* file, const char* key, const char* def, char* value,
                  std::size_t size) {
    if (!value || size == 0) return;
    copyCut(value, size, def);
    if (!file || !key) return;
    std::FILE* f = std::fopen(file, "r");
    if (!f) return;
    char line[81];
    while (readLine(line, sizeof line, f)) {
        char* eq = std::strchr(line, '=');
        if (!eq) continue;
        *eq = '\0';
        if (std::strcmp(line, key) != 0) continue;
        std::size_t n = copyCut(value, size, eq + 1);
        while (n > 0 && static_cast<unsigned char>(value[n - 1]) < 33)
            value[--n] = '\0';
    }
    std::fclose(f);
}

std::size_t getProfileText(const char*, const char*, const char* def, char* dst, std::size_t size,
                           const char* file) {
    if (!dst || size == 0) return 0;
    if (file) {
        if (std::FILE* f = std::fopen(file, "r")) {
            std::fclose(f);
            dst[0] = '\0';
            return 0;
        }
    }
    return copyCut(dst, size, def);
}

long fileLength(const char* path) {
    if (!path) return 0;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    long length = 0;
    struct stat st;
    const bool regular = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    if (regular && std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
    std::fclose(f);
    return length < 0 ? 0 : length;
}

} // extern "C"
