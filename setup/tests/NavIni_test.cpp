// SOLVNV.INI and SOLVNR.INI: each key's load rule and repair, what a save
// writes back, the values the editions share, and that the navigation
// program's reader finds what the setup program wrote.
#include "ConfigMachine.h"

#include "config/NavIni.h"
#include "files/Backslash.h"

#include "os/textFiles.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using setuptest::ConfigMachine;

class NavIni : public ConfigMachine {
  protected:
    // The navigation program finds every key the setup program wrote for
    // `record`: directories, dictionary and tides, and the ports, a commented
    // one reading as absent.
    void expectNavigatorAgrees(const std::string& path, const TSetupData& data,
                               const TVektorRec& record) {
        EXPECT_EQ(navigatorReads(path, "DIRECTORY", "KV71ROOT"), record.KV71Root);
        EXPECT_EQ(navigatorReads(path, "DICTIONARY", "KV71ATTR.DIC"),
                  InstallationSubdir(record.DictionaryDir, record.Directory, "KV71ATTR"));
        EXPECT_EQ(navigatorReads(path, "DICTIONARY", "TIDES"),
                  InstallationSubdir(record.TideDir, record.Directory, "TIDES"));
        for (int n = 1; n <= 6; ++n)
            EXPECT_EQ(navigatorReads(path, "KV71LIB", "Comport" + std::to_string(n)),
                      record.ComEnabled[static_cast<std::size_t>(n - 1)]
                          ? FormatComSettings(data.Generelt.Ports, n)
                          : "<none>")
                << "port " << n;
    }
};

TEST_F(NavIni, EachKeyLoadsRepairsAndIsWrittenBackByItsRule) {
    // A help viewer is registered throughout; only one case has a document.
    registry.set(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\.PDF", "", "Viewer.Document");
    registry.set(os::RegistryRoot::LocalMachine,
                 "SOFTWARE\\Classes\\Viewer.Document\\shell\\open\\command", "",
                 "\"/usr/bin/xdg-open\" \"%1\"");
    using Check = std::function<void(const TSetupData&)>;
    struct Case {
        const char* input;
        const char* directory;
        bool helpDocument;
        Check check;
        bool modified;
        const char* output;
    } cases[] = {
        {"v-no-vessel.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             const TGenereltRec& g = d.Generelt;
             EXPECT_EQ(std::vector<int>({g.Stem, g.Stern, g.Starboard, g.Port, g.Sounder}),
                       std::vector<int>({0, 0, 0, 0, 0}));
         },
         true, "v-no-vessel.out.ini"},
        {"v-comport3-com5.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             const TComPorts& p = d.Generelt.Ports;
             EXPECT_TRUE(d.Vektor[kVector].ComEnabled[2]);
             EXPECT_EQ(p[2].Device, "COM5");
             EXPECT_EQ(p[2].Baud, 9600u);
             EXPECT_FALSE(d.Vektor[kVector].ComEnabled[4]);
             EXPECT_EQ(p[4].Device, "");
             EXPECT_EQ(p[4].Baud, 4800u);
         },
         false, "v-comport3-com5.out.ini"},
        {"v-comport2-both.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             EXPECT_TRUE(d.Vektor[kVector].ComEnabled[1]);
             EXPECT_EQ(d.Generelt.Ports[1].Baud, 9600u);
         },
         false, "v-comport2-both.out.ini"},
        {"v-rte-2.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) { EXPECT_FALSE(d.Vektor[kVector].NmeaOutRTE); }, true,
         "v-rte-2.out.ini"},
        {"v-rte-5.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) { EXPECT_FALSE(d.Vektor[kVector].NmeaOutRTE); }, false,
         "v-rte-5.out.ini"},
        {"v-sounder.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             EXPECT_EQ(d.Generelt.Stem, 10);
             EXPECT_EQ(d.Generelt.Sounder, 7);
         },
         false, "v-sounder.out.ini"},
        {"v-sounder-minus1.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) { EXPECT_EQ(d.Generelt.Sounder, 11); }, false,
         "v-sounder-minus1.out.ini"},
        {"v-depthunit-knot.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             EXPECT_EQ(d.Vektor[kVector].DepthIndex, 0);
             EXPECT_EQ(d.Vektor[kVector].DepthUnit, "KNOT");
         },
         false, "v-depthunit-knot.out.ini"},
        // Case counts: C:\RUNTIME\KV71ATTR is not in C:\Runtime.
        {"v-dictionary.ini", "C:\\Runtime", false,
         [](const TSetupData& d) {
             EXPECT_EQ(d.Vektor[kVector].DictionaryDir, "C:\\RUNTIME\\KV71ATTR");
             EXPECT_EQ(d.Vektor[kVector].TideDir, "C:\\Runtime\\TIDES\\");
         },
         false, "v-dictionary-case.out.ini"},
        {"v-dictionary.ini", "C:\\RUNTIME", false, nullptr, false, "v-dictionary-same.out.ini"},
        {"v-not-a-number.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             EXPECT_EQ(d.Generelt.Stem, 0);
             EXPECT_EQ(d.Generelt.Sounder, -3);
             EXPECT_EQ(d.Vektor[kVector].CrsMinutes, 10);
         },
         true, "v-not-a-number.out.ini"},
        // Without a help document the user's command stays.
        {"v-help.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) {
             EXPECT_EQ(d.Vektor[kVector].Help, "okular C:\\MANUALS\\NAV.PDF");
         },
         false, "v-help-kept.out.ini"},
        {"v-help.ini", "C:\\RUNTIME\\", true,
         [](const TSetupData& d) {
             EXPECT_EQ(d.Vektor[kVector].Help, "/usr/bin/xdg-open \"DOKUVNO.PDF\"");
         },
         true, "v-help-document.out.ini"},
        {"v-no-alarm.ini", "C:\\RUNTIME\\", false,
         [](const TSetupData& d) { EXPECT_EQ(d.Generelt.AlarmOn, "NONE"); }, true,
         "v-no-alarm.out.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " in " + c.directory);
        copyTo(fixture(c.input), "c/RUNTIME/SOLVNV.INI");
        if (c.helpDocument) touch("c/RUNTIME/DOKUVNO.PDF");
        TSetupData data;
        TVektorRec& record = data.Vektor[kVector];
        record.Directory = c.directory;
        const std::string file = AddBackslash(c.directory) + "SOLVNV.INI";

        ASSERT_TRUE(LoadVIni(data, file, record));
        EXPECT_TRUE(record.Loaded);
        EXPECT_TRUE(data.Generelt.Loaded);
        if (c.check) c.check(data);
        EXPECT_EQ(data.Modified, c.modified);

        const TVektorRec before = record;
        ASSERT_TRUE(SaveVIni(data, file, record));
        EXPECT_EQ(bytes("c/RUNTIME/SOLVNV.INI"), ostest::readBytes(fixture(c.output)));
        EXPECT_EQ(record.DictionaryDir, before.DictionaryDir) << "the record is not changed";
        expectNavigatorAgrees("c/RUNTIME/SOLVNV.INI", data, record);
        std::filesystem::remove(tmp / "c/RUNTIME/DOKUVNO.PDF");
    }
}

