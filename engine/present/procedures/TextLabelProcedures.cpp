// Text on the chart: the abbreviated seabed label composed from enumerated
// attributes (138), a free text with its colour and justification (196) and
// a place name whose font, case, offset and marker come from its packed name
// attribute (198).
//
// Texts are Windows-1252 bytes. Code 138 puts attribute 78 into lower case
// and code 198 puts names of styles 0, 2 and 3 into title case where they
// are stored, so later readers of the object see them so.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/SymbolPlacement.h"
#include "proj/Map.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"
#include "util/textCase.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

bool reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

// Labels are written for points only, and not below scale exponent -1.
bool LabelledPoint(const TMapContext* context, const MapObject* geometry) {
    return context && context->scaleExponent >= -1 && geometry && geometry->type == egtPoint;
}

// ---------------------------------------------------------------- 138

struct Abbreviation {
    unsigned value;
    const char* text;
};

// Qualifying terms (first value of list 90).
constexpr Abbreviation kQualifiers[] = {
    {1, "f"},  {2, "m"},  {3, "c"}, {4, "bk"}, {5, "sy"},
    {6, "so"}, {7, "sf"}, {8, "v"}, {9, "ca"}, {10, "h"},
};

// Materials (each value of list 82).
constexpr Abbreviation kMaterials[] = {
    {1, "M"},   {2, "Cy"},  {3, "Si"},  {4, "S"},   {5, "St"},  {6, "G"},   {7, "P"},    {8, "Cb"},
    {9, "R"},   {11, "Lv"}, {14, "Co"}, {17, "Sh"}, {51, "Wd"}, {52, "Gd"}, {53, "Oz"},  {54, "Ml"},
    {55, "Sn"}, {56, "Bo"}, {57, "Ck"}, {58, "Qz"}, {59, "Md"}, {60, "Ba"}, {61, "Pm"},  {62, "T"},
    {63, "Sc"}, {64, "Sn"}, {65, "Mn"}, {66, "Gc"}, {67, "Oy"}, {68, "Ms"}, {69, "Sp"},  {70, "Al"},
    {71, "Fr"}, {72, "Gl"}, {73, "Di"}, {74, "Rd"}, {75, "Pt"}, {76, "Po"}, {81, "Grs"},
};

// Colours (first value of list 59), each with its leading blank.
constexpr Abbreviation kColours[] = {
    {1, " w"},  {2, " bl"}, {3, " rd"},  {4, " gn"},  {5, " b"},  {6, " y"},
    {7, " gy"}, {8, " br"}, {51, " ch"}, {52, " lt"}, {53, " d"},
};

template <std::size_t N> const char* Lookup(const Abbreviation (&table)[N], unsigned value) {
    for (const Abbreviation& a : table)
        if (a.value == value) return a.text;
    return nullptr;
}

// A label of at most 255 characters: what would go beyond is cut off.
class Label {
  public:
    void append(const char* text) {
        if (!text) return;
        const std::size_t n = std::min(std::strlen(text), kMaxLength - length_);
        std::memcpy(text_ + length_, text, n);
        length_ += n;
        text_[length_] = '\0';
    }
    std::size_t length() const { return length_; }
    const char* text() const { return text_; }

  private:
    static constexpr std::size_t kMaxLength = 255;
    char text_[kMaxLength + 1] = "";
    std::size_t length_ = 0;
};

// No further material once the label holds this many characters.
constexpr std::size_t kMaterialLimit = 253;

// ---------------------------------------------------------------- 196

// Text colours by selector 0 to 15.
constexpr int kTextColours[16] = {0, 1, 0, 2, 4, 6, 11, 13, 13, 10, 14, 2, 14, 0, 0, 0};

// ---------------------------------------------------------------- 198

constexpr unsigned kStyleBits = 7;
constexpr unsigned kHidden = 8;
constexpr unsigned kAlternativeFont = 16;
constexpr unsigned kMarker = 128;

struct NameLook {
    int font;
    int colour;
    bool titleCase;
};

NameLook NameLookOf(const TMapContext* context, unsigned flags, unsigned markerKind) {
    const bool alternative = flags & kAlternativeFont;
    if (reduced(context)) return {alternative ? 2 : 0, 0, false};
    switch (flags & kStyleBits) {
    case 0:
    case 2:
    case 3:
        return alternative ? NameLook{16, 0, false} : NameLook{8, 0, true};
    case 1:
        return {9, 0, false};
    case 4:
        if (markerKind == 0) return {alternative ? 1 : 0, 2, false};
        return {12, 0, false};
    case 5:
        return {13, 0, false};
    case 6:
        return {14, 0, false};
    default:
        return {15, 0, false};
    }
}

