#include "runtime/paths.h"

#include <cstring>
#include <new>

namespace {

constexpr std::size_t kMaxKept = 254;             // characters kept from the path
constexpr std::size_t kResultSize = kMaxKept + 2; // with the '/' and the terminator

// Writes the normalised path into out (capacity bytes, at least 1) and
// returns its length.
std::size_t normalise(const char* path, char* out, std::size_t capacity) {
    // Room for the kept characters, leaving one for a possible '/'.
    std::size_t limit = capacity - 1;
    if (limit > kMaxKept + 1) limit = kMaxKept + 1;
    const std::size_t keepLimit = limit == 0 ? 0 : limit - 1;
    std::size_t len = 0;
    for (const char* p = path; *p && len < keepLimit; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 32 || c == 127) continue;
        out[len++] = c == '\\' ? '/' : char(c);
    }
    if (len > 0 && out[len - 1] != ':' && out[len - 1] != '/' && len < limit) out[len++] = '/';
    out[len] = '\0';
    return len;
}

} // namespace

char* newPath(const char* path, char* buffer, std::size_t capacity) {
    if (!path || !buffer || capacity == 0) return nullptr;
    normalise(path, buffer, capacity);
    return buffer;
}

extern "C" {

char* newPath(const char* path, char* buffer) {
    if (!path) return nullptr;
    if (buffer) return newPath(path, buffer, kResultSize);
    char result[kResultSize];
    const std::size_t len = normalise(path, result, sizeof result);
    char* copy = new (std::nothrow) char[len + 1];
    if (copy) std::memcpy(copy, result, len + 1);
    return copy;
}

int getVolSerNum(const char*, std::uint32_t*) {
    return 0;
}

} // extern "C"
