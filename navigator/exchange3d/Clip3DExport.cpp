#include "Clip3DExport.h"

#include "ViewerExchange.h"

#include "gdb/GdbMetrics.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbQuery.h"
#include "kv71/dictionaryTables.h"
#include "os/textFiles.h"
#include "proj/KV71Map.h"
#include "proj/Map.h"
#include "proj/MapObject.h"
#include "runtime/intmath.h"
#include "ui/Cursor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kCoastline = 35;
constexpr int kChartSymbolLine = 193;
constexpr int kDryingArea = 78;
constexpr unsigned kSoundingValue = 116;
constexpr unsigned kLineDepth = 113;
constexpr unsigned kChartSymbolCode = 129;

constexpr const char kFileName[] = "Clip3D.vtk";
constexpr std::string_view kHeadLines = "# vtk DataFile Version 2.0\n"
                                        "Solvanor Output\n"
                                        "ASCII\n"
                                        "DATASET POLYDATA\n";
// Room kept in front of the points for the header: the head lines and
// "POINTS <at most 20 digits> double\n".
constexpr std::size_t kHeaderRoom = 128;

Clip3DReference& reference() {
    static Clip3DReference r;
    return r;
}

// The busy cursor for the time of an export.
class BusyCursor {
  public:
    BusyCursor() : before_(ui::SetCursor(ui::LoadCursor(nullptr, ui::IDC_APPSTARTING))) {}
    ~BusyCursor() { ui::SetCursor(before_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    ui::HCURSOR before_;
};

// A numeric attribute of the object: a byte, a 16-bit number (as its raw
// value), a 32-bit integer or a float. False when absent, of another format or
// not finite.
bool readNumber(GdbObject* object, unsigned code, double& value) {
    TGdbAttr* attr = object->GetAttr(code);
    if (!attr) return false;
    const int size = attr->GetValue(nullptr, 1);
    if (size == 1) {
        std::uint8_t b = 0;
        attr->GetValue(&b, 1);
        value = b;
        return true;
    }
    if (size != 4) return false;
    const KV71AttributeClass* described = GetAttDescr(code);
    if (described && described->format == aLONG) {
        std::int32_t i = 0;
        attr->GetValue(&i, 1);
        value = i;
        return true;
    }
    float f = 0;
    attr->GetValue(&f, 1);
    value = f;
    return std::isfinite(value);
}

bool hasAttribute(GdbObject* object, unsigned code) {
    return object->GetAttr(code) != nullptr;
}

// Collects the point lines behind the room for the header.
class PointWriter {
  public:
    PointWriter(const Clip3DReference& reference, const GeoRect& view, const Clip3DScreenMask* mask,
                Map* map)
        : reference_(reference), view_(view), mask_(mask && mask->any() && map ? mask : nullptr),
          map_(map) {
        text_.assign(kHeaderRoom, ' ');
    }

    // Writes the point when it lies in the view and its cell is not masked;
    // answers whether it was written.
    bool put(const GeoPoint& p, double z) {
        if (!(p & view_)) return false;
        if (mask_ && masked(p)) return false;
        line(ToExchangeCoordinates(p, reference_), z);
        return true;
    }
    // Writes the point again, without asking the view or the mask.
    void repeat(const GeoPoint& p, double z) { line(ToExchangeCoordinates(p, reference_), z); }

    long count() const { return count_; }

    // The whole file: the header put right before the points.
    std::string_view file() {
        char header[kHeaderRoom];
        std::memcpy(header, kHeadLines.data(), kHeadLines.size());
        char* p = header + kHeadLines.size();
        std::memcpy(p, "POINTS ", 7);
        p += 7;
        char digits[24];
        const char* d = std::to_chars(digits, digits + sizeof digits, count_).ptr;
        // The count right-aligned in six places, wider when it needs to be.
        for (long pad = 6 - (d - digits); pad > 0; --pad)
            *p++ = ' ';
        std::memcpy(p, digits, static_cast<std::size_t>(d - digits));
        p += d - digits;
        std::memcpy(p, " double\n", 8);
        p += 8;
        const std::size_t n = static_cast<std::size_t>(p - header);
        std::memcpy(text_.data() + kHeaderRoom - n, header, n);
        return std::string_view(text_).substr(kHeaderRoom - n);
    }

  private:
    bool masked(const GeoPoint& p) {
        Point plane{};
        map_->Geo2Map(&p, &plane, 1);
        if (map_->win) map_->win->Map2Win(&plane, &plane, 1);
        return mask_->marked(Clip3DScreenMask::cellOf(plane.x, plane.y));
    }

    void line(ExchangePoint e, double z) {
        // Room for two 64-bit numbers and any double in fixed notation.
        char buf[400];
        char* p = std::to_chars(buf, buf + 24, e.x).ptr;
        *p++ = ' ';
        p = std::to_chars(p, p + 24, e.y).ptr;
        *p++ = ' ';
        p = std::to_chars(p, p + 340, z, std::chars_format::fixed, 1).ptr;
        *p++ = '\n';
        text_.append(buf, static_cast<std::size_t>(p - buf));
        ++count_;
    }

    const Clip3DReference& reference_;
    GeoRect view_;
    const Clip3DScreenMask* mask_;
    Map* map_;
    std::string text_;
    long count_ = 0;
};

// The points of one object, by its kind.
void exportObject(GdbObject* object, const GdbMetrics& m, int detailWord, PointWriter& out) {
    if (!m.points || m.pointCount == 0) return;
    const int code = object->GetLabel();
    double v = 0;
    switch (m.kind) {
    case GdbMetricsPoint: {
        double d = readNumber(object, kSoundingValue, v) ? v : 0;
        if (d < 1) d = 1;
        const double z = -0.1 * d;
        const auto* p = static_cast<const GeoPoint*>(m.points);
        for (std::uint32_t i = 0; i < m.pointCount; ++i)
            out.put(p[i], z);
        break;
    }
    case GdbMetricsLine: {
        const auto* p = static_cast<const GeoPoint*>(m.points);
        if (code == kCoastline) {
            bool lastWritten = false;
            for (std::uint32_t i = 0; i < m.pointCount; ++i)
                lastWritten = out.put(p[i], 0.0);
            const GeoPoint& first = p[0];
            const GeoPoint& last = p[m.pointCount - 1];
            if (lastWritten && (first.lon != last.lon || first.lat != last.lat))
                out.repeat(last, 0.0);
            break;
        }
        if (code == kChartSymbolLine && (detailWord < 5 || !hasAttribute(object, kChartSymbolCode)))
            break;
        const double z = -(readNumber(object, kLineDepth, v) ? v : 0.1);
        for (std::uint32_t i = 0; i < m.pointCount; ++i)
            out.put(p[i], z);
        break;
    }
    case GdbMetricsArea: {
        const double z = code == kDryingArea ? -0.5 : -0.1;
        const auto* p = static_cast<const GeoPoint*>(m.points);
        for (std::uint32_t i = 0; i < m.pointCount; ++i)
            out.put(p[i], z);
        break;
    }
    case GdbMetricsSoundings: {
        const auto* s = static_cast<const GdbSoundingPoint*>(m.points);
        for (std::uint32_t i = 0; i < m.pointCount; ++i) {
            double d = s[i].depth;
            if (d > 12000) d = (d - 12000) * 10;
            if (d < 1) d = 1;
            out.put(GeoPoint{s[i].lon, s[i].lat}, -0.1 * d);
        }
        break;
    }
    default:
        break;
    }
}

// The view grown by a sixty-fourth of its size and 64 units on each side.
GeoRect grown(const GeoRect& view) {
    const std::uint32_t dx = geoRectWidth(view) / 64 + 64;
    const std::int64_t dy = (static_cast<std::int64_t>(view.lat2) - view.lat1) / 64 + 64;
    auto clampLat = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -0x40000000, 0x40000000));
    };
    return GeoRect{static_cast<std::int32_t>(static_cast<std::uint32_t>(view.lon1) - dx),
                   clampLat(view.lat1 - dy),
                   static_cast<std::int32_t>(static_cast<std::uint32_t>(view.lon2) + dx),
                   clampLat(view.lat2 + dy)};
}

} // namespace

