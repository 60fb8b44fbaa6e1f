#include "procedureKit.h"

#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "geo/GeoPoint.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/GraphicsPrimitives.h"
#include "procedures/LineElementTemplates.h"
#include "proj/newMap.h"
#include "runtime/TLocker.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kit {

namespace {

// ---------------------------------------------------------------- Qt

// The binary's one Qt application, for every test (with widgets, for the
// dialog controls).
class QtGui : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance()) app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[8] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
const auto* const kQtGui = ::testing::AddGlobalTestEnvironment(new QtGui);

} // namespace

bool haveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// ---------------------------------------------------------------- attributes

namespace {

template <typename T> std::vector<std::uint8_t> bytesOf(const T& v) {
    std::vector<std::uint8_t> b(sizeof v);
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

} // namespace

Attr byteAttr(unsigned code, std::uint8_t value) {
    return {code, aBYTE, {value}};
}
Attr wordAttr(unsigned code, std::uint16_t stored) {
    return {code, aWORD10, bytesOf(stored)};
}
Attr longAttr(unsigned code, std::int32_t value) {
    return {code, aLONG, bytesOf(value)};
}
Attr floatAttr(unsigned code, float value) {
    return {code, aFLOAT, bytesOf(value)};
}
Attr textAttr(unsigned code, std::string_view text) {
    std::vector<std::uint8_t> b(text.begin(), text.end());
    b.push_back(0);
    return {code, aSTRING, std::move(b)};
}
Attr packedAttr(unsigned code, std::uint8_t flags, std::int8_t x, std::int8_t y,
                std::string_view text) {
    std::vector<std::uint8_t> b{flags, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
    b.insert(b.end(), text.begin(), text.end());
    b.push_back(0);
    return {code, aCMPLX, std::move(b)};
}
Attr listAttr(unsigned code, const std::vector<std::uint8_t>& items) {
    std::vector<std::uint8_t> b{static_cast<std::uint8_t>(items.size())};
    b.insert(b.end(), items.begin(), items.end());
    return {code, aLIST, std::move(b)};
}
Attr rawAttr(unsigned code, KV71AttributeFormat format, std::vector<std::uint8_t> bytes) {
    return {code, format, std::move(bytes)};
}

// ---------------------------------------------------------------- geometry

void Geometry::fill(MapObject& out) const {
    out.clear();
    out.type = type;
    out.bounds = bounds;
    if (type < egtLine) return;
    std::size_t total = 0;
    for (const auto& part : parts)
        total += part.size();
    if (!out.allocate(static_cast<std::int32_t>(parts.size()), static_cast<std::int32_t>(total)))
        return;
    std::size_t at = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        out.pointCounts[i] = static_cast<std::int32_t>(parts[i].size());
        std::copy(parts[i].begin(), parts[i].end(), out.points + at);
        at += parts[i].size();
    }
    if (!extras.empty()) {
        out.extras = static_cast<std::int32_t*>(std::malloc(extras.size() * sizeof(std::int32_t)));
        if (out.extras) std::copy(extras.begin(), extras.end(), out.extras);
    }
    out.extraCount = extraCount;
    out.bounds = bounds;
}

namespace {

Rect boundsOf(const std::vector<std::vector<Point>>& parts) {
    Rect r{0, 0, 0, 0};
    bool first = true;
    for (const auto& part : parts)
        for (const Point& p : part) {
            if (first) {
                r = Rect{p.x, p.y, p.x, p.y};
                first = false;
            }
            r.left = std::min(r.left, p.x);
            r.top = std::min(r.top, p.y);
            r.right = std::max(r.right, p.x);
            r.bottom = std::max(r.bottom, p.y);
        }
    return r;
}

// Twice the signed area of a ring: negative when it runs clockwise with y up.
long long twiceArea(const std::vector<Point>& ring) {
    long long a = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point& p = ring[i];
        const Point& q = ring[(i + 1) % ring.size()];
        a += static_cast<long long>(p.x) * q.y - static_cast<long long>(q.x) * p.y;
    }
    return a;
}

bool samePoint(const Point& a, const Point& b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

Geometry noGeometry() {
    return Geometry{};
}

Geometry point(int x, int y) {
    Geometry g;
    g.type = egtPoint;
    g.bounds = Rect{x, y, 0, 0};
    return g;
}

Geometry line(const std::vector<Point>& points) {
    return line(std::vector<std::vector<Point>>{points});
}

Geometry line(const std::vector<std::vector<Point>>& parts) {
    Geometry g;
    g.type = egtLine;
    g.parts = parts;
    g.bounds = boundsOf(parts);
    return g;
}

Geometry area(const std::vector<Point>& ring) {
    return area(std::vector<std::vector<Point>>{ring});
}

Geometry area(const std::vector<std::vector<Point>>& rings) {
    Geometry g;
    g.type = egtArea;
    for (std::vector<Point> ring : rings) {
        if (ring.size() > 1 && samePoint(ring.front(), ring.back())) ring.pop_back();
        if (twiceArea(ring) > 0) std::reverse(ring.begin(), ring.end());
        const auto n = static_cast<std::int32_t>(ring.size());
        if (!ring.empty()) ring.push_back(ring.front());
        g.parts.push_back(ring);
        g.extras.push_back(n);
        g.extras.push_back(-1);
    }
    g.extraCount = static_cast<std::int32_t>(g.extras.size());
    g.bounds = boundsOf(g.parts);
    return g;
}

Geometry areaWithSegments(const std::vector<Point>& ring,
                          const std::vector<std::int32_t>& segments) {
    Geometry g;
    g.type = egtArea;
    g.parts.push_back(ring);
    g.extras = segments;
    g.extraCount = static_cast<std::int32_t>(segments.size());
    g.bounds = boundsOf(g.parts);
    return g;
}

Geometry soundings(const std::vector<Point>& points, const std::vector<std::int32_t>& depths) {
    Geometry g;
    g.type = egtSoundings;
    g.parts.push_back(points);
    g.extras = depths;
    g.extraCount = 0;
    g.bounds = boundsOf(g.parts);
    return g;
}

// ---------------------------------------------------------------- the chart

FakeChart::FakeChart() {
    // The look-up tables are read once; their folder goes right after.
    const TempFolder folder;
    folder.write("OBJLUT.DIC", "; no class needs a record\n");
    folder.write("ATTRLUT.DIC", "; no attribute needs an entry\n");
    presentation = std::make_unique<TPresLib>(&dictionary, "INT1Pres", folder.path().c_str());
    dictionary.SetPresentation(presentation.get());
}

FakeChart::~FakeChart() {
    dictionary.SetPresentation(nullptr);
}

FakeChart& chart() {
    static FakeChart c;
    return c;
}

// ---------------------------------------------------------------- objects

FakeAttr::FakeAttr(FakeObject* owner) : TGdbAttr(owner ? owner->GetDatabase() : nullptr) {}

int FakeAttr::GetLabel() {
    return attr_ ? static_cast<int>(attr_->code) : 0;
}

int FakeAttr::GetValue(void* out, int typed) {
    if (!attr_) return 0;
    std::uint8_t* v = attr_->bytes.get();
    const std::size_t size = attr_->size;
    if (typed == 0) {
        if (out) std::memcpy(out, &v, sizeof v);
        return static_cast<int>(sizeof v);
    }
    std::size_t n = 0;
    switch (attr_->format) {
    case aBYTE:
        n = std::min<std::size_t>(size, 1);
        break;
    case aWORD10: {
        if (size < 2) return 0;
        std::uint16_t w;
        std::memcpy(&w, v, 2);
        const float f = w;
        if (out) std::memcpy(out, &f, 4);
        return 4;
    }
    case aLONG:
    case aFLOAT:
        n = std::min<std::size_t>(size, 4);
        break;
    case aSTRING: {
        const void* zero = size ? std::memchr(v, 0, size) : nullptr;
        n = zero ? static_cast<const std::uint8_t*>(zero) - v + 1 : size;
        break;
    }
    case aCMPLX: {
        const void* zero = size > 3 ? std::memchr(v + 3, 0, size - 3) : nullptr;
        n = zero ? static_cast<const std::uint8_t*>(zero) - v + 1 : size;
        break;
    }
    case aLIST:
        n = size ? std::min<std::size_t>(size, v[0] + 1u) : 0;
        break;
    default:
        return 0;
    }
    if (out && n) std::memcpy(out, v, n);
    return static_cast<int>(n);
}

FakeObject::FakeObject(int code, TGeoDb* database)
    : GdbObject(database), code_(code), cursor_(this) {}

FakeObject::~FakeObject() = default;

FakeObject& FakeObject::set(Attr attribute) {
    StoredAttr s{attribute.code, attribute.format, attribute.value.size(),
                 std::make_unique<std::uint8_t[]>(attribute.value.size())};
    std::copy(attribute.value.begin(), attribute.value.end(), s.bytes.get());
    attrs_.push_back(std::move(s));
    cursor_.attr_ = nullptr;
    attrIndex_ = -1;
    return *this;
}

FakeObject& FakeObject::setGeometry(Geometry geometry) {
    geometry_ = std::move(geometry);
    hasMapObject_ = true;
    return *this;
}

FakeObject& FakeObject::noMapObject() {
    hasMapObject_ = false;
    return *this;
}

FakeObject& FakeObject::addChild(std::unique_ptr<FakeObject> child) {
    child->parent_ = this;
    child->hasParent_ = true;
    children_.push_back(std::move(child));
    return *this;
}

FakeObject& FakeObject::setParentFlag(bool hasParent) {
    hasParent_ = hasParent;
    return *this;
}

FakeObject& FakeObject::refuseClone() {
    cloneable_ = false;
    return *this;
}

const StoredAttr* FakeObject::find(unsigned code) const {
    for (const StoredAttr& a : attrs_)
        if (a.code == code) return &a;
    return nullptr;
}

std::vector<std::uint8_t> FakeObject::storedValue(unsigned code) const {
    const StoredAttr* a = find(code);
    return a ? std::vector<std::uint8_t>(a->bytes.get(), a->bytes.get() + a->size)
             : std::vector<std::uint8_t>();
}

std::string FakeObject::storedText(unsigned code) const {
    const StoredAttr* a = find(code);
    if (!a) return {};
    const std::size_t skip = a->format == aCMPLX ? std::min<std::size_t>(a->size, 3) : 0;
    const char* text = reinterpret_cast<const char*>(a->bytes.get()) + skip;
    const std::size_t room = a->size - skip;
    const void* zero = room ? std::memchr(text, 0, room) : nullptr;
    return std::string(text, zero ? static_cast<const char*>(zero) - text : room);
}

GdbObject* FakeObject::clone() {
    if (!cloneable_) return nullptr;
    auto copy = std::make_unique<FakeObject>(code_, database_);
    for (const StoredAttr& a : attrs_)
        copy->set(Attr{a.code, a.format,
                       std::vector<std::uint8_t>(a.bytes.get(), a.bytes.get() + a.size)});
    for (const auto& c : children_) {
        std::unique_ptr<FakeObject> child(static_cast<FakeObject*>(c->clone()));
        if (!child) return nullptr;
        copy->addChild(std::move(child));
    }
    copy->parent_ = parent_;
    copy->hasParent_ = hasParent_;
    copy->hasMapObject_ = hasMapObject_;
    copy->geometry_ = geometry_;
    copy->calls_ = calls_;
    return copy.release();
}

TGdbAttr* FakeObject::GetAttr(unsigned code) {
    for (std::size_t i = 0; i < attrs_.size(); ++i)
        if (attrs_[i].code == code) {
            attrIndex_ = static_cast<int>(i);
            cursor_.attr_ = &attrs_[i];
            return &cursor_;
        }
    return nullptr;
}

TGdbAttr* FakeObject::FirstAttr() {
    attrIndex_ = -1;
    return NextAttr();
}

TGdbAttr* FakeObject::NextAttr() {
    if (static_cast<std::size_t>(attrIndex_ + 1) >= attrs_.size()) {
        attrIndex_ = static_cast<int>(attrs_.size());
        cursor_.attr_ = nullptr;
        return nullptr;
    }
    cursor_.attr_ = &attrs_[static_cast<std::size_t>(++attrIndex_)];
    return &cursor_;
}

GdbObject* FakeObject::FirstChild() {
    childIndex_ = -1;
    return NextChild();
}

GdbObject* FakeObject::NextChild() {
    if (static_cast<std::size_t>(childIndex_ + 1) >= children_.size()) {
        childIndex_ = -1;
        return nullptr;
    }
    return children_[static_cast<std::size_t>(++childIndex_)].get();
}

GdbObject* FakeObject::ChildNumber(unsigned n) {
    if (n >= children_.size()) return nullptr;
    childIndex_ = static_cast<int>(n);
    return children_[n].get();
}

MapObject* FakeObject::newMapObject(Map* map, GeoRect& window, MapObject* reuse) {
    ++*calls_;
    lastMap_ = map;
    lastWindow_ = window;
    if (reuse) reuse->clear();
    if (!hasMapObject_) return nullptr;
    MapObject* out = reuse ? reuse : new MapObject(egtEmpty, -1);
    geometry_.fill(*out);
    return out;
}

// ---------------------------------------------------------------- views

View::View(const Settings& settings) : settings_(settings), map_(nullptr), rect_{0, 0, 0, 0} {
    const GeoPoint centre{deg2nrm(settings.lonDeg), deg2nrm(settings.latDeg)};
    // Half the picture in chart millimetres.
    const int halfW = settings.width * 500 / kPixelsPerChartMetre;
    const int halfH = settings.height * 500 / kPixelsPerChartMetre;
    map_ = newMap(PRJ_MERCATOR, settings.scale, centre, std::max(halfW, 1), std::max(halfH, 1),
                  kPixelsPerChartMetre, kPixelsPerChartMetre, nullptr);
    if (map_) rect_ = map_->window;
}

View::~View() {
    delete map_;
}

TMapContext View::context(gdi::Dc* dc) {
    TMapContext context(dc, map_, rect_, settings_.scaleExponent, EDetails(settings_.details),
                        EPresMode(settings_.presMode));
    context.depthZoneCount = static_cast<std::int32_t>(settings_.depthZones.size());
    context.depthZones = settings_.depthZones.empty() ? nullptr : settings_.depthZones.data();
    return context;
}

// ---------------------------------------------------------------- recordings

int paletteIndex(int chartColour) {
    return static_cast<int>(
        _anSp57ColorsMap[chartColour >= 0 && chartColour < 32 ? chartColour : 0]);
}

int fontRow(int font) {
    const FontChoice c = GD_FontChoice(font);
    return c.vector ? -1 : c.row;
}

namespace {

// "p<n>" gives n; a colour value gives -1.
int colourOf(std::string_view text) {
    if (text.size() < 2 || text[0] != 'p') return -1;
    return std::atoi(std::string(text.substr(1)).c_str());
}

Call parseLine(const std::string& line, const gdi::Mapping& mapping) {
    Call c;
    c.line = line;
    std::istringstream in(line);
    in >> c.kind;
    const auto logical = [&](int x, int y) {
        const gdi::XY l = mapping.toLogical({x, y});
        return Point{l.x, l.y};
    };
    std::string token;
    bool first = true;
    while (in >> token) {
        const bool firstWord = first;
        first = false;
        int x, y, l, t, r, b;
        if (token.front() == '(' && std::sscanf(token.c_str(), "(%d,%d)", &x, &y) == 2) {
            c.points.push_back(logical(x, y));
        } else if (token.front() == '[' &&
                   std::sscanf(token.c_str(), "[%d,%d,%d,%d]", &l, &t, &r, &b) == 4) {
            // A box of device pixels back in window units: left, bottom, right, top.
            const Point a = logical(l, t), z = logical(r, b);
            c.boxes.push_back(Rect{std::min(a.x, z.x), std::min(a.y, z.y), std::max(a.x, z.x),
                                   std::max(a.y, z.y)});
        } else if (token.rfind("pen=", 0) == 0) {
            const std::string pen = token.substr(4);
            const std::size_t s1 = pen.find('/'), s2 = pen.rfind('/');
            c.penStyle = pen.substr(0, s1);
            if (s1 != std::string::npos && s2 != s1) {
                c.penWidth = std::atoi(pen.substr(s1 + 1, s2 - s1 - 1).c_str());
                c.penColour = colourOf(pen.substr(s2 + 1));
            }
        } else if (token.rfind("brush=", 0) == 0) {
            c.brush = token.substr(6);
            if (c.brush.rfind("solid/", 0) == 0) c.brushColour = colourOf(c.brush.substr(6));
        } else if (token.rfind("text=", 0) == 0) {
            c.textColour = colourOf(token.substr(5));
        } else if (token.rfind("bk=", 0) == 0) {
            c.bkColour = colourOf(token.substr(3));
        } else if (token.rfind("rop=", 0) == 0) {
            c.rop = token.substr(4);
        } else if (token.rfind("row=", 0) == 0) {
            c.row = std::atoi(token.c_str() + 4);
        } else if (token.rfind("align=", 0) == 0) {
            c.align = std::atoi(token.c_str() + 6);
        } else if (token.rfind("angle=", 0) == 0) {
            c.angle = std::strtod(token.c_str() + 6, nullptr);
        } else if (token.rfind("scale=", 0) == 0) {
            c.scale = std::atoi(token.c_str() + 6);
        } else if (token.rfind("codes=", 0) == 0) {
            std::istringstream codes(token.substr(6));
            std::string code;
            while (std::getline(codes, code, ','))
                if (!code.empty()) c.codes.push_back(std::atoi(code.c_str()));
        } else if ((c.kind == "Text" && !firstWord) || (c.kind == "Pixels" && firstWord)) {
            if (c.colour < 0) c.colour = colourOf(token);
        }
    }
    return c;
}

bool samePoints(const std::vector<Point>& a, const std::vector<Point>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), samePoint);
}

} // namespace

