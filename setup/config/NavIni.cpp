#include "config/NavIni.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "shell/HelpCommand.h"

#include <cstdint>
#include <string_view>

namespace {

// No value can hold a line break, so this default tells a missing key apart
// from every value.
constexpr std::string_view kMissing = "\n";

bool readText(const TMemoIni& ini, std::string_view section, std::string_view key, std::string& out,
              bool commented = false) {
    std::string value = ini.MemoIniRead(section, key, kMissing, commented);
    if (value == kMissing) return false;
    out = std::move(value);
    return true;
}

// True and the value when the key holds a decimal integer: two reads with
// different defaults agree only then.
bool readInt(const TMemoIni& ini, std::string_view section, std::string_view key, int& out) {
    const int a = ini.MemoIniReadInt(section, key, 0, false);
    const int b = ini.MemoIniReadInt(section, key, 1, false);
    if (a != b) return false;
    out = a;
    return true;
}

// a - b in 32 bits, wrapping as the record's type does, so that a saved
// Sounder is always the value that was loaded.
std::int32_t difference(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::string comKey(int n) {
    return "Comport" + std::to_string(n);
}

// The Linux path of the existing file the text names; "" when there is none.
std::string existingFile(const std::string& file) {
    return FileExists(file) ? ExistingPath(file) : std::string();
}

// Reads the six port keys into `enabled` and the shared port records.
void loadPorts(TSetupData& data, std::array<bool, 6>& enabled) {
    const TMemoIni& ini = data.Memo;
    const bool earlier = data.Generelt.Loaded;
    for (int n = 1; n <= 6; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        std::string value;
        if (readText(ini, "KV71LIB", comKey(n), value)) {
            enabled[i] = true;
        } else {
            enabled[i] = false;
            if (!readText(ini, "KV71LIB", comKey(n), value, true)) {
                if (earlier) continue; // keep what an earlier file supplied
                value = "COM" + std::to_string(n) + ":4800,n,8,1";
            }
        }
        // The enabled-at-load byte is the vector installation's flag.
        if (ParseComSettings(data.Generelt.Ports, n, value, data.Vektor[kVector].ComEnabled[i]))
            data.Modified = true;
    }
}

void loadAlarmAndVessel(TSetupData& data) {
    const TMemoIni& ini = data.Memo;
    TGenereltRec& g = data.Generelt;
    const bool earlier = g.Loaded;
    std::string alarm;
    if (readText(ini, "KV71LIB", "AlarmOn", alarm)) {
        g.AlarmOn = alarm;
    } else {
        data.Modified = true;
        if (!earlier) g.AlarmOn = "NONE";
    }
    const struct {
        const char* key;
        std::int32_t* field;
    } distances[] = {
        {"Stem", &g.Stem}, {"Stern", &g.Stern}, {"Starboard", &g.Starboard}, {"Port", &g.Port}};
    for (const auto& d : distances) {
        int value = 0;
        if (readInt(ini, "VESSEL", d.key, value) && value != -1) {
            *d.field = value;
        } else {
            data.Modified = true;
            if (!earlier) *d.field = 0;
        }
    }
    int sounder = 0;
    if (readInt(ini, "VESSEL", "Sounder", sounder)) {
        g.Sounder = difference(g.Stem, sounder);
    } else {
        data.Modified = true;
        if (!earlier) g.Sounder = 0;
    }
    g.Loaded = true;
}

// NmeaOutRTE: only 1 is on; 2 is taken as missing, as is a missing key.
bool loadRouteOutput(TSetupData& data) {
    const int value = data.Memo.MemoIniReadInt("KV71LIB", "NmeaOutRTE", 2, false);
    if (value == 2) data.Modified = true;
    return value == 1;
}

void savePorts(TMemoIni& ini, const TGenereltRec& g, const std::array<bool, 6>& enabled) {
    for (int n = 1; n <= 6; ++n)
        ini.MemoIniWrite("KV71LIB", comKey(n), FormatComSettings(g.Ports, n),
                         !enabled[static_cast<std::size_t>(n - 1)]);
}

void saveVessel(TMemoIni& ini, const TGenereltRec& g) {
    ini.MemoIniWriteInt("VESSEL", "Stem", g.Stem, false);
    ini.MemoIniWriteInt("VESSEL", "Stern", g.Stern, false);
    ini.MemoIniWriteInt("VESSEL", "Starboard", g.Starboard, false);
    ini.MemoIniWriteInt("VESSEL", "Port", g.Port, false);
    ini.MemoIniWriteInt("VESSEL", "Sounder", difference(g.Stem, g.Sounder), false);
}

// Reloads the file into the buffer for a save; "" when it cannot be.
std::string reload(TMemoIni& ini, const std::string& file) {
    ini.Clear();
    const std::string path = existingFile(file);
    if (path.empty() || !ini.LoadFromFile(path)) return "";
    return path;
}

} // namespace

std::string InstallationSubdir(const std::string& value, const std::string& dir,
                               const std::string& name) {
    if (dir.empty()) return value;
    const std::string wanted = AddBackslash(dir) + name;
    if (SamePath(value, wanted, dir)) return value;
    return AddBackslash(wanted);
}

bool LoadVIni(TSetupData& data, const std::string& file, TVektorRec& record) {
    TMemoIni& ini = data.Memo;
    ini.Clear();
    const std::string path = existingFile(file);
    if (path.empty() || !ini.LoadFromFile(path)) return false;

    const std::string chartDefault = std::string(1, CurrentDrive()) + ":\\KV71";
    const std::string cwd = AddBackslash(CurrentDirectoryText());

    record.KV71Root = ini.MemoIniRead("DIRECTORY", "KV71ROOT", chartDefault, false);
    record.KV71Cat = ini.MemoIniRead("DIRECTORY", "KV71CAT", chartDefault, false);
    record.KV71ChrList = ini.MemoIniRead("DIRECTORY", "KV71CHRLIST", chartDefault, false);
    record.Help = ini.MemoIniRead("DIRECTORY", "HELP", "", false);
    // Only a help command that exists replaces the user's: without a help
    // document there is nothing better to put there.
    const std::string help = HelpCommandLine(record.Directory, data.Language);
    if (!help.empty() && help != record.Help) {
        record.Help = help;
        data.Modified = true;
    }
    record.DictionaryDir = ini.MemoIniRead("DICTIONARY", "KV71ATTR.DIC", cwd + "KV71ATTR", false);
    record.TideDir = ini.MemoIniRead("DICTIONARY", "TIDES", cwd + "TIDES", false);

    loadPorts(data, record.ComEnabled);
    record.NmeaOutAPB = ini.MemoIniReadInt("KV71LIB", "NmeaOutAPB", 0, false);
    record.NmeaOutRMB = ini.MemoIniReadInt("KV71LIB", "NmeaOutRMB", 0, false);
    record.NmeaOutRMC = ini.MemoIniReadInt("KV71LIB", "NmeaOutRMC", 0, false);
    record.NmeaOutRTE = loadRouteOutput(data);
    record.GpsNmeaId =
        static_cast<std::uint8_t>(ini.MemoIniReadInt("KV71LIB", "GpsNmeaId", 0, false) & 0xFF);
    record.DepthUnit = ini.MemoIniRead("KV71LIB", "DepthUnit", "METER", false);
    record.DepthIndex = record.DepthUnit == "FOOT" ? 1 : record.DepthUnit == "FATHOM" ? 2 : 0;
    record.CrsMinutes = ini.MemoIniReadInt("KV71LIB", "CrsMinutes", 10, false);
    loadAlarmAndVessel(data);
    record.Loaded = true;
    return true;
}

bool LoadRIni(TSetupData& data, const std::string& file, TRasterRec& record) {
    TMemoIni& ini = data.Memo;
    ini.Clear();
    const std::string path = existingFile(file);
    if (path.empty() || !ini.LoadFromFile(path)) return false;

    record.MapRoot = ini.MemoIniRead("DIRECTORY", "MAPROOT",
                                     std::string(1, CurrentDrive()) + ":\\SOLVNR", false);
    loadPorts(data, record.ComEnabled);
    record.NmeaOutAPB = ini.MemoIniReadInt("KV71LIB", "NmeaOutAPB", 0, false);
    record.NmeaOutRMB = ini.MemoIniReadInt("KV71LIB", "NmeaOutRMB", 0, false);
    record.NmeaOutRMC = ini.MemoIniReadInt("KV71LIB", "NmeaOutRMC", 0, false);
    record.NmeaOutRTE = loadRouteOutput(data);
    record.GpsNmeaId =
        static_cast<std::uint8_t>(ini.MemoIniReadInt("KV71LIB", "GpsNmeaId", 0, false) & 0xFF);
    record.ArpaActive = ini.MemoIniReadInt("KV71LIB", "ArpaActive", 0, false) == 1;
    loadAlarmAndVessel(data);
    record.Loaded = true;
    return true;
}

bool SaveVIni(TSetupData& data, const std::string& file, const TVektorRec& record) {
    TMemoIni& ini = data.Memo;
    const std::string path = reload(ini, file);
    if (path.empty()) return false;
    const TGenereltRec& g = data.Generelt;

    ini.MemoIniWrite("DIRECTORY", "KV71ROOT", record.KV71Root, false);
    ini.MemoIniWrite("DIRECTORY", "KV71CAT", record.KV71Cat, false);
    ini.MemoIniWrite("DIRECTORY", "KV71CHRLIST", record.KV71ChrList, false);
    ini.MemoIniWrite("DIRECTORY", "HELP", record.Help, false);
    ini.MemoIniWrite("DICTIONARY", "KV71ATTR.DIC",
                     InstallationSubdir(record.DictionaryDir, record.Directory, "KV71ATTR"), false);
    ini.MemoIniWrite("DICTIONARY", "TIDES",
                     InstallationSubdir(record.TideDir, record.Directory, "TIDES"), false);
    savePorts(ini, g, record.ComEnabled);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutAPB", record.NmeaOutAPB, false);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutRMB", record.NmeaOutRMB, false);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutRMC", record.NmeaOutRMC, false);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutRTE", record.NmeaOutRTE ? 1 : 0, false);
    ini.MemoIniWrite("KV71LIB", "AlarmOn", g.AlarmOn, false);
    ini.MemoIniWriteInt("KV71LIB", "GpsNmeaId", record.GpsNmeaId, false);
    ini.MemoIniWrite("KV71LIB", "DepthUnit", record.DepthUnit, false);
    ini.MemoIniWriteInt("KV71LIB", "CrsMinutes", record.CrsMinutes, false);
    saveVessel(ini, g);
    return ini.SaveToFile(path);
}

bool SaveRIni(TSetupData& data, const std::string& file, const TRasterRec& record) {
    TMemoIni& ini = data.Memo;
    const std::string path = reload(ini, file);
    if (path.empty()) return false;
    const TGenereltRec& g = data.Generelt;

    ini.MemoIniWrite("DIRECTORY", "MAPROOT", record.MapRoot, false);
    savePorts(ini, g, record.ComEnabled);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutAPB", record.NmeaOutAPB, false);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutRMB", record.NmeaOutRMB, false);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutRMC", record.NmeaOutRMC, false);
    ini.MemoIniWriteInt("KV71LIB", "NmeaOutRTE", record.NmeaOutRTE ? 1 : 0, false);
    ini.MemoIniWriteInt("KV71LIB", "GpsNmeaId", record.GpsNmeaId, false);
    ini.MemoIniWriteInt("KV71LIB", "ArpaActive", record.ArpaActive ? 1 : 0, false);
    ini.MemoIniWrite("KV71LIB", "AlarmOn", g.AlarmOn, false);
    saveVessel(ini, g);
    return ini.SaveToFile(path);
}
