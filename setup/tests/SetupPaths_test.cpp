// The path model: separators, mapping directory texts to Linux paths, finding
// files without regard to case, comparing paths, program files, the current
// drive and free space.
#include "SetupMachine.h"

#include "files/Backslash.h"
#include "files/DiskSpace.h"
#include "files/SetupPaths.h"

#include <sys/statvfs.h>

#include <cstdlib>
#include <string>

namespace {

using setuptest::SetupMachine;

TEST(Backslash, AddsAndRemovesOneSeparatorOfTheTextsForm) {
    struct Case {
        const char* text;
        const char* added;
        const char* removed;
    } cases[] = {
        {"C:", "C:\\", "C:"},
        {"C:\\", "C:\\", "C:"},
        {"C:\\RUNTIME", "C:\\RUNTIME\\", "C:\\RUNTIME"},
        {"C:\\RUNTIME\\\\", "C:\\RUNTIME\\\\", "C:\\RUNTIME\\"},
        {"", "\\", ""},
        {"\\", "\\", "\\"},
        {"/", "/", "/"},
        {"/opt/x", "/opt/x/", "/opt/x"},
        {"/opt/x/", "/opt/x/", "/opt/x"},
        {"KV71", "KV71\\", "KV71"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AddBackslash(c.text), c.added);
        EXPECT_EQ(RemoveBackslash(c.text), c.removed);
    }
}

TEST_F(SetupMachine, DirectoryTextsMapToLinuxPaths) {
    const std::string c = tmp / "c", d = tmp / "d";
    struct Case {
        std::string text, base, expected;
    } cases[] = {
        {"C:\\RUNTIME\\", "", c + "/RUNTIME/"},
        {"c:\\runtime", "", c + "/runtime"},
        {"C:", "", c},
        {"C:\\B\xE5t\\", "", c + "/B\u00E5t/"}, // Windows-1252 becomes UTF-8
        {"/opt/nav/", "", "/opt/nav/"},
        {"\\opt\\nav", "", "/opt/nav"},
        {"KV71\\", "", "KV71/"},
        {"KV71ATTR\\", "C:\\RUNTIME\\", c + "/RUNTIME/KV71ATTR/"},
        {"TIDES", "D:\\NAV", d + "/NAV/TIDES"},
        {"E:\\KV71", "D:\\NAV", tmp / "e/KV71"}, // the base serves relative texts only
        {"/srv/kv71", "D:\\NAV", "/srv/kv71"},
        {"Q:\\KV71", "", ""}, // a letter missing from the table names nothing
        {"KV71\\", "Q:\\NAV\\", ""},
        {"", "C:\\RUNTIME\\", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text + " against " + k.base);
        EXPECT_EQ(LocalPath(k.text, k.base), k.expected);
    }
}

TEST_F(SetupMachine, FilesAndFoldersAreFoundWithoutRegardToCase) {
    touch("c/Runtime/solvnv.ini", "ini");
    mkdirs("c/Runtime/Backup");
    touch("c/Runtime/DATA.TXT", "upper");
    touch("c/Runtime/Data.txt", "mixed");
    touch("c/Runtime/data.txt", "lower");
    mkdirs("c/Runtime/MAP.DAT");
    touch("c/Runtime/map.dat");
    const std::string runtime = tmp / "c/Runtime";

    struct Case {
        const char* text;
        const char* base;
        bool file, folder;
    } cases[] = {
        {"C:\\RUNTIME\\SOLVNV.INI", "", true, false},
        {"c:\\runtime\\solvnv.ini", "", true, false},
        {"C:\\RUNTIME\\BACKUP", "", false, true},
        {"C:\\RUNTIME\\BACKUP\\", "", false, true},
        {"C:\\RUNTIME\\", "", false, true},
        {"C:\\RUNTIME\\SOLVNV.INI\\", "", false, false}, // a file text has no separator
        {"SOLVNV.INI", "C:\\RUNTIME\\", true, false},
        {"C:\\RUNTIME\\SOLVNR.INI", "", false, false},
        {"C:\\RUNTIME\\MAP.DAT", "", true, true}, // a file and a folder of one name
        {"C:\\", "", false, true},
        {"Q:\\RUNTIME\\SOLVNV.INI", "", false, false},
        {"", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FileExists(c.text, c.base), c.file);
        EXPECT_EQ(DirExists(c.text, c.base), c.folder);
    }
    // The exact spelling wins, then the first in byte order.
    EXPECT_EQ(ExistingPath("C:\\RUNTIME\\Data.txt"), runtime + "/Data.txt");
    EXPECT_EQ(ExistingPath("C:\\RUNTIME\\dAtA.TxT"), runtime + "/DATA.TXT");
    EXPECT_EQ(ExistingPath("C:\\RUNTIME\\"), runtime);
    EXPECT_EQ(ExistingPath("C:\\RUNTIME\\NONE.TXT"), "");
}

TEST_F(SetupMachine, SamePathComparesTheMappedPathsWithCase) {
    const std::string linuxRuntime = tmp / "c/RUNTIME";
    struct Case {
        std::string a, b, base;
        bool same;
    } cases[] = {
        {"C:\\RUNTIME\\", "C:\\RUNTIME", "", true},
        {"c:\\RUNTIME", "C:\\RUNTIME\\", "", true}, // the letter is no part of the Linux path
        {"C:\\RUNTIME", "C:\\runtime", "", false},  // two folders on Linux
        {"C:\\RUNTIME\\.\\KV71ATTR", "C:\\RUNTIME\\TIDES\\..\\KV71ATTR\\", "", true},
        {"C:\\RUNTIME", linuxRuntime + "/", "", true},
        {"KV71ATTR\\", "C:\\RUNTIME\\KV71ATTR", "C:\\RUNTIME\\", true},
        {"C:\\RUNTIME", "D:\\RUNTIME", "", false},
        {"Q:\\A", "R:\\A", "", false}, // both name nothing: not the same
        {"Q:\\A", "Q:\\A", "", false},
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " | " + c.b);
        EXPECT_EQ(SamePath(c.a, c.b, c.base), c.same);
        EXPECT_EQ(SamePath(c.b, c.a, c.base), c.same);
    }
}

