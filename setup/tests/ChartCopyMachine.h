// The machine of the chart copy and reset tests: the setup tests' drive table
// (C, D, E fixed, F a CD-ROM) with a chart CD in F, and a runtime folder of the
// test's own, so presence locks of other programs never count.
#pragma once

#include "SetupMachine.h"

#include "files/DirProcs.h"

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace setuptest {

class ChartCopyMachine : public SetupMachine {
  protected:
    void SetUp() override {
        SetupMachine::SetUp();
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = runtime;
        mkdirs("run");
        ::chmod((tmp / "run").c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", (tmp / "run").c_str(), 1);
    }

    void TearDown() override {
        ResetTreeCalls();
        if (oldRuntime)
            setenv("XDG_RUNTIME_DIR", oldRuntime->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        SetupMachine::TearDown();
    }

    // The chart CD's tree at `base` (f/KV71 by default), 13 files of 2,000,678
    // bytes, in copy order:
    //   .hidden (6); 0A/ (mode 0555) with AA/deep.bin (300), a1.bin (100),
    //   a2.bin (200, 0444); B/ with b1.bin .. b4.bin (10 each, b2 0444);
    //   BIG.DAT (2,000,000); CATALOG.INF (24, the tenth); EMPTY.TXT (0);
    //   Z/z1.bin, Z/z2.bin (4 each); link.bin -> 0A/a1.bin (not copied).
    // Contents start with the file's name and `stamp`, so two CDs differ.
    void makeCd(const std::string& base = "f/KV71", const std::string& stamp = "new") {
        auto file = [&](const std::string& name, std::size_t size) {
            std::string bytes = name + ":" + stamp + ";";
            while (bytes.size() < size)
                bytes += bytes;
            touch(base + "/" + name, bytes.substr(0, size));
        };
        file(".hidden", 6);
        file("0A/a1.bin", 100);
        file("0A/a2.bin", 200);
        file("0A/AA/deep.bin", 300);
        for (const char* b : {"B/b1.bin", "B/b2.bin", "B/b3.bin", "B/b4.bin"})
            file(b, 10);
        file("BIG.DAT", 2000000);
        file("CATALOG.INF", 24);
        file("EMPTY.TXT", 0);
        file("Z/z1.bin", 4);
        file("Z/z2.bin", 4);
        link("0A/a1.bin", base + "/link.bin");
        ::chmod((tmp / (base + "/0A/a2.bin")).c_str(), 0444);
        ::chmod((tmp / (base + "/B/b2.bin")).c_str(), 0444);
        ::chmod((tmp / (base + "/0A")).c_str(), 0555);
    }
    static constexpr std::int64_t kCdFiles = 13;
    static constexpr std::int64_t kCdBytes = 2000678;

    // The tree below `path` (below the temporary base), entry by entry: a
    // folder is "/", a file its bytes, a link "->" and its target. Empty when
    // the path is missing.
    std::map<std::string, std::string> tree(const std::string& path) const {
        std::map<std::string, std::string> entries;
        const std::filesystem::path root = tmp / path;
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            const std::string rel = it->path().lexically_relative(root).string();
            if (it->is_symlink())
                entries[rel] = "->" + std::filesystem::read_symlink(it->path()).string();
            else if (it->is_directory())
                entries[rel] = "/";
            else
                entries[rel] = summary(contents(it->path()));
        }
        return entries;
    }

    // A file's bytes, read in one piece.
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::string bytes(std::size_t(std::max<std::streamoff>(in.tellg(), 0)), '\0');
        in.seekg(0);
        in.read(bytes.data(), std::streamsize(bytes.size()));
        return bytes;
    }

    // A file's bytes, or for a big file its size and a digest (so a failure
    // does not print megabytes).
    static std::string summary(const std::string& bytes) {
        if (bytes.size() <= 400) return bytes;
        return bytes.substr(0, 40) + "... (" + std::to_string(bytes.size()) + " bytes, digest " +
               std::to_string(std::hash<std::string>()(bytes)) + ")";
    }

    // The CD's tree as a copy must give it: the link left out.
    std::map<std::string, std::string> copied(const std::string& cd = "f/KV71") const {
        auto entries = tree(cd);
        std::erase_if(entries, [](const auto& e) { return e.second.starts_with("->"); });
        return entries;
    }

    // The tree with every entry's mode, for "nothing changed".
    std::map<std::string, std::string> treeWithModes(const std::string& path) const {
        auto entries = tree(path);
        for (auto& [rel, value] : entries)
            value = std::to_string(mode(path + "/" + rel)) + ":" + value;
        return entries;
    }

    std::optional<std::string> oldRuntime;
};

} // namespace setuptest