Clip3DScreenMask::Cell Clip3DScreenMask::cellOf(long x, long y) {
    auto floorDiv = [](long a) {
        return a >= 0 ? a / CellPixels : -((-a + CellPixels - 1) / CellPixels);
    };
    auto clamp = [](long v, int hi) { return static_cast<int>(v < 0 ? 0 : v > hi ? hi : v); };
    return Cell{clamp(Columns / 2 + floorDiv(x), Columns - 1),
                clamp(Rows / 2 - 1 - floorDiv(y), Rows - 1)};
}

bool Clip3DScreenMask::marked(Cell c) const {
    if (c.column < 0 || c.column >= Columns || c.row < 0 || c.row >= Rows) return false;
    return cells_[static_cast<std::size_t>(c.row * Columns + c.column)] != 0;
}

void Clip3DScreenMask::mark(Cell c, bool on) {
    if (c.column < 0 || c.column >= Columns || c.row < 0 || c.row >= Rows) return;
    std::uint8_t& cell = cells_[static_cast<std::size_t>(c.row * Columns + c.column)];
    if ((cell != 0) == on) return;
    cell = on ? 1 : 0;
    count_ += on ? 1 : -1;
}

void Clip3DScreenMask::clear() {
    cells_.fill(0);
    count_ = 0;
}

