// SOLVNV.INI as the setup program leaves it: a file with every key, loaded
// and saved by the setup program, reads the same at this program's start.
// DBROOT and dwMaxBuffSize are not the setup program's keys; they must come
// through its save untouched.
#include "AppTestSupport.h"

#include "ModalScript.h"
#include "config/NavIni.h"

#include <string>

namespace {

using apptest::TestFolder;

// Every field of the settings, as one text per field.
std::vector<std::string> fields(const TViewerSettings& s) {
    std::vector<std::string> f = {s.chartRoot,
                                  s.catalogueDir,
                                  s.chartListDir,
                                  s.dbRoot,
                                  s.helpCommand,
                                  s.dictionaryDir,
                                  s.tideDir,
                                  std::to_string(s.crsMinutes),
                                  std::to_string(s.cacheBytes),
                                  s.idFile,
                                  s.pointFile,
                                  s.infoFile};
    f.insert(f.end(), s.comPorts.begin(), s.comPorts.end());
    return f;
}

TEST(SettingsFromSetup, EveryValueReadsTheSameAfterTheSetupProgramSavedTheFile) {
    // The installation is drive C's root, which is the current folder.
    const std::string ini =
        "[DIRECTORY]\r\n"
        "KV71ROOT=C:\\CHARTS\\KV71\r\n"
        "KV71CAT=C:\\CHARTS\\CAT\r\n"
        "KV71CHRLIST=C:\\CHARTS\\LIST\r\n"
        "DBROOT=C:\\NAV\\STORE\r\n"
        "HELP=xdg-open C:\\DOC\\Brukdokk.doc\r\n"
        "[DICTIONARY]\r\n"
        "KV71ATTR.DIC=C:\\KV71ATTR\\\r\n"
        "TIDES=C:\\TIDES\\\r\n"
        "[KV71LIB]\r\n"
        "Comport1=COM1:4800,N,8,1\r\n"
        ";Comport2=COM2:9600,N,8,1\r\n"
        "Comport3=COM3:38400,E,7,2\r\n"
        ";Comport4=COM4:4800,N,8,1\r\n"
        ";Comport5=COM5:4800,N,8,1\r\n"
        "Comport6=COM6:4800,N,8,1\r\n"
        "NmeaOutAPB=2\r\nNmeaOutRMB=2\r\nNmeaOutRMC=1\r\nNmeaOutRTE=0\r\n"
        "AlarmOn=NONE\r\nGpsNmeaId=0\r\nDepthUnit=METER\r\n"
        "CrsMinutes=6\r\n"
        "dwMaxBuffSize=1000\r\n"
        "[VESSEL]\r\nStem=8\r\nStern=12\r\nStarboard=2\r\nPort=4\r\nSounder=3\r\n";
    TestFolder folder;
    os::setDrive('C', folder.path(), os::DriveType::Fixed);
    apptest::writeFile(folder / "SOLVNV.INI", ini);

    uitest::TModalScript script;
    ASSERT_TRUE(LoadSettings());
    const std::vector<std::string> before = fields(ViewerSettings());
    EXPECT_EQ(ViewerSettings().idFile, folder / "NAV/STORE/id");
    EXPECT_EQ(ViewerSettings().cacheBytes, 1000u * kCacheUnitBytes);
    EXPECT_EQ(ViewerSettings().comPorts[2], "COM3:38400,E,7,2");
    EXPECT_EQ(ViewerSettings().comPorts[1], "");

    TSetupData data;
    TVektorRec& v = data.Vektor[kVector];
    v.Directory = "C:\\";
    ASSERT_TRUE(LoadVIni(data, "C:\\SOLVNV.INI", v));
    EXPECT_FALSE(data.Modified) << "a complete file needs no repair";
    // Two edits, so the save is seen to reach this program's reader.
    v.CrsMinutes = 7;
    data.Generelt.Ports[5].Baud = 9600;
    ASSERT_TRUE(SaveVIni(data, "C:\\SOLVNV.INI", v));

    ASSERT_TRUE(LoadSettings());
    std::vector<std::string> expected = before;
    expected[7] = "7";
    expected.back() = "COM6:9600,N,8,1";
    EXPECT_EQ(fields(ViewerSettings()), expected);
    EXPECT_TRUE(script.Done());
}

} // namespace
