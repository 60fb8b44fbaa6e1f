#include "kv71/TKV71DbObject.h"

#include "gdb/GdbMetrics.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGeoDb.h"
#include "kv71/TKV71DbClonedObject.h"
#include "kv71/dictionaryTables.h"
#include "util/sphere.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

// Numbers are printed with "C" conventions on this thread whatever the
// process locale says (a '.' as the decimal point).
class CNumbers {
  public:
    CNumbers() : previous_(uselocale(cLocale())) {}
    ~CNumbers() { uselocale(previous_); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

  private:
    static locale_t cLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    locale_t previous_;
};

// printf into a string, with "C" numbers.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    const CNumbers cNumbers;
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string text;
    if (n > 0) {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), fmt, again);
        text.resize(static_cast<std::size_t>(n));
    }
    va_end(again);
    return text;
}

// Copies text cut to size - 1 characters with a terminating zero; answers
// the characters written (the full length when buf is null or size 0).
int copyCut(const std::string& text, char* buf, unsigned size) {
    if (!buf || size == 0) return static_cast<int>(text.size());
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buf, text.data(), n);
    buf[n] = 0;
    return static_cast<int>(n);
}

// The one conversion of a print format from the look-up table: its letter,
// and whether it has the 'l' modifier. 0 when the format holds no
// conversion, more than one, '*', another modifier, or a width or precision
// above 255.
char singleConversion(const char* fmt, bool& longModifier) {
    char conversion = 0;
    longModifier = false;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        if (conversion) return 0;
        while (*p && std::strchr("-+ #0", *p))
            ++p;
        int width = 0;
        while (*p >= '0' && *p <= '9')
            if ((width = width * 10 + (*p++ - '0')) > 255) return 0;
        if (*p == '.') {
            ++p;
            int precision = 0;
            while (*p >= '0' && *p <= '9')
                if ((precision = precision * 10 + (*p++ - '0')) > 255) return 0;
        }
        if (*p == 'l') {
            longModifier = true;
            ++p;
        }
        if (!*p) return 0;
        conversion = *p;
    }
    return conversion;
}

bool floatingFormat(const char* fmt) {
    bool l;
    const char c = fmt ? singleConversion(fmt, l) : 0;
    return c && std::strchr("fFeEgGaA", c);
}

// 0 unusable, 1 takes an int, 2 takes a long.
int integerFormat(const char* fmt) {
    bool l;
    const char c = fmt ? singleConversion(fmt, l) : 0;
    if (c != 'd' && c != 'i') return 0;
    return l ? 2 : 1;
}

// Value text v of an attribute, or "CODE(v)".
std::string valueText(const KV71AttributeClass* a, unsigned v) {
    if (a && a->values && v < a->valueCount && a->values[v]) return a->values[v];
    return format("CODE(%u)", v);
}

std::string replaceBars(const char* text, const char* with) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '|')
            out += with;
        else
            out += *p;
    }
    return out;
}

// With a presentation, a code its tables do not list reads as an all-zero
// entry (as an unused code of a look-up table); without one, null.
const GdbAttrLookup* attrEntry(const GdbLookupTables* p, unsigned code) {
    static const GdbAttrLookup none{};
    if (!p) return nullptr;
    const GdbAttrLookup* e = p->attrLookup(code);
    return e ? e : &none;
}
const GdbObjectLookup* objectEntry(const GdbLookupTables* p, unsigned code) {
    static const GdbObjectLookup none{};
    if (!p) return nullptr;
    const GdbObjectLookup* e = p->objectLookup(code);
    return e ? e : &none;
}

} // namespace

// ---------------------------------------------------------------- TAttr

TKV71DbObject::TAttr::TAttr(TKV71DbObject* owner)
    : TGdbAttr(owner ? owner->GetDatabase() : nullptr), owner_(owner) {}

