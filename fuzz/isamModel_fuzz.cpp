// Record-file calls chosen by the input, checked against a model after every
// step; a difference is a finding.
#include "fuzzFiles.h"
#include "isam/tests/modelDriver.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each step is three bytes; longer inputs add time, not new paths.
    if (size > 3 * 500) return 0;
    isammodel::Driver driver(fuzzFolder());
    driver.run(data, size);
    if (!driver.error().empty()) std::fprintf(stderr, "%s\n", driver.error().c_str());
    fuzzCheck(driver.error().empty());
    return 0;
}
