// The platform file: settings that only this Linux build needs, shared by both
// programs. It lies at $XDG_CONFIG_HOME/solvanor/platform.ini (by default
// ~/.config/solvanor/platform.ini) and is read once per process:
//
//   [DRIVES]
//   ; drive C is this folder (a fixed disk), E a CD-ROM mounted there
//   C=/srv/nav
//   E=cdrom:/media/cdrom1
//   [PORTS]
//   ; the device that "COM1" opens
//   COM1=/dev/ttyUSB0
//
// The file is read with the profile rules of privateProfile.h (a ";" line is a
// comment); its values are Linux paths, taken as bytes.
// A drive value may start with "fixed:", "removable:", "remote:" or "cdrom:";
// roots must be absolute. Port numbers are 1 to 99. Lines that do not fit are
// ignored. A missing file leaves every default in place.
#pragma once

#include "os/drives.h"

#include <string>
#include <vector>

namespace os {

struct PlatformDrive {
    char letter = 'C'; // upper case
    std::string root;  // absolute Linux path
    DriveType type = DriveType::Fixed;
};

struct PlatformPort {
    int number = 1;   // 1 to 99: "COM1" to "COM99"
    std::string path; // device path
};

struct PlatformSettings {
    std::vector<PlatformDrive> drives;
    std::vector<PlatformPort> ports;
};

// Where the platform file is looked for.
std::string platformFilePath();

// The settings of the file at `path`; empty settings when it is missing.
PlatformSettings readPlatformFile(const std::string& path);

// The settings of platformFilePath(), read at the first call.
const PlatformSettings& platformSettings();

// The platform file's device path for "COMn"; "" when it names none.
std::string platformPortPath(int number);

} // namespace os