bool TKV71DbObject::TAttr::at(std::uint8_t* p, int i) {
    current_ = nullptr;
    index_ = -1;
    const KV71ObjectRecord* r = owner_ ? owner_->record_ : nullptr;
    if (!r || !r->attributes || !(r->flags & KV71HasAttributes) || i >= r->attributeCount)
        return false;
    const std::uint8_t* end = r->attributes + r->attributeSize;
    if (p < r->attributes || p >= end) return false;
    const KV71AttributeClass* a = GetAttDescr(p[0]);
    if (!a) return false;
    const std::size_t left = static_cast<std::size_t>(end - p);
    std::size_t size = 0;
    switch (a->format) {
    case aBYTE:
        size = 2;
        break;
    case aWORD10:
        size = 3;
        break;
    case aLONG:
    case aFLOAT:
        size = 5;
        break;
    case aSTRING: {
        const void* zero = left > 1 ? std::memchr(p + 1, 0, left - 1) : nullptr;
        if (!zero) return false;
        size = static_cast<const std::uint8_t*>(zero) - p + 1;
        break;
    }
    case aCMPLX: {
        const void* zero = left > 4 ? std::memchr(p + 4, 0, left - 4) : nullptr;
        if (!zero) return false;
        size = static_cast<const std::uint8_t*>(zero) - p + 1;
        break;
    }
    case aLIST:
        size = left > 1 ? p[1] + 2u : 2;
        break;
    default:
        return false;
    }
    if (size > left) return false;
    current_ = p;
    index_ = i;
    format_ = a->format;
    size_ = static_cast<std::uint32_t>(size);
    return true;
}

bool TKV71DbObject::TAttr::First() {
    const KV71ObjectRecord* r = owner_ ? owner_->record_ : nullptr;
    return r && at(r->attributes, 0);
}

bool TKV71DbObject::TAttr::Next() {
    if (!current_) return false;
    return at(current_ + size_, index_ + 1);
}

int TKV71DbObject::TAttr::GetLabel() {
    return current_ ? current_[0] : 0;
}

int TKV71DbObject::TAttr::GetValue(void* out, int typed) {
    if (!current_) return 0;
    std::uint8_t* v = current_ + 1;
    if (typed == 0) {
        if (out) std::memcpy(out, &v, sizeof v);
        return static_cast<int>(sizeof v);
    }
    std::size_t n = 0;
    switch (format_) {
    case aBYTE:
        n = 1;
        break;
    case aWORD10: {
        std::uint16_t w;
        std::memcpy(&w, v, 2);
        const float f = w;
        if (out) std::memcpy(out, &f, 4);
        return 4;
    }
    case aLONG:
    case aFLOAT:
        n = 4;
        break;
    case aSTRING:
        n = std::strlen(reinterpret_cast<char*>(v)) + 1;
        break;
    case aCMPLX:
        n = std::strlen(reinterpret_cast<char*>(v) + 3) + 4;
        break;
    case aLIST:
        n = v[0] + 1u;
        break;
    default:
        return 0;
    }
    if (out) std::memcpy(out, v, n);
    return static_cast<int>(n);
}

int TKV71DbObject::TAttr::GetDispFlags() {
    if (!current_) return -1;
    const GdbAttrLookup* e = attrEntry(owner_->Presentation(), current_[0]);
    return e ? static_cast<int>(e->mask) : -1;
}

int TKV71DbObject::TAttr::PrintName(char* buf, unsigned size, unsigned long flags) {
    if (!current_) return 0;
    const unsigned code = current_[0];
    if (const GdbAttrLookup* e = attrEntry(owner_->Presentation(), code)) {
        if (!(e->mask & 1)) { // a hidden attribute
            copyCut("", buf, size);
            return 0;
        }
        if ((e->mask & flags & 2) && e->name && *e->name) return copyCut(e->name, buf, size);
    }
    const KV71AttributeClass* a = GetAttDescr(code);
    if (a && a->values && a->valueCount > 0 && a->values[0])
        return copyCut(a->values[0], buf, size);
    return copyCut(format("%s(%u)", a ? a->acronym : "", code), buf, size);
}