Drawing::Drawing(std::string log, const gdi::Mapping& mapping) : log_(std::move(log)) {
    std::istringstream in(log_);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) calls_.push_back(parseLine(line, mapping));
}

std::vector<Call> Drawing::of(std::string_view kind) const {
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.kind == kind) out.push_back(c);
    return out;
}

std::vector<Call> Drawing::texts(int font) const {
    std::vector<Call> out;
    const int row = fontRow(font);
    for (const Call& c : calls_)
        if (c.kind == "Text" && c.row == row) out.push_back(c);
    return out;
}

bool Drawing::hasGlyph(int font, int code, int colour, Point at) const {
    for (const Call& c : texts(font))
        if (c.colour == paletteIndex(colour) && c.codes == std::vector<int>{code} &&
            !c.points.empty() && samePoint(c.points[0], at))
            return true;
    return false;
}

bool Drawing::hasText(int font, std::string_view text, int colour, Point at) const {
    std::vector<int> codes;
    for (char ch : text)
        codes.push_back(static_cast<unsigned char>(ch));
    for (const Call& c : texts(font))
        if (c.colour == paletteIndex(colour) && c.codes == codes && !c.points.empty() &&
            samePoint(c.points[0], at))
            return true;
    return false;
}

std::vector<Call> Drawing::solidLines(int colour, int width) const {
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.kind == "Polyline" && c.penStyle == "solid" && c.penWidth == width &&
            c.penColour == paletteIndex(colour))
            out.push_back(c);
    return out;
}

