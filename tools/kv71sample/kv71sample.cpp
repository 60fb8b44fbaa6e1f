// kv71sample DESCRIPTION ROOT: writes the sample chart tree described by
// make_sample.py into ROOT (which must not exist or be empty): one cell file
// per "C" block of the description and the block index files of levels A..G.
//
// Description, one record per line, fields separated by tabs:
//   C level lonIndex latIndex      starts a cell
//   E lon lat lon lat ...          an edge, degrees (index: order in the cell)
//   S lon lat dm lon lat dm ...    a sounding set, depths in decimetres
//   P lon lat                      an isolated point
//   O class geometry children parent attribute...
// geometry: "-" none, "pN" point N, "sN" sounding set N, "lE,E..." line of
// edges, "aE:F,E:F..." area of edges with reference flags F (1 masked, the
// stretch along the cell's border). children: "-" or object indices joined by
// ",", parent: "-" or an object index. attribute: code=format:value, the value
// as the format wants it (numbers; texts; "f,x,y:text" for aCMPLX; "v,v,..."
// for aLIST).
//
// Points are placed in the cell's 16-bit local units of its spherical
// Mercator box (x east, y north). Every area ring is checked to run the way
// the engine finds a centre of gravity in: clockwise with north up, as the
// chart pass's window y grows north too; rings that collapse to nothing in
// local units are left out.
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace kv71write;

namespace {

[[noreturn]] void fail(const std::string& text) {
    std::fprintf(stderr, "kv71sample: %s\n", text.c_str());
    std::exit(1);
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = s.find(sep, start);
        out.push_back(s.substr(start, end - start));
        if (end == std::string::npos) return out;
        start = end + 1;
    }
}

// A finite number: from_chars also takes "nan" and "inf", which would slip
// through the range checks (a NaN position lands on the cell's corner).
double number(const std::string& text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        fail("not a number: " + text);
    return v;
}

long integer(const std::string& text) {
    long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) fail("not an integer: " + text);
    return v;
}

std::vector<double> numbers(const std::string& text) {
    std::vector<double> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        out.push_back(number(word));
    return out;
}

template <typename T> T ranged(long v, long lo, long hi, const char* what) {
    if (v < lo || v > hi) fail(std::string(what) + " out of range: " + std::to_string(v));
    return static_cast<T>(v);
}

CellAttribute attribute(const std::string& text) {
    const std::size_t eq = text.find('='), colon = text.find(':');
    if (eq == std::string::npos || colon == std::string::npos || colon < eq)
        fail("bad attribute: " + text);
    const auto code = ranged<std::uint8_t>(integer(text.substr(0, eq)), 0, 255, "attribute code");
    const std::string format = text.substr(eq + 1, colon - eq - 1), value = text.substr(colon + 1);
    if (format == "aBYTE")
        return byteAttribute(code, ranged<std::uint8_t>(integer(value), 0, 255, "byte"));
    if (format == "aWORD10")
        return wordAttribute(code, ranged<std::uint16_t>(integer(value), 0, 65535, "word"));
    if (format == "aLONG") return longAttribute(code, static_cast<std::uint32_t>(integer(value)));
    if (format == "aFLOAT") return floatAttribute(code, static_cast<float>(number(value)));
    if (format == "aSTRING") return stringAttribute(code, value);
    if (format == "aCMPLX") {
        const std::size_t sep = value.find(':');
        const auto head = split(value.substr(0, sep), ',');
        if (sep == std::string::npos || head.size() != 3) fail("bad aCMPLX value: " + value);
        std::array<std::uint8_t, 3> bytes{};
        for (int i = 0; i < 3; ++i)
            bytes[i] = ranged<std::uint8_t>(integer(head[i]), 0, 255, "aCMPLX byte");
        return complexAttribute(code, bytes, value.substr(sep + 1));
    }
    if (format == "aLIST") {
        std::vector<std::uint8_t> items;
        for (const auto& item : split(value, ','))
            items.push_back(ranged<std::uint8_t>(integer(item), 0, 255, "list item"));
        if (items.size() > 255) fail("list too long");
        return listAttribute(code, items);
    }
    fail("unknown attribute format: " + format);
}