TEST_F(NavIni, RasterKeysLoadAndAMissingVesselSectionIsAppended) {
    copyTo(fixture("r-arpa.ini"), "c/SOLVNR/solvnr.ini");
    TSetupData data;
    data.Raster.Directory = "C:\\SOLVNR\\";
    ASSERT_TRUE(LoadRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_TRUE(data.Raster.Loaded);
    EXPECT_FALSE(data.Raster.ArpaActive); // only 1 is on
    EXPECT_TRUE(data.Raster.NmeaOutRTE);
    EXPECT_EQ(data.Raster.GpsNmeaId, 3);
    EXPECT_EQ(data.Raster.MapRoot, "C:\\SOLVNR\\");
    EXPECT_EQ(data.Generelt.AlarmOn, "COM2");
    EXPECT_TRUE(data.Modified); // the vessel is missing
    ASSERT_TRUE(SaveRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_EQ(bytes("c/SOLVNR/solvnr.ini"), ostest::readBytes(fixture("r-arpa.out.ini")))
        << "saved under its own name";
    EXPECT_FALSE(exists("c/SOLVNR/SOLVNR.INI"));
}

TEST_F(NavIni, AnEditChangesOnlyItsOwnLineInAHandEditedFile) {
    copyTo(fixture("v-odd-order.ini"), "c/RUNTIME/SOLVNV.INI");
    TSetupData data;
    TVektorRec& record = data.Vektor[kVector];
    record.Directory = "C:\\RUNTIME\\";
    ASSERT_TRUE(LoadVIni(data, "C:\\RUNTIME\\SOLVNV.INI", record));
    EXPECT_FALSE(data.Modified);
    EXPECT_EQ(record.DepthIndex, 2);
    EXPECT_EQ(record.CrsMinutes, 10);
    EXPECT_EQ(data.Generelt.Ports[1].Device, "/dev/ttyUSB0");
    record.CrsMinutes = 5;
    ASSERT_TRUE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", record));
    EXPECT_EQ(bytes("c/RUNTIME/SOLVNV.INI"), ostest::readBytes(fixture("v-odd-order.out.ini")));
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "DIRECTORY", "DBROOT"), "C:\\NAVDB");
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "KV71LIB", "dwMaxBuffSize"), "512");
    expectNavigatorAgrees("c/RUNTIME/SOLVNV.INI", data, record);
}

