// Runs every file of the seed folders (searched recursively) through a fuzz
// target's entry point, folder by folder in name order. Fails when a folder
// is missing or they hold no file at all; a finding aborts through the
// sanitizers as it would under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [SEED_FOLDER...]\n", argv[0]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int arg = 1; arg < argc; ++arg) {
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(argv[arg], ec), end; !ec && it != end;
             it.increment(ec))
            if (it->is_regular_file()) files.push_back(it->path());
        if (ec) {
            std::fprintf(stderr, "cannot read %s: %s\n", argv[arg], ec.message().c_str());
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
        }
        replayed += files.size();
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no seed files in %s\n", argv[1]);
        return 1;
    }
    std::printf("replayed %zu seed files\n", replayed);
    return 0;
}
