#include "os/platformFile.h"

#include "os/privateProfile.h"
#include "os/textFiles.h"

#include <cstdlib>

namespace os {

namespace {

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithNoCase(const std::string& text, const char* prefix, std::size_t& length) {
    length = 0;
    while (prefix[length]) {
        if (length >= text.size() || upperAscii(text[length]) != upperAscii(prefix[length]))
            return false;
        ++length;
    }
    return true;
}

// "COMn" with n 1 to 99; 0 otherwise.
int comNumber(const std::string& key) {
    std::size_t skip;
    if (!startsWithNoCase(key, "COM", skip) || key.size() < 4 || key.size() > 5 || key[3] == '0')
        return 0;
    int n = 0;
    for (std::size_t i = 3; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return 0;
        n = n * 10 + (key[i] - '0');
    }
    return n;
}

} // namespace

std::string platformFilePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/solvanor/platform.ini";
}

PlatformSettings readPlatformFile(const std::string& path) {
    PlatformSettings settings;
    std::vector<std::string> lines;
    if (!readTextLines(path, lines)) return settings;
    static constexpr struct {
        const char* prefix;
        DriveType type;
    } kKinds[] = {{"fixed:", DriveType::Fixed},
                  {"removable:", DriveType::Removable},
                  {"remote:", DriveType::Remote},
                  {"cdrom:", DriveType::CdRom}};
    for (const ProfileEntry& e : profileSection(lines, "DRIVES")) {
        const char letter = e.key.size() == 1 ? upperAscii(e.key[0]) : '\0';
        if (letter < 'A' || letter > 'Z') continue;
        PlatformDrive drive{letter, e.value, DriveType::Fixed};
        for (const auto& kind : kKinds) {
            std::size_t length;
            if (startsWithNoCase(e.value, kind.prefix, length)) {
                drive.type = kind.type;
                drive.root = e.value.substr(length);
            }
        }
        if (drive.root.empty() || drive.root[0] != '/') continue;
        settings.drives.push_back(drive);
    }
    for (const ProfileEntry& e : profileSection(lines, "PORTS")) {
        const int n = comNumber(e.key);
        if (n > 0 && !e.value.empty()) settings.ports.push_back({n, e.value});
    }
    return settings;
}

const PlatformSettings& platformSettings() {
    static const PlatformSettings settings = readPlatformFile(platformFilePath());
    return settings;
}

std::string platformPortPath(int number) {
    // The first line for a port wins, as in every profile.
    for (const PlatformPort& p : platformSettings().ports)
        if (p.number == number) return p.path;
    return "";
}

} // namespace os