Clip3DScreenMask& ScreenMask() {
    static Clip3DScreenMask mask;
    return mask;
}

const Clip3DReference& Clip3DReferencePoint() {
    return reference();
}

void ResetClip3DReference() {
    reference() = Clip3DReference{};
}

ExchangePoint ToExchangeCoordinates(const GeoPoint& p, const Clip3DReference& r) {
    const auto dlon = static_cast<std::int32_t>(static_cast<std::uint32_t>(p.lon) -
                                                static_cast<std::uint32_t>(r.origin.lon));
    const auto dlat = static_cast<std::int64_t>(p.lat) - r.origin.lat;
    return ExchangePoint{static_cast<long>(dlon * r.cosLat), static_cast<long>(dlat)};
}

long ExportClip3D(const GeoRect& view, int levelIndex, const ViewerExchangeInput& in) {
    if (levelIndex != in.levelIndex || levelIndex < 0 || levelIndex > 7) return -1;
    BusyCursor busy;

    Clip3DReference next;
    next.origin = GeoPoint{view.lon1, view.lat1};
    next.cosLat = std::cos(static_cast<double>(nrm2rad(view.lat1)));
    next.set = true;

    PointWriter out(next, view, in.screenMask ? in.screenMask : &ScreenMask(), in.map);
    if (in.database) {
        const long double scale = in.levelScale < 1 ? 1.0L : in.levelScale;
        TGdbQuery query(*in.database);
        GeoRect rect = view;
        if (query.open(rect, static_cast<unsigned long>(round(scale, 0)), nullptr)) {
            std::vector<std::uint64_t> buffer; // aligned for the pointers of the record
            // The query answers every object of the cells it gathered. The
            // chart's own clipping (in cell metres) passes over the objects
            // that lie wholly outside a slightly larger window before their
            // points are turned into binary angles one by one.
            KV71Map* cull =
                geoRectWidth(view) < 0x80000000u ? dynamic_cast<KV71Map*>(in.map) : nullptr;
            GeoRect window = grown(view);
            MapObject reuse(egtEmpty, -1);
            while (GdbObject* o = query.next()) {
                if (cull && !o->newMapObject(cull, window, &reuse)) continue;
                const unsigned long size = o->GetMetrics(nullptr, 0);
                if (size < sizeof(GdbMetrics)) continue;
                buffer.resize((size + 7) / 8);
                if (o->GetMetrics(buffer.data(), size) != size) continue;
                GdbMetrics m;
                std::memcpy(&m, buffer.data(), sizeof m);
                exportObject(o, m, in.detailWord, out);
            }
        }
        query.close();
    }

    if (!os::replaceFileContents(kFileName, out.file())) return -1;
    reference() = next;
    AnnounceClip3DExport(in);
    return out.count();
}
