#include "files/DiskSpace.h"

#include "files/SetupPaths.h"

#include "os/drives.h"

#include <string>

std::int64_t DiskFreeBytes(int drive) {
    if (drive < 0 || drive > 26) return -1;
    const char letter = drive == 0 ? CurrentDrive() : char('A' + drive - 1);
    const std::string root = os::driveRoot(letter);
    if (root.empty()) return -1;
    return os::diskFreeBytes(root);
}
