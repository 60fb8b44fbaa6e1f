#include "ExchangeSegment.h"

#include "os/instanceLocks.h"

#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace d5arer {

std::string exchangeSegmentName() {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const unsigned char c : os::runtimeFolder()) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "/solvanor-exchange1-%lu-%016llx",
                  static_cast<unsigned long>(::geteuid()), static_cast<unsigned long long>(hash));
    return name;
}

} // namespace d5arer
