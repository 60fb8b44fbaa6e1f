// Shared pieces of the store's tests: a folder of its own per test, the six
// files of an empty store, bytes laid out by hand, and the records a store
// holds, read back by walking its keys.
#pragma once

#include "ModalScript.h"
#include "store/DbaseWin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace storetest {

using Bytes = std::vector<std::uint8_t>;

// A folder of its own under /dev/shm (the tests are about the files' content,
// not the disk), removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        const std::string base = std::filesystem::is_directory("/dev/shm")
                                     ? "/dev/shm"
                                     : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/store-test-XXXXXX";
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
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline const std::vector<std::string> kSixFiles{"ID.DAT",   "ID.IDX",    "INFO.DAT",
                                                "INFO.IDX", "POINT.DAT", "POINT.IDX"};

inline Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Little-endian fields laid out by hand.
inline void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutText(Bytes& b, std::size_t at, const std::string& text) {
    std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// The six files of an empty store, made with the store's own create step and
// closed.
inline void MakeEmptyStore(const std::string& folder) {
    ASSERT_EQ(isam::INTISAM(18, 13, 8), 0);
    for (StoreFile f : kStoreFiles) {
        const auto d = StoreFileDescription(f, StoreFileBasesIn(folder));
        ASSERT_EQ(CreateStoreFile(d), CreateResult::Created) << StoreFileLabel(f);
        ASSERT_EQ(isam::CLIFIL(d), 0);
    }
}

// Everything a store holds, read through its keys 1, 5 and 7.
struct StoreContent {
    std::vector<IdRecord> objects;
    std::vector<PointRecord> points;
    std::vector<InfoRecord> texts;
    bool operator==(const StoreContent&) const = default;
};

inline void PrintTo(const StoreContent& c, std::ostream* os) {
    *os << c.objects.size() << " objects (ids";
    for (const IdRecord& r : c.objects)
        *os << " " << r.id;
    *os << "), " << c.points.size() << " points, " << c.texts.size() << " texts";
}

inline StoreContent ReadStore() {
    StoreContent c;
    IdBytes id;
    for (int e = isam::GTEREC(kIdKindKey, IdKindKey(0, INT32_MIN).data(), id.data()); e == 0;
         e = isam::NXTREC(kIdKindKey, id.data()))
        c.objects.push_back(IdRecord::Decode(id));
    PointBytes point;
    for (int e = isam::GTEREC(kPointKey, PointKey(INT32_MIN, 0).data(), point.data()); e == 0;
         e = isam::NXTREC(kPointKey, point.data()))
        c.points.push_back(PointRecord::Decode(point));
    std::uint8_t fixed[kInfoFixedSize];
    for (int e = isam::GTEREC(kInfoKey, InfoKey(INT32_MIN, 0).data(), fixed); e == 0;
         e = isam::NXTREC(kInfoKey, fixed)) {
        Bytes whole(isam::GETVLEN(kInfoFileNumber));
        if (isam::REDVREC(kInfoFileNumber, whole.data(), whole.size()) != 0) break;
        if (auto text = InfoRecord::Decode(whole.data(), whole.size())) c.texts.push_back(*text);
    }
    return c;
}

// Adds records through the record layer, failing the test on any refusal.
inline void AddObject(const IdRecord& r) {
    ASSERT_EQ(isam::ADDREC(kIdFileNumber, r.Encode().data()), 0) << r.id;
}

inline void AddText(const InfoRecord& r) {
    const Bytes b = r.Encode();
    ASSERT_EQ(isam::ADDVREC(kInfoFileNumber, b.data(), b.size()), 0) << r.id;
}

inline IdRecord Object(std::uint16_t kind, std::int32_t id, std::int32_t lat = 0,
                       std::int32_t lon = 0) {
    IdRecord r;
    r.kind = kind;
    r.id = id;
    r.latitude = lat;
    r.longitude = lon;
    r.colour = 2;
    return r;
}

inline PointRecord Point(std::int32_t id, std::uint16_t number, std::int32_t lat = 0,
                         std::int32_t lon = 0) {
    PointRecord p;
    p.id = id;
    p.number = number;
    p.latitude = lat;
    p.longitude = lon;
    return p;
}

// Writes a point through the store, as the chart window does.
inline void WritePoint(DbaseWin& store, const PointRecord& p) {
    store.CurrentPointRecord = p;
    ASSERT_EQ(store.WritePointRecord(), 0) << p.id << "/" << p.number;
}

// The captions of the boxes a script saw, in order.
inline std::vector<std::string> Captions(const uitest::TModalScript& script) {
    std::vector<std::string> captions;
    for (const auto& m : script.Modals())
        captions.push_back(m.caption);
    return captions;
}

} // namespace storetest