bool Drawing::hasSolidLine(int colour, int width, const std::vector<Point>& points) const {
    for (const Call& c : solidLines(colour, width))
        if (samePoints(c.points, points)) return true;
    return false;
}

std::vector<Point> Drawing::dashPixels(int colour) const {
    std::vector<Point> out;
    for (const Call& c : calls_)
        if (c.kind == "Pixels" && c.colour == paletteIndex(colour))
            out.insert(out.end(), c.points.begin(), c.points.end());
    return out;
}

int Drawing::patternFills(int colour) const {
    int n = 0;
    for (std::size_t i = 1; i < calls_.size(); ++i) {
        const Call& mask = calls_[i - 1];
        const Call& merge = calls_[i];
        if (merge.kind == "Polygon" && mask.kind == "Polygon" && mask.rop == "mask" &&
            merge.rop == "merge" && merge.bkColour == paletteIndex(colour) &&
            samePoints(mask.points, merge.points))
            ++n;
    }
    return n;
}

int Drawing::solidFills(int colour) const {
    int n = 0;
    for (const Call& c : calls_)
        if (c.kind == "Polygon" && c.brushColour == paletteIndex(colour) && c.rop == "copy") ++n;
    return n;
}

void expectLayerStateRestored(const std::string& after) {
    EXPECT_EQ(gdLineWidth(), 1) << "line width left by " << after;
    EXPECT_EQ(gdAreaPattern(), 0) << "area pattern left by " << after;
    EXPECT_FALSE(gdXorFill()) << "exclusive-or left on by " << after;
}

