// Files of the fuzz targets: each target writes its input into files of one
// scratch folder and reads them back through the engine.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// Ends the run as a finding when ok is false.
inline void fuzzCheck(bool ok) {
    if (!ok) std::abort();
}

// The process's scratch folder, made on the first call (in /dev/shm when
// there is one) and removed with everything in it when the process exits.
inline const std::string& fuzzFolder() {
    static const std::string folder = [] {
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path base =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        std::string pattern = (base / "skjoldr-fuzz-XXXXXX").string();
        fuzzCheck(::mkdtemp(pattern.data()) != nullptr);
        return pattern;
    }();
    // Registered once the folder exists, so it runs before the folder's name
    // is destroyed.
    static const bool removeAtExit = std::atexit([] {
                                         std::error_code ec;
                                         std::filesystem::remove_all(folder, ec);
                                     }) == 0;
    (void)removeAtExit;
    return folder;
}

// Writes size bytes of data as the whole file at path.
inline void writeFuzzFile(const std::string& path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    fuzzCheck(f != nullptr);
    if (size) fuzzCheck(std::fwrite(data, 1, size, f) == size);
    fuzzCheck(std::fclose(f) == 0);
}