// The marker glyphs of font 35: a fill in colour 11 under an outline in
// colour 0, or the dot alone.
struct Marker {
    int fill; // 0: none
    int outline;
};

Marker MarkerOf(unsigned kind) {
    switch (kind) {
    case 1:
        return {127, 126};
    case 2:
    case 3:
        return {129, 128};
    case 4:
    case 5:
        return {131, 130};
    default:
        return {0, 104};
    }
}

// The name's offset of (x, y) ten-thousandths of a chart metre in window
// units: plane units by the map's div, truncated toward zero, then through
// the map's window transform.
Point NameOffset(const TMapContext* context, std::int8_t x, std::int8_t y) {
    const Map* map = context ? context->map : nullptr;
    if (!map) return Point{0, 0};
    const Point plane{static_cast<std::int32_t>(std::int64_t{map->div.x} * x / 10000),
                      static_cast<std::int32_t>(std::int64_t{map->div.y} * y / 10000)};
    if (!map->win) return plane;
    Point window = plane;
    map->win->Map2Win(&plane, &window, 1);
    return window;
}

} // namespace

void Int1Proc138(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (geometry && geometry->type == egtArea) prSimpleLine(context, geometry, 0, 2, 0x9999);
    Point at;
    if (!SymbolPosition(geometry, at)) return;

    Label label;
    unsigned qualifier = 0;
    if (AttrFirstOfList(object, 90, qualifier)) label.append(Lookup(kQualifiers, qualifier));

    AttrList materials;
    if (AttrListOf(object, 82, materials)) {
        const char* separator = ".";
        char* information = nullptr;
        if (AttrText(object, 78, information)) {
            lowerCase1252(information);
            if (std::strstr(information, "layered")) separator = "//";
        }
        for (unsigned i = 0; i < materials.count && label.length() < kMaterialLimit; ++i) {
            if (i > 0) label.append(separator);
            label.append(Lookup(kMaterials, materials.values[i]));
        }
        unsigned colour = 0;
        if (materials.count == 1 && AttrFirstOfList(object, 59, colour))
            label.append(Lookup(kColours, colour));
    }
    if (label.length() == 0) return;

    GD_SelFont(-2);
    const int w = GD_TextWidth(label.text()), h = GD_TextHeight(label.text());
    GD_WriteXY(0, at.x - w / 2, at.y - h / 2, label.text());
}

void Int1Proc196(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!LabelledPoint(context, geometry)) return;
    char* text = nullptr;
    if (!AttrText(object, 133, text)) return;

    unsigned selector = 0, h = 0, v = 0;
    AttrByte(object, 142, selector);
    AttrByte(object, 134, h);
    AttrByte(object, 135, v);
    const int colour = kTextColours[selector <= 15 ? selector : 0];

    GD_SelFont(0);
    const int w = GD_TextWidth(text), ht = GD_TextHeight(text);
    const int dx = h == 1 ? -w / 2 - 3 : h == 3 ? -3 - w : 0;
    const int dy = v == 1 ? -2 - ht : v == 2 ? ht / 2 - 2 : 0;
    GD_WriteXY(colour, geometry->bounds.left + dx, geometry->bounds.top + dy, text);
}

void Int1Proc198(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!LabelledPoint(context, geometry)) return;
    PackedText name;
    if (!AttrPackedText(object, 139, name) || (name.flags & kHidden)) return;
    unsigned markerKind = 0;
    AttrByte(object, 181, markerKind);

    const Point at{geometry->bounds.left, geometry->bounds.top};
    const NameLook look = NameLookOf(context, name.flags, markerKind);
    if (look.titleCase) titleCase1252(name.text);
    const Point offset = NameOffset(context, name.dx, name.dy);
    GD_SelFont(look.font);
    GD_WriteXY(look.colour, at.x + offset.x, at.y + offset.y, name.text);

    if (!(name.flags & kMarker)) return;
    const Marker marker = MarkerOf(markerKind);
    GD_SelFont(35);
    if (marker.fill) GD_CharXY(11, at.x, at.y, marker.fill);
    GD_CharXY(0, at.x, at.y, marker.outline);
}
