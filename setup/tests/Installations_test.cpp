// The installation search over the drive table, the tab flags from the
// desktop shortcuts, and the load-and-repair pass.
#include "ConfigMachine.h"

#include "config/Installations.h"
#include "config/NavIni.h"
#include "config/SetupIni.h"

#include "os/ShellLink.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using setuptest::ConfigMachine;

class Installations : public ConfigMachine {
  protected:
    // Empties the drives and the desktop between the cases of a table.
    void clearDrives() {
        for (const char* folder : {"c", "d", "e", "f", "own"})
            std::filesystem::remove_all(tmp / folder);
        for (const char* folder : {"c/Desktop", "c/work", "d", "e", "f", "own"})
            mkdirs(folder);
        ASSERT_EQ(::chdir((tmp / "c/work").c_str()), 0);
    }
    // "{tmp}" in a text becomes the temporary base.
    std::string expand(const std::string& text) const {
        std::string s = text;
        const std::size_t at = s.find("{tmp}");
        if (at != std::string::npos) s.replace(at, 5, tmp.path());
        return s;
    }
    // A desktop entry `name`.desktop on the desktop that starts `program`
    // (below the temporary base).
    void shortcut(const std::string& name, const std::string& program) {
        os::ShellLink link;
        link.SetPath(tmp / program);
        ASSERT_TRUE(link.Save(tmp / ("c/Desktop/" + name + ".desktop")));
    }
    // The buttons as "V:EV B:-- E:-- R:-- copy:1100" (Enabled, Visible).
    static std::string describe(const TInstallButtons& b) {
        const auto s = [](const TButtonState& x) {
            return std::string(x.Enabled ? "E" : "-") + (x.Visible ? "V" : "-");
        };
        return "V:" + s(b.BtnVektorCreate) + " B:" + s(b.BtnBathymetricCreate) +
               " E:" + s(b.BtnELVOCreate) + " R:" + s(b.BtnRasterCreate) +
               " copy:" + (b.BtnCopyCD1 ? "1" : "0") + (b.BtnCopyCD2 ? "1" : "0") +
               (b.BtnCopyBthCD ? "1" : "0") + (b.BtnCopyELVOCD ? "1" : "0");
    }
};

