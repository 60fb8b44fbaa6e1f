// Installation kinds, moving a missing directory to another drive, the help
// command line, and desktop shortcuts.
#include "SetupMachine.h"

#include "shell/DesktopShortcut.h"
#include "shell/HelpCommand.h"
#include "shell/Installation.h"
#include "shell/RegistryReads.h"
#include "shell/TrimBlanks.h"

#include "os/ShellLink.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using setuptest::SetupMachine;

TEST_F(SetupMachine, InstallationKindsFollowTheProgramAndItsIniFile) {
    struct Case {
        const char* dir;
        std::vector<const char*> files;
        int kind;
    } cases[] = {
        {"vlite", {"solvnvl.exe", "solvnv.ini"}, 1},
        {"v", {"SOLVNV.EXE", "SOLVNV.INI"}, 1},
        {"ours", {"vardekka", "Solvnv.ini"}, 1},
        {"stem", {"solvnv", "solvnv.ini"}, 1},
        {"vnoini", {"solvnvl.exe", "solvnv"}, 0},
        {"vnoini-r", {"solvnvl.exe", "solvnr.exe", "solvnr.ini"}, 3},
        {"r", {"solvnr.exe", "solvnr.ini"}, 3},
        {"rcase", {"Solvnr.EXE", "SolvNR.ini"}, 3},
        {"rlite", {"solvnrl.exe", "solvnr.ini"}, 5},
        {"rboth", {"solvnrl.exe", "solvnr.exe", "solvnr.ini"}, 3},
        {"rlnoini", {"solvnrl.exe", "solvnv.ini"}, 0},
        {"ours-r", {"vardekka", "solvnr.ini"}, 0},
        {"iniisfolder", {"solvnvl.exe", "solvnv.ini/x"}, 0},
        {"empty", {"readme.txt"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir);
        mkdirs(std::string("c/") + c.dir);
        for (const char* f : c.files)
            touch(std::string("c/") + c.dir + "/" + f);
        EXPECT_EQ(InstallationKind(std::string("C:\\") + c.dir + "\\"), c.kind);
    }
    EXPECT_EQ(InstallationKind("C:\\VLITE"), 1); // the separator is added
    EXPECT_EQ(InstallationKind("C:\\missing\\"), 0);
    EXPECT_EQ(InstallationKind("Q:\\vlite\\"), 0);
    EXPECT_EQ(InstallationKind(""), 0); // names no installation
}

TEST_F(SetupMachine, RelocateDriveMovesAMissingDirectoryToTheLowestDriveHoldingIt) {
    mkdirs("c/KV71");
    mkdirs("d/KV71");
    mkdirs("e/KV71");
    mkdirs("d/ONLYD");
    mkdirs("e/ONLYE");
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"G:\\KV71\\", "C:\\KV71\\"}, // a letter missing from the table
        {"E:\\ONLYD", "D:\\ONLYD"},
        {"d:\\onlye\\", "E:\\onlye\\"}, // found without regard to case
        {"C:\\KV71", "C:\\KV71"},       // exists as given
        {"E:\\KV71", "E:\\KV71"},
        {"C:\\NOWHERE", "C:\\NOWHERE"},
        {"F:\\KV71", "F:\\KV71"},   // F is a CD-ROM
        {"/srv/KV71", "/srv/KV71"}, // no drive
        {"KV71", "KV71"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RelocateDrive(c.path), c.expected);
    }
    // A fixed drive F without the directory: C wins over D over E.
    os::setDrive('F', tmp / "f", os::DriveType::Fixed);
    EXPECT_EQ(RelocateDrive("F:\\KV71"), "C:\\KV71");
    // Letters missing from the table are not tried.
    os::setDrive('C', "", os::DriveType::Fixed);
    EXPECT_EQ(RelocateDrive("F:\\KV71"), "D:\\KV71");
}