int TKV71DbObject::TAttr::PrintValue(char* buf, unsigned size) {
    if (!current_) return 0;
    const unsigned code = current_[0];
    const KV71AttributeClass* a = GetAttDescr(code);
    const GdbAttrLookup* e = attrEntry(owner_->Presentation(), code);
    const char* fmt = e && e->format && *e->format ? e->format : nullptr;
    const std::uint8_t* v = current_ + 1;

    std::string text;
    switch (format_) {
    case aBYTE:
        text = valueText(a, v[0]);
        break;
    case aWORD10: {
        std::uint16_t w;
        std::memcpy(&w, v, 2);
        if (floatingFormat(fmt))
            text = format(fmt, w * 0.1);
        else
            text = format("%d.%d", w / 10, w % 10);
        break;
    }
    case aLONG: {
        std::int32_t l;
        std::memcpy(&l, v, 4);
        switch (integerFormat(fmt)) {
        case 1:
            text = format(fmt, static_cast<int>(l));
            break;
        case 2:
            text = format(fmt, static_cast<long>(l));
            break;
        default:
            text = format("%ld", static_cast<long>(l));
        }
        break;
    }
    case aFLOAT: {
        float f;
        std::memcpy(&f, v, 4);
        text = format(floatingFormat(fmt) ? fmt : "%.1f", static_cast<double>(f));
        break;
    }
    case aSTRING:
    case aCMPLX: {
        const char* s = reinterpret_cast<const char*>(format_ == aCMPLX ? v + 3 : v);
        if (!fmt || std::strncmp(fmt, "%s", 2) != 0)
            text = replaceBars(s, "\r\n");
        else if (fmt[2] == '|')
            text = s;
        else
            text = replaceBars(s, " ");
        break;
    }
    case aLIST:
        for (unsigned i = 0; i < v[0]; ++i) {
            if (i) text += "\r\n";
            text += valueText(a, v[1 + i]);
        }
        break;
    default:
        return 0;
    }
    if (!buf || size == 0) return static_cast<int>(text.size());
    copyCut(text, buf, size);
    return text.size() > size - 1 ? static_cast<int>(size - 1) : static_cast<int>(text.size());
}

// ---------------------------------------------------------------- object

TKV71DbObject::TKV71DbObject(TGeoDb* database, TGeoCell* cell, KV71ObjectRecord* record)
    : GdbObject(database), cell_(cell), record_(record), attr_(this) {}

TKV71DbObject::~TKV71DbObject() {
    delete childCursor_;
    if (parent_ && parent_->childCursor_ == this) parent_->childCursor_ = nullptr;
}

void TKV71DbObject::SetRecord(TGeoCell* cell, KV71ObjectRecord* record) {
    delete childCursor_;
    childCursor_ = nullptr;
    childIndex_ = -1;
    cell_ = cell;
    record_ = record;
    attr_.Reset();
}

const GdbLookupTables* TKV71DbObject::Presentation() const {
    const TGdbDictionary* d = database_ ? database_->GetDictionary() : nullptr;
    return d ? d->GetPresentation() : nullptr;
}

GdbObject* TKV71DbObject::clone() {
    if (!cell_ || !record_) return nullptr;
    return new TKV71DbClonedObject(database_, cell_, record_, nullptr);
}

int TKV71DbObject::PrintName(char* buf, unsigned size, unsigned long) {
    if (!record_) return 0;
    const KV71ObjectClass* c = GetObjDescr(record_->classCode);
    if (!c) return 0;
    if (c->name) return copyCut(c->name, buf, size);
    return copyCut(format("%s(%u)", c->acronym, static_cast<unsigned>(record_->classCode)), buf,
                   size);
}

int TKV71DbObject::Print(char* buf, unsigned size, unsigned long flags) {
    if (!record_ || !GetObjDescr(record_->classCode)) return 0;
    const bool brief = (flags & 4) != 0;
    char field[1024];
    std::string text;
    if (PrintName(field, 1023, flags) > 0) text = std::string(field) + (brief ? ": " : "\r\n");
    const unsigned long nameFlags = brief ? ~0ul : ~2ul;
    const GdbLookupTables* p = Presentation();
    TAttr a(this);
    for (bool more = a.First(); more; more = a.Next()) {
        const GdbAttrLookup* e = attrEntry(p, a.GetLabel());
        if (e && !((e->mask & 1) && (!brief || (e->mask & 2)))) continue;
        a.PrintName(field, 1022, nameFlags);
        text += field;
        text += ": ";
        const int n = a.PrintValue(nullptr, 0);
        std::string value(static_cast<std::size_t>(n), '\0');
        a.PrintValue(value.data(), static_cast<unsigned>(value.size() + 1));
        text += value;
        text += brief ? ", " : "\r\n";
    }
    if (!buf || size == 0) return static_cast<int>(text.size());
    copyCut(text, buf, size);
    return text.size() > size - 1 ? static_cast<int>(size) : static_cast<int>(text.size());
}