TEST_F(SetupMachine, ProgramFilesAreFoundUnderTheirAcceptedNames) {
    touch("c/upper/SOLVNVL.EXE");
    touch("c/stem/solvnvl");
    touch("c/ours/Vardekka");
    mkdirs("c/folder/solvnvl.exe");
    mkdirs("c/dangling");
    ASSERT_EQ(::symlink("gone", (tmp / "c/dangling/solvnvl.exe").c_str()), 0);
    touch("c/elsewhere/real");
    mkdirs("c/linked");
    ASSERT_EQ(::symlink((tmp / "c/elsewhere/real").c_str(), (tmp / "c/linked/solvnr.exe").c_str()),
              0);
    touch("c/both/vardekka");
    touch("c/both/solvnvl.exe");
    touch("c/r/SolvnR");

    struct Case {
        const char* dir;
        const char* name;
        const char* found; // "" when none
    } cases[] = {
        {"C:\\UPPER", "solvnvl.exe", "C:\\UPPER\\SOLVNVL.EXE"},
        {"C:\\stem\\", "solvnvl.exe", "C:\\stem\\solvnvl"},
        {"C:\\OURS\\", "solvnvl.exe", "C:\\OURS\\Vardekka"},
        {"C:\\OURS\\", "solvnv.exe", ""}, // vardekka is the V lite program only
        {"C:\\folder\\", "solvnvl.exe", ""},
        {"C:\\dangling\\", "solvnvl.exe", ""},
        {"C:\\linked\\", "solvnr.exe", "C:\\linked\\solvnr.exe"},
        {"C:\\both\\", "solvnvl.exe", "C:\\both\\solvnvl.exe"},
        {"C:\\r\\", "solvnr.exe", "C:\\r\\SolvnR"},
        {"C:\\r\\", "solvnrl.exe", ""},
        {"C:\\missing\\", "solvnvl.exe", ""},
        {"", "solvnvl.exe", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dir) + " " + c.name);
        EXPECT_EQ(ProgramFilePath(c.dir, c.name), c.found);
        EXPECT_EQ(ProgramFileExists(c.dir, c.name), *c.found != '\0');
    }
    EXPECT_TRUE(ProgramFileNameMatches("VARDEKKA", "SOLVNVL.EXE"));
    EXPECT_TRUE(ProgramFileNameMatches("solvnv", "solvnv.exe"));
    EXPECT_FALSE(ProgramFileNameMatches("vardekka", "solvnr.exe"));
    EXPECT_FALSE(ProgramFileNameMatches("solvnv.ex", "solvnv.exe"));
}

TEST_F(SetupMachine, TheCurrentDriveIsTheLetterHoldingTheCurrentDirectory) {
    mkdirs("e/work");
    ASSERT_EQ(::chdir((tmp / "e/work").c_str()), 0);
    EXPECT_EQ(CurrentDrive(), 'E');
    ASSERT_EQ(::chdir((tmp / "home").c_str()), 0);
    EXPECT_EQ(CurrentDrive(), 'C'); // under no drive root
}

TEST_F(SetupMachine, FreeSpaceIsAskedOfTheDrivesRootFolder) {
    std::string asked;
    os::setDiskFreeBytesFunction([&](const std::string& path) {
        asked = path;
        return std::int64_t(5'000'000'000);
    });
    EXPECT_EQ(DiskFreeBytes(3), 5'000'000'000);
    EXPECT_EQ(asked, tmp / "c");
    ASSERT_EQ(::chdir((tmp / "e").c_str()), 0);
    EXPECT_EQ(DiskFreeBytes(0), 5'000'000'000);
    EXPECT_EQ(asked, tmp / "e");
    asked.clear();
    EXPECT_EQ(DiskFreeBytes(7), -1); // G is not in the table
    EXPECT_EQ(DiskFreeBytes(27), -1);
    EXPECT_EQ(DiskFreeBytes(-1), -1);
    EXPECT_EQ(asked, "");
    os::setDiskFreeBytesFunction(nullptr);

    // The real answer is the file system's space available to the user.
    struct statvfs vfs;
    ASSERT_EQ(::statvfs((tmp / "c").c_str(), &vfs), 0);
    const std::int64_t expected = std::int64_t(vfs.f_bavail) * std::int64_t(vfs.f_frsize);
    EXPECT_NEAR(double(DiskFreeBytes(3)), double(expected), 64.0 * 1024 * 1024);
}

} // namespace