TEST_F(Installations, TheSearchFindsEachEditionOnTheDrives) {
    using Dirs = std::array<const char*, 4>; // vector, bathymetric, ELVO, R
    const Dirs ostrel = {"C:\\RUNTIME", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"};
    const struct Case {
        const char* what;
        std::vector<const char*> files;
        Dirs start;
        bool lite;
        const char* cwd;
        const char* own;
        Dirs expected;
        const char* buttons;
        int found;
    } cases[] = {
        {"started in D:\\NAV, Ostrel.INI at a missing C:\\RUNTIME",
         {"d/NAV/SOLVNV.INI", "d/NAV/SOLVNVL.EXE"},
         ostrel,
         false,
         "d/NAV",
         "own",
         {"D:\\NAV\\", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"C:\\RUNTIME and E:\\RUNTIME: the lowest letter wins",
         {"c/RUNTIME/SOLVNV.INI", "c/RUNTIME/SOLVNVL.EXE", "e/RUNTIME/SOLVNV.INI",
          "e/RUNTIME/SOLVNVL.EXE"},
         {"C:\\OLD", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         false,
         "c/work",
         "own",
         {"C:\\RUNTIME\\", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"lite: E:\\SOLVANOR and C:\\SOLVANOR, the first hit wins",
         {"e/SOLVANOR/SOLVNR.INI", "e/SOLVANOR/SOLVNRL.EXE", "e/SOLVANOR/map.dat",
          "c/SOLVANOR/SOLVNR.INI", "c/SOLVANOR/SOLVNRL.EXE"},
         ostrel,
         true,
         "c/work",
         "own",
         {"C:\\RUNTIME", "C:\\RUNBATH", "C:\\RUNELVO", "E:\\SOLVANOR\\"},
         "V:-V B:-V E:-V R:EV copy:0000",
         5},
        {"bathymetric directory equal to the vector one: found again in C:\\RUNBATH",
         {"c/RUNTIME/SOLVNV.INI", "c/RUNTIME/SOLVNVL.EXE", "c/RUNTIME/SOLVNV.EXE",
          "c/RUNBATH/SOLVNV.INI", "c/RUNBATH/SOLVNV.EXE"},
         {"C:\\RUNTIME", "C:\\RUNTIME\\", "C:\\RUNELVO", "C:\\SOLVNR"},
         false,
         "c/work",
         "own",
         {"C:\\RUNTIME", "C:\\RUNBATH\\", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:EV E:-- R:-- copy:1110",
         1},
        {"bathymetric directory equal to the vector one and no C:\\RUNBATH: not found",
         {"c/RUNTIME/SOLVNV.INI", "c/RUNTIME/SOLVNVL.EXE", "c/RUNTIME/SOLVNV.EXE"},
         {"C:\\RUNTIME", "C:\\RUNTIME", "C:\\RUNELVO", "C:\\SOLVNR"},
         false,
         "c/work",
         "own",
         {"C:\\RUNTIME", "C:\\RUNTIME", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"empty directories with installations at the drive roots",
         {"c/SOLVNV.INI", "c/SOLVNVL.EXE", "c/SOLVNV.EXE", "e/SOLVNR.INI", "e/SOLVNR.EXE"},
         {"", "", "", ""},
         false,
         "c/work",
         "own",
         {"", "", "", ""},
         "V:-- B:-- E:-- R:-- copy:0000",
         0},
        {"the program's own folder under no drive root",
         {"own/SOLVNV.INI", "own/vardekka"},
         ostrel,
         false,
         "c/work",
         "own",
         {"{tmp}/own/", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"vardekka as the V program",
         {"c/RUNTIME/solvnv.ini", "c/RUNTIME/vardekka"},
         {"C:\\OLD", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         false,
         "c/work",
         "own",
         {"C:\\RUNTIME\\", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"a letter missing from the table",
         {"e/NAV/SOLVNV.INI", "e/NAV/SOLVNVL.EXE"},
         {"G:\\NAV", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         false,
         "c/work",
         "own",
         {"E:\\NAV\\", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"a Linux directory written by hand is searched in drive form",
         {"e/NAV/SOLVNV.INI", "e/NAV/SOLVNVL.EXE"},
         {"{tmp}/d/NAV", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         false,
         "c/work",
         "own",
         {"E:\\NAV\\", "C:\\RUNBATH", "C:\\RUNELVO", "C:\\SOLVNR"},
         "V:EV B:-- E:-- R:-- copy:1100",
         1},
        {"a kept vector directory without its program",
         {"c/RUNTIME/SOLVNV.INI"},
         ostrel,
         false,
         "c/work",
         "own",
         ostrel,
         "V:-- B:-- E:-- R:-- copy:0000",
         0},
        {"ELVO and R found on their fixed candidates",
         {"d/RUNELVO/SOLVNV.INI", "d/RUNELVO/SOLVNV.EXE", "c/SOLVNR/SOLVNR.INI",
          "c/SOLVNR/SOLVNR.EXE", "c/SOLVNR/MAP.DAT"},
         {"C:\\RUNTIME", "C:\\RUNBATH", "C:\\OLD", "C:\\OLDR"},
         false,
         "c/work",
         "own",
         {"C:\\RUNTIME", "C:\\RUNBATH", "D:\\RUNELVO\\", "C:\\SOLVNR\\"},
         "V:-- B:-- E:EV R:EV copy:0001",
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearDrives();
        for (const char* file : c.files)
            touch(file);
        ASSERT_EQ(::chdir((tmp / c.cwd).c_str()), 0);
        TSetupData data;
        data.OwnDirectory = tmp / c.own;
        data.Lite = c.lite;
        for (int e = kVector; e <= kRaster; ++e)
            data.Directory(static_cast<TEdition>(e)) = expand(c.start[e]);
        TInstallButtons buttons;
        FindInstallations(data, buttons);
        LoadAndRepairInstallations(data, buttons);
        for (int e = kVector; e <= kRaster; ++e)
            EXPECT_EQ(data.Directory(static_cast<TEdition>(e)), expand(c.expected[e]))
                << "edition " << e;
        EXPECT_EQ(describe(buttons), c.buttons);
        EXPECT_EQ(data.InstallationFound, c.found);
    }
}

TEST_F(Installations, TabsNeedTheShortcutAndOnlyDeadShortcutsAreDeleted) {
    const struct Case {
        const char* what;
        std::vector<const char*> files;
        const char* link;    // on the desktop, without ".desktop"
        const char* program; // what it starts; null: a file that is no desktop entry
        bool lite;
        std::array<bool, 4> tabs;
        bool kept;
    } cases[] = {
        {"its program is gone", {}, "Solvanor V", "c/OLD/solvnvl.exe", false, {}, false},
        {"its program, vardekka, is gone", {}, "Solvanor V", "c/OLD/vardekka", false, {}, false},
        {"bathymetric, gone",
         {},
         "Solvanor V Bathymetric",
         "c/RUNBATH/SOLVNV.EXE",
         false,
         {},
         false},
        {"it starts another program", {}, "Solvanor V", "c/bin/plotter", false, {}, true},
        {"no desktop entry", {}, "Solvanor V", nullptr, false, {}, true},
        {"its program is there though no installation was found",
         {"c/OLD/solvnvl.exe"},
         "Solvanor V",
         "c/OLD/solvnvl.exe",
         false,
         {},
         true},
        {"found with its shortcut",
         {"c/RUNTIME/SOLVNV.INI", "c/RUNTIME/vardekka"},
         "Solvanor V",
         "c/RUNTIME/vardekka",
         false,
         {true, false, false, false},
         true},
        {"lite mode with the R lite shortcut",
         {"c/SOLVNR/SOLVNR.INI", "c/SOLVNR/solvnrl.exe"},
         "Solvanor R Lite",
         "c/SOLVNR/solvnrl.exe",
         true,
         {false, false, false, true},
         true},
        {"lite mode, the R lite program gone",
         {},
         "Solvanor R Lite",
         "c/OLD/solvnrl.exe",
         true,
         {},
         false},
        {"the R lite shortcut outside lite mode",
         {"c/SOLVNR/SOLVNR.INI", "c/SOLVNR/solvnr.exe"},
         "Solvanor R Lite",
         "c/OLD/solvnrl.exe",
         false,
         {},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearDrives();
        for (const char* file : c.files)
            touch(file);
        const std::string entry = std::string("c/Desktop/") + c.link + ".desktop";
        if (c.program)
            shortcut(c.link, c.program);
        else
            touch(entry, "a note of the user's own\n");
        TSetupData data;
        data.OwnDirectory = tmp / "own";
        data.Lite = c.lite;
        data.Vektor[kVector].Directory = "C:\\RUNTIME";
        data.Raster.Directory = "C:\\SOLVNR";
        TInstallButtons buttons;
        FindInstallations(data, buttons);
        EXPECT_EQ(data.TabFlags, c.tabs);
        EXPECT_EQ(exists(entry), c.kept);
    }
}

TEST_F(Installations, WithoutADesktopFolderTheTabFlagsStay) {
    registry.set(os::RegistryRoot::CurrentUser,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
                 "C:\\Nowhere");
    shortcut("Solvanor V", "c/OLD/solvnvl.exe");
    TSetupData data;
    data.OwnDirectory = tmp / "own";
    data.TabFlags = {true, false, true, false};
    TInstallButtons buttons;
    FindInstallations(data, buttons);
    EXPECT_EQ(data.TabFlags, (std::array<bool, 4>{true, false, true, false}));
    EXPECT_TRUE(exists("c/Desktop/Solvanor V.desktop"));
}

TEST_F(Installations, TheChartRootMovesToTheDriveThatHoldsIt) {
    const std::string sampleText = ostest::readBytes(sample("SOLVNV.INI"));
    const auto withRoot = [&](const std::string& root) {
        std::string text = sampleText;
        const std::string key = "KV71ROOT=C:\\KV71\r\n";
        text.replace(text.find(key), key.size(), "KV71ROOT=" + root + "\r\n");
        return text;
    };
    const struct {
        const char* what;
        TEdition edition;
        const char* root;
        os::DriveType f;
        const char* expected; // all three chart keys; null: as loaded
        bool modified;
    } cases[] = {
        {"missing on a fixed F, present on D", kVector, "F:\\KV71", os::DriveType::Fixed,
         "D:\\KV71", true},
        {"missing on the CD-ROM F", kVector, "F:\\KV71", os::DriveType::CdRom, "F:\\KV71", true},
        {"empty: the default folder, moved", kVector, "", os::DriveType::CdRom, "D:\\KV71", true},
        {"blanks around a folder that exists", kVector, " D:\\KV71 ", os::DriveType::CdRom,
         "D:\\KV71", true},
        {"empty bathymetric root: its own default", kBathymetric, "", os::DriveType::CdRom,
         "D:\\BATH", true},
        {"present", kVector, "D:\\KV71", os::DriveType::CdRom, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearDrives();
        os::setDrive('F', tmp / "f", c.f);
        mkdirs("d/KV71");
        mkdirs("d/BATH");
        const char* folder = c.edition == kVector ? "RUNTIME" : "RUNBATH";
        touch(std::string("c/") + folder + "/SOLVNV.INI", withRoot(c.root));
        touch(std::string("c/") + folder + "/SOLVNV.EXE");
        touch(std::string("c/") + folder + "/SOLVNVL.EXE");
        TSetupData data;
        data.OwnDirectory = tmp / "own";
        data.Vektor[kVector].Directory = "C:\\RUNTIME\\";
        data.Vektor[kBathymetric].Directory = "C:\\RUNBATH\\";
        TInstallButtons buttons;
        FindInstallations(data, buttons);
        LoadAndRepairInstallations(data, buttons);
        const TVektorRec& r = data.Vektor[c.edition];
        ASSERT_TRUE(r.Loaded);
        const std::string expected = c.expected ? c.expected : c.root;
        EXPECT_EQ(r.KV71Root, expected);
        EXPECT_EQ(r.KV71Cat, c.expected ? expected : "C:\\KV71");
        EXPECT_EQ(r.KV71ChrList, c.expected ? expected : "C:\\KV71");
        if (c.edition == kVector) {
            EXPECT_EQ(data.Modified, c.modified);
        }
    }
}

TEST_F(Installations, ADictionaryOrTideFolderOutsideTheInstallationMarksModified) {
    for (const char* line : {"KV71ATTR.DIC=C:\\OTHER\\KV71ATTR", "TIDES=C:\\OTHER\\TIDES\\"}) {
        SCOPED_TRACE(line);
        clearDrives();
        mkdirs("c/KV71");
        std::string text = ostest::readBytes(sample("SOLVNV.INI"));
        const std::string key = std::string(line).substr(0, std::string(line).find('=') + 1);
        const std::size_t at = text.find(key);
        text.replace(at, text.find("\r\n", at) - at, line);
        touch("c/RUNTIME/SOLVNV.INI", text);
        touch("c/RUNTIME/vardekka");
        TSetupData data;
        data.OwnDirectory = tmp / "own";
        data.Vektor[kVector].Directory = "C:\\RUNTIME\\";
        TInstallButtons buttons;
        FindInstallations(data, buttons);
        EXPECT_FALSE(LoadAndRepairInstallations(data, buttons));
        EXPECT_TRUE(data.Modified);
        EXPECT_NE(text.find(data.Vektor[kVector].DictionaryDir), std::string::npos)
            << "the record keeps what the file says until it is saved";
    }
}

TEST_F(Installations, TheMapRootMovesToTheInstallationWhenOnlyItHoldsTheMap) {
    const struct {
        const char* what;
        const char* mapRoot;
        std::vector<const char*> maps;
        bool apply;
        const char* expected;
        bool enabled;
    } cases[] = {
        {"map.dat only in the installation",
         "C:\\MAPS\\",
         {"c/SOLVNR/map.dat"},
         true,
         "C:\\SOLVNR\\",
         true},
        {"map.dat nowhere", "C:\\MAPS\\", {}, false, "C:\\MAPS\\", false},
        {"map.dat in the map root",
         "C:\\MAPS",
         {"c/MAPS/MAP.DAT", "c/SOLVNR/map.dat"},
         false,
         "C:\\MAPS",
         true},
        {"a relative map root", "MAPS", {"c/SOLVNR/MAPS/map.dat"}, false, "MAPS", true},
        {"an empty map root", "", {"c/SOLVNR/map.dat"}, true, "C:\\SOLVNR\\", true},
        {"the map root is the installation, without map.dat",
         "C:\\SOLVNR",
         {},
         false,
         "C:\\SOLVNR",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearDrives();
        touch("c/SOLVNR/SOLVNR.INI", std::string("[DIRECTORY]\r\nMAPROOT=") + c.mapRoot + "\r\n");
        touch("c/SOLVNR/SOLVNR.EXE");
        for (const char* map : c.maps)
            touch(map);
        TSetupData data;
        data.OwnDirectory = tmp / "own";
        data.Raster.Directory = "C:\\SOLVNR\\";
        TInstallButtons buttons;
        FindInstallations(data, buttons);
        EXPECT_EQ(LoadAndRepairInstallations(data, buttons), c.apply);
        EXPECT_EQ(data.Raster.MapRoot, c.expected);
        EXPECT_EQ(buttons.BtnRasterCreate.Enabled, c.enabled);
        EXPECT_EQ(data.InstallationFound, 3);
    }
}

TEST_F(Installations, ASkippedEditionsKindStillCountsAsFound) {
    touch("c/RUNTIME/SOLVNV.INI");
    touch("c/RUNTIME/vardekka");
    TSetupData data;
    data.Vektor[kVector].Directory = "C:\\RUNTIME\\";
    TInstallButtons buttons;
    buttons.BtnVektorCreate.Enabled = false;
    EXPECT_FALSE(LoadAndRepairInstallations(data, buttons));
    EXPECT_EQ(data.InstallationFound, 1);
    EXPECT_FALSE(buttons.BtnVektorCreate.Visible);
    EXPECT_FALSE(data.Vektor[kVector].Loaded);
}

TEST_F(Installations, TheSampleInstallationLoadsAndSavesUnchanged) {
    copyTo(sample("Ostrel.INI"), "c/work/Ostrel.INI");
    copyTo(sample("SOLVNV.INI"), "c/RUNTIME/SOLVNV.INI");
    copyTo(sample("SOLVNR.INI"), "c/SOLVNR/SOLVNR.INI");
    for (const char* file : {"c/RUNTIME/vardekka", "c/SOLVNR/solvnr.exe", "c/SOLVNR/map.dat"})
        touch(file);
    for (const char* folder : {"c/RUNTIME/KV71ATTR", "c/RUNTIME/TIDES", "c/KV71"})
        mkdirs(folder);
    shortcut("Solvanor V", "c/RUNTIME/vardekka");

    TSetupData data;
    data.OwnDirectory = tmp / "own";
    ASSERT_TRUE(LoadSetupIni(data));
    TInstallButtons buttons;
    FindInstallations(data, buttons);
    EXPECT_FALSE(LoadAndRepairInstallations(data, buttons));
    EXPECT_FALSE(data.Modified);
    EXPECT_EQ(data.InstallationFound, 3);
    EXPECT_EQ(data.TabFlags, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(describe(buttons), "V:EV B:-- E:-- R:EV copy:1100");

    ASSERT_TRUE(SaveVIni(data, "C:\\RUNTIME\\SOLVNV.INI", data.Vektor[kVector]));
    ASSERT_TRUE(SaveRIni(data, "C:\\SOLVNR\\SOLVNR.INI", data.Raster));
    ASSERT_TRUE(SaveSetupIni(data));
    EXPECT_EQ(bytes("c/RUNTIME/SOLVNV.INI"), ostest::readBytes(sample("SOLVNV.INI")));
    EXPECT_EQ(bytes("c/SOLVNR/SOLVNR.INI"), ostest::readBytes(sample("SOLVNR.INI")));
    EXPECT_EQ(bytes("c/work/Ostrel.INI"), ostest::readBytes(sample("Ostrel.INI")));
}

} // namespace
