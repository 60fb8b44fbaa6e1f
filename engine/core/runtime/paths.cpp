#include "runtime/paths.h"

#include <cstring>
#include <new>

namespace {

constexpr std::size_t kMaxKept = 254;             // characters kept from the path
constexpr std::size_t kResultSize = kMaxKept + 2; // with the '/' and the terminator

// The normalised path, keeping at most `kept` characters of the path.
std::string normalise(const char* path, std::size_t kept) {
    std::string out;
    for (const char* p = path; *p && out.size() < kept; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 32 || c == 127) continue;
        out.push_back(c == '\\' ? '/' : char(c));
    }
    if (!out.empty() && out.back() != ':' && out.back() != '/') out.push_back('/');
    return out;
}

} // namespace

char* newPath(const char* path, char* buffer, std::size_t capacity) {
    if (!path || !buffer || capacity == 0) return nullptr;
    const std::string result = normalise(path, kMaxKept);
    // A cut folder path would name another folder: refuse instead.
    if (result.size() >= capacity) {
        buffer[0] = '\0';
        return nullptr;
    }
    std::memcpy(buffer, result.c_str(), result.size() + 1);
    return buffer;
}

std::string folderPath(const char* path) {
    if (!path) return std::string();
    return normalise(path, static_cast<std::size_t>(-1));
}

extern "C" {

char* newPath(const char* path, char* buffer) {
    if (!path) return nullptr;
    if (buffer) return newPath(path, buffer, kResultSize);
    const std::string result = normalise(path, kMaxKept);
    char* copy = new (std::nothrow) char[result.size() + 1];
    if (copy) std::memcpy(copy, result.c_str(), result.size() + 1);
    return copy;
}

int getVolSerNum(const char*, std::uint32_t*) {
    return 0;
}

} // extern "C"
