#include "config/SetupIni.h"

#include "files/SetupPaths.h"

#include <algorithm>

namespace {

constexpr const char* kFileText = ".\\Ostrel.INI";
// The name a new file is created under, in the current directory.
constexpr const char* kNewFile = "Ostrel.INI";

// The editions' keys, in the order of the tab and icon flags.
constexpr const char* kKeys[4] = {"VECTOR", "BATHDB", "ELVODB", "BITMAP"};

// The Linux path of the existing settings file; "" when there is none.
std::string existingFile() {
    return FileExists(kFileText) ? ExistingPath(kFileText) : std::string();
}

void writeDefaultText(TMemoIni& ini) {
    ini.MemoIniWrite("DIRECTORY", "VECTOR", "C:\\RUNTIME", false);
    ini.MemoIniWrite("DIRECTORY", "BATHDB", "C:\\RUNBATH", false);
    ini.MemoIniWrite("DIRECTORY", "ELVODB", "C:\\RUNELVO", false);
    ini.MemoIniWrite("DIRECTORY", "BITMAP", "C:\\SOLVNR", false);
    for (const char* key : kKeys)
        ini.MemoIniWriteInt("CONFIG", key, 0, false);
    for (const char* key : kKeys)
        ini.MemoIniWriteInt("ICONS", key, 0, false);
    ini.MemoIniWriteInt("ICONS", "Ostrel", 0, false);
    ini.MemoIniWriteInt("CONFIG", "LANGUAGE", 1, false);
}

} // namespace

bool LoadSetupIni(TSetupData& data) {
    TMemoIni& ini = data.Memo;
    ini.Clear();
    const std::string path = existingFile();
    if (!path.empty()) {
        if (!ini.LoadFromFile(path)) return false;
    } else {
        data.Modified = true;
        writeDefaultText(ini);
    }

    for (int e = kVector; e <= kRaster; ++e) {
        std::string& dir = data.Directory(static_cast<TEdition>(e));
        dir = ini.MemoIniRead("DIRECTORY", kKeys[e], dir, false);
    }

    if (ini.MemoIniReadInt("CONFIG", "LITE", 0, false) == 1) {
        data.Lite = true;
        data.TabFlags.fill(false);
    } else {
        for (int e = kVector; e <= kRaster; ++e)
            data.TabFlags[static_cast<std::size_t>(e)] =
                ini.MemoIniReadInt("CONFIG", kKeys[e], 1, false) == 1;
        // Only a FISHDB that is there and 1 turns the tab on: counted as 1 when
        // missing, it would keep the tab on after ELVODB=0 had been saved.
        if (ini.MemoIniReadInt("CONFIG", "FISHDB", 0, false) == 1) data.TabFlags[kElvo] = true;
    }

    const auto lowByte = [](int value) { return static_cast<std::uint8_t>(value & 0xFF); };
    data.IconFlags[kVector] = lowByte(ini.MemoIniReadInt("ICONS", "VECTOR", 0, false));
    data.IconFlags[kBathymetric] = lowByte(ini.MemoIniReadInt("ICONS", "BATHDB", 0, false));
    data.IconFlags[kElvo] = ini.MemoIniReadInt("ICONS", "ELVODB", 0, false) == 1 ||
                                    ini.MemoIniReadInt("ICONS", "FISHDB", 0, false) == 1
                                ? 1
                                : 0;
    data.IconFlags[kRaster] = lowByte(ini.MemoIniReadInt("ICONS", "BITMAP", 0, false));
    data.IconFlags[kIconSetup] = lowByte(ini.MemoIniReadInt("ICONS", "Ostrel", 0, false));

    const std::uint8_t language = lowByte(ini.MemoIniReadInt("CONFIG", "LANGUAGE", 1, false));
    data.Language = language == 0 ? 1 : std::min<std::uint8_t>(language, 2);
    return true;
}

bool SaveSetupIni(TSetupData& data) {
    TMemoIni& ini = data.Memo;
    ini.Clear();
    std::string path = existingFile();
    if (!path.empty()) {
        if (!ini.LoadFromFile(path)) return false;
        auto& lines = ini.Lines();
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const std::string& line) {
                                       return IniKeyLineForm(line, "FISHDB") != TIniKeyForm::None;
                                   }),
                    lines.end());
    } else {
        data.Modified = true;
        writeDefaultText(ini);
        path = kNewFile;
    }

    for (int e = kVector; e <= kRaster; ++e)
        ini.MemoIniWrite("DIRECTORY", kKeys[e], data.Directory(static_cast<TEdition>(e)), false);
    for (int e = kVector; e <= kRaster; ++e)
        ini.MemoIniWriteInt("CONFIG", kKeys[e], data.TabFlags[static_cast<std::size_t>(e)] ? 1 : 0,
                            false);
    ini.MemoIniWriteInt("CONFIG", "LANGUAGE", data.Language, false);
    for (int e = kVector; e <= kRaster; ++e)
        ini.MemoIniWriteInt("ICONS", kKeys[e], data.IconFlags[static_cast<std::size_t>(e)], false);
    ini.MemoIniWriteInt("ICONS", "Ostrel", data.IconFlags[kIconSetup], false);
    return ini.SaveToFile(path);
}
