// Helpers of the 3D export and exchange tests: a temporary folder that is
// also the current folder while the test runs (the export writes there), the
// project's dictionaries over a chart tree written by the KV71 writers, and
// reading files whole.
#pragma once

#include "Clip3DExport.h"
#include "ViewerExchange.h"

#include "gdb/GdbMetrics.h"
#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71DbObject.h"
#include "kv71/TKV71Dictionary.h"
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace exchangetest {

// A fresh folder made the current folder; the old current folder comes back
// and the folder goes with everything in it when the object goes.
class TempCurrentFolder {
  public:
    TempCurrentFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "exchange3d-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
        before_ = std::filesystem::current_path();
        if (!path_.empty()) std::filesystem::current_path(path_);
    }
    ~TempCurrentFolder() {
        std::error_code ec;
        std::filesystem::current_path(before_, ec);
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempCurrentFolder(const TempCurrentFolder&) = delete;
    TempCurrentFolder& operator=(const TempCurrentFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
    std::filesystem::path before_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A 32-bit little-endian field of a record.
inline std::int32_t field(const std::vector<std::uint8_t>& bytes, int offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | bytes.at(static_cast<std::size_t>(offset + i));
    return static_cast<std::int32_t>(v);
}
inline std::int32_t field(const std::uint8_t* bytes, int offset) {
    return field(std::vector<std::uint8_t>(bytes, bytes + offset + 4), offset);
}

// Exchange coordinates worked out from their definition: the longitude
// difference modulo the turn read as signed, times the cosine of the
// reference latitude, truncated; the latitude difference.
inline std::pair<long, long> exchangeOf(const GeoPoint& p, const GeoPoint& reference) {
    const auto dlon = static_cast<std::int32_t>(static_cast<std::uint32_t>(p.lon) -
                                                static_cast<std::uint32_t>(reference.lon));
    const double c = std::cos(reference.lat * (M_PI / 2147483648.0));
    return {static_cast<long>(std::trunc(dlon * c)), static_cast<long>(p.lat) - reference.lat};
}

// A chart tree in a temporary folder, read with the project's dictionaries:
// cells are added, then the database is opened over them.
class ChartTree {
  public:
    explicit ChartTree(const std::string& root) : root_(root + "/chart/") {
        std::filesystem::create_directories(root_);
    }
    ~ChartTree() {
        db.reset();
        dictionary.reset();
    }

    void addCell(int lon, int lat, int level, kv71write::CellFile cell) {
        cell.header = kv71write::cellHeaderFor(lon, lat, level);
        ASSERT_TRUE(kv71write::writeCellFile(root_, lon, lat, level, cell));
        cells_.push_back({lon, lat, level});
    }

    // Writes the block indexes of the cells added and opens the database.
    void open() {
        std::map<std::string, std::vector<Cell>> blocks;
        for (const Cell& c : cells_)
            blocks[kv71write::blockFolder(c.lon, c.lat)].push_back(c);
        for (const auto& [name, cells] : blocks) {
            kv71write::BlockIndex index;
            for (const Cell& c : cells) {
                kv71write::InfGroup* group = nullptr;
                for (kv71write::InfGroup& g : index.groups)
                    if (g.level == c.level - 1) group = &g;
                if (!group) {
                    index.groups.push_back({});
                    group = &index.groups.back();
                    group->level = static_cast<std::uint8_t>(c.level - 1);
                }
                group->cells.push_back(kv71write::infCellOf(c.lon, c.lat, c.level));
            }
            ASSERT_TRUE(kv71write::writeBlockIndex(root_, cells[0].lon, cells[0].lat, index));
        }
        const std::string dict = std::string(DATA_DIR) + "/dict/";
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", dict.c_str());
        db = std::make_unique<TKV71Db>(*dictionary, root_.c_str(), 64ul << 20, nullptr);
    }

    // The geographic points (and sounding depths) of every object of the cell
    // (lon, lat) at `scale`, by the object's index in its cell file.
    struct ObjectPoints {
        std::vector<GeoPoint> points;
        std::vector<std::uint32_t> depths; // soundings
    };
    std::map<int, ObjectPoints> objectPoints(int lon, int lat, int level, unsigned long scale) {
        std::map<int, ObjectPoints> out;
        const kv71write::DegreeBox box = kv71write::cellDegrees(lon, lat, level);
        GeoRect rect{deg2nrm(box.west + 1e-6), deg2nrm(box.south + 1e-6), deg2nrm(box.east - 1e-6),
                     deg2nrm(box.north - 1e-6)};
        TGdbQuery query(*db);
        query.open(rect, scale, nullptr);
        while (GdbObject* o = query.next()) {
            auto* k = dynamic_cast<TKV71DbObject*>(o);
            if (!k || k->GetCell()->lon != lon || k->GetCell()->lat != lat) continue;
            std::vector<std::uint64_t> buffer((o->GetMetrics(nullptr, 0) + 7) / 8 + 1);
            o->GetMetrics(buffer.data(), buffer.size() * 8);
            GdbMetrics m;
            std::memcpy(&m, buffer.data(), sizeof m);
            ObjectPoints& p = out[static_cast<int>(k->GetRecord() - k->GetCell()->objects)];
            for (std::uint32_t i = 0; i < m.pointCount; ++i) {
                if (m.kind == GdbMetricsSoundings) {
                    const GdbSoundingPoint& s = static_cast<const GdbSoundingPoint*>(m.points)[i];
                    p.points.push_back(GeoPoint{s.lon, s.lat});
                    p.depths.push_back(s.depth);
                } else {
                    p.points.push_back(static_cast<const GeoPoint*>(m.points)[i]);
                }
            }
        }
        query.close();
        return out;
    }

    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TKV71Db> db;

  private:
    struct Cell {
        int lon, lat, level;
    };
    std::string root_;
    std::vector<Cell> cells_;
};

// Object builders.
inline kv71write::CellObject pointObject(std::uint8_t code, std::uint16_t point,
                                         std::vector<kv71write::CellAttribute> attributes = {}) {
    kv71write::CellObject o;
    o.classCode = code;
    o.geometry = kv71write::PointGeometry;
    o.index = point;
    o.attributes = std::move(attributes);
    return o;
}
inline kv71write::CellObject lineObject(std::uint8_t code, std::uint16_t edge,
                                        std::vector<kv71write::CellAttribute> attributes = {}) {
    kv71write::CellObject o;
    o.classCode = code;
    o.geometry = kv71write::LineGeometry;
    o.edgeRefs = {kv71write::lineRef(edge)};
    o.attributes = std::move(attributes);
    return o;
}
inline kv71write::CellObject areaObject(std::uint8_t code, std::uint16_t edge) {
    kv71write::CellObject o;
    o.classCode = code;
    o.geometry = kv71write::AreaGeometry;
    o.edgeRefs = {kv71write::areaRef(edge, 2)};
    return o;
}
inline kv71write::CellObject soundingObject(std::uint16_t set) {
    kv71write::CellObject o;
    o.classCode = 147;
    o.geometry = kv71write::SoundingGeometry;
    o.index = set;
    return o;
}

} // namespace exchangetest