Drawing record(const std::function<void(TMapContext&)>& draw, const Settings& settings) {
    View view(settings);
    gdi::RecordingDc dc(settings.width, settings.height);
    dc.setMapping(gdi::Mapping::yUp(settings.width / 2, settings.height / 2));
    TMapContext context = view.context(&dc);
    {
        TOS::TLocker::TLock lock(&DrawLock());
        gdSetCurrentDc(&dc);
        draw(context);
    }
    expectLayerStateRestored("the drawing");
    gdSetCurrentDc(nullptr);
    return Drawing(dc.log(), dc.mapping());
}

namespace {

// Installs a procedure for an object's code in its presentation library for
// the scope, and puts the previous entry back.
class Installed {
  public:
    Installed(CondSymbProc procedure, GdbObject& object) {
        TGeoDb* db = object.GetDatabase();
        TGdbDictionary* dictionary = db ? db->GetDictionary() : nullptr;
        library_ = dictionary ? dynamic_cast<TPresLib*>(dictionary->GetPresentation()) : nullptr;
        code_ = object.GetLabel();
        if (!library_ || static_cast<unsigned>(code_) >= library_->procCount) {
            ADD_FAILURE() << "object code " << code_ << " has no procedure entry to install into";
            library_ = nullptr;
            return;
        }
        previous_ = library_->setSymbProcedure(code_, procedure);
    }
    ~Installed() {
        if (library_) library_->setSymbProcedure(code_, previous_);
    }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

