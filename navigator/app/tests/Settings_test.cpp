// Reading SOLVNV.INI: required and defaulted keys, the store's file bases, the
// chart cache, ports written commented, values of any length, and the forms a
// file may come in.
#include "AppTestSupport.h"

#include "ModalScript.h"
#include "nmea/NavState.h"

#include <functional>
#include <string>

namespace {

using apptest::TestFolder;

struct SettingsCase {
    const char* name;
    std::string ini;
    // What the row looks at, as text ("<C>" stands for drive C's root).
    std::function<std::string(const TViewerSettings&)> look;
    std::string expected;
    const char* fileName = "SOLVNV.INI";
};

std::string ports(const TViewerSettings& s) {
    std::string t;
    for (const std::string& p : s.comPorts)
        t += p + "|";
    return t;
}

std::string stores(const TViewerSettings& s) {
    return s.idFile + "|" + s.pointFile + "|" + s.infoFile;
}

std::string cache(const TViewerSettings& s) {
    return std::to_string(s.cacheBytes);
}

const std::string kRoot = "[DIRECTORY]\r\nKV71ROOT=C:\\KV71\r\n";

TEST(Settings, TableOfSettingsFiles) {
    const std::string longHelp =
        "\"C:\\Program Files\\Viewer\\view.exe\" \"" + std::string(600, 'h') + ".pdf\"";
    const SettingsCase cases[] = {
        {"defaults", kRoot,
         [](const TViewerSettings& s) {
             return s.chartRoot + "|" + s.catalogueDir + "|" + s.chartListDir + "|" +
                    s.dictionaryDir + "|" + s.tideDir + "|" + s.helpCommand + "|" +
                    std::to_string(s.crsMinutes) + "|" + std::to_string(s.dividerRMB) +
                    std::to_string(s.dividerAPB) + std::to_string(s.dividerRMC);
         },
         "C:\\KV71|C:\\KV71|C:\\KV71|KV71ATTR.DIC|||3|221"},
        {"every directory key",
         kRoot + "KV71CAT=C:\\CAT\r\nKV71CHRLIST=C:\\LIST\r\nHELP=view.exe doc.pdf\r\n"
                 "[DICTIONARY]\r\nKV71ATTR.DIC=C:\\RUNTIME\\KV71ATTR\\\r\nTIDES=C:"
                 "\\RUNTIME\\TIDES\\\r\n"
                 "[KV71LIB]\r\nCrsMinutes=10\r\n",
         [](const TViewerSettings& s) {
             return s.catalogueDir + "|" + s.chartListDir + "|" + s.helpCommand + "|" +
                    s.dictionaryDir + "|" + s.tideDir + "|" + std::to_string(s.crsMinutes);
         },
         "C:\\CAT|C:\\LIST|view.exe doc.pdf|C:\\RUNTIME\\KV71ATTR\\|C:\\RUNTIME\\TIDES\\|10"},
        {"DBROOT empty", kRoot + "DBROOT=\r\n", stores, "id|point|info"},
        {"DBROOT missing", kRoot, stores, "id|point|info"},
        {"DBROOT C:\\NAV", kRoot + "DBROOT=C:\\NAV\r\n", stores,
         "<C>/NAV/id|<C>/NAV/point|<C>/NAV/info"},
        {"DBROOT C:\\NAV\\", kRoot + "DBROOT=C:\\NAV\\\r\n", stores,
         "<C>/NAV/id|<C>/NAV/point|<C>/NAV/info"},
        {"DBROOT on a drive that names nothing", kRoot + "DBROOT=Q:\\NAV\r\n", stores,
         "Q:\\NAV/id|Q:\\NAV/point|Q:\\NAV/info"},
        {"dwMaxBuffSize missing", kRoot, cache, "1048576"},
        {"dwMaxBuffSize 0", kRoot + "[KV71LIB]\r\ndwMaxBuffSize=0\r\n", cache, "1048576"},
        {"dwMaxBuffSize -5", kRoot + "[KV71LIB]\r\ndwMaxBuffSize=-5\r\n", cache, "1048576"},
        {"dwMaxBuffSize 12x", kRoot + "[KV71LIB]\r\ndwMaxBuffSize=12x\r\n", cache, "49152"},
        {"dwMaxBuffSize x12", kRoot + "[KV71LIB]\r\ndwMaxBuffSize=x12\r\n", cache, "1048576"},
        {"dwMaxBuffSize 1000", kRoot + "[KV71LIB]\r\ndwMaxBuffSize=1000\r\n", cache, "4096000"},
        {"dwMaxBuffSize 10^9", kRoot + "[KV71LIB]\r\ndwMaxBuffSize=1000000000\r\n", cache,
         "4294967295"},
        {"a port written commented stays closed",
         kRoot + "[KV71LIB]\r\nComport1=COM1:4800,N,8,1\r\n;Comport3=COM3:4800,N,8,1\r\n", ports,
         "COM1:4800,N,8,1||||||"},
        {"a long device path is read whole",
         kRoot + "[KV71LIB]\r\nComport2=/dev/serial/by-id/usb-GPS_0001:4800,N,8,1\r\n", ports,
         "|/dev/serial/by-id/usb-GPS_0001:4800,N,8,1|||||"},
        {"a help command of 600 characters is read whole", kRoot + "HELP=" + longHelp + "\r\n",
         [](const TViewerSettings& s) { return s.helpCommand; }, longHelp},
        {"LF line ends, mixed-case sections and keys, a lower-case file name",
         "[directory]\nkv71root=/charts\nDbRoot=/nav\n[Dictionary]\nkv71attr.dic=/dict\n"
         "[kv71lib]\ncomport6=/dev/ttyUSB0:4800,N,8,1\ncrsminutes=6\nDWMAXBUFFSIZE=512\n",
         [](const TViewerSettings& s) {
             return s.chartRoot + "|" + s.idFile + "|" + s.dictionaryDir + "|" + ports(s) +
                    std::to_string(s.crsMinutes) + "|" + cache(s);
         },
         "/charts|/nav/id|/dict||||||/dev/ttyUSB0:4800,N,8,1|6|2097152", "solvnv.ini"},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        os::setDrive('C', folder / "c", os::DriveType::Fixed);
        apptest::writeFile(folder / c.fileName, c.ini);
        uitest::TModalScript script;
        ASSERT_TRUE(LoadSettings());
        std::string expected = c.expected;
        for (std::size_t at; (at = expected.find("<C>")) != std::string::npos;)
            expected.replace(at, 3, folder / "c");
        EXPECT_EQ(c.look(ViewerSettings()), expected);
        EXPECT_TRUE(script.Done());
    }
}

TEST(Settings, AMissingOrEmptyChartRootIsRefusedWithABox) {
    for (const std::string& ini : {std::string("[DIRECTORY]\r\nDBROOT=C:\\NAV\r\n"),
                                   std::string("[DIRECTORY]\r\nKV71ROOT=\r\n"),
                                   std::string("[DIRECTORY]\r\nKV71ROOT=   \r\n")}) {
        TestFolder folder;
        apptest::writeFile(folder / "SOLVNV.INI", ini);
        uitest::TModalScript script;
        script.Box(ui::IDOK);
        EXPECT_FALSE(LoadSettings());
        ASSERT_EQ(script.Modals().size(), 1u);
        EXPECT_EQ(script.Modals()[0].text, "ERROR");
        EXPECT_EQ(script.Modals()[0].caption, "solvnv.ini");
        // Nothing further was done: no presence lock is held.
        EXPECT_FALSE(os::isWindowPresent(kViewerTitle));
    }
    TestFolder folder; // no file at all
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    EXPECT_FALSE(LoadSettings());
    EXPECT_EQ(script.Modals().at(0).caption, "solvnv.ini");
}

TEST(Settings, TheLockIsHeldAndThePositionSourceFixed) {
    TestFolder folder;
    apptest::writeFile(folder / "SOLVNV.INI", kRoot);
    UpdateNavShared([](NavShared& s) { s.positionSource = NmeaSourceRmc; });
    EXPECT_FALSE(os::isWindowPresent(kViewerTitle));
    ASSERT_TRUE(LoadSettings());
    EXPECT_TRUE(os::isWindowPresent(kViewerTitle));
    EXPECT_EQ(NavSnapshot().positionSource, NmeaSourceAuto);
}

} // namespace
