#include "util/memoryWrappers.h"
#include "util/sortFloats.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// Under the address sanitizer an impossible allocation must come back as
// null, as it does from the plain C library, so the failure path can run.
// This holds for the whole test binary: malloc, calloc and realloc then fail
// as in a plain build, while a failed operator new still stops the run as a
// sanitizer report. An ASAN_OPTIONS setting overrides it.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}

namespace {

constexpr std::size_t impossible = SIZE_MAX / 2;

TEST(MemoryWrappers, FailuresLeaveThroughTheErrorRoutine) {
    EXPECT_EQ(allocOrDie(0), nullptr);
    try {
        allocOrDie(impossible);
        FAIL() << "allocOrDie returned";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: Out of memory\n");
    }

    char* p = static_cast<char*>(allocOrDie(8));
    std::memcpy(p, "chart12", 8);
    p = static_cast<char*>(reallocOrDie(p, 1 << 20));
    EXPECT_STREQ(p, "chart12");
    try {
        reallocOrDie(p, impossible);
        FAIL() << "reallocOrDie returned";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: Out of memory.\n");
    }
    EXPECT_STREQ(p, "chart12");             // still the caller's
    EXPECT_EQ(reallocOrDie(p, 0), nullptr); // frees it; the leak checker would see otherwise
    EXPECT_EQ(freeMem(nullptr), 0);
}

TEST(SortFloats, SortsAscendingInPlace) {
    const std::vector<std::vector<float>> cases[] = {
        {{}, {}},
        {{1.5f}, {1.5f}},
        {{3, 1, 2}, {1, 2, 3}},
        {{-0.5f, 7, 7, -3, 0, 1e30f, -1e30f}, {-1e30f, -3, -0.5f, 0, 7, 7, 1e30f}},
        {{5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5}},
    };
    for (auto c : cases) {
        sortFloats(c[0].data(), static_cast<int>(c[0].size()));
        EXPECT_EQ(c[0], c[1]);
    }
    std::vector<float> withNaN = {2, NAN, 1};
    sortFloats(withNaN.data(), 3); // must not crash or lose values
    EXPECT_TRUE(std::isnan(withNaN[1]));
    sortFloats(nullptr, 5);
    std::vector<float> untouched = {3, 2, 1};
    for (int n : {0, -1, INT_MIN})
        sortFloats(untouched.data(), n);
    EXPECT_EQ(untouched, (std::vector<float>{3, 2, 1}));
}

} // namespace
