#include "TideFiles.h"

#include "TideEngine.h"
#include "tideSubstitution.h"
#include "util/reportError.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

namespace flodwave {

namespace {

constexpr std::size_t kIndexRecordSize = 10;
constexpr std::size_t kHeaderSize = 46;
constexpr std::size_t kItemSize = 6;

struct TideFiles {
    std::vector<IndexFileStruct> byNumber;
    std::vector<IndexFileStruct> byPosition;
    std::FILE* data = nullptr;
    long dataSize = 0;
    std::uint8_t inverse[256] = {};
};

TideFiles files;

std::int16_t readI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t readI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

std::uint32_t positionKey(std::int16_t lat, std::int16_t lon) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(lat)) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(lon)) << 16);
}

long fileSize(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
    return size;
}

// Traces why a load is refused; always false.
bool refuse(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool refuse(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    traceMessage(text);
    return false;
}

// Opens one of the three files for reading; null (traced) when it cannot be
// opened or is not a regular file (a folder opens, but reads nothing).
std::FILE* openTideFile(const std::string& dir, const char* name) {
    const std::string path = dir + name;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return nullptr; // a missing file is refused without a word
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        refuse("%s is not a regular file\n", name);
        std::fclose(f);
        return nullptr;
    }
    return f;
}

// Reads a whole index file: it must hold whole 10-byte records, at most
// 65535 of them, and when expected is given exactly that many.
bool readIndex(const std::string& dir, const char* name, const std::size_t* expected,
               std::vector<IndexFileStruct>& out) {
    std::FILE* f = openTideFile(dir, name);
    if (f == nullptr) return false;
    const long size = fileSize(f);
    bool ok = size >= 0 || refuse("%s: its length cannot be read\n", name);
    const std::size_t bytes = ok ? static_cast<std::size_t>(size) : 0;
    const std::size_t count = bytes / kIndexRecordSize;
    if (ok && bytes % kIndexRecordSize != 0)
        ok =
            refuse("%s: %zu bytes are not whole %zu-byte records\n", name, bytes, kIndexRecordSize);
    else if (ok && count > 65535)
        ok = refuse("%s: %zu ports, more than 65535\n", name, count);
    else if (ok && expected != nullptr && count != *expected)
        ok = refuse("%s: %zu ports, td_num.ntx has %zu\n", name, count, *expected);
    out.clear();
    if (ok) out.reserve(count + 1);
    std::uint8_t b[kIndexRecordSize];
    for (std::size_t i = 0; ok && i < count; ++i) {
        ok = std::fread(b, 1, sizeof b, f) == sizeof b;
        if (ok)
            out.push_back({readI16(b), readI16(b + 2), readI16(b + 4), readI32(b + 6)});
        else
            refuse("%s: record %zu cannot be read\n", name, i);
    }
    std::fclose(f);
    return ok;
}

bool samePort(const IndexFileStruct& a, const IndexFileStruct& b) {
    return a.number == b.number && a.lat == b.lat && a.lon == b.lon && a.offset == b.offset;
}

bool portOrder(const IndexFileStruct& a, const IndexFileStruct& b) {
    return std::tie(a.number, a.lat, a.lon, a.offset) < std::tie(b.number, b.lat, b.lon, b.offset);
}

// The checks of a pair of index files against each other and the data file,
// so that every port listed can be found and read: td_crd.ntx holds the same
// ports as td_num.ntx, in the order of its binary search, and every port's
// block header lies inside td_pnte.dat.
bool indexesAgree(const std::vector<IndexFileStruct>& byNumber,
                  const std::vector<IndexFileStruct>& byPosition, long dataSize) {
    for (std::size_t i = 1; i < byPosition.size(); ++i)
        if (positionKey(byPosition[i].lat, byPosition[i].lon) <
            positionKey(byPosition[i - 1].lat, byPosition[i - 1].lon))
            return refuse("td_crd.ntx: record %zu is out of position order\n", i);
    std::vector<IndexFileStruct> a = byNumber, b = byPosition;
    std::sort(a.begin(), a.end(), portOrder);
    std::sort(b.begin(), b.end(), portOrder);
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!samePort(a[i], b[i]))
            return refuse("td_crd.ntx and td_num.ntx list different ports (port %d)\n",
                          a[i].number);
    for (const IndexFileStruct& r : byNumber)
        if (r.offset < 0 || r.offset > dataSize - static_cast<long>(kHeaderSize))
            return refuse("td_pnte.dat: block of port %d at offset %ld lies outside its %ld "
                          "bytes\n",
                          r.number, static_cast<long>(r.offset), dataSize);
    return true;
}

