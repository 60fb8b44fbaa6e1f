// The buoy procedures: cardinal (15), installation (16), isolated danger
// (17), lateral (18), safe water (19) and special-purpose buoys (20), and
// buoys in general (200). Each draws exactly one coded symbol
// (procedures/CodedSymbols.h) whose key is "A", the buoy shape (attribute
// 105) and a colour layout; a key without a row draws the procedure's
// default row with the table's colours.
#include "procedures/Int1Procs.h"

#include "gdb/GdbObject.h"
#include "procedures/AttributeReads.h"
#include "procedures/BuoyageRegion.h"
#include "procedures/CodedSymbols.h"
#include "procedures/SymbolPlacement.h"
#include "procedures/SymbologyHelpers.h"

namespace {

// Attributes read.
constexpr unsigned kBuoyShape = 105;
constexpr unsigned kCardinalCategory = 7;
constexpr unsigned kColour = 60;
constexpr unsigned kColourPattern = 61;
constexpr unsigned kLateralCategory = 24;
constexpr unsigned kInstallationCategory = 22;
constexpr unsigned kSpecialCategory = 51;

// Colour pattern rows named by the procedures.
constexpr unsigned kBlack = 2, kYellow = 4, kRedWhite = 11, kBlackRedBlack = 14;

unsigned attr(GdbObject* object, unsigned code) {
    unsigned value = 0;
    AttrByte(object, code, value);
    return value;
}

// The shape digits: attribute 105, with 0 (absent) and 8 counting as plain.
unsigned buoyShape(GdbObject* object, unsigned plain) {
    const unsigned shape = attr(object, kBuoyShape);
    return shape == 0 || shape == 8 ? plain : shape;
}

// Draws the layout's row coloured from row colours, or the default row.
void drawOr(MapObject* geometry, unsigned shape, const char* layout, unsigned colours,
            const char* defaultKey) {
    if (!DrawCodedLayout(geometry, 'A', shape, layout, colours)) DrawCodedRow(geometry, defaultKey);
}

} // namespace

// Cardinal buoys.
void Int1Proc15(TMapContext*, GdbObject* object, MapObject* geometry) {
    // Layout and colour row of categories 1 (north) to 4 (west).
    struct Cardinal {
        const char* layout;
        unsigned colours;
    };
    static constexpr Cardinal cardinals[4] = {{"12", 9}, {"13", 8}, {"12", 7}, {"13", 10}};

    const unsigned shape = buoyShape(object, 4);
    const unsigned k = attr(object, kCardinalCategory);
    const unsigned c = attr(object, kColour);
    char pattern[3];
    const char* layout = nullptr;
    unsigned colours = 0;
    if (k == 0 && c == 0) {
        layout = "01";
        colours = kBlack;
    } else if (k >= 1 && k <= 4) {
        layout = cardinals[k - 1].layout;
        colours = cardinals[k - 1].colours;
    } else if (k == 0) {
        layout = PatternColourLayout(ColourPatternCount(c), attr(object, kColourPattern), pattern);
        colours = c;
    }
    drawOr(geometry, shape, layout, colours, "A0000");
}

// Installation buoys (CALM, SPM): the kind above the symbol, always.
void Int1Proc16(TMapContext*, GdbObject* object, MapObject* geometry) {
    const unsigned k = attr(object, kInstallationCategory);
    const unsigned c = attr(object, kColour);
    const char* text = k == 1 ? "CALM" : k == 2 ? "SPM" : "";
    const char* layout = c == 0 ? "00" : StandardColourLayout(ColourPatternCount(c));
    if (!DrawCodedLayout(geometry, 'A', 9, layout ? layout : "00", c, text))
        DrawCodedRow(geometry, "A0900", text);
}