// The area the engine's centre of gravity starts from, over the local points
// as stored (y north, as the chart pass's window y): positive for the rings it
// finds a centre in, those running clockwise with north up.
double ringArea(const std::vector<LocalPoint>& ring) {
    double a = 0;
    for (std::size_t i = 1; i < ring.size(); ++i) {
        const double x0 = ring[i - 1].x, y0 = ring[i - 1].y;
        const double x1 = ring[i].x, y1 = ring[i].y;
        a += (x0 + x1) / 2 * (y0 - y1);
    }
    return a;
}

double ringPerimeter(const std::vector<LocalPoint>& ring) {
    double p = 0;
    for (std::size_t i = 1; i < ring.size(); ++i)
        p += std::hypot(double(ring[i].x) - ring[i - 1].x, double(ring[i].y) - ring[i - 1].y);
    return p;
}

struct Builder {
    int level = -1, lon = 0, lat = 0;
    CellFile cell;
    std::vector<long> written; // description index -> written index, -1 when left out
    // Reference flags of the areas' edge references, by written object index.
    std::map<std::size_t, std::vector<std::uint8_t>> areaFlags;
    int droppedRings = 0;

    LocalPoint local(double lonDeg, double latDeg) const {
        const auto& h = cell.header;
        const double x = (mercatorX(lonDeg) - h.xMin) * 65535.0 / (h.xMax - h.xMin);
        const double y = (mercatorY(latDeg) - h.yMin) * 65535.0 / (h.yMax - h.yMin);
        if (x < -1 || x > 65536 || y < -1 || y > 65536) fail("point outside its cell");
        auto clamp = [](double v) {
            return static_cast<std::uint16_t>(std::lround(std::fmin(65535.0, std::fmax(0.0, v))));
        };
        return {clamp(x), clamp(y)};
    }

    void start(int lv, int lo, int la) {
        level = lv, lon = lo, lat = la;
        cell = CellFile{};
        cell.header = cellHeaderFor(lon, lat, level);
    }

    void edge(const std::string& text) {
        const auto v = numbers(text);
        if (v.size() < 4 || v.size() % 2) fail("bad edge");
        // A point that repeats the previous one is dropped, the last one never:
        // every edge keeps both its ends, so at least two points.
        CellEdge e;
        for (std::size_t i = 0; i < v.size(); i += 2) {
            const LocalPoint p = local(v[i], v[i + 1]);
            if (!e.points.empty() && e.points.back().x == p.x && e.points.back().y == p.y &&
                i + 2 < v.size())
                continue;
            e.points.push_back(p);
        }
        if (e.points.size() > 65535) fail("edge too long");
        if (cell.edges.size() >= 65535) fail("more than 65535 edges in one cell");
        cell.edges.push_back(std::move(e));
    }

    void soundings(const std::string& text) {
        const auto v = numbers(text);
        if (v.empty() || v.size() % 3 || v.size() / 3 > 65535) fail("bad sounding set");
        SoundingSet s;
        for (std::size_t i = 0; i < v.size(); i += 3) {
            const LocalPoint p = local(v[i], v[i + 1]);
            s.points.push_back(
                {p.x, p.y, ranged<std::uint16_t>(std::lround(v[i + 2]), 0, 65535, "depth")});
        }
        cell.soundings.push_back(std::move(s));
    }

    void point(const std::string& text) {
        const auto v = numbers(text);
        if (v.size() != 2) fail("bad point");
        cell.points.push_back(local(v[0], v[1]));
    }

    std::uint16_t edgeIndex(long e) const {
        if (e < 0 || e >= static_cast<long>(cell.edges.size())) fail("no such edge");
        return static_cast<std::uint16_t>(e);
    }

