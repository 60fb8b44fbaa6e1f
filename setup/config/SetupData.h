// The setup program's state: the INI text buffer, the configuration records
// of the four editions and the values they share, the program's own settings,
// and the two flags the main form saves by. The main form owns one TSetupData
// and hands it to every loader, saver and the installation search; nothing
// here is program-wide.
//
// Directory texts are kept as the files hold them (drive form "C:\RUNTIME\",
// Linux form or relative; files/SetupPaths.h says how they name folders).
//
// Example:
//   TSetupData data;
//   LoadSetupIni(data);                      // .\Ostrel.INI
//   TInstallButtons buttons;
//   FindInstallations(data, buttons);
//   bool apply = LoadAndRepairInstallations(data, buttons);
#pragma once

#include "ini/MemoIni.h"
#include "ports/ComSettings.h"

#include <array>
#include <cstdint>
#include <string>

// The editions, as indexes of TSetupData::Vektor (the first three), of the
// tab flags and of the icon flags.
enum TEdition : int { kVector = 0, kBathymetric = 1, kElvo = 2, kRaster = 3 };
// The setup program's own icon flag (after the four editions').
inline constexpr int kIconSetup = 4;

// One V-type installation's configuration (SOLVNV.INI), fields in the file's
// order. Texts are kept as read; integers are the file's decimal values.
struct TVektorRec {
    std::string Directory;            // installation directory (Ostrel.INI)
    std::array<bool, 6> ComEnabled{}; // Comport1..6: plain line (true) or commented/missing
    std::uint8_t DepthIndex = 0;      // 0 METER, 1 FOOT, 2 FATHOM
    std::uint8_t GpsNmeaId = 0;       // 0 AUTO, 1 GGA + VTG, 2 GLL + VTG, 3 RMC
    std::int32_t NmeaOutAPB = 0;      // seconds, 0 = none
    std::int32_t NmeaOutRMB = 0;      // seconds
    std::int32_t NmeaOutRMC = 0;      // seconds
    bool NmeaOutRTE = false;          // route output ("1")
    std::int32_t CrsMinutes = 0;      // course-vector length, minutes
    std::string Help;                 // HELP: command line of the help document
    std::string KV71Root;             // KV71ROOT: chart root
    std::string KV71Cat;              // KV71CAT: chart catalogue directory
    std::string KV71ChrList;          // KV71CHRLIST: chart list directory
    std::string DictionaryDir;        // "KV71ATTR.DIC"
    std::string DepthUnit;            // DepthUnit as read or chosen
    std::string TideDir;              // TIDES
    bool Loaded = false;              // set by LoadVIni this run
};

// The R installation's configuration (SOLVNR.INI).
struct TRasterRec {
    std::string Directory;            // installation directory (Ostrel.INI)
    std::array<bool, 6> ComEnabled{}; // Comport1..6
    std::uint8_t GpsNmeaId = 0;
    std::int32_t NmeaOutAPB = 0;
    std::int32_t NmeaOutRMB = 0;
    std::int32_t NmeaOutRMC = 0;
    bool NmeaOutRTE = false;
    bool ArpaActive = false; // ArpaActive ("1")
    std::string MapRoot;     // MAPROOT: folder holding "map.dat"
    bool Loaded = false;     // set by LoadRIni this run
};

// The values every configuration file shares (the General tab): each file
// loaded may overwrite them, and every file saved receives them.
struct TGenereltRec {
    TComPorts Ports;        // port n is Ports[n - 1]
    std::string AlarmOn;    // "NONE" or "COM1" .. "COM6"
    std::int32_t Stem = 0;  // metres from the GPS antenna to the stem
    std::int32_t Stern = 0; // ... to the stern
    std::int32_t Starboard = 0;
    std::int32_t Port = 0;
    std::int32_t Sounder =
        0;               // metres from the bow to the echo sounder (the file holds Stem - this)
    bool Loaded = false; // set by the first configuration file loaded this run
};

struct TSetupData {
    // The one INI text buffer: every load replaces it, every save writes it.
    TMemoIni Memo;

    std::array<TVektorRec, 3> Vektor; // indexed by kVector, kBathymetric, kElvo
    TRasterRec Raster;
    TGenereltRec Generelt;

    // Ostrel.INI: which editions get a tab (and take part in the search),
    // which desktop shortcuts were made (the four editions, then the setup
    // program's own), lite mode and the language (1 Norwegian, 2 English).
    std::array<bool, 4> TabFlags{true, true, true, true};
    std::array<std::uint8_t, 5> IconFlags{};
    bool Lite = false;
    std::uint8_t Language = 1;

    // Set by every repair and change that .\Ostrel.INI (and, with Apply
    // pending, the configuration files) must be saved for.
    bool Modified = false;
    // The last non-zero installation kind met by the load-and-repair pass.
    std::int32_t InstallationFound = 0;

    // The setup program's own folder (a Linux path) for the installation
    // search; empty means os::programDirectory(). Tests set it.
    std::string OwnDirectory;

    // The installation directory of an edition (kVector .. kRaster).
    std::string& Directory(TEdition edition);
    const std::string& Directory(TEdition edition) const;
};

// The current directory as a text in drive form ("D:\NAV"); in Linux form when
// it lies under no drive root; "." when it cannot be read or stored.
std::string CurrentDirectoryText();

// A directory text in drive form where it can be: drive-form texts unchanged;
// Linux-form and relative texts mapped (relative against the current
// directory) and given back by os::windowsPath, or unchanged when that finds
// no drive or cannot store the name. "" stays "".
std::string DriveFormText(const std::string& text);