TEST_F(NavIni, TheEditionsShareThePortsAndTheVesselButDefaultsDoNotOverwrite) {
    const std::string v =
        "[KV71LIB]\r\nComport1=COM1:9600,N,8,1\r\nAlarmOn=COM3\r\n"
        "[VESSEL]\r\nStem=8\r\nStern=12\r\nStarboard=2\r\nPort=4\r\nSounder=3\r\n";
    for (const bool rasterHasPort : {false, true}) {
        SCOPED_TRACE(rasterHasPort ? "SOLVNR.INI at 19200" : "SOLVNR.INI without the keys");
        touch("c/RUNTIME/SOLVNV.INI", v);
        touch("c/SOLVNR/SOLVNR.INI",
              rasterHasPort ? "[KV71LIB]\r\nComport1=COM1:19200,N,8,1\r\n" : "[KV71LIB]\r\n");
        TSetupData data;
        data.Vektor[kVector].Directory = "C:\\RUNTIME\\";
        data.Raster.Directory = "C:\\SOLVNR\\";
        ASSERT_TRUE(LoadVIni(data, "C:\\RUNTIME\\SOLVNV.INI", data.Vektor[kVector]));
        ASSERT_TRUE(LoadRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
        const TGenereltRec& g = data.Generelt;
        const std::string port = rasterHasPort ? "COM1:19200,N,8,1" : "COM1:9600,N,8,1";
        EXPECT_EQ(FormatComSettings(g.Ports, 1), port);
        EXPECT_EQ(std::vector<int>({g.Stem, g.Stern, g.Starboard, g.Port, g.Sounder}),
                  std::vector<int>({8, 12, 2, 4, 5}));
        EXPECT_EQ(g.AlarmOn, "COM3");
        EXPECT_EQ(data.Raster.ComEnabled[0], rasterHasPort);
        EXPECT_TRUE(data.Modified); // SOLVNR.INI lacks keys

        ASSERT_TRUE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", data.Vektor[kVector]));
        ASSERT_TRUE(SaveRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
        for (const char* file : {"c/RUNTIME/SOLVNV.INI", "c/SOLVNR/SOLVNR.INI"}) {
            SCOPED_TRACE(file);
            for (const auto& [key, value] : {std::pair<const char*, const char*>{"Stem", "8"},
                                             {"Stern", "12"},
                                             {"Starboard", "2"},
                                             {"Port", "4"},
                                             {"Sounder", "3"}})
                EXPECT_EQ(navigatorReads(file, "VESSEL", key), value);
            EXPECT_EQ(navigatorReads(file, "KV71LIB", "AlarmOn"), "COM3");
        }
        EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "KV71LIB", "Comport1"), port);
        // Port 1 is off for the R edition unless its file enabled it.
        EXPECT_EQ(navigatorReads("c/SOLVNR/SOLVNR.INI", "KV71LIB", "Comport1"),
                  rasterHasPort ? port : "<none>");
        EXPECT_NE(bytes("c/SOLVNR/SOLVNR.INI").find(";Comport2=COM2:4800,N,8,1\r\n"),
                  std::string::npos);
    }
}

TEST_F(NavIni, DefaultsComeFromTheCurrentDriveAndDirectory) {
    mkdirs("d/NAV");
    ASSERT_EQ(::chdir((tmp / "d/NAV").c_str()), 0);
    touch("c/RUNTIME/SOLVNV.INI", "; nothing set yet\r\n");
    touch("c/SOLVNR/SOLVNR.INI", "");
    TSetupData data;
    TVektorRec& v = data.Vektor[kVector];
    v.Directory = "C:\\RUNTIME\\";
    ASSERT_TRUE(LoadVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));
    EXPECT_EQ(v.KV71Root, "D:\\KV71");
    EXPECT_EQ(v.KV71Cat, "D:\\KV71");
    EXPECT_EQ(v.KV71ChrList, "D:\\KV71");
    EXPECT_EQ(v.DictionaryDir, "D:\\NAV\\KV71ATTR");
    EXPECT_EQ(v.TideDir, "D:\\NAV\\TIDES");
    EXPECT_EQ(v.CrsMinutes, 10);
    EXPECT_EQ(v.DepthUnit, "METER");
    EXPECT_EQ(data.Generelt.AlarmOn, "NONE");
    EXPECT_FALSE(v.ComEnabled[0]);
    EXPECT_EQ(FormatComSettings(data.Generelt.Ports, 4), "COM4:4800,N,8,1");
    EXPECT_TRUE(data.Modified);
    ASSERT_TRUE(LoadRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_EQ(data.Raster.MapRoot, "D:\\SOLVNR");

    // Saved, the file holds every key; the dictionary and tides are the
    // installation's own folders.
    ASSERT_TRUE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "DICTIONARY", "KV71ATTR.DIC"),
              "C:\\RUNTIME\\KV71ATTR\\");
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "KV71LIB", "Comport1"), "<none>");
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "KV71LIB", "CrsMinutes"), "10");
    EXPECT_EQ(bytes("c/RUNTIME/SOLVNV.INI").rfind("; nothing set yet\r\n", 0), 0u);
}

