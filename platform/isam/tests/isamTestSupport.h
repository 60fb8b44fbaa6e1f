// Shared pieces of the record-file tests: a temporary folder, the three file
// descriptions of the user-object store built field by field, and records
// and keys laid out byte by byte.
#pragma once

#include "isam/isam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace isamtest {

using Bytes = std::vector<std::uint8_t>;

// A folder of its own under base (the temporary folder by default), removed
// with everything in it.
class TempFolder {
  public:
    explicit TempFolder(const std::string& base = std::filesystem::temp_directory_path().string()) {
        std::string pattern = base + "/isam-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// /dev/shm when there is one: for tests that write many commits and are not
// about the disk.
inline std::string memoryBase() {
    return std::filesystem::is_directory("/dev/shm")
               ? "/dev/shm"
               : std::filesystem::temp_directory_path().string();
}

inline std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void putU16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void putI32(Bytes& b, std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

inline std::uint16_t getU16(const std::uint8_t* b) {
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

inline std::int32_t getI32(const std::uint8_t* b) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

inline isam::Segment segment(int position, int length, bool isSigned) {
    isam::Segment s;
    s.position = position;
    s.length = length;
    s.mode = 8;
    s.isSigned = isSigned;
    return s;
}

inline isam::Index index(int keyNumber, int keyLength, std::vector<isam::Segment> segments) {
    isam::Index i;
    i.keyNumber = keyNumber;
    i.keyLength = keyLength;
    i.duplicates = false;
    i.segments = std::move(segments);
    return i;
}

// ID: file 0, 64-byte records; keys 1 (kind, id), 2 (kind, latitude,
// longitude), 3 (id).
inline isam::FileDescription idFile(const std::string& folder) {
    isam::FileDescription f;
    f.name = folder + "/id";
    f.dataFileNumber = 0;
    f.recordLength = 64;
    f.variable = false;
    f.dataExtension = 4096;
    f.indexExtension = 4096;
    f.fileMode = 0x42;
    f.indexes = {index(1, 6, {segment(2, 2, false), segment(4, 4, true)}),
                 index(2, 10, {segment(2, 2, false), segment(8, 4, true), segment(12, 4, true)}),
                 index(3, 4, {segment(4, 4, true)})};
    return f;
}

// POINT: file 4, 38-byte records; key 5 (id, point number).
inline isam::FileDescription pointFile(const std::string& folder) {
    isam::FileDescription f;
    f.name = folder + "/point";
    f.dataFileNumber = 4;
    f.recordLength = 38;
    f.variable = false;
    f.dataExtension = 4096;
    f.indexExtension = 4096;
    f.fileMode = 0x42;
    f.indexes = {index(5, 6, {segment(2, 4, true), segment(6, 2, false)})};
    return f;
}

// INFO: file 6, 8-byte fixed part and a text; key 7 (id, number).
inline isam::FileDescription infoFile(const std::string& folder) {
    isam::FileDescription f;
    f.name = folder + "/info";
    f.dataFileNumber = 6;
    f.recordLength = 8;
    f.variable = true;
    f.dataExtension = 4096;
    f.indexExtension = 4096;
    f.fileMode = 0x46;
    f.indexes = {index(7, 6, {segment(2, 4, true), segment(6, 2, false)})};
    return f;
}

inline Bytes idRecord(std::uint16_t kind, std::int32_t id, std::int32_t lat, std::int32_t lon,
                      std::uint16_t colour = 1) {
    Bytes b(64, 0);
    putU16(b, 2, kind);
    putI32(b, 4, id);
    putI32(b, 8, lat);
    putI32(b, 12, lon);
    putU16(b, 28, colour);
    return b;
}

inline Bytes pointRecord(std::int32_t id, std::uint16_t number, std::int32_t lat = 0,
                         std::int32_t lon = 0, std::uint16_t speed = 0) {
    Bytes b(38, 0);
    putI32(b, 2, id);
    putU16(b, 6, number);
    putI32(b, 8, lat);
    putI32(b, 12, lon);
    putU16(b, 20, speed);
    return b;
}

inline Bytes infoRecord(std::int32_t id, std::uint16_t number, const std::string& text) {
    Bytes b(8 + text.size(), 0);
    putI32(b, 2, id);
    putU16(b, 6, number);
    std::copy(text.begin(), text.end(), b.begin() + 8);
    return b;
}

// Target keys: the segments' bytes one after the other.
inline Bytes key1(std::uint16_t kind, std::int32_t id) {
    Bytes k(6, 0);
    putU16(k, 0, kind);
    putI32(k, 2, id);
    return k;
}

inline Bytes key2(std::uint16_t kind, std::int32_t lat, std::int32_t lon) {
    Bytes k(10, 0);
    putU16(k, 0, kind);
    putI32(k, 2, lat);
    putI32(k, 6, lon);
    return k;
}

inline Bytes key3(std::int32_t id) {
    Bytes k(4, 0);
    putI32(k, 0, id);
    return k;
}

// Keys 5 and 7: (id, number).
inline Bytes idNumberKey(std::int32_t id, std::uint16_t number) {
    Bytes k(6, 0);
    putI32(k, 0, id);
    putU16(k, 4, number);
    return k;
}

// A test on a folder of its own (in memory: the tests are about the files'
// content, not the disk), with the layer started; the three store files are
// closed at the end whatever the test left open.
class IsamTest : public ::testing::Test {
  protected:
    IsamTest() : folder_(memoryBase()) {}
    void SetUp() override { ASSERT_EQ(isam::INTISAM(18, 13, 8), 0); }
    void TearDown() override {
        for (const auto& f : {idFile(dir()), pointFile(dir()), infoFile(dir())})
            isam::CLIFIL(f);
    }
    const std::string& dir() const { return folder_.path(); }
    std::string path(const std::string& name) const { return dir() + "/" + name; }

    // The records of a key's walk from its first record on, as found.
    static std::vector<Bytes> walk(int key, std::size_t recordLength) {
        std::vector<Bytes> found;
        Bytes record(recordLength);
        if (isam::GTEREC(key, lowest(key).data(), record.data()) != 0) return found;
        do
            found.push_back(record);
        while (isam::NXTREC(key, record.data()) == 0);
        return found;
    }

    // The lowest target of each store key: every segment at its minimum.
    static Bytes lowest(int key) {
        switch (key) {
        case 1:
            return key1(0, INT32_MIN);
        case 2:
            return key2(0, INT32_MIN, INT32_MIN);
        case 3:
            return key3(INT32_MIN);
        default:
            return idNumberKey(INT32_MIN, 0);
        }
    }

  private:
    TempFolder folder_;
};

} // namespace isamtest
