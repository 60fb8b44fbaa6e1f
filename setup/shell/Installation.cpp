#include "shell/Installation.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"

#include "os/drives.h"

namespace {

bool isDriveForm(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' &&
           ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

} // namespace

int InstallationKind(const std::string& dir) {
    if (dir.empty() || !DirExists(dir)) return 0;
    const std::string d = AddBackslash(dir);
    if ((ProgramFileExists(d, "solvnv.exe") || ProgramFileExists(d, "solvnvl.exe")) &&
        FileExists(d + "solvnv.ini"))
        return 1;
    if (ProgramFileExists(d, "solvnr.exe") && FileExists(d + "solvnr.ini")) return 3;
    if (ProgramFileExists(d, "solvnrl.exe") && FileExists(d + "solvnr.ini")) return 5;
    return 0;
}

std::string RelocateDrive(const std::string& path) {
    if (!isDriveForm(path) || DirExists(path)) return path;
    if (os::driveType(path[0]) == os::DriveType::CdRom) return path;
    std::string result = path;
    for (char letter : {'E', 'D', 'C'}) {
        if (os::driveRoot(letter).empty()) continue;
        std::string candidate = path;
        candidate[0] = letter;
        if (DirExists(candidate)) result = candidate;
    }
    return result;
}
