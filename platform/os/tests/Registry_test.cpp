#include "os/Registry.h"

#include "os/drives.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace {

using os::RegistryRoot;
using ostest::TempFolder;

const char kShellFolders[] =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Keeps environment variables and puts them back after the test.
class SavedEnvironment {
  public:
    explicit SavedEnvironment(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const char* v = std::getenv(n);
            saved_.push_back({n, v ? std::optional<std::string>(v) : std::nullopt});
        }
    }
    ~SavedEnvironment() {
        for (const auto& [name, value] : saved_)
            value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

class DefaultRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* f : {"home", "config", "bin"})
            std::filesystem::create_directories(dir / f);
        ::setenv("HOME", (dir / "home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        ::setenv("PATH", (dir / "bin:/usr/bin:/bin").c_str(), 1);
        os::setDrive('C', dir.path(), os::DriveType::Fixed);
    }
    void TearDown() override { os::resetDrives(); }
    std::optional<std::string> desktop() const {
        return os::registry().readString(RegistryRoot::CurrentUser, kShellFolders, "Desktop");
    }
    SavedEnvironment environment{"HOME", "XDG_CONFIG_HOME", "PATH"};
    TempFolder dir;
};

void writeScript(const std::string& path, const std::string& body) {
    ostest::writeBytes(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

TEST_F(DefaultRegistry, TheDesktopFolderComesFromTheUserDirectories) {
    // No user-dirs.dirs: ~/Desktop, while it exists.
    EXPECT_EQ(desktop(), std::nullopt);
    std::filesystem::create_directory(dir / "home/Desktop");
    EXPECT_EQ(desktop(), "C:\\home\\Desktop");

    struct Case {
        std::string line;
        std::string folder; // made before the read; "" for none
        std::optional<std::string> want;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Skrivebord\"", "home/Skrivebord", "C:\\home\\Skrivebord"},
        {"XDG_DESKTOP_DIR=\"$HOME/Skrivebord\"", "", std::nullopt}, // missing: not found
        {"XDG_DESKTOP_DIR=\"" + (dir / "abs/Sk\u00F8") + "\"", "abs/Sk\u00F8", "C:\\abs\\Sk\xF8"},
        {"XDG_DESKTOP_DIR=\"" + (dir / "abs/\u0416") + "\"", "abs/\u0416", std::nullopt},
        {"# XDG_DESKTOP_DIR=\"$HOME/Old\"", "home/Old", "C:\\home\\Desktop"},
        {"XDG_DESKTOP_DIR=\"$HOMEWARD\"", "", "C:\\home\\Desktop"},
    };
    for (const Case& c : cases) {
        ostest::writeBytes(dir / "config/user-dirs.dirs",
                           "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Dl\"\n" +
                               c.line + "\n");
        if (!c.folder.empty()) std::filesystem::create_directories(dir / c.folder);
        EXPECT_EQ(desktop(), c.want) << c.line;
        if (!c.folder.empty()) std::filesystem::remove(dir / c.folder);
    }
    EXPECT_EQ(os::registry().readString(RegistryRoot::LocalMachine, kShellFolders, "Desktop"),
              std::nullopt);
    EXPECT_EQ(os::registry().readString(RegistryRoot::CurrentUser, kShellFolders, "Personal"),
              std::nullopt);
}

TEST_F(DefaultRegistry, DocumentsOpenThroughTheDesktopsViewer) {
    writeScript(dir / "bin/xdg-mime",
                "[ \"$1 $2\" = \"query default\" ] || exit 2\n"
                "[ \"$3\" = application/pdf ] && echo viewer.desktop\nexit 0\n");
    writeScript(dir / "bin/xdg-open", "exit 0\n");
    const auto read = [](const std::string& key) {
        return os::registry().readString(RegistryRoot::LocalMachine, key, "");
    };
    EXPECT_EQ(read("SOFTWARE\\Classes\\.PDF"), "xdg.pdf");
    EXPECT_EQ(read("SOFTWARE\\Classes\\.chm"), std::nullopt) << "no application for the type";
    EXPECT_EQ(read("SOFTWARE\\Classes\\.doc"), std::nullopt);
    EXPECT_EQ(read("SOFTWARE\\Classes\\xdg.pdf\\shell\\open\\command"),
              "\"" + (dir / "bin/xdg-open") + "\" \"%1\"");
    EXPECT_EQ(read("SOFTWARE\\Classes\\xdg.chm\\shell\\open\\command"),
              "\"" + (dir / "bin/xdg-open") + "\" \"%1\"");
    EXPECT_EQ(read("SOFTWARE\\Classes\\xdg.pdf\\shell\\play\\command"), std::nullopt);
    EXPECT_EQ(read("SOFTWARE\\Classes\\AcroExch.Document\\shell\\open\\command"), std::nullopt);
    EXPECT_EQ(os::registry().readString(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\.pdf",
                                        "Content Type"),
              std::nullopt);

    // A failing xdg-mime, and none at all.
    writeScript(dir / "bin/xdg-mime", "echo viewer.desktop\nexit 1\n");
    EXPECT_EQ(read("SOFTWARE\\Classes\\.pdf"), std::nullopt);
    ::setenv("PATH", (dir / "home").c_str(), 1);
    EXPECT_EQ(read("SOFTWARE\\Classes\\.pdf"), std::nullopt);
    EXPECT_EQ(read("SOFTWARE\\Classes\\xdg.pdf\\shell\\open\\command"), std::nullopt);
}

TEST(FakeRegistry, StandsInForTheDefaultOne) {
    os::FakeRegistry fake;
    fake.set(RegistryRoot::CurrentUser, kShellFolders, "Desktop", "C:\\Users\\Desk");
    os::setRegistry(&fake);
    EXPECT_EQ(os::registry().readString(RegistryRoot::CurrentUser,
                                        "software\\microsoft\\windows\\currentversion\\explorer\\"
                                        "shell folders",
                                        "DESKTOP"),
              "C:\\Users\\Desk");
    EXPECT_EQ(os::registry().readString(RegistryRoot::LocalMachine, kShellFolders, "Desktop"),
              std::nullopt);
    os::setRegistry(nullptr);
    EXPECT_NE(&os::registry(), &fake);
}

} // namespace