TEST_F(SetupMachine, TheHelpCommandOpensTheDocumentWithTheRegisteredViewer) {
    struct Case {
        const char* what;
        std::vector<const char*> files;
        const char* pdf; // open command of the PDF class; null: no class
        const char* chm;
        int language;
        const char* expected;
    } cases[] = {
        {"quoted viewer with %1",
         {"DOKUVUK.PDF"},
         "\"C:\\Program Files\\Viewer\\viewer.exe\" \"%1\"",
         nullptr,
         2,
         "C:\\Program Files\\Viewer\\viewer.exe \"DOKUVUK.PDF\""},
        {"Norwegian, option before %1",
         {"DOKUVNO.PDF", "DOKUVUK.PDF"},
         "\"C:\\Viewer\\viewer.exe\" /open \"%1\"",
         nullptr,
         1,
         "C:\\Viewer\\viewer.exe /open \"DOKUVNO.PDF\""},
        {"no %1, trailing quote",
         {"DOKUVUK.PDF"},
         "\"C:\\Viewer\\viewer.exe\"",
         nullptr,
         2,
         "C:\\Viewer\\viewer.exe DOKUVUK.PDF"},
        {"no %1, blanks",
         {"DOKUVUK.PDF"},
         "  C:\\Viewer\\viewer.exe  ",
         nullptr,
         2,
         "C:\\Viewer\\viewer.exe DOKUVUK.PDF"},
        {"quote directly before %1",
         {"DOKUVUK.PDF"},
         "viewer.exe \"%1\"",
         nullptr,
         2,
         "viewer.exe \"DOKUVUK.PDF\""},
        {"quoted viewer, bare %1",
         {"DOKUVUK.PDF"},
         "\"viewer.exe\" %1",
         nullptr,
         2,
         "viewer.exe DOKUVUK.PDF"},
        {"document named as on disk",
         {"dokuvuk.pdf"},
         "\"/usr/bin/xdg-open\" \"%1\"",
         nullptr,
         2,
         "/usr/bin/xdg-open \"dokuvuk.pdf\""},
        {"CHM keeps its quotes",
         {"DOKUVUK.CHM"},
         "viewer.exe \"%1\"",
         "\"C:\\Windows\\hh.exe\" \"%1\"",
         2,
         "\"C:\\Windows\\hh.exe\" \"DOKUVUK.CHM\""},
        {"CHM without %1",
         {"DOKUVNO.CHM"},
         nullptr,
         " \"C:\\Windows\\hh.exe\" ",
         1,
         "\"C:\\Windows\\hh.exe\" DOKUVNO.CHM"},
        {"no document", {"DOKUVNO.PDF"}, "viewer.exe \"%1\"", "hh.exe %1", 2, ""},
        {"PDF without a viewer", {"DOKUVUK.PDF", "DOKUVUK.CHM"}, nullptr, "hh.exe %1", 2, ""},
        {"PDF with an empty command", {"DOKUVUK.PDF"}, "", nullptr, 2, ""},
        {"a folder is no document", {"DOKUVUK.PDF/x"}, "viewer.exe %1", nullptr, 2, ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = "help" + std::to_string(++n);
        mkdirs("c/" + dir);
        for (const char* f : c.files)
            touch("c/" + dir + "/" + f);
        os::FakeRegistry associations;
        const auto associate = [&](const char* ext, const char* cls, const char* command) {
            if (!command) return;
            associations.set(os::RegistryRoot::LocalMachine,
                             std::string("SOFTWARE\\Classes\\.") + ext, "", cls);
            associations.set(os::RegistryRoot::LocalMachine,
                             std::string("SOFTWARE\\Classes\\") + cls + "\\shell\\open\\command",
                             "", command);
        };
        associate("pdf", "Viewer.Document", c.pdf);
        associate("chm", "chm.file", c.chm);
        os::setRegistry(&associations);
        const std::string text = "C:\\" + dir + "\\";
        EXPECT_EQ(HelpCommandLine(text, c.language), c.expected);
        EXPECT_TRUE(HelpCommandMatches(text, c.expected, c.language));
        EXPECT_FALSE(HelpCommandMatches(text, std::string(c.expected) + " ", c.language));
        os::setRegistry(&registry);
    }
    EXPECT_EQ(HelpCommandLine("", 2), "");
}

TEST_F(SetupMachine, RegistryReadsFallBackToPlayAndSayEmptyForWhatIsMissing) {
    registry.set(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\.PDF", "", "pdffile");
    registry.set(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\pdffile\\shell\\play\\command",
                 "", "player %1");
    EXPECT_EQ(GetAssociatedCommand("PDF"), "player %1");
    registry.set(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\pdffile\\shell\\open\\command",
                 "", "opener %1");
    EXPECT_EQ(GetAssociatedCommand("pdf"), "opener %1");
    EXPECT_EQ(GetAssociatedCommand("CHM"), "");
    EXPECT_EQ(ReadRegString(os::RegistryRoot::CurrentUser, "Software\\None", "x"), "");

    EXPECT_EQ(GetDesktopFolder(), "C:\\Desktop");
    // A desktop folder that does not exist is not known.
    registry.set(os::RegistryRoot::CurrentUser,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
                 "C:\\Gone");
    EXPECT_EQ(GetDesktopFolder(), "");
}

TEST(TrimBlanks, RemovesBlanksAndTabsAtBothEnds) {
    EXPECT_EQ(TrimBlanks("  C:\\KV71 \t"), "C:\\KV71");
    EXPECT_EQ(TrimBlanks("C:\\Solvanor V"), "C:\\Solvanor V");
    EXPECT_EQ(TrimBlanks(" \t "), "");
    EXPECT_EQ(TrimBlanks(""), "");
}

// desktop-file-validate's verdict on a file: "" when it passes, else its words.
std::string validate(const std::string& path) {
    const std::string command = "desktop-file-validate '" + path + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "cannot run desktop-file-validate";
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = ::pclose(pipe);
    if (status != 0) return output.empty() ? "desktop-file-validate failed to run" : output;
    return output.find("error") == std::string::npos ? "" : output;
}

TEST_F(SetupMachine, ShortcutsLandOnTheDesktopAsDesktopEntries) {
    touch("c/Runtime/vardekka");
    touch("c/Solvanor \u00F8/solvnv");
    struct Case {
        const char* link;
        const char* target;
        const char* arguments;
        const char* folder;
        std::string file, program, workingDirectory, arguments8;
    } cases[] = {
        {"Solvanor V.lnk", "C:\\RUNTIME\\vardekka", "", "C:\\RUNTIME",
         tmp / "c/Desktop/Solvanor V.desktop", tmp / "c/Runtime/vardekka", tmp / "c/Runtime", ""},
        {"Solvanor V ELVO.lnk", "C:\\Solvanor \xF8\\solvnv", "-x \"two words\"",
         "C:\\Solvanor \xF8", tmp / "c/Desktop/Solvanor V ELVO.desktop",
         tmp / "c/Solvanor \u00F8/solvnv", tmp / "c/Solvanor \u00F8", "-x \"two words\""},
        {"Solvanor R", "D:\\SOLVNR\\solvnr", "", "", tmp / "c/Desktop/Solvanor R.desktop",
         tmp / "d/SOLVNR/solvnr", "", ""}, // a target not there yet is written as mapped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        ASSERT_TRUE(CreateDesktopShortcut(c.link, c.target, c.arguments, c.folder));
        os::ShellLink link;
        ASSERT_TRUE(link.Load(c.file));
        EXPECT_EQ(link.GetPath(), c.program);
        EXPECT_EQ(link.GetWorkingDirectory(), c.workingDirectory);
        EXPECT_EQ(link.GetArguments(), c.arguments8);
        EXPECT_EQ(validate(c.file), "");
    }

    // Without a known desktop folder nothing is written.
    os::FakeRegistry empty;
    os::setRegistry(&empty);
    EXPECT_FALSE(CreateDesktopShortcut("Solvanor V Bathymetric.lnk", "C:\\RUNTIME\\vardekka", "",
                                       "C:\\RUNTIME"));
    os::setRegistry(&registry);
    EXPECT_FALSE(exists("c/Desktop/Solvanor V Bathymetric.desktop"));
    // Nor for a target that names nothing.
    EXPECT_FALSE(CreateDesktopShortcut("Solvanor V Bathymetric.lnk", "Q:\\x\\vardekka", "", ""));
    EXPECT_FALSE(exists("c/Desktop/Solvanor V Bathymetric.desktop"));
}

} // namespace
