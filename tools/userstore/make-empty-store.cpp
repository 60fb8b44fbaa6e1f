// make-empty-store FOLDER
//
// Makes the six files of an empty user-object store (ID, POINT and INFO, each
// .DAT and .IDX) in FOLDER with the store's own file descriptions and create
// step, so the set is exactly what the navigation program makes at its first
// start. FOLDER is made when missing. A store file already in FOLDER is never
// replaced: the tool then stops with status 1 and changes nothing of it.
#include "store/storeFiles.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-empty-store FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "make-empty-store: cannot make the folder %s\n", folder.c_str());
        return 1;
    }
    const StoreFileBases bases = StoreFileBasesIn(folder);
    for (StoreFile file : kStoreFiles) {
        const isam::FileSet set = isam::FileSetPaths(StoreFileDescription(file, bases).name);
        if (std::filesystem::exists(set.data, ec) || std::filesystem::exists(set.index, ec)) {
            std::fprintf(stderr, "make-empty-store: %s exists already; nothing is replaced\n",
                         StoreFileLabel(file));
            return 1;
        }
    }
    isam::INTISAM(18, 13, 8);
    for (StoreFile file : kStoreFiles) {
        const isam::FileDescription description = StoreFileDescription(file, bases);
        const CreateResult created = CreateStoreFile(description);
        if (created != CreateResult::Created) {
            std::fprintf(stderr, "make-empty-store: cannot create %s (error %d)\n",
                         StoreFileLabel(file), isam::LastError());
            if (created == CreateResult::ResourceFailed) isam::CLIFIL(description);
            return 1;
        }
        if (isam::CLIFIL(description) != 0) {
            std::fprintf(stderr, "make-empty-store: cannot close %s (error %d)\n",
                         StoreFileLabel(file), isam::LastError());
            return 1;
        }
    }
    return 0;
}