    void object(const std::vector<std::string>& f) {
        if (f.size() < 5) fail("bad object record");
        CellObject o;
        o.classCode = ranged<std::uint8_t>(integer(f[1]), 0, 255, "class code");
        const std::string& g = f[2];
        if (g != "-") {
            const std::string rest = g.substr(1);
            switch (g[0]) {
            case 'p':
                o.geometry = PointGeometry;
                o.index =
                    ranged<std::uint16_t>(integer(rest), 0, long(cell.points.size()) - 1, "point");
                break;
            case 's':
                o.geometry = SoundingGeometry;
                o.index = ranged<std::uint16_t>(integer(rest), 0, long(cell.soundings.size()) - 1,
                                                "sounding set");
                break;
            case 'l':
                o.geometry = LineGeometry;
                for (const auto& r : split(rest, ','))
                    o.edgeRefs.push_back(edgeIndex(integer(r))); // encoded in finish
                break;
            case 'a': {
                o.geometry = AreaGeometry;
                std::vector<LocalPoint> ring;
                for (const auto& r : split(rest, ',')) {
                    const auto parts = split(r, ':');
                    if (parts.size() != 2) fail("bad area reference " + r);
                    const std::uint16_t e = edgeIndex(integer(parts[0]));
                    o.edgeRefs.push_back(e); // encoded in finish
                    areaFlags[cell.objects.size()].push_back(
                        static_cast<std::uint8_t>(integer(parts[1]) & 7));
                    const auto& pts = cell.edges[e].points;
                    ring.insert(ring.end(), pts.begin(), pts.end());
                }
                // Rounding to local units moves each point by half a unit at
                // most, which changes the area by at most about half the
                // perimeter: a ring below that has collapsed (or turned over)
                // in the rounding and is left out.
                const double a = ringArea(ring), slack = ringPerimeter(ring) / 2;
                if (std::fabs(a) <= slack) {
                    ++droppedRings;
                    written.push_back(-1);
                    areaFlags.erase(cell.objects.size());
                    return;
                }
                if (a < 0)
                    fail("an area ring of class " + std::to_string(o.classCode) + " (area " +
                         std::to_string(a) + ", " + std::to_string(ring.size()) +
                         " points) runs the wrong way in cell " + cellName(lon, lat, level));
                break;
            }
            default:
                fail("bad geometry " + g);
            }
            if (o.edgeRefs.size() > 65535) fail("too many edge references");
        }
        if (f[3] != "-")
            for (const auto& c : split(f[3], ','))
                o.children.push_back(ranged<std::uint16_t>(integer(c), 0, 65534, "child"));
        if (f[4] != "-") o.parent = ranged<std::uint16_t>(integer(f[4]), 0, 65534, "parent");
        for (std::size_t i = 5; i < f.size(); ++i)
            o.attributes.push_back(attribute(f[i]));
        if (o.attributes.size() > 255) fail("too many attributes");
        written.push_back(static_cast<long>(cell.objects.size()));
        cell.objects.push_back(std::move(o));
    }

    // An area names its edges in 13 bits, a line in 15: the edges of areas
    // come first, the others (contours, tracks) after them. The references
    // are encoded here.
    void orderEdges() {
        std::vector<long> index(cell.edges.size(), -1);
        std::vector<CellEdge> ordered;
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < cell.objects.size(); ++i) {
                const CellObject& o = cell.objects[i];
                const bool area = o.geometry == AreaGeometry;
                if ((pass == 0) != area ||
                    (o.geometry != AreaGeometry && o.geometry != LineGeometry))
                    continue;
                for (auto e : o.edgeRefs)
                    if (index[e] < 0) {
                        index[e] = static_cast<long>(ordered.size());
                        ordered.push_back(cell.edges[e]);
                    }
            }
        for (std::size_t i = 0; i < cell.objects.size(); ++i) {
            CellObject& o = cell.objects[i];
            if (o.geometry == AreaGeometry) {
                const auto& flags = areaFlags.at(i);
                for (std::size_t r = 0; r < o.edgeRefs.size(); ++r) {
                    const long e = index[o.edgeRefs[r]];
                    if (e > 0x1FFF)
                        fail("more than 8192 area edges in cell " + cellName(lon, lat, level));
                    o.edgeRefs[r] = areaRef(static_cast<std::uint16_t>(e), flags[r]);
                }
            } else if (o.geometry == LineGeometry) {
                for (auto& ref : o.edgeRefs) {
                    const long e = index[ref];
                    if (e > 0x7FFF)
                        fail("more than 32768 edges in cell " + cellName(lon, lat, level));
                    ref = lineRef(static_cast<std::uint16_t>(e));
                }
            }
        }
        cell.edges = std::move(ordered); // edges no object uses are left out
    }

    // Children and parents name objects by their index in the description;
    // they are renumbered past the areas left out.
    std::uint16_t renumbered(std::uint16_t index) const {
        if (index >= written.size() || written[index] < 0)
            fail("child or parent left out or missing");
        return static_cast<std::uint16_t>(written[index]);
    }

    void finish(const std::string& root, std::map<int, std::vector<std::pair<int, int>>>& blocks,
                std::map<std::pair<int, int>, int>& counts) {
        if (level < 0) return;
        if (cell.objects.size() > 65535) fail("too many objects in one cell");
        for (auto& o : cell.objects) {
            for (auto& c : o.children)
                c = renumbered(c);
            if (o.parent) o.parent = renumbered(*o.parent);
        }
        orderEdges();
        if (!writeCellFile(root, lon, lat, level, cell))
            fail("cannot write cell " + cellName(lon, lat, level));
        for (const auto& o : cell.objects)
            ++counts[{level, o.classCode}];
        if (level > 0) blocks[level].push_back({lon, lat});
        std::printf("%s: %zu objects, %zu edges, %zu sounding sets, %d collapsed rings left out\n",
                    cellName(lon, lat, level).c_str(), cell.objects.size(), cell.edges.size(),
                    cell.soundings.size(), droppedRings);
        droppedRings = 0;
        written.clear();
        areaFlags.clear();
        level = -1;
    }
};