int TKV71DbObject::GetLabel() {
    return record_ ? record_->classCode : 0;
}

namespace {

GeoPoint angles(const TGeoCell* cell, std::uint16_t x, std::uint16_t y) {
    double lat = 0, lon = 0;
    sphereMercatorInverse(y * cell->yScale + cell->yMin, x * cell->xScale + cell->xMin, &lat, &lon);
    return GeoPoint{deg2nrm(lon), deg2nrm(lat)};
}

// Walks the geometry of a record: counts, and fills the arrays when given.
struct MetricsWalk {
    const TGeoCell* cell;
    const KV71ObjectRecord* record;
    std::uint32_t kind = GdbMetricsNone, points = 0, parts = 0, rings = 0;

    void run(std::uint8_t* pointOut, GdbMetricsPart* partOut, GdbMetricsRing* ringOut) {
        points = parts = rings = 0;
        const std::uint8_t geometry = record->flags & 0x0F;
        if (geometry == KV71PointGeometry && record->geometry.point) {
            kind = GdbMetricsPoint;
            if (pointOut) {
                const GeoPoint g =
                    angles(cell, record->geometry.point->x, record->geometry.point->y);
                std::memcpy(pointOut, &g, sizeof g);
            }
            points = 1;
        } else if (geometry == KV71SoundingGeometry && record->geometry.soundings) {
            kind = GdbMetricsSoundings;
            const KV71SoundingSet* set = record->geometry.soundings;
            for (std::uint32_t i = 0; i < set->count; ++i, ++points) {
                if (!pointOut) continue;
                const KV71SoundingPoint& s = set->points[i];
                const GeoPoint g = angles(cell, s.x, s.y);
                const GdbSoundingPoint out{g.lon, g.lat, s.z};
                std::memcpy(pointOut + points * sizeof out, &out, sizeof out);
            }
        } else if ((geometry == KV71LineGeometry || geometry == KV71AreaGeometry) &&
                   record->geometry.edgeRefs) {
            const bool area = geometry == KV71AreaGeometry;
            kind = area ? GdbMetricsArea : GdbMetricsLine;
            bool inRing = false;
            KV71LocalPoint first{};
            std::uint32_t firstIndex = 0;
            for (std::uint32_t r = 0; r < record->geometryCount; ++r) {
                const KV71EdgeRef& ref = record->geometry.edgeRefs[r];
                const std::uint32_t n = ref.edge ? ref.edge->count : 0;
                if (partOut) {
                    const GdbMetricsPart part{n, 0, (ref.flags & KV71RefPart) ? 1u : 0u, 0};
                    std::memcpy(&partOut[parts], &part, sizeof part);
                }
                ++parts;
                const bool reversed = (ref.flags & KV71RefReversed) != 0;
                for (std::uint32_t i = 0; i < n; ++i, ++points) {
                    const KV71LocalPoint& p = ref.edge->points[reversed ? n - 1 - i : i];
                    if (pointOut) {
                        const GeoPoint g = angles(cell, p.x, p.y);
                        std::memcpy(pointOut + points * sizeof g, &g, sizeof g);
                    }
                    if (!area) continue;
                    if (!inRing) {
                        inRing = true;
                        first = p;
                        firstIndex = points;
                    } else if (p.x == first.x && p.y == first.y) {
                        if (ringOut) {
                            const GdbMetricsRing ring{points - firstIndex + 1,
                                                      (ref.flags & KV71RefRing) ? 1u : 0u};
                            std::memcpy(&ringOut[rings], &ring, sizeof ring);
                        }
                        ++rings;
                        inRing = false;
                    }
                }
            }
        }
    }
    std::size_t pointSize() const {
        return kind == GdbMetricsSoundings ? sizeof(GdbSoundingPoint) : sizeof(GeoPoint);
    }
    unsigned long bytes() const {
        return sizeof(GdbMetrics) + points * pointSize() + parts * sizeof(GdbMetricsPart) +
               rings * sizeof(GdbMetricsRing);
    }
};

} // namespace

