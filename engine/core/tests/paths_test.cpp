#include "runtime/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

TEST(NewPath, NormalisesFolderPaths) {
    struct Case {
        std::string in, want;
        std::string uncut = want; // folderPath keeps the whole path
    } cases[] = {
        {"/data/Charts", "/data/Charts/"}, // case kept
        {"/data/Charts/", "/data/Charts/"},
        {"C:\\KV71\\Blokk", "C:/KV71/Blokk/"},
        {"A:", "A:"},
        {"", ""},
        {"ch\tar\x7f"
         "ts\n",
         "charts/"}, // control characters dropped
        {std::string(300, 'x'), std::string(254, 'x') + "/", std::string(300, 'x') + "/"},
        {std::string(254, 'x') + "/", std::string(254, 'x') + "/"},
        {std::string(255, 'x') + "/", std::string(254, 'x') + "/", std::string(255, 'x') + "/"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<char[]> owned(newPath(c.in.c_str(), nullptr));
        ASSERT_NE(owned, nullptr);
        EXPECT_EQ(owned.get(), c.want) << c.in;

        char buffer[256];
        EXPECT_EQ(newPath(c.in.c_str(), buffer), buffer);
        EXPECT_EQ(std::string(buffer), c.want) << c.in;
        EXPECT_EQ(folderPath(c.in.c_str()), c.uncut) << c.in;
    }
    EXPECT_EQ(folderPath(nullptr), "");
    char buffer[8] = "keep";
    EXPECT_EQ(newPath(nullptr, buffer), nullptr);
    EXPECT_EQ(newPath(nullptr, nullptr), nullptr);
    EXPECT_STREQ(buffer, "keep");
}

TEST(NewPath, ACallersBufferIsNeverOverrun) {
    struct Case {
        const char* in;
        std::size_t capacity;
        const char* want; // null: refused
    } cases[] = {
        {"/data/charts", 14, "/data/charts/"}, // just fits
        {"/data/charts", 13, nullptr},         // no room for the terminator
        {"/data/charts", 1, nullptr},          {"", 1, ""}, {"A:", 3, "A:"},
    };
    for (const auto& c : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        char* result = newPath(c.in, buffer, c.capacity);
        EXPECT_EQ(result, c.want ? buffer : nullptr) << c.in << " " << c.capacity;
        EXPECT_STREQ(buffer, c.want ? c.want : "") << c.capacity;
        for (std::size_t i = c.capacity; i < sizeof buffer; ++i)
            ASSERT_EQ(buffer[i], '#') << i;
    }
    char buffer[4];
    EXPECT_EQ(newPath("/x", buffer, 0), nullptr);
    EXPECT_EQ(newPath("/x", nullptr, 4), nullptr);
}

TEST(GetVolSerNum, IsAlwaysZeroAndTouchesNothing) {
    std::uint32_t serial = 0x12345678;
    EXPECT_EQ(getVolSerNum("/", &serial), 0);
    EXPECT_EQ(serial, 0x12345678u);
    EXPECT_EQ(getVolSerNum(nullptr, nullptr), 0);
}

} // namespace
