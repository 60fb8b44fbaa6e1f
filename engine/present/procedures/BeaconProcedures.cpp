// The beacon procedures: cardinal (5), isolated danger (6), lateral (7), safe
// water (8) and special-purpose beacons (9), light floats (88), light vessels
// (89) and beacons in general (203). Each draws exactly one coded symbol
// (procedures/CodedSymbols.h) whose key is "B", the beacon shape (attribute
// 103) and a colour layout; a key without a row draws the procedure's
// default row with the table's colours. A symbol drawn "with the name"
// carries the short name of its colour pattern (attribute 60) to its right.
#include "procedures/Int1Procs.h"

#include "gdb/GdbObject.h"
#include "procedures/AttributeReads.h"
#include "procedures/CodedSymbols.h"
#include "procedures/SymbologyHelpers.h"

namespace {

// Attributes read.
constexpr unsigned kBeaconShape = 103;
constexpr unsigned kCardinalCategory = 7;
constexpr unsigned kColour = 60;
constexpr unsigned kColourPattern = 61;
constexpr unsigned kLateralCategory = 24;
constexpr unsigned kBuoyageRegion = 84;
constexpr unsigned kSpecialCategory = 51;

// Colour pattern rows named by the procedures.
constexpr unsigned kBlack = 2, kYellow = 4;

unsigned attr(GdbObject* object, unsigned code) {
    unsigned value = 0;
    AttrByte(object, code, value);
    return value;
}

// What a beacon procedure reads first: its shape, its colour and the colour's
// name (null for colour 0 or one outside the pattern table).
struct Beacon {
    explicit Beacon(GdbObject* object)
        : shape(attr(object, kBeaconShape)), colour(attr(object, kColour)),
          count(ColourPatternCount(colour)), name(ColourPatternName(colour)) {}
    unsigned shape;
    unsigned colour;
    unsigned count;
    const char* name;
};

// Draws the layout's row coloured from row colours without text, or the
// default row with its text to the right.
void drawOr(MapObject* geometry, unsigned shape, const char* layout, unsigned colours,
            const char* defaultKey, const char* defaultRight) {
    if (!DrawCodedLayout(geometry, 'B', shape, layout, colours))
        DrawCodedRow(geometry, defaultKey, nullptr, defaultRight);
}

} // namespace

// Cardinal beacons.
void Int1Proc5(TMapContext*, GdbObject* object, MapObject* geometry) {
    struct Cardinal {
        const char* layout;
        unsigned colours;
    };
    static constexpr Cardinal cardinals[4] = {{"12", 9}, {"13", 8}, {"12", 7}, {"13", 10}};

    const Beacon b(object);
    switch (b.shape) {
    case 0:
    case 2:
        DrawCodedRow(geometry, "B0000", nullptr, b.name);
        return;
    case 1:
        DrawCodedRow(geometry, "B0100", nullptr, b.name);
        return;
    case 4:
        DrawCodedRow(geometry, "B0400", nullptr, b.name);
        return;
    default:
        break;
    }
    const unsigned k = attr(object, kCardinalCategory);
    if (k >= 5) {
        DrawCodedRow(geometry, "B0000", nullptr, b.name);
    } else if (k != 0) {
        drawOr(geometry, b.shape, cardinals[k - 1].layout, cardinals[k - 1].colours, "B0000",
               nullptr);
    } else if (b.count == 1) {
        DrawCodedRow(geometry, "B0000", nullptr, b.name);
    } else {
        // Colour 0 or count 0 have no layout: the default.
        drawOr(geometry, b.shape, b.count >= 2 ? StandardColourLayout(b.count) : nullptr, b.colour,
               "B0000", nullptr);
    }
}

// Isolated danger beacons: a tower in three colours, or a plain symbol named.
void Int1Proc6(TMapContext*, GdbObject* object, MapObject* geometry) {
    const Beacon b(object);
    switch (b.shape) {
    case 0:
        DrawCodedRow(geometry, "B0000", nullptr, b.name);
        return;
    case 1:
        DrawCodedRow(geometry, "B010N", nullptr, b.name);
        return;
    case 2:
        DrawCodedRow(geometry, "B020N", nullptr, b.name);
        return;
    case 3:
        if (b.colour != 0 && b.count == 0)
            DrawCodedRow(geometry, "B0000", nullptr, b.name);
        else if (b.count == 3)
            drawOr(geometry, 3, "13", b.colour, "B0300", b.name);
        else
            DrawCodedRow(geometry, "B0300", nullptr, b.name);
        return;
    default:
        DrawCodedRow(geometry, "B0400", nullptr, b.name);
        return;
    }
}

