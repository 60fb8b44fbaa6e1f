// The setup program's first show: the installation search over a drive table
// of 24 letters (C to Z, each a temporary folder holding every candidate
// directory) and the load-and-repair pass. Ostrel.INI's directories point at
// nothing, so every edition is searched on every letter; the sample
// installations lie on C, the last letter searched.
#include "config/Installations.h"
#include "config/SetupData.h"

#include "os/Registry.h"
#include "os/drives.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string kSamples = SAMPLE_DIR;

struct Drives {
    std::string base;
    os::FakeRegistry registry;

    Drives() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "setupsearch-XXXXXX").string();
        base = ::mkdtemp(pattern.data()) ? pattern : "";
        const char* candidates[] = {"RUNTIME",    "SOLVNV",    "Solvanor V", "Solvanor_V",
                                    "Solvanor-V", "SolvanorV", "RUNBATH",    "RUNELVO",
                                    "SOLVNR",     "SOLVANOR",  "work"};
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (letter < 'C') {
                os::setDrive(letter, "", os::DriveType::Fixed);
                continue;
            }
            const std::string root = base + "/" + static_cast<char>(letter - 'A' + 'a');
            for (const char* folder : candidates)
                std::filesystem::create_directories(root + "/" + folder);
            os::setDrive(letter, root, os::DriveType::Fixed);
        }
        const std::string c = base + "/c";
        std::filesystem::copy_file(kSamples + "/SOLVNV.INI", c + "/RUNTIME/SOLVNV.INI");
        std::filesystem::copy_file(kSamples + "/SOLVNR.INI", c + "/SOLVNR/SOLVNR.INI");
        for (const char* file : {"/RUNTIME/vardekka", "/SOLVNR/solvnr.exe", "/SOLVNR/map.dat"})
            std::ofstream(c + file);
        for (const char* folder : {"/RUNTIME/KV71ATTR", "/RUNTIME/TIDES", "/KV71", "/Desktop"})
            std::filesystem::create_directories(c + folder);
        // The desktop is the temporary one: the search may delete shortcuts.
        registry.set(os::RegistryRoot::CurrentUser,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Desktop", "C:\\Desktop");
        os::setRegistry(&registry);
        std::filesystem::current_path(c + "/work");
    }
    ~Drives() {
        os::setRegistry(nullptr);
        os::resetDrives();
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(base, ec);
    }
};

void BM_FindAndRepairInstallations(benchmark::State& state) {
    static Drives drives;
    for (auto _ : state) {
        TSetupData data;
        data.OwnDirectory = drives.base;
        for (int e = kVector; e <= kRaster; ++e)
            data.Directory(static_cast<TEdition>(e)) = "C:\\OLD";
        TInstallButtons buttons;
        FindInstallations(data, buttons);
        benchmark::DoNotOptimize(LoadAndRepairInstallations(data, buttons));
        if (data.InstallationFound != 3)
            state.SkipWithError("the sample installations were not found");
    }
}
BENCHMARK(BM_FindAndRepairInstallations)->Unit(benchmark::kMillisecond);

} // namespace