// Isolated danger buoys: black, red, black unless coloured otherwise.
void Int1Proc17(TMapContext*, GdbObject* object, MapObject* geometry) {
    const unsigned shape = buoyShape(object, 4);
    const unsigned c = attr(object, kColour);
    if (c == 0)
        drawOr(geometry, shape, "13", kBlackRedBlack, "A0000");
    else
        drawOr(geometry, shape, StandardColourLayout(ColourPatternCount(c)), c, "A0000");
}

// Lateral buoys: coloured by category and buoyage region unless they carry a
// colour; a buoy without a region takes that of the coverage around it.
void Int1Proc18(TMapContext* context, GdbObject* object, MapObject* geometry) {
    const unsigned shape = buoyShape(object, 4);
    const unsigned k = attr(object, kLateralCategory);
    const unsigned c = attr(object, kColour);
    if (k == 0 && c == 0) {
        drawOr(geometry, shape, "01", kBlack, "A0000");
        return;
    }
    if (c != 0) {
        drawOr(geometry, shape, StandardColourLayout(ColourPatternCount(c)), c, "A0000");
        return;
    }
    const char* layout = k == 1 || k == 2 ? "01" : k == 3 || k == 4 ? "13" : nullptr;
    char key[6];
    CodedSymbol symbol;
    if (!layout || !CodedSymbolKey('A', shape, layout, key) || !FindCodedSymbol(key, &symbol)) {
        DrawCodedRow(geometry, "A0000");
        return;
    }
    unsigned region = attr(object, kBuoyageRegionAttr);
    Point at;
    if (region == 0 && FirstPoint(geometry, at))
        region = BuoyageRegionAt(context, object->GetDatabase(), at);
    LateralBuoyColours(&symbol, k, region);
    DrawCodedSymbol(geometry, symbol, nullptr, nullptr);
}

// Safe water buoys: red and white stripes unless coloured otherwise.
void Int1Proc19(TMapContext*, GdbObject* object, MapObject* geometry) {
    const unsigned shape = buoyShape(object, 4);
    const unsigned c = attr(object, kColour);
    if (c == 0) {
        drawOr(geometry, shape, "22", kRedWhite, "A0000");
        return;
    }
    const unsigned n = ColourPatternCount(c);
    const char* layout = n == 1 ? "01" : n == 2 ? "22" : n == 3 ? "13" : nullptr;
    drawOr(geometry, shape, layout, c, "A0000");
}

// Special-purpose buoys: yellow (or their one colour) with the purpose above.
void Int1Proc20(TMapContext*, GdbObject* object, MapObject* geometry) {
    const unsigned shape = buoyShape(object, 3);
    const unsigned k = attr(object, kSpecialCategory);
    const unsigned c = attr(object, kColour);
    const char* text = k == 1    ? "DZ"
                       : k == 2  ? "Target"
                       : k == 3  ? "Marker Ship"
                       : k == 5  ? "Barge"
                       : k == 13 ? "(priv)"
                                 : "";
    if (k == 9) {
        if (!DrawCodedLayout(geometry, 'A', shape, "00", 0, "ODAS"))
            DrawCodedRow(geometry, "A0300");
        return;
    }
    if (k == 14 || k == 15) {
        DrawCodedRow(geometry, k == 14 ? "A1101" : "A1102");
        return;
    }
    const unsigned colours = ColourPatternCount(c) == 1 ? c : kYellow;
    if (!DrawCodedLayout(geometry, 'A', shape, "01", colours, text))
        DrawCodedRow(geometry, "A0300");
}

// Buoys in general.
void Int1Proc200(TMapContext*, GdbObject* object, MapObject* geometry) {
    const unsigned shape = buoyShape(object, 4);
    const unsigned c = attr(object, kColour);
    if (c == 0) {
        drawOr(geometry, shape, "01", kBlack, "A0000");
        return;
    }
    char pattern[3];
    drawOr(geometry, shape,
           PatternColourLayout(ColourPatternCount(c), attr(object, kColourPattern), pattern), c,
           "A0000");
}