  private:
    TPresLib* library_ = nullptr;
    int code_ = 0;
    CondSymbProc previous_ = nullptr;
};

} // namespace

Drawing run(CondSymbProc procedure, GdbObject& object, const Settings& settings) {
    Installed installed(procedure, object);
    return record([&](TMapContext& context) { context.Draw(&object); }, settings);
}

Drawing draw(GdbObject& object, const Settings& settings) {
    return record([&](TMapContext& context) { context.Draw(&object); }, settings);
}

QImage paint(const std::function<void(TMapContext&)>& draw, const Settings& settings,
             QRgb background) {
    QImage picture(settings.width, settings.height, QImage::Format_RGB32);
    picture.fill(background);
    View view(settings);
    {
        gdi::RasterDc dc(&picture);
        dc.selectPalette(chartPalette());
        dc.setMapping(gdi::Mapping::yUp(settings.width / 2, settings.height / 2));
        TMapContext context = view.context(&dc);
        {
            TOS::TLocker::TLock lock(&DrawLock());
            gdSetCurrentDc(&dc);
            draw(context);
        }
        expectLayerStateRestored("the drawing");
        gdSetCurrentDc(nullptr);
        dc.flush();
    }
    return picture;
}

QImage runRaster(CondSymbProc procedure, GdbObject& object, const Settings& settings,
                 QRgb background) {
    Installed installed(procedure, object);
    return paint([&](TMapContext& context) { context.Draw(&object); }, settings, background);
}

