#include "os/ShellLink.h"

#include "os/drives.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

using ostest::TempFolder;

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

TEST(ShellLink, SavedEntriesReadBackAndPassTheValidator) {
    TempFolder dir;
    struct Case {
        const char* what;
        std::string path, arguments, folder;
    } cases[] = {
        {"plain", "/opt/solvanor/solvnvl", "", "/opt/solvanor"},
        {"blanks", "/opt/Solvanor V/ostrel", "", "/opt/Solvanor V"},
        {"quotes", "/opt/a\"b/prog", "\"say \\\"hi\\\"\"", "/opt/a\"b"},
        {"\u00F8 and %", "/home/\u00F8/100%/prog", "50% -x", "/home/\u00F8"},
        {"$ and `", "/opt/$HOME/`x`/prog", "$PATH", "/opt/$HOME"},
        {"backslash", "/opt/back\\slash/prog", "C:\\KV71\\ \"two words\"", "/opt/back\\slash"},
        {"no folder", "/usr/bin/prog", "-a -b", ""},
        {"empty argument", "/usr/bin/prog", "\"\" last", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        os::ShellLink link;
        link.SetPath(c.path);
        link.SetArguments(c.arguments);
        link.SetWorkingDirectory(c.folder);
        const std::string file = dir / "Solvanor V.desktop";
        ASSERT_TRUE(link.Save(file));
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0755u);
        EXPECT_EQ(validate(file), "") << ostest::readBytes(file);
        EXPECT_NE(ostest::readBytes(file).find("\nName=Solvanor V\n"), std::string::npos);

        os::ShellLink back;
        ASSERT_TRUE(back.Load(file));
        EXPECT_EQ(back.GetPath(), c.path);
        EXPECT_EQ(back.GetArguments(), c.arguments);
        EXPECT_EQ(back.GetWorkingDirectory(), c.folder);
    }
}

TEST(ShellLink, LoadsEntriesWrittenElsewhere) {
    TempFolder dir;
    ostest::writeBytes(dir / "viewer.desktop", "[Desktop Entry]\r\n"
                                               "Name=Viewer\r\n"
                                               "Name[nb]=Visning\r\n"
                                               "Exec = viewer --page=1 %U\r\n"
                                               "Path=/srv/docs\r\n"
                                               "[Desktop Action New]\r\n"
                                               "Exec=other\r\n");
    os::ShellLink link;
    ASSERT_TRUE(link.Load(dir / "viewer.desktop"));
    EXPECT_EQ(link.GetPath(), "viewer");
    EXPECT_EQ(link.GetArguments(), "--page=1");
    EXPECT_EQ(link.GetWorkingDirectory(), "/srv/docs");

    ostest::writeBytes(dir / "none.desktop", "[Desktop Entry]\nName=x\n[Other]\nExec=x\n");
    EXPECT_FALSE(link.Load(dir / "none.desktop"));
    EXPECT_FALSE(link.Load(dir / "missing.desktop"));
    EXPECT_EQ(link.GetPath(), "viewer") << "unchanged by a failed load";

    os::ShellLink empty;
    EXPECT_FALSE(empty.Save(dir / "empty.desktop"));
}

TEST(ShellLink, ShortcutPaths) {
    TempFolder dir;
    os::setDrive('C', dir / "c", os::DriveType::Fixed);
    os::setDrive('Q', "", os::DriveType::Fixed);
    struct Case {
        std::string text, path;
    } cases[] = {
        {"C:\\Desktop\\Solvanor V.lnk", dir / "c/Desktop/Solvanor V.desktop"},
        {"C:\\Desktop\\Solvanor R Lite.LNK", dir / "c/Desktop/Solvanor R Lite.desktop"},
        {"C:\\Desktop\\Solvanor Setup", dir / "c/Desktop/Solvanor Setup.desktop"},
        {"/home/x/Desktop/S\xF8k.lnk", "/home/x/Desktop/S\u00F8k.desktop"},
        {"Q:\\Desktop\\x.lnk", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::shortcutPath(c.text), c.path) << c.text;
    os::resetDrives();
}

} // namespace