bool readSubstituted(std::uint8_t* buffer, std::size_t size) {
    if (std::fread(buffer, 1, size, files.data) != size) return false;
    for (std::size_t i = 0; i < size; ++i)
        buffer[i] = files.inverse[buffer[i]];
    return true;
}

} // namespace

int loadTideFiles(const char* dir) {
    if (dir == nullptr) return -1;
    const std::size_t length = std::strlen(dir);
    if (length > static_cast<std::size_t>(kMaxDirectoryLength)) return -1;
    std::string base(dir, length);
    // An empty directory names the current one; a trailing Windows
    // separator counts as the separator.
    if (!base.empty() && base.back() == '\\') base.back() = '/';
    if (!base.empty() && base.back() != '/') base += '/';

    // Everything is read into new tables and checked first, so a refused load
    // leaves the previous files loaded and consistent.
    std::vector<IndexFileStruct> byNumber, byPosition;
    if (!readIndex(base, "td_num.ntx", nullptr, byNumber)) return -1;
    const std::size_t count = byNumber.size();
    if (!readIndex(base, "td_crd.ntx", &count, byPosition)) return -1;
    std::FILE* data = openTideFile(base, "td_pnte.dat");
    if (data == nullptr) return -1;
    const long dataSize = fileSize(data);
    if (dataSize < 0 || !indexesAgree(byNumber, byPosition, dataSize)) {
        if (dataSize < 0) refuse("td_pnte.dat: its length cannot be read\n");
        std::fclose(data);
        return -1;
    }
    if (files.data != nullptr) std::fclose(files.data);
    files.data = data;
    files.dataSize = dataSize;
    files.byNumber = std::move(byNumber);
    files.byPosition = std::move(byPosition);
    for (unsigned i = 0; i < 256; ++i)
        files.inverse[kTideSubstitution[i]] = static_cast<std::uint8_t>(i);
    return 0;
}

int readTidePort(std::int16_t lat, std::int16_t lon, PortHeader& header) {
    const std::uint32_t key = positionKey(lat, lon);
    const std::vector<IndexFileStruct>& index = files.byPosition;
    std::size_t lo = 0, hi = index.size();
    const IndexFileStruct* found = nullptr;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::uint32_t k = positionKey(index[mid].lat, index[mid].lon);
        if (k == key) {
            found = &index[mid];
            break;
        }
        if (k < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (found == nullptr || files.data == nullptr) return 0;

    if (found->offset < 0 ||
        static_cast<long>(found->offset) > files.dataSize - static_cast<long>(kHeaderSize) ||
        std::fseek(files.data, found->offset, SEEK_SET) != 0)
        return -1;
    std::uint8_t h[kHeaderSize];
    if (!readSubstituted(h, sizeof h)) return -1;
    const std::uint8_t n = h[45];
    if (n > kConstituentRows) return -1;
    PortItem items[kConstituentRows];
    for (unsigned i = 0; i < n; ++i) {
        std::uint8_t b[kItemSize];
        if (!readSubstituted(b, sizeof b)) return -1;
        items[i] = {readI16(b), readU16(b + 2), readU16(b + 4)};
    }
    if (!setPortConstituents(items, n)) return -1;
    std::memcpy(header.name, h, 40);
    header.name[40] = '\0';
    header.lat = readI16(h + 40);
    header.lon = readI16(h + 42);
    header.timeZone = static_cast<std::int8_t>(h[44]);
    header.count = n;
    return 1;
}

void releaseTideFiles() {
    if (files.data != nullptr) std::fclose(files.data);
    files.data = nullptr;
    files.dataSize = 0;
    files.byNumber.clear();
    files.byNumber.shrink_to_fit();
    files.byPosition.clear();
    files.byPosition.shrink_to_fit();
}

int tidePortCount() {
    return static_cast<int>(files.byNumber.size());
}

bool tideIndexRecord(int i, IndexFileStruct& record) {
    if (i < 0 || i >= tidePortCount()) return false;
    record = files.byNumber[static_cast<std::size_t>(i)];
    return true;
}

} // namespace flodwave