QRgb pixelAt(const QImage& picture, Point at) {
    const gdi::XY d =
        gdi::Mapping::yUp(picture.width() / 2, picture.height() / 2).toDevice({at.x, at.y});
    return picture.valid(d.x, d.y) ? picture.pixel(d.x, d.y) : 0;
}

// ---------------------------------------------------------------- palette

namespace {

// Colours of the chart colour numbers for pictures a person looks at.
constexpr QRgb kChartColours[32] = {
    0xFF000000, // 0 black ink
    0xFFFFFFFF, // 1 white
    0xFF808080, // 2 grey
    0xFFDC0000, // 3 red
    0xFF00A000, // 4 green
    0xFF0050C8, // 5 blue
    0xFFF0DC00, // 6 yellow
    0xFF82BEE6, // 7 shallow water
    0xFFAAD2F0, // 8 medium water
    0xFFD2E6FA, // 9 deep water, background
    0xFFB4B4B4, // 10 light grey
    0xFFF08C00, // 11 orange
    0xFFF0DCA0, // 12 land
    0xFF96C88C, // 13 drying
    0xFFC800C8, // 14 magenta
    0xFF966432, // 15 brown
    0xFF404040, // 16 dark grey
    0xFF6E3CB4, 0xFF3CB4B4, 0xFFB43C6E, 0xFF6EB43C, 0xFF3C6EB4, 0xFFB46E3C, // 17-22
    0xFFFFC800,                                                             // 23 light yellow
    0xFFFF00FF, // 24 light flare magenta
    0xFF00C8FF, // 25 light cyan
    0xFF505078, 0xFF785050, 0xFFE628A0, 0xFF507850, 0xFF2846E6, 0xFFA0A0C8, // 26-31
};

} // namespace

