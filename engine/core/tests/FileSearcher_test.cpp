#include "runtime/FileSearcher.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// A small chart-like tree in a fresh temporary folder:
//   B1/  b2/  A0001.INF (5 bytes)  a0002.inf  A0003.Inf  note.txt  .hidden  dangling -> nowhere
class ChartTree : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "filesearcher-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root = tmpl;
        fs::create_directory(root / "B1");
        fs::create_directory(root / "b2");
        std::ofstream(root / "A0001.INF") << "12345";
        for (const char* name : {"a0002.inf", "A0003.Inf", "note.txt", ".hidden"})
            std::ofstream(root / name) << "";
        fs::create_symlink(root / "nowhere", root / "dangling");
    }
    void TearDown() override { fs::remove_all(root); }

    // Every name that first/next report for mask and attributes.
    std::set<std::string> found(const std::string& mask, int attributes) {
        std::set<std::string> names;
        FileSearcher fsr;
        const std::string pattern = (root / mask).string();
        for (int rc = fsr.first(pattern.c_str(), attributes); rc == 0; rc = fsr.next()) {
            EXPECT_TRUE(names.insert(fsr.name).second) << fsr.name;
        }
        EXPECT_EQ(fsr.next(), -1); // stays at the end
        return names;
    }

    fs::path root;
};

using Names = std::set<std::string>;

TEST_F(ChartTree, MasksMatchWithoutRegardToCase) {
    struct Case {
        const char* mask;
        int attributes;
        Names want;
    } cases[] = {
        {"*.inf", 0, {"A0001.INF", "a0002.inf", "A0003.Inf"}},
        {"A000?.INF", 0, {"A0001.INF", "a0002.inf", "A0003.Inf"}},
        {"a0001.inf", 0, {"A0001.INF"}},
        {"*2*", 0, {"a0002.inf"}},
        {"?0001.*", 0, {"A0001.INF"}},
        {"A000?", 0, {}},
        {"*", 0, {"A0001.INF", "a0002.inf", "A0003.Inf", "note.txt"}},
        {"*.*", 0, {"A0001.INF", "a0002.inf", "A0003.Inf", "note.txt"}},
        {"b*", os::kAttrDirectory, {"B1", "b2"}},
        {"B*", 0, {}}, // folders only when asked for
        {"*", os::kAttrHidden, {"A0001.INF", "a0002.inf", "A0003.Inf", "note.txt", ".hidden"}},
        {"*.dic", 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(found(c.mask, c.attributes), c.want) << c.mask;
}

TEST_F(ChartTree, FoundEntriesCarryTheirData) {
    FileSearcher fsr;
    ASSERT_EQ(fsr.first((root / "a0001.inf").c_str(), 0), 0);
    EXPECT_STREQ(fsr.name, "A0001.INF");
    EXPECT_EQ(fsr.size, 5u);
    EXPECT_EQ(fsr.attributes & os::kAttrDirectory, 0u);
    EXPECT_NE(fsr.attributes & os::kAttrArchive, 0u);
    EXPECT_GT(fsr.modified, 0);
    EXPECT_EQ(fsr.next(), -1);

    ASSERT_EQ(fsr.first((root / "b1").c_str(), os::kAttrDirectory), 0);
    EXPECT_STREQ(fsr.name, "B1");
    EXPECT_EQ(fsr.attributes & os::kAttrDirectory, unsigned(os::kAttrDirectory));
    EXPECT_EQ(fsr.size, 0u);

    // A read-only file is still found, and says so.
    fs::permissions(root / "note.txt", fs::perms::owner_write, fs::perm_options::remove);
    ASSERT_EQ(fsr.first((root / "NOTE.TXT").c_str(), 0), 0);
    EXPECT_NE(fsr.attributes & os::kAttrReadOnly, 0u);
}

TEST_F(ChartTree, MissingFoldersAndBadPatternsFindNothing) {
    FileSearcher fsr;
    EXPECT_EQ(fsr.first((root / "nofolder/*").c_str(), 0), -1);
    EXPECT_EQ(fsr.first(nullptr, 0), -1);
    EXPECT_EQ(fsr.first((root / std::string(300, 'x')).c_str(), 0), -1);
    EXPECT_EQ(fsr.next(), -1);
    // A new search after a failed one works.
    EXPECT_EQ(fsr.first((root / "NOTE.txt").c_str(), 0), 0);
}

} // namespace