// The block index entry of a cell: its box, rounded inwards to whole metres
// (at least half a metre in), so that the cover lies inside the cell.
InfCell coverOf(int lon, int lat, int level) {
    const DegreeBox d = cellDegrees(lon, lat, level);
    InfRect r;
    r.xMin = static_cast<std::int32_t>(std::ceil(mercatorX(d.west) + 0.5));
    r.yMin = static_cast<std::int32_t>(std::ceil(mercatorY(d.south) + 0.5));
    r.xMax = static_cast<std::int32_t>(std::floor(mercatorX(d.east) - 0.5));
    r.yMax = static_cast<std::int32_t>(std::floor(mercatorY(d.north) - 0.5));
    InfCell cell;
    cell.parts.push_back(InfPart{0, {r}, {}});
    return cell;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("usage: kv71sample DESCRIPTION ROOT");
    const std::string root = argv[2];
    namespace fs = std::filesystem;
    if (fs::exists(root) && !fs::is_empty(root)) fail(root + " is not empty");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) fail(std::string("cannot open ") + argv[1]);

    Builder b;
    std::map<int, std::vector<std::pair<int, int>>> blocks; // level -> cells
    std::map<std::pair<int, int>, int> counts;              // (level, class) -> objects
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto f = split(line, '\t');
        if (f[0] == "C" && f.size() == 4) {
            b.finish(root, blocks, counts);
            b.start(ranged<int>(integer(f[1]), 0, 7, "level"),
                    ranged<int>(integer(f[2]), 0, 1079, "lon"),
                    ranged<int>(integer(f[3]), 30, 509, "lat"));
        } else if (b.level < 0) {
            fail("record before the first cell");
        } else if (f[0] == "E" && f.size() == 2) {
            b.edge(f[1]);
        } else if (f[0] == "S" && f.size() == 2) {
            b.soundings(f[1]);
        } else if (f[0] == "P" && f.size() == 2) {
            b.point(f[1]);
        } else if (f[0] == "O") {
            b.object(f);
        } else {
            fail("unknown record: " + line.substr(0, 40));
        }
    }
    b.finish(root, blocks, counts);

    // One block index per block, listing the cells of levels A..G.
    std::map<std::pair<int, int>, BlockIndex> indexes;
    for (const auto& [level, cells] : blocks)
        for (const auto& [lon, lat] : cells) {
            BlockIndex& index = indexes[{lon / 60, (lat - 30) / 60}];
            if (index.groups.empty() || index.groups.back().level != level - 1)
                index.groups.push_back(InfGroup{static_cast<std::uint8_t>(level - 1), {}, {}});
            index.groups.back().cells.push_back(coverOf(lon, lat, level));
        }
    for (const auto& [block, index] : indexes)
        if (!writeBlockIndex(root, block.first * 60, block.second * 60 + 30, index))
            fail("cannot write a block index");

    std::printf("objects by level and class:\n");
    for (const auto& [key, n] : counts)
        std::printf("%c %3d %6d\n", levelLetter(key.first), key.second, n);
    return 0;
}
