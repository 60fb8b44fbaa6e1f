// Writes the user-object store of the drawing and picking tests
// (UserObjectFixture.h) into the folder given, through DbaseWin, as the
// program writes its objects. Exit codes: 2 bad arguments, 3 the store did
// not open, 4 a write was refused.
#include "UserObjectFixture.h"

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("UI_NONINTERACTIVE", "1", 1); // a box would answer itself (and be on stderr)
    std::filesystem::remove_all(argv[1]);
    std::filesystem::create_directories(argv[1]);
    // The six files of an empty store first, as an installation has them.
    isam::INTISAM(18, 13, 8);
    for (StoreFile f : kStoreFiles) {
        const auto d = StoreFileDescription(f, StoreFileBasesIn(argv[1]));
        if (CreateStoreFile(d) != CreateResult::Created || isam::CLIFIL(d) != 0) return 3;
    }
    DbaseWin store(nullptr, StoreFileBasesIn(argv[1]));
    if (store.Failed()) return 3;
    return uofixture::WriteFixture(store) ? 0 : 4;
}