std::shared_ptr<gdi::Palette> chartPalette() {
    std::vector<gdi::PaletteEntry> entries(256);
    for (int c = 0; c < 32; ++c) {
        const QRgb rgb = kChartColours[c];
        entries[static_cast<std::size_t>(paletteIndex(c))] = {
            static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
            static_cast<std::uint8_t>(qBlue(rgb)), 0};
    }
    return std::make_shared<gdi::Palette>(entries);
}

QRgb chartRgb(int chartColour) {
    return kChartColours[chartColour >= 0 && chartColour < 32 ? chartColour : 0];
}

// ---------------------------------------------------------------- state

void resetDrawingState() {
    GD_SetLineWidth(1);
    GD_SetAreaPattern(0);
    GD_SetXorFill(false);
    gdSetCurrentDc(nullptr);
    std::fill(std::begin(SymbolElements), std::end(SymbolElements), SymbolElement{});
    InitCondSymbProcs();
    std::fill(std::begin(StructureAnchors), std::end(StructureAnchors), Point{0, 0});
    LightStackCount = 0;
    RestoreLineElementTemplates();
    setRendererTrace(nullptr, nullptr);
}

// ---------------------------------------------------------------- renderer trace

Trace::Trace() {
    setRendererTrace(&Trace::collect, this);
}

Trace::~Trace() {
    setRendererTrace(nullptr, nullptr);
}

void Trace::collect(const RendererCall& call, void* self) {
    static_cast<Trace*>(self)->calls_.push_back(call);
}

