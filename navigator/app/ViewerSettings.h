// The navigation program's settings: what it reads from SOLVNV.INI in its
// current folder at start, and what it fixes there.
//
// Texts are kept as the file gives them (Windows-1252, paths in either form:
// "C:\KV71\" or "/srv/nav/KV71/"); whoever opens a path turns it into a Linux
// path through os::localPath. Only the three store file bases are kept as
// Linux paths, since the record layer takes those as they are.
//
//   if (!LoadSettings()) return -1;   // a box has said why
//   const TViewerSettings& s = ViewerSettings();
//   OpenComPort(0, s.comPorts[0].c_str());
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace os {
class PresenceLock;
}

// The program's title: the frame's, the application's, and the name of the
// presence lock by which a second start finds the first.
inline constexpr const char* kViewerTitle = "Solvanor V lite";
// The program's version, shown with its name in the help dialog's caption.
inline constexpr const char* kViewerVersion = "1.0";

// The chart cache asked for when dwMaxBuffSize is missing, 0 or below, or not
// a number: 256 units of 4096 bytes.
inline constexpr int kDefaultMaxBuffSize = 256;
inline constexpr std::uint64_t kCacheUnitBytes = 4096;
// The chart cache's limit is a 32-bit byte count.
inline constexpr std::uint64_t kMaxCacheBytes = 0xFFFFFFFFu;

struct TViewerSettings {
    // [DIRECTORY]
    std::string chartRoot;    // KV71ROOT, required
    std::string catalogueDir; // KV71CAT, default the chart root (kept, not used)
    std::string chartListDir; // KV71CHRLIST, default the chart root (kept, not used)
    std::string dbRoot;       // DBROOT, default empty: the current folder
    std::string helpCommand;  // HELP, the command line of command 135
    // [DICTIONARY]
    std::string dictionaryDir; // key "KV71ATTR.DIC", default the text "KV71ATTR.DIC"
    std::string tideDir;       // TIDES; empty: no tides
    // [KV71LIB]
    std::array<std::string, 6> comPorts; // Comport1 .. Comport6; empty: the port stays closed
    int crsMinutes = 3;                  // CrsMinutes: minutes of the course vector
    std::uint32_t cacheBytes = kDefaultMaxBuffSize * kCacheUnitBytes; // dwMaxBuffSize x 4096

    // The store's file bases, Linux paths: DBROOT with a separator, then "id",
    // "point" and "info"; in the current folder when DBROOT is empty.
    std::string idFile = "id", pointFile = "point", infoFile = "info";

    // Fixed, not read: the NMEA output dividers (every n-th output round).
    int dividerRMB = 2, dividerAPB = 2, dividerRMC = 1;
};

// The program-wide settings, as the last LoadSettings left them.
TViewerSettings& ViewerSettings();

// Reads SOLVNV.INI of the current folder (its name in any case), in order:
//  1. KV71ROOT; missing or empty: the box "ERROR" titled "solvnv.ini", false.
//  2. KV71CAT, KV71CHRLIST, DBROOT, HELP, the dictionary folder, TIDES.
//  3. The presence lock "Solvanor V lite", held from here until the program
//     ends; held by another copy: the box "is active" titled "Solvanor V lite",
//     that copy is asked to come to the front, false. Without a runtime folder
//     the program goes on without the lock.
//  4. The three store file bases.
//  5. The 3D viewer exchange (LoadViewerExchange); without its library the
//     exchange stays off.
//  6. Comport1 to Comport6, kept for the ports that open once the main window
//     and its chart window exist.
//  7. CrsMinutes (default 3) and dwMaxBuffSize (default 256; 0 or below, or
//     not a number, gives 256; the bytes are clamped to the cache's limit); the
//     NMEA position source AUTO.
// Every value is read whole, however long. Returns true to go on.
bool LoadSettings();

// The presence lock that LoadSettings takes (held while the program runs).
os::PresenceLock& ViewerPresenceLock();

// The text of a key, read whole (the buffer grows until the value fits).
std::string ReadProfileText(const char* section, const char* key, const char* defaultValue,
                            const char* file);
