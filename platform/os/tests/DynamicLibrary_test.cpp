#include "os/DynamicLibrary.h"

#include <gtest/gtest.h>

namespace {

TEST(DynamicLibrary, LoadsByWindowsNameBesideTheProgram) {
    os::DynamicLibrary library;
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(library.symbol("osTestAnswer"), nullptr);

    // "OSTESTLIB.DLL" is libOsTestLib.so beside the program, whatever the case.
    for (const char* name : {"OSTESTLIB.DLL", "OsTestLib.dll", OS_TEST_LIBRARY}) {
        ASSERT_TRUE(library.load(name)) << name << ": " << library.error();
        const auto answer = reinterpret_cast<int (*)()>(library.symbol("osTestAnswer"));
        ASSERT_NE(answer, nullptr) << name;
        EXPECT_EQ(answer(), 42);
        EXPECT_STREQ(static_cast<const char*>(library.symbol("osTestName")), "test library");
        EXPECT_EQ(library.error(), "");
    }
    EXPECT_EQ(library.symbol("noSuchSymbol"), nullptr);
    EXPECT_NE(library.error().find("noSuchSymbol"), std::string::npos) << library.error();

    // Not beside the program: the loader is asked for libX.so.
    EXPECT_FALSE(library.load("D5NONE.DLL"));
    EXPECT_FALSE(library.loaded());
    EXPECT_NE(library.error().find("libD5NONE.so"), std::string::npos) << library.error();
    EXPECT_FALSE(library.load("/no/such/lib.so"));
    EXPECT_NE(library.error().find("/no/such/lib.so"), std::string::npos) << library.error();
    EXPECT_EQ(library.symbol("osTestAnswer"), nullptr);
}

} // namespace
