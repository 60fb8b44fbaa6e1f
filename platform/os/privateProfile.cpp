#include "os/privateProfile.h"

#include "os/drives.h"
#include "os/findNoCase.h"
#include "os/textFiles.h"

#include <climits>
#include <cstring>
#include <optional>

namespace os {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

char firstNonBlank(std::string_view line) {
    const std::string_view t = trimBlanks(line);
    return t.empty() ? '\0' : t.front();
}

// The lines of the profile named by Windows text `file`; nullopt when the file
// is missing or unreadable.
std::optional<std::vector<std::string>> profileLines(const char* file) {
    if (!file) return std::nullopt;
    const std::string local = localPath(file);
    if (local.empty()) return std::nullopt;
    const std::string found = findNoCase(local);
    std::vector<std::string> lines;
    if (found.empty() || !readTextLines(found, lines)) return std::nullopt;
    return lines;
}

std::optional<std::string> profileValue(const char* section, const char* key, const char* file) {
    if (!section || !key) return std::nullopt;
    const auto lines = profileLines(file);
    if (!lines) return std::nullopt;
    for (const ProfileEntry& e : profileSection(*lines, section))
        if (equalNoCase(e.key, key)) return e.value;
    return std::nullopt;
}

std::uint32_t copyCut(std::string_view text, char* buffer, std::uint32_t size) {
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

std::uint32_t copyKeyList(const std::vector<ProfileEntry>& entries, char* buffer,
                          std::uint32_t size) {
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t used = 0;
    for (const ProfileEntry& e : entries) {
        if (e.key.empty()) continue; // would end the list early
        if (used + e.key.size() + 1 > size - 1) {
            // Only whole names: a cut "255" would read as a key "25".
            std::memset(buffer + used, 0, size - used);
            return size - 2;
        }
        std::memcpy(buffer + used, e.key.data(), e.key.size());
        used += e.key.size();
        buffer[used++] = '\0';
    }
    buffer[used] = '\0';
    if (used == 0) buffer[1] = '\0';
    return static_cast<std::uint32_t>(used);
}

} // namespace

std::vector<ProfileEntry> profileSection(const std::vector<std::string>& lines,
                                         std::string_view section) {
    std::vector<ProfileEntry> entries;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        const std::string_view t = trimBlanks(lines[i]);
        if (t.size() == section.size() + 2 && t.front() == '[' && t.back() == ']' &&
            equalNoCase(t.substr(1, section.size()), section))
            break;
    }
    for (++i; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const char first = firstNonBlank(line);
        if (first == '[') break;
        if (first == ';') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        entries.push_back({std::string(trimBlanks(line.substr(0, equals))),
                           std::string(trimBlanks(line.substr(equals + 1)))});
    }
    return entries;
}

std::uint32_t getPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* file) {
    if (!buffer || size == 0) return 0;
    if (!key) {
        std::vector<ProfileEntry> entries;
        if (section)
            if (const auto lines = profileLines(file)) entries = profileSection(*lines, section);
        return copyKeyList(entries, buffer, size);
    }
    const auto value = profileValue(section, key, file);
    return copyCut(value ? std::string_view(*value)
                         : std::string_view(defaultValue ? defaultValue : ""),
                   buffer, size);
}

int getPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* file) {
    const auto value = profileValue(section, key, file);
    if (!value) return defaultValue;
    std::string_view t = trimBlanks(*value);
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty() || t.front() < '0' || t.front() > '9') return defaultValue;
    long long n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) return defaultValue;
    }
    if (negative) n = -n;
    if (n < INT_MIN || n > INT_MAX) return defaultValue;
    return static_cast<int>(n);
}

} // namespace os
