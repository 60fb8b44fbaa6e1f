#include "os/dirSearch.h"

#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <unistd.h>

namespace {

TEST(MatchMask, WildcardsAndCase) {
    struct Case {
        const char* mask;
        const char* name;
        bool want;
    } cases[] = {
        {"*", "anything", true},
        {"*", "", true},
        {"*.*", "NODOT", true},
        {"*.inf", "A0001.INF", true},
        {"*.inf", "A0001.INFO", false},
        {"*.inf", "A0001inf", false},
        {"?", "a", true},
        {"?", "", false},
        {"?", "ab", false},
        {"a*b*c", "aXXbYYbZc", true},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXcYYb", false},
        {"**x", "abx", true},
        {"ABC", "abc", true},
        {"abc", "abd", false},
        {"", "", true},
        {"", "a", false},
        {"\xC6*", "\xE6rfugl", false}, // only ASCII folds
    };
    for (const auto& c : cases) {
        EXPECT_EQ(os::matchMask(c.mask, c.name), c.want) << c.mask << " / " << c.name;
    }
    EXPECT_FALSE(os::matchMask(nullptr, "a"));
    EXPECT_FALSE(os::matchMask("*", nullptr));
}

} // namespace

namespace {

// name -> attributes of every entry a search finds.
std::map<std::string, unsigned> searchAll(const std::string& folder, unsigned attributes) {
    std::map<std::string, unsigned> found;
    os::DirSearch search;
    os::FindData data;
    for (int r = search.first((folder + "/*").c_str(), attributes, data); r == 0;
         r = search.next(data)) {
        found[data.name] = data.attributes;
        if (data.attributes & os::kAttrLink) {
            EXPECT_EQ(data.size, 0u) << data.name;
        }
    }
    return found;
}

TEST(DirSearch, LinksAreFoundAsThemselvesOnlyWhenAskedFor) {
    ostest::TempFolder dir;
    ostest::writeBytes(dir / "file", "12345");
    std::filesystem::create_directory(dir / "sub");
    ostest::writeBytes(dir / "sub/inner", "x");
    ASSERT_EQ(::symlink("sub", (dir / "tosub").c_str()), 0);
    ASSERT_EQ(::symlink("loop", (dir / "loop").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    ASSERT_EQ(::symlink("file", (dir / "tofile").c_str()), 0);
    using os::kAttrArchive, os::kAttrDirectory, os::kAttrLink;

    struct Case {
        unsigned attributes;
        std::map<std::string, unsigned> want;
    } cases[] = {
        {kAttrDirectory | kAttrLink,
         {{"file", kAttrArchive},
          {"sub", kAttrDirectory},
          {"tosub", kAttrLink},
          {"loop", kAttrLink},
          {"dangling", kAttrLink},
          {"tofile", kAttrLink}}},
        {kAttrLink,
         {{"file", kAttrArchive},
          {"tosub", kAttrLink},
          {"loop", kAttrLink},
          {"dangling", kAttrLink},
          {"tofile", kAttrLink}}},
        // Not asked for: links are followed; the loop and the dangling one are skipped.
        {kAttrDirectory,
         {{"file", kAttrArchive},
          {"sub", kAttrDirectory},
          {"tosub", kAttrDirectory},
          {"tofile", kAttrArchive}}},
        {0, {{"file", kAttrArchive}, {"tofile", kAttrArchive}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(searchAll(dir.path(), c.attributes), c.want) << "attributes " << c.attributes;
}

} // namespace