TEST_F(NavIni, AMissingFileIsNeitherLoadedNorCreatedAndAFailedSaveSaysSo) {
    TSetupData data;
    TVektorRec& v = data.Vektor[kVector];
    v.Directory = "C:\\RUNTIME\\";
    v.KV71Root = "C:\\KV71";
    EXPECT_FALSE(LoadVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));
    EXPECT_FALSE(LoadRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_FALSE(v.Loaded);
    EXPECT_FALSE(data.Generelt.Loaded);
    EXPECT_EQ(v.KV71Root, "C:\\KV71");
    EXPECT_FALSE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));
    EXPECT_FALSE(SaveRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_FALSE(exists("c/RUNTIME"));
    mkdirs("c/RUNTIME/SOLVNV.INI"); // a folder is no file
    EXPECT_FALSE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));

    copyTo(sample("SOLVNV.INI"), "c/NAV/SOLVNV.INI");
    v.Directory = "C:\\NAV\\";
    ASSERT_TRUE(LoadVIni(data, "C:\\NAV\\SOLVNV.INI", v));
    v.CrsMinutes = 4;
    os::fileCalls().write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    EXPECT_FALSE(SaveVIni(data, "C:\\NAV\\SOLVNV.INI", v));
    os::resetFileCalls();
    EXPECT_EQ(bytes("c/NAV/SOLVNV.INI"), ostest::readBytes(sample("SOLVNV.INI")));
}

TEST_F(NavIni, TheSampleFilesAreFixedPointsAndReadAlikeByBothPrograms) {
    copyTo(sample("SOLVNV.INI"), "c/RUNTIME/SOLVNV.INI");
    copyTo(sample("SOLVNR.INI"), "c/SOLVNR/SOLVNR.INI");
    TSetupData data;
    TVektorRec& v = data.Vektor[kVector];
    v.Directory = "C:\\RUNTIME\\";
    data.Raster.Directory = "C:\\SOLVNR\\";
    ASSERT_TRUE(LoadVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));
    ASSERT_TRUE(LoadRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_FALSE(data.Modified);
    // The sample is what the navigation program's start reads.
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "DIRECTORY", "KV71ROOT"), "C:\\KV71");
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "KV71LIB", "Comport1"), "COM1:4800,N,8,1");
    EXPECT_EQ(navigatorReads("c/RUNTIME/SOLVNV.INI", "KV71LIB", "Comport2"), "<none>");
    expectNavigatorAgrees("c/RUNTIME/SOLVNV.INI", data, v);
    ASSERT_TRUE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", v));
    ASSERT_TRUE(SaveRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    EXPECT_EQ(bytes("c/RUNTIME/SOLVNV.INI"), ostest::readBytes(sample("SOLVNV.INI")));
    EXPECT_EQ(bytes("c/SOLVNR/SOLVNR.INI"), ostest::readBytes(sample("SOLVNR.INI")));
}

TEST_F(NavIni, TheDictionaryAndTideFoldersAreKeptOnlyWhenTheyAreTheInstallations) {
    const struct {
        const char* value;
        const char* dir;
        const char* expected;
    } cases[] = {
        {"C:\\RUNTIME\\KV71ATTR", "C:\\RUNTIME", "C:\\RUNTIME\\KV71ATTR"},
        {"C:\\RUNTIME\\KV71ATTR\\", "C:\\RUNTIME\\", "C:\\RUNTIME\\KV71ATTR\\"},
        {"C:\\RUNTIME\\KV71ATTR", "C:\\Runtime", "C:\\Runtime\\KV71ATTR\\"},
        {"KV71ATTR", "C:\\RUNTIME", "KV71ATTR"}, // relative to the installation
        {"C:\\OTHER\\KV71ATTR\\", "C:\\RUNTIME", "C:\\RUNTIME\\KV71ATTR\\"},
        {"", "C:\\RUNTIME", "C:\\RUNTIME\\KV71ATTR\\"},
        {"/srv/nav/KV71ATTR", "/srv/nav/", "/srv/nav/KV71ATTR"},
        {"/srv/other", "/srv/nav", "/srv/nav/KV71ATTR/"},
        {"C:\\X", "", "C:\\X"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " in " + c.dir);
        EXPECT_EQ(InstallationSubdir(c.value, c.dir, "KV71ATTR"), c.expected);
    }
}

} // namespace
