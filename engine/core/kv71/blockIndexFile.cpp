#include "kv71/blockIndexFile.h"

#include "kv71/chartFiles.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <unordered_map>

namespace {

// Sequential little-endian reads that never pass the end of the data.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool u8(std::uint8_t& v) {
        if (size_ - pos_ < 1) return false;
        v = data_[pos_++];
        return true;
    }
    bool u16(std::uint16_t& v) {
        if (size_ - pos_ < 2) return false;
        v = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return true;
    }
    bool i32(std::int32_t& v) {
        if (size_ - pos_ < 4) return false;
        const std::uint32_t u = data_[pos_] | data_[pos_ + 1] << 8 | data_[pos_ + 2] << 16 |
                                static_cast<std::uint32_t>(data_[pos_ + 3]) << 24;
        v = static_cast<std::int32_t>(u);
        pos_ += 4;
        return true;
    }
    std::size_t left() const { return size_ - pos_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace

bool ParseKV71BlockIndex(const std::uint8_t* data, std::size_t size,
                         std::vector<KV71InfCell>& cells) {
    cells.clear();
    Reader in(data, data ? size : 0);
    std::uint8_t groups;
    if (!in.u8(groups) || groups == 0 || groups >= 8) return false;
    // A short read ends the file: the cells completed before it are kept.
    // A level listed a second time finds its slot filled, so its group is
    // read past and its cells are not kept.
    bool seen[7] = {};
    for (unsigned g = 0; g < groups; ++g) {
        std::uint8_t level;
        if (!in.u8(level) || level > 6) break;
        const bool keep = !seen[level];
        seen[level] = true;
        std::uint16_t count;
        if (!in.u16(count)) break;
        for (unsigned c = 0; c < count; ++c) {
            KV71InfCell cell{static_cast<std::uint16_t>(level + 1), {}};
            std::uint8_t parts;
            if (!in.u8(parts)) return true;
            for (unsigned p = 0; p < parts; ++p) {
                std::uint16_t value;
                std::uint8_t rects;
                if (!in.u16(value) || !in.u8(rects) || rects * std::size_t{16} > in.left())
                    return true;
                for (unsigned r = 0; r < rects; ++r) {
                    KV71InfRect rect;
                    in.i32(rect.yMin);
                    in.i32(rect.xMin);
                    in.i32(rect.yMax);
                    in.i32(rect.xMax);
                    cell.rects.push_back(rect);
                }
            }
            if (keep) cells.push_back(std::move(cell));
        }
    }
    return true;
}

GeoRect KV71InfRectToGeoRect(const KV71InfRect& rect) {
    constexpr long double radius = 6378388.0L;
    const auto lon = [](std::int32_t x) { return rad2nrm(x / radius); };
    const auto lat = [](std::int32_t y) {
        return rad2nrm(2 * std::atan(std::exp(y / radius)) - std::numbers::pi_v<long double> / 2);
    };
    return GeoRect{lon(rect.xMin), lat(rect.yMin), lon(rect.xMax), lat(rect.yMax)};
}

namespace {

// Block index files are a few kilobytes; anything far larger is not one.
constexpr long maxBlockIndexSize = 64L << 20;

bool readWholeFile(const char* path, std::vector<std::uint8_t>& bytes) {
    std::FILE* f = openChartFile(path, "rb");
    if (!f) return false;
    const long size = chartFileSize(f);
    bool ok = size >= 0 && size <= maxBlockIndexSize;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size));
        ok = size == 0 || std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    return ok;
}

} // namespace

int ReadKV71BlockIndex(const char* path, std::vector<KV71BlockCell>& cells) {
    cells.clear();
    std::vector<std::uint8_t> bytes;
    std::vector<KV71InfCell> entries;
    if (!readWholeFile(path, bytes) || !ParseKV71BlockIndex(bytes.data(), bytes.size(), entries))
        return -1;
    std::vector<KV71BlockCell> read;
    std::unordered_map<std::uint64_t, std::size_t> firstOf; // identity -> index in read
    for (const KV71InfCell& entry : entries) {
        GeoCover cover;
        for (const KV71InfRect& r : entry.rects) {
            const GeoRect rect = KV71InfRectToGeoRect(r);
            if (geoRectValid(rect) && cover.add(rect) != 0) return -1; // out of memory
        }
        if (cover.empty()) continue;
        const GeoRect& first = cover.head->r;
        const std::int32_t lon = static_cast<std::int32_t>(static_cast<std::uint32_t>(first.lon1) +
                                                           geoRectWidth(first) / 2);
        const std::int32_t lat = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(first.lat1) +
            (static_cast<std::uint32_t>(first.lat2) - static_cast<std::uint32_t>(first.lat1)) / 2);
        KV71CellId id;
        if (SnapKV71Cell(id, lon, lat, entry.level) != 0) continue;
        const std::uint64_t key =
            std::uint64_t{id.level} << 32 | std::uint32_t{id.lon} << 16 | id.lat;
        const auto [at, added] = firstOf.emplace(key, read.size());
        if (added) {
            read.push_back(KV71BlockCell{id, std::move(cover)});
        } else if (read[at->second].cover.add(cover, 1) != 0) {
            return -1;
        }
    }
    cells = std::move(read);
    return static_cast<int>(cells.size());
}
