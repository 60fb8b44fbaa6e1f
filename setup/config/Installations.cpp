#include "config/Installations.h"

#include "config/NavIni.h"
#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "shell/Installation.h"
#include "shell/RegistryReads.h"
#include "shell/TrimBlanks.h"

#include "os/ShellLink.h"
#include "os/drives.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <vector>

namespace {

bool isDriveForm(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' &&
           ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

// Whether the directory text names a folder holding `file`.
bool holds(const std::string& dir, const char* file) {
    return !dir.empty() && FileExists(AddBackslash(dir) + file);
}

using THolds = std::function<bool(const std::string& dir)>;

// The hits of a search over the drive table, in search order: letters Z down
// to C that the table has, candidates in list order. Drive-form candidates get
// each letter; others are tested once, in the C round.
std::vector<std::string> search(const std::vector<std::string>& candidates, const THolds& test) {
    std::vector<std::string> hits;
    for (char letter = 'Z'; letter >= 'C'; --letter) {
        const bool hasDrive = !os::driveRoot(letter).empty();
        for (const std::string& candidate : candidates) {
            if (candidate.empty()) continue;
            std::string dir = candidate;
            if (isDriveForm(candidate)) {
                if (!hasDrive) continue;
                dir[0] = letter;
            } else if (letter != 'C') {
                continue;
            }
            if (test(dir)) hits.push_back(AddBackslash(dir));
        }
    }
    return hits;
}

THolds vEdition(const char* program) {
    return [program](const std::string& dir) {
        return holds(dir, "SOLVNV.INI") && ProgramFileExists(dir, program);
    };
}

// The setup program's own folder as a text, in drive form when a drive holds it.
std::string ownDirectory(const TSetupData& data) {
    const std::string path = data.OwnDirectory.empty() ? os::programDirectory() : data.OwnDirectory;
    return path.empty() ? std::string() : os::windowsPath(path);
}

void findVector(TSetupData& data, TInstallButtons& b) {
    std::string& dir = data.Vektor[kVector].Directory;
    if (holds(dir, "SOLVNV.INI")) {
        if (!ProgramFileExists(dir, "solvnvl.exe")) {
            b.BtnVektorCreate = {false, false};
            b.BtnCopyCD1 = b.BtnCopyCD2 = false;
        }
        return;
    }
    b.BtnVektorCreate.Enabled = b.BtnCopyCD1 = b.BtnCopyCD2 = false;
    const std::vector<std::string> hits = search(
        {ownDirectory(data), DriveFormText(dir), CurrentDirectoryText(), "C:\\RUNTIME",
         "C:\\SOLVNV", "C:\\Solvanor V", "C:\\Solvanor_V", "C:\\Solvanor-V", "C:\\SolvanorV"},
        vEdition("solvnvl.exe"));
    if (hits.empty()) return;
    dir = hits.back();
    b.BtnVektorCreate.Enabled = b.BtnCopyCD1 = b.BtnCopyCD2 = true;
}

// Bathymetric (compared with the vector directory) and ELVO.
void findOther(TSetupData& data, TEdition edition, const char* fallback, TButtonState& button,
               bool& copy) {
    std::string& dir = data.Vektor[edition].Directory;
    const std::string& vector = data.Vektor[kVector].Directory;
    const bool sameAsVector = edition == kBathymetric && SamePath(dir, vector);
    if (holds(dir, "SOLVNV.INI") && !sameAsVector) {
        if (!ProgramFileExists(dir, "solvnv.exe")) {
            button = {false, false};
            copy = false;
        }
        return;
    }
    button.Enabled = copy = false;
    std::vector<std::string> candidates;
    if (!sameAsVector) candidates.push_back(DriveFormText(dir));
    candidates.emplace_back(fallback);
    const std::vector<std::string> hits = search(candidates, vEdition("solvnv.exe"));
    if (hits.empty()) return;
    dir = hits.back();
    button.Enabled = copy = true;
}

void findRaster(TSetupData& data, TInstallButtons& b) {
    std::string& dir = data.Raster.Directory;
    if (holds(dir, "SOLVNR.INI")) return;
    b.BtnRasterCreate = {false, false};
    const std::vector<std::string> hits =
        search({DriveFormText(dir), "C:\\SOLVNR"}, [](const std::string& d) {
            return holds(d, "SOLVNR.INI") && ProgramFileExists(d, "solvnr.exe");
        });
    if (hits.empty()) return;
    dir = hits.back();
    b.BtnRasterCreate = {true, true};
}

void findLite(TSetupData& data, TInstallButtons& b) {
    b.BtnVektorCreate.Enabled = b.BtnBathymetricCreate.Enabled = b.BtnELVOCreate.Enabled = false;
    b.BtnCopyCD1 = b.BtnCopyCD2 = b.BtnCopyBthCD = b.BtnCopyELVOCD = false;
    b.BtnRasterCreate.Enabled = true;
    std::string& dir = data.Raster.Directory;
    if (holds(dir, "SOLVNR.INI")) return;
    b.BtnRasterCreate.Enabled = false;
    const std::vector<std::string> hits =
        search({DriveFormText(dir), "C:\\SOLVANOR"},
               [](const std::string& d) { return holds(d, "SOLVNR.INI"); });
    if (hits.empty()) return;
    dir = hits.front();
    b.BtnRasterCreate = {true, true};
}

bool entryExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

// Whether the desktop entry at `path` starts the edition's program file
// `program` ("solvnvl.exe") and that file is gone: only such a shortcut is
// dead and may be deleted.
bool isDeadShortcut(const std::string& path, const char* program) {
    os::ShellLink link;
    if (!link.Load(path)) return false;
    const std::string& target = link.GetPath();
    if (target.empty() || target[0] != '/') return false;
    if (!ProgramFileNameMatches(target.substr(target.rfind('/') + 1), program)) return false;
    struct stat st;
    return ::stat(target.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

// One edition's shortcut: true when it is on the desktop. A found edition's
// tab flag goes on; a dead shortcut of an edition not found is deleted.
bool checkShortcut(const std::string& desktop, const char* link, const char* program, bool found,
                   bool& tab) {
    const std::string path = os::shortcutPath(AddBackslash(desktop) + link);
    if (!entryExists(path)) return false;
    if (found)
        tab = true;
    else if (isDeadShortcut(path, program))
        ::unlink(path.c_str());
    return true;
}

void tabFlagsFromDesktop(TSetupData& data, const TInstallButtons& b) {
    const std::string desktop = GetDesktopFolder();
    if (desktop.empty()) return;
    data.TabFlags.fill(false);
    checkShortcut(desktop, kShortcutVector, "solvnvl.exe", b.BtnVektorCreate.Enabled,
                  data.TabFlags[kVector]);
    checkShortcut(desktop, kShortcutBathymetric, "solvnv.exe", b.BtnBathymetricCreate.Enabled,
                  data.TabFlags[kBathymetric]);
    checkShortcut(desktop, kShortcutElvo, "solvnv.exe", b.BtnELVOCreate.Enabled,
                  data.TabFlags[kElvo]);
    const bool raster = entryExists(os::shortcutPath(AddBackslash(desktop) + kShortcutRaster));
    if (raster || !data.Lite)
        checkShortcut(desktop, kShortcutRaster, "solvnr.exe", b.BtnRasterCreate.Enabled,
                      data.TabFlags[kRaster]);
    else
        checkShortcut(desktop, kShortcutRasterLite, "solvnrl.exe", b.BtnRasterCreate.Enabled,
                      data.TabFlags[kRaster]);
}

void loadAndRepairV(TSetupData& data, TEdition edition, TButtonState& button,
                    const char* defaultChartDir) {
    TVektorRec& record = data.Vektor[edition];
    const int kind = InstallationKind(record.Directory);
    if (kind != 0) data.InstallationFound = kind;
    if (kind != 1 || !button.Enabled) {
        button.Visible = false;
        return;
    }
    const std::string d = AddBackslash(record.Directory);
    if (!LoadVIni(data, d + "SOLVNV.INI", record)) return;
    if (InstallationSubdir(record.DictionaryDir, record.Directory, "KV71ATTR") !=
            record.DictionaryDir ||
        InstallationSubdir(record.TideDir, record.Directory, "TIDES") != record.TideDir)
        data.Modified = true;
    if (!DirExists(record.KV71Root, record.Directory)) {
        const std::string trimmed = TrimBlanks(record.KV71Root);
        const std::string moved = RelocateDrive(trimmed.empty() ? defaultChartDir : trimmed);
        record.KV71Root = record.KV71Cat = record.KV71ChrList = moved;
        data.Modified = true;
    }
}

bool loadAndRepairR(TSetupData& data, TButtonState& button) {
    TRasterRec& record = data.Raster;
    const int kind = InstallationKind(record.Directory);
    if (kind != 0) data.InstallationFound = kind;
    if ((kind != 3 && kind != 5) || !button.Enabled) {
        button = {false, false};
        return false;
    }
    const std::string d = AddBackslash(record.Directory);
    if (!LoadRIni(data, d + "SOLVNR.INI", record)) return false;
    if (!record.MapRoot.empty() && FileExists(AddBackslash(record.MapRoot) + "map.dat", d))
        return false;
    if (!SamePath(record.MapRoot, d, d) && FileExists(d + "map.dat")) {
        record.MapRoot = d;
        return true;
    }
    button.Enabled = false;
    return false;
}

} // namespace

void FindInstallations(TSetupData& data, TInstallButtons& buttons) {
    if (data.Lite) {
        findLite(data, buttons);
    } else {
        findVector(data, buttons);
        findOther(data, kBathymetric, "C:\\RUNBATH", buttons.BtnBathymetricCreate,
                  buttons.BtnCopyBthCD);
        findOther(data, kElvo, "C:\\RUNELVO", buttons.BtnELVOCreate, buttons.BtnCopyELVOCD);
        findRaster(data, buttons);
    }
    tabFlagsFromDesktop(data, buttons);
}

bool LoadAndRepairInstallations(TSetupData& data, TInstallButtons& buttons) {
    if (!data.Lite) {
        loadAndRepairV(data, kVector, buttons.BtnVektorCreate, "C:\\KV71");
        loadAndRepairV(data, kBathymetric, buttons.BtnBathymetricCreate, "C:\\BATH");
        loadAndRepairV(data, kElvo, buttons.BtnELVOCreate, "C:\\ELVO");
    }
    return loadAndRepairR(data, buttons.BtnRasterCreate);
}