std::vector<RendererCall> Trace::of(RendererCallKind kind) const {
    std::vector<RendererCall> out;
    for (const RendererCall& c : calls_)
        if (c.kind == kind) out.push_back(c);
    return out;
}

namespace {

std::string markerText(const TracedMarker& m) {
    std::ostringstream out;
    out << "{kind " << m.kind << " flags " << int(m.flags) << " colour " << int(m.colour)
        << " char " << int(m.character) << " font " << int(m.font) << " count " << m.count
        << " size " << m.size;
    if (m.hasText) out << " text \"" << m.text << '"';
    out << '}';
    return out.str();
}

} // namespace

std::string Trace::log() const {
    static const char* const names[] = {"prSimpleLine",  "prBoundLine",   "prArea",
                                        "prComplexLine", "PLComplexLine", "PLSimpleRoundLine",
                                        "PLComplexArea"};
    std::ostringstream out;
    for (const RendererCall& c : calls_) {
        out << names[static_cast<int>(c.kind)] << " type " << c.geometryType;
        switch (c.kind) {
        case RendererCallKind::SimpleLine:
        case RendererCallKind::BoundLine:
            out << " colour " << c.colour << " width " << c.width << " style " << c.style;
            break;
        case RendererCallKind::Area:
            out << " colour " << c.colour << " pattern " << c.style;
            break;
        default:
            if (c.kind == RendererCallKind::ComplexArea) out << " layout " << c.layout;
            out << " count " << c.count;
            for (const TracedMarker& m : c.elements)
                out << ' ' << markerText(m);
            if (c.hasEndMarker) out << " end " << markerText(c.endMarker);
            break;
        }
        out << '\n';
    }
    return out.str();
}

// ---------------------------------------------------------------- galleries

std::string picturesFolder() {
    QDir().mkpath(PRESENT_TEST_PICTURES);
    return PRESENT_TEST_PICTURES;
}

Gallery::Gallery(std::string name, int cell, int columns)
    : name_(std::move(name)), cell_(cell), columns_(std::max(columns, 1)) {}

void Gallery::add(const std::string& label, CondSymbProc procedure, GdbObject& object,
                  Settings settings) {
    settings.width = settings.height = cell_;
    cells_.emplace_back(label, runRaster(procedure, object, settings));
}

void Gallery::add(const std::string& label, const std::function<void(TMapContext&)>& draw,
                  Settings settings) {
    settings.width = settings.height = cell_;
    cells_.emplace_back(label, paint(draw, settings));
}

std::string Gallery::write() const {
    if (cells_.empty()) return {};
    constexpr int kLabel = 16; // the label strip under each cell
    const int columns = std::min<int>(columns_, static_cast<int>(cells_.size()));
    const int rows = (static_cast<int>(cells_.size()) + columns - 1) / columns;
    QImage sheet(columns * (cell_ + 1) + 1, rows * (cell_ + kLabel + 1) + 1, QImage::Format_RGB32);
    sheet.fill(0xFF909090u);
    {
        QPainter p(&sheet);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        p.setFont(font);
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            const int x = 1 + static_cast<int>(i) % columns * (cell_ + 1);
            const int y = 1 + static_cast<int>(i) / columns * (cell_ + kLabel + 1);
            p.drawImage(x, y, cells_[i].second);
            p.fillRect(x, y + cell_, cell_, kLabel, Qt::white);
            if (haveGuiApplication())
                p.drawText(QRect(x + 2, y + cell_, cell_ - 4, kLabel), Qt::AlignCenter,
                           QString::fromStdString(cells_[i].first));
        }
    }
    const std::string path = picturesFolder() + "/" + name_ + ".png";
    return sheet.save(QString::fromStdString(path), "PNG") ? path : std::string();
}

// ---------------------------------------------------------------- files

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skjoldr-kit-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::write(const std::string& name, std::string_view bytes) const {
    const std::string file = path_ + name;
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

} // namespace kit
