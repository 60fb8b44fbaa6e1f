// The kill test's writer: opens the store in the folder given and writes
// points through DbaseWin for ever, reporting each written point's running
// number through the file descriptor given, once its WritePointRecord has
// returned. Exit codes: 2 bad arguments, 3 the store failed to open, 4 a
// write failed, 5 the report could not be written.
#include "store/DbaseWin.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("UI_NONINTERACTIVE", "1", 1); // a box would answer itself (and be on stderr)
    const int out = std::atoi(argv[2]);
    DbaseWin store(nullptr, StoreFileBasesIn(argv[1]));
    if (store.Failed()) return 3;
    for (std::int32_t n = 0;; ++n) {
        PointRecord p;
        p.id = 1 + n / 65536;
        p.number = static_cast<std::uint16_t>(n % 65536);
        p.latitude = n;
        p.longitude = -n;
        p.time = 1700000000 + n;
        store.CurrentPointRecord = p;
        if (store.WritePointRecord() != 0) return 4;
        if (write(out, &n, sizeof n) != static_cast<ssize_t>(sizeof n)) return 5;
    }
}
