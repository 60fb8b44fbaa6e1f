#include "runtime/paths.h"

#include <cstring>
#include <new>

namespace {

constexpr std::size_t kMaxKept = 254;             // characters kept from the path
constexpr std::size_t kResultSize = kMaxKept + 2; // with the '/' and the terminator

// Writes the normalised path into out (kResultSize bytes) and returns its
// length.
std::size_t normalise(const char* path, char* out) {
    std::size_t len = 0;
    for (const char* p = path; *p && len < kMaxKept; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 32 || c == 127) continue;
        out[len++] = c == '\\' ? '/' : char(c);
    }
    if (len > 0 && out[len - 1] != ':' && out[len - 1] != '/') out[len++] = '/';
    out[len] = '\0';
    return len;
}

} // namespace

char* newPath(const char* path, char* buffer, std::size_t capacity) {
    if (!path || !buffer || capacity == 0) return nullptr;
    char result[kResultSize];
    const std::size_t len = normalise(path, result);
    // A cut folder path would name another folder: refuse instead.
    if (len >= capacity) {
        buffer[0] = '\0';
        return nullptr;
    }
    std::memcpy(buffer, result, len + 1);
    return buffer;
}

extern "C" {

char* newPath(const char* path, char* buffer) {
    if (!path) return nullptr;
    if (buffer) return newPath(path, buffer, kResultSize);
    char result[kResultSize];
    const std::size_t len = normalise(path, result);
    char* copy = new (std::nothrow) char[len + 1];
    if (copy) std::memcpy(copy, result, len + 1);
    return copy;
}

int getVolSerNum(const char*, std::uint32_t*) {
    return 0;
}

} // extern "C"
