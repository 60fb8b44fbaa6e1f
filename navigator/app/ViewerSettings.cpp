#include "app/ViewerSettings.h"

#include "ViewerExchange.h"
#include "nmea/NavState.h"
#include "os/drives.h"
#include "os/instanceLocks.h"
#include "os/privateProfile.h"
#include "ui/MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The settings file of the current folder; the profile reader finds it in any case.
constexpr const char* kSettingsFile = "./SOLVNV.INI";

// A store file base: the database folder with a separator, then the name.
std::string storeFileBase(const std::string& dbRoot, const char* name) {
    if (dbRoot.empty()) return name;
    std::string folder = os::localPath(dbRoot);
    // A drive letter that names nothing here: the text is kept, so the store
    // fails to open instead of landing in another folder.
    if (folder.empty()) folder = dbRoot;
    if (folder.back() != '/') folder += '/';
    return folder + name;
}

} // namespace

TViewerSettings& ViewerSettings() {
    static TViewerSettings settings;
    return settings;
}

os::PresenceLock& ViewerPresenceLock() {
    static os::PresenceLock lock;
    return lock;
}

std::string ReadProfileText(const char* section, const char* key, const char* defaultValue,
                            const char* file) {
    std::vector<char> buffer(256);
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t n =
            os::getPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
        // A value that filled the buffer may have been cut: ask again with more room.
        if (n + 1 < size) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

bool LoadSettings() {
    TViewerSettings& s = ViewerSettings();
    s = TViewerSettings{};
    const char* file = kSettingsFile;

    s.chartRoot = ReadProfileText("DIRECTORY", "KV71ROOT", "", file);
    if (s.chartRoot.empty()) {
        ui::MessageBox(nullptr, "ERROR", "solvnv.ini", ui::MB_TASKMODAL | ui::MB_ICONEXCLAMATION);
        return false;
    }
    s.catalogueDir = ReadProfileText("DIRECTORY", "KV71CAT", s.chartRoot.c_str(), file);
    s.chartListDir = ReadProfileText("DIRECTORY", "KV71CHRLIST", s.chartRoot.c_str(), file);
    s.dbRoot = ReadProfileText("DIRECTORY", "DBROOT", "", file);
    s.helpCommand = ReadProfileText("DIRECTORY", "HELP", "", file);
    s.dictionaryDir = ReadProfileText("DICTIONARY", "KV71ATTR.DIC", "KV71ATTR.DIC", file);
    s.tideDir = ReadProfileText("DICTIONARY", "TIDES", "", file);

    // One copy runs: the first holds the presence lock until it ends.
    os::PresenceLock& presence = ViewerPresenceLock();
    switch (presence.acquire(kViewerTitle)) {
    case os::LockResult::Acquired:
        break;
    case os::LockResult::HeldElsewhere:
        ui::MessageBox(nullptr, "is active", kViewerTitle,
                       ui::MB_TASKMODAL | ui::MB_ICONEXCLAMATION);
        os::requestActivation(kViewerTitle);
        return false;
    case os::LockResult::Failed:
        std::fprintf(stderr, "vardekka: no runtime folder for the presence lock; going on\n");
        break;
    }

    s.idFile = storeFileBase(s.dbRoot, "id");
    s.pointFile = storeFileBase(s.dbRoot, "point");
    s.infoFile = storeFileBase(s.dbRoot, "info");

    LoadViewerExchange();

    for (int n = 1; n <= 6; ++n) {
        const std::string key = "Comport" + std::to_string(n);
        s.comPorts[static_cast<std::size_t>(n - 1)] =
            ReadProfileText("KV71LIB", key.c_str(), "", file);
    }

    s.crsMinutes = os::getPrivateProfileInt("KV71LIB", "CrsMinutes", 3, file);
    int units = os::getPrivateProfileInt("KV71LIB", "dwMaxBuffSize", kDefaultMaxBuffSize, file);
    if (units <= 0) units = kDefaultMaxBuffSize;
    s.cacheBytes = static_cast<std::uint32_t>(
        std::min(static_cast<std::uint64_t>(units) * kCacheUnitBytes, kMaxCacheBytes));
    UpdateNavShared([](NavShared& shared) { shared.positionSource = NmeaSourceAuto; });
    return true;
}