// Lateral beacons. Coloured towers take the colours of lateral buoys, by
// category and buoyage region.
void Int1Proc7(TMapContext*, GdbObject* object, MapObject* geometry) {
    const Beacon b(object);
    const unsigned k = attr(object, kLateralCategory);
    if (b.shape == 0) {
        DrawCodedRow(geometry, "B0000", nullptr, b.name);
        return;
    }
    if (b.shape == 1 || b.shape == 2) {
        // Stakes and withies of the category's side, in the table's colours.
        const char* layout = k == 1 ? "01" : k == 2 ? "02" : nullptr;
        drawOr(geometry, b.shape, layout, 0, "B0100", b.name);
        return;
    }
    if (b.shape == 4) {
        DrawCodedRow(geometry, "B0400", nullptr, b.name);
        return;
    }
    if (k != 0) {
        const char* layout = k == 1 || k == 2 ? "01" : k == 3 || k == 4 ? "13" : nullptr;
        char key[6];
        CodedSymbol symbol;
        if (!layout || !CodedSymbolKey('B', b.shape, layout, key) ||
            !FindCodedSymbol(key, &symbol)) {
            DrawCodedRow(geometry, "B0000", nullptr, b.name);
            return;
        }
        LateralBuoyColours(&symbol, k, attr(object, kBuoyageRegion));
        DrawCodedSymbol(geometry, symbol, nullptr, nullptr);
        return;
    }
    // Colour 0, count 0 and two colours have no layout: the default.
    const char* layout = b.count == 1 ? "01" : b.count == 3 ? "13" : nullptr;
    drawOr(geometry, b.shape, layout, b.colour, "B0000", b.name);
}

// Safe water beacons: a tower in two stripes, or a plain symbol named.
void Int1Proc8(TMapContext*, GdbObject* object, MapObject* geometry) {
    const Beacon b(object);
    switch (b.shape) {
    case 0:
    case 2:
        DrawCodedRow(geometry, "B0000", nullptr, b.name);
        return;
    case 1:
        DrawCodedRow(geometry, "B0100", nullptr, b.name);
        return;
    case 3:
        if (b.colour != 0 && b.count == 0)
            DrawCodedRow(geometry, "B0000", nullptr, b.name);
        else if (b.count == 2)
            drawOr(geometry, 3, "22", b.colour, "B0300", b.name);
        else
            DrawCodedRow(geometry, "B0300", nullptr, b.name);
        return;
    default:
        DrawCodedRow(geometry, "B0400", nullptr, b.name);
        return;
    }
}

// Special-purpose beacons: yellow with the purpose above, or a mark of their
// own for moorings, notice boards and the like.
void Int1Proc9(TMapContext*, GdbObject* object, MapObject* geometry) {
    const Beacon b(object);
    const unsigned k = attr(object, kSpecialCategory);
    switch (k) {
    case 14:
        DrawCodedRow(geometry, "A1101");
        return;
    case 15:
        DrawCodedRow(geometry, "A1102");
        return;
    case 16:
        DrawCodedRow(geometry, "B0000");
        return;
    case 18:
        DrawCodedRow(geometry, "B0500");
        return;
    case 19:
        DrawCodedRow(geometry, "B0501");
        return;
    default:
        break;
    }
    const char* text = k == 1    ? "DZ"
                       : k == 2  ? "Target"
                       : k == 3  ? "Marker Ship"
                       : k == 5  ? "Barge"
                       : k == 9  ? "ODAS"
                       : k == 13 ? "(priv)"
                                 : nullptr;
    CodedSymbol symbol;
    if (!FindCodedSymbol(b.shape == 0 ? "B0000" : "B0301", &symbol)) return;
    CopyPatternColours(&symbol, kYellow);
    DrawCodedSymbol(geometry, symbol, text, nullptr);
}

// Beacons in general.
void Int1Proc203(TMapContext*, GdbObject* object, MapObject* geometry) {
    const Beacon b(object);
    switch (b.shape) {
    case 1:
        DrawCodedRow(geometry, "B0100", nullptr, b.name);
        return;
    case 2:
        DrawCodedRow(geometry, "B0201");
        return;
    case 3:
        break;
    default:
        DrawCodedRow(geometry, "B0000");
        return;
    }
    if (b.colour == 0) {
        drawOr(geometry, 3, "01", kBlack, "B0000", nullptr);
        return;
    }
    char pattern[3];
    drawOr(geometry, 3, PatternColourLayout(b.count, attr(object, kColourPattern), pattern),
           b.colour, "B0000", nullptr);
}

namespace {

// Light floats and light vessels: the shape digits are fixed; no text.
void drawLightFloat(GdbObject* object, MapObject* geometry, unsigned shape,
                    const char* defaultKey) {
    unsigned c = 0;
    if (!AttrByte(object, kColour, c)) {
        DrawCodedRow(geometry, defaultKey);
        return;
    }
    char pattern[3];
    drawOr(geometry, shape,
           PatternColourLayout(ColourPatternCount(c), attr(object, kColourPattern), pattern), c,
           defaultKey, nullptr);
}

} // namespace

void Int1Proc88(TMapContext*, GdbObject* object, MapObject* geometry) {
    drawLightFloat(object, geometry, 6, "B0600");
}

void Int1Proc89(TMapContext*, GdbObject* object, MapObject* geometry) {
    drawLightFloat(object, geometry, 7, "B0700");
}
