// The project's sample SOLVNV.INI in the main job's run folder, as
// tools/demo/prepare-run makes it: read with the run folder's platform file,
// its drive-form paths reach the sample chart, the dictionaries and the tides
// through drive C, COM1 is the replay's pseudo-terminal, and the store lies in
// the run folder.
#include "AppTestSupport.h"

#include "ModalScript.h"
#include "os/SerialPort.h"
#include "os/platformFile.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using apptest::TestFolder;

// Where a path text of the settings leads, through the drive table.
fs::path reached(const std::string& text) {
    return fs::canonical(os::localPath(text));
}

TEST(SampleIni, ReadInTheRunFolderReachesTheSampleDataAndTheReplaysPort) {
    TestFolder folder;
    const std::string run = folder / "run";
    const std::string prepare = std::string(DEMO_DIR) + "/prepare-run '" + run + "' >/dev/null";
    ASSERT_EQ(std::system(prepare.c_str()), 0);
    // The run folder's files are the repository's own.
    EXPECT_EQ(apptest::readFile(run + "/SOLVNV.INI"),
              apptest::readFile(apptest::kDataDir + "/sample/setup/SOLVNV.INI"));
    EXPECT_EQ(apptest::readFile(run + "/ECPALETT.INI"),
              apptest::readFile(apptest::kDataDir + "/ECPALETT.INI"));

    // The program's view of the machine: the run folder's platform file.
    const std::string platform = run + "/config/solvanor/platform.ini";
    os::resetDrives("/dev/null", platform);
    const os::PlatformSettings settings = os::readPlatformFile(platform);
    for (const os::PlatformPort& p : settings.ports)
        os::setSerialDevicePath(p.number, p.path);
    fs::current_path(run);

    uitest::TModalScript script;
    ASSERT_TRUE(LoadSettings());
    const TViewerSettings& s = ViewerSettings();
    const fs::path data = fs::canonical(apptest::kDataDir);
    EXPECT_EQ(os::driveRoot('C'), run + "/c");
    EXPECT_EQ(reached(s.chartRoot), data / "sample/kv71");
    EXPECT_EQ(reached(s.catalogueDir), data / "sample/kv71");
    EXPECT_EQ(reached(s.chartListDir), data / "sample/kv71");
    EXPECT_EQ(reached(s.dictionaryDir), data / "dict");
    EXPECT_EQ(reached(s.tideDir), data / "sample/tides");
    EXPECT_TRUE(fs::exists(os::localPath(s.dictionaryDir) + "OBJLUT.DIC"));

    // Port 1 only, and it opens the replay's link.
    EXPECT_EQ(s.comPorts[0], "COM1:4800,N,8,1");
    for (std::size_t n = 1; n < s.comPorts.size(); ++n)
        EXPECT_EQ(s.comPorts[n], "") << "port " << n + 1;
    EXPECT_EQ(os::serialDevicePath("COM1"), run + "/gps");

    // The store's files lie in the run folder, the program's current folder.
    for (const std::string& base : {s.idFile, s.pointFile, s.infoFile})
        EXPECT_EQ(fs::absolute(base).parent_path(), fs::path(run)) << base;
    EXPECT_TRUE(script.Done());

    for (const os::PlatformPort& p : settings.ports)
        os::setSerialDevicePath(p.number, "");
}

} // namespace
