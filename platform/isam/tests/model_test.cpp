// Random sequences of record-file calls, checked against a model after every
// step (the driver shared with the fuzz target).
#include "isamTestSupport.h"
#include "modelDriver.h"

#include <random>

namespace {

TEST(Model, RandomCallSequencesAgreeWithTheModel) {
    isamtest::TempFolder folder(isamtest::memoryBase());
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::uint8_t> bytes(3 * 400);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        isammodel::Driver driver(folder.path());
        driver.run(bytes.data(), bytes.size());
        EXPECT_EQ(driver.error(), "") << "seed " << seed;
    }
}

} // namespace
