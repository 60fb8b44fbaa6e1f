#include "os/dirSearch.h"

#include <gtest/gtest.h>

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