unsigned long TKV71DbObject::GetMetrics(void* buf, unsigned long size) {
    if (!record_ || !cell_) return 0;
    MetricsWalk walk{cell_, record_};
    walk.run(nullptr, nullptr, nullptr);
    const unsigned long needed = walk.bytes();
    if (!buf) return needed;
    auto* out = static_cast<std::uint8_t*>(buf);
    GdbMetrics head{};
    head.hasChildren = (record_->flags & KV71HasChildren) ? 1 : 0;
    if (size < needed) {
        if (size >= sizeof head) std::memcpy(out, &head.hasChildren, sizeof head.hasChildren);
        return needed;
    }
    std::uint8_t* points = out + sizeof head;
    auto* parts = reinterpret_cast<GdbMetricsPart*>(points + walk.points * walk.pointSize());
    auto* rings = reinterpret_cast<GdbMetricsRing*>(reinterpret_cast<std::uint8_t*>(parts) +
                                                    walk.parts * sizeof(GdbMetricsPart));
    walk.run(points, parts, rings);
    head.kind = walk.kind;
    head.pointCount = walk.points;
    head.points = walk.points ? points : nullptr;
    head.partCount = walk.parts;
    head.parts = walk.parts ? parts : nullptr;
    head.ringCount = walk.rings;
    head.rings = walk.rings ? rings : nullptr;
    std::memcpy(out, &head, sizeof head);
    return needed;
}

int TKV71DbObject::GetDispFlags() {
    const GdbObjectLookup* e = record_ ? objectEntry(Presentation(), record_->classCode) : nullptr;
    return e ? static_cast<int>(e->maskB) : -1;
}

int TKV71DbObject::GetInfoPages() {
    const GdbObjectLookup* e = record_ ? objectEntry(Presentation(), record_->classCode) : nullptr;
    return e ? static_cast<int>(e->maskA) : -1;
}

int TKV71DbObject::GetGeometryType() {
    return record_ ? record_->flags & 7 : 0;
}

TGdbAttr* TKV71DbObject::GetAttr(unsigned code) {
    if (!record_ || code >= GetAttNum()) return nullptr;
    for (bool more = attr_.First(); more; more = attr_.Next())
        if (static_cast<unsigned>(attr_.GetLabel()) == code) return &attr_;
    return nullptr;
}

TGdbAttr* TKV71DbObject::FirstAttr() {
    return attr_.First() ? &attr_ : nullptr;
}

TGdbAttr* TKV71DbObject::NextAttr() {
    return attr_.Next() ? &attr_ : nullptr;
}

int TKV71DbObject::HasParent() {
    return record_ && (record_->flags & KV71HasParent) ? 1 : 0;
}

int TKV71DbObject::HasChilds() {
    return record_ && (record_->flags & KV71HasChildren) ? 1 : 0;
}

GdbObject* TKV71DbObject::GetParent() {
    return parent_;
}

GdbObject* TKV71DbObject::child(unsigned n) {
    if (!record_ || !(record_->flags & KV71HasChildren) || !record_->children ||
        n >= record_->childCount || !record_->children[n]) {
        childIndex_ = -1;
        return nullptr;
    }
    if (!childCursor_) {
        childCursor_ = new TKV71DbObject(database_, cell_, nullptr);
        childCursor_->parent_ = this;
    }
    childCursor_->SetRecord(cell_, record_->children[n]);
    childIndex_ = static_cast<int>(n) + 1;
    return childCursor_;
}

GdbObject* TKV71DbObject::FirstChild() {
    childIndex_ = 0;
    return NextChild();
}

GdbObject* TKV71DbObject::NextChild() {
    if (childIndex_ < 0) return nullptr;
    return child(static_cast<unsigned>(childIndex_));
}

GdbObject* TKV71DbObject::ChildNumber(unsigned n) {
    return child(n);
}
