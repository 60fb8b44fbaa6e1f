// Point symbols and labelled stations of the codes 100 to 201: one glyph of a
// symbol font at the object's first point, often with a short word that names
// the kind of station, and the outlined areas that carry a glyph at their
// centre of gravity.
//
// Words go in font -2 (font -1 for the offshore platforms) at an offset from
// the symbol's point: half a symbol cell (x + 12, y - 12), a quarter of it
// (x + 6, y - 6), or (x + 5, y - 5). Glyphs on a structure (a buoy or beacon
// drawn by its aggregate) are moved by the structure's anchor.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/CodedSymbols.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/PointSymbols.h"
#include "procedures/SymbolPlacement.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

using namespace pointsymbols;

namespace {

// A glyph with the word beside it; the word and its offset are optional.
enum class WordOffset { None, Half, Quarter, Five };

struct Station {
    Glyph glyph;
    const char* word;
    WordOffset offset;
    int wordColour;
};

void DrawStation(const Station& s, Point at) {
    DrawSymbolGlyph(s.glyph, at);
    if (!s.word) return;
    switch (s.offset) {
    case WordOffset::Half:
        DrawLabel(at, s.word, s.wordColour, LabelSide::Right);
        break;
    case WordOffset::Quarter:
        DrawLabel(at, s.word, s.wordColour, LabelSide::Quarter);
        break;
    case WordOffset::Five:
        DrawWordAt(at, 5, -5, s.word, s.wordColour);
        break;
    case WordOffset::None:
        break;
    }
}

// The station at the object's first point (every geometry type).
void StationAtFirstPoint(MapObject* geometry, const Station& s) {
    Point at;
    if (FirstPoint(geometry, at)) DrawStation(s, at);
}

// An outlined area with a glyph at its centre of gravity: the area's outline
// (plain line in colour, width and dash), then the station at the centre; an
// area without a centre gets its outline only. Other geometry places the
// station at its first point.
struct Outline {
    int colour, width;
    unsigned short dash;
};

void OutlinedStation(TMapContext* context, MapObject* geometry, const Outline& outline,
                     const Station& s) {
    if (IsArea(geometry))
        prSimpleLine(context, geometry, outline.colour, outline.width, outline.dash);
    Point at;
    if (SymbolPosition(geometry, at)) DrawStation(s, at);
}

// The point of a glyph that belongs to a structure: the first point, moved
// by the structure's first anchor when the object has a parent.
bool StructurePoint(GdbObject* object, MapObject* geometry, Point& at) {
    if (!FirstPoint(geometry, at)) return false;
    if (object && object->HasParent()) {
        at.x += StructureAnchors[0].x;
        at.y += StructureAnchors[0].y;
    }
    return true;
}

} // namespace

void Int1Proc100(TMapContext*, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    // Category of offshore installation: the first value of list 28.
    unsigned category = 0;
    AttrSecondByte(object, 28, category);
    if (category == 7) {
        // An artificial island: its outline, then the fill over it.
        DrawSymbolGlyph({35, 48, 0}, at);
        DrawSymbolGlyph({35, 47, 11}, at);
        return;
    }
    DrawSymbolGlyph({35, 45, 0}, at);
    DrawSymbolGlyph({35, 46, 14}, at);
    const char* word = category == 4 ? "ALC" : category == 5 ? "SALM" : nullptr;
    DrawWordAt(at, kSymbolWidth / 2, -kSymbolHeight / 2, word, 0, -1);
}

void Int1Proc103(TMapContext*, GdbObject*, MapObject* geometry) {
    Point at;
    if (FirstPoint(geometry, at)) PLDrawSymbol(4, 0, at, 0, 0);
}

void Int1Proc104(TMapContext*, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) return;
    StationAtFirstPoint(geometry, {{35, 50, 14}, nullptr, WordOffset::None, 0});
}

void Int1Proc110(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kDash1F1F);
    // The mark at the centre of gravity of every geometry that has one.
    Point at;
    if (geometry && geometry->CentreOfGravity(at)) DrawSymbolGlyph({35, 21, 14}, at);
}

void Int1Proc112(TMapContext*, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) return;
    StationAtFirstPoint(geometry, {{35, 12, 0}, "Pyl", WordOffset::Five, 0});
}

void Int1Proc113(TMapContext*, GdbObject*, MapObject* geometry) {
    StationAtFirstPoint(geometry, {{35, 12, 0}, "Radome", WordOffset::Five, 0});
}

void Int1Proc116(TMapContext*, GdbObject* object, MapObject* geometry) {
    Point at;
    if (StructurePoint(object, geometry, at)) DrawSymbolGlyph({35, 55, 0}, at);
}

void Int1Proc117(TMapContext*, GdbObject* object, MapObject* geometry) {
    unsigned category = 0;
    AttrByte(object, 37, category);
    StationAtFirstPoint(geometry, category == 2
                                      ? Station{{35, 56, 14}, "Ra", WordOffset::Half, 14}
                                      : Station{{35, 12, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc118(TMapContext*, GdbObject* object, MapObject* geometry) {
    // Category of radar transponder beacon (value 37).
    static constexpr ValueRow kCategories[] = {{1, 56, "Ramark"}, {2, 56, "Racon"}};
    unsigned category = 0;
    AttrByte(object, 37, category);
    const ValueRow* row = FindValue(kCategories, category);
    StationAtFirstPoint(geometry, {{35, 56, 14}, row ? row->word : nullptr, WordOffset::Half, 14});
}

void Int1Proc120(TMapContext*, GdbObject* object, MapObject* geometry) {
    // Category of radio station (value 39).
    static constexpr ValueRow kCategories[] = {
        {1, 56, "RC"}, {2, 56, "RD"}, {3, 56, "RW"},      {4, 56, "Consol"},
        {5, 56, "RG"}, {6, 56, "R"},  {7, 56, "Aero RC"},
    };
    unsigned category = 0;
    AttrByte(object, 39, category);
    const ValueRow* row = FindValue(kCategories, category);
    StationAtFirstPoint(geometry, {{35, 56, 14}, row ? row->word : nullptr, WordOffset::Half, 14});
}

void Int1Proc127(TMapContext*, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    DrawSymbolGlyph({35, 56, 0}, at);
    // Category of rescue station: the first value of list 42.
    unsigned category = 0;
    AttrSecondByte(object, 42, category);
    if (category == 4) {
        DrawLabel(at, "Ref", 0, LabelSide::Right);
    } else if (category == 6) {
        // A lifeboat on a mooring: the mooring buoy half a cell down right.
        CodedSymbol buoy;
        if (!FindCodedSymbol("A0601", &buoy)) return;
        MapObject mooring(egtPoint, -1);
        mooring.bounds.left = at.x + kSymbolWidth / 2;
        mooring.bounds.top = at.y - kSymbolHeight / 2;
        DrawCodedSymbol(&mooring, buoy, nullptr, nullptr);
    }
}

void Int1Proc133(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!IsArea(geometry)) return;
    prSimpleLine(context, geometry, 0, 1, kSolid);
    Point at;
    char* name = nullptr;
    if (!geometry->CentreOfGravity(at) || !AttrText(object, 80, name)) return;
    // The name centred across the centre.
    GD_SelFont(-2);
    GD_WriteXY(0, at.x - GD_TextWidth(name) / 2, at.y, name);
}

void Int1Proc135(TMapContext* context, GdbObject*, MapObject* geometry) {
    OutlinedStation(context, geometry, {1, 2, kDash3333},
                    {{35, 21, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc137(TMapContext* context, GdbObject*, MapObject* geometry) {
    OutlinedStation(context, geometry, {14, 2, kDash1F1F},
                    {{35, 54, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc140(TMapContext*, GdbObject*, MapObject* geometry) {
    StationAtFirstPoint(geometry, {{35, 54, 0}, "SS(Traffic)", WordOffset::Quarter, 0});
}

void Int1Proc141(TMapContext*, GdbObject* object, MapObject* geometry) {
    // Category of warning signal station: the first value of list 48 alone
    // decides (later values are not looked at).
    static constexpr ValueRow kCategories[] = {
        {1, 12, "SS(Danger)"},
        {2, 12, "SS(Danger)"},
        {3, 12, "SS(Danger)"},
        {4, 12, "SS(Firing)"},
        {5, 12, "SS"},
        {6, 12, "SS(Weather)"},
        {7, 12, "SS(Storm)"},
        {8, 12, "SS(Ice)"},
        {9, 12, "SS(Time)"},
        {10, 12, "Tide gauge"},
        {11, 12, "SS(Stream)"},
        // A tide scale or a diving signal: the mast with arms of the buoy
        // font, without a word.
        {12, 113, nullptr},
        {13, 113, nullptr},
    };
    unsigned category = 0;
    AttrFirstOfList(object, 48, category);
    const ValueRow* row = FindValue(kCategories, category);
    const int font = row && row->code == 113 ? 33 : 35;
    StationAtFirstPoint(
        geometry,
        {{font, row ? row->code : 12, 0}, row ? row->word : nullptr, WordOffset::Quarter, 0});
}

void Int1Proc142(TMapContext* context, GdbObject*, MapObject* geometry) {
    OutlinedStation(context, geometry, {0, 1, kSolid},
                    {{35, 12, 0}, "Silo", WordOffset::Quarter, 0});
}

void Int1Proc146(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Category of small craft facility: the first value of list 50.
    static constexpr ValueRow kFacilities[] = {
        {1, 57, nullptr},  {2, 58, nullptr},  {6, 59, nullptr},  {7, 60, nullptr},
        {12, 61, nullptr}, {13, 62, nullptr}, {14, 72, nullptr}, {17, 63, nullptr},
        {18, 64, nullptr}, {19, 65, nullptr}, {20, 66, nullptr}, {21, 67, nullptr},
        {22, 68, nullptr}, {23, 69, nullptr}, {24, 70, nullptr}, {25, 71, nullptr},
    };
    if (IsArea(geometry)) prArea(context, geometry, 13, 8);
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    unsigned facility = 0;
    AttrFirstOfList(object, 50, facility);
    const ValueRow* row = FindValue(kFacilities, facility);
    DrawSymbolGlyph({35, row ? row->code : 38, 14}, at);
}

void Int1Proc148(TMapContext* context, GdbObject*, MapObject* geometry) {
    OutlinedStation(context, geometry, {0, 1, kDash3333},
                    {{35, 20, 14}, nullptr, WordOffset::None, 0});
}

void Int1Proc149(TMapContext*, GdbObject*, MapObject* geometry) {
    StationAtFirstPoint(geometry, {{35, 89, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc152(TMapContext* context, GdbObject*, MapObject* geometry) {
    OutlinedStation(context, geometry, {14, 1, kDash1F1F},
                    {{35, 42, 14}, nullptr, WordOffset::None, 0});
}

void Int1Proc157(TMapContext*, GdbObject* object, MapObject* geometry) {
    // A topmark is drawn only on its structure.
    if (!object || !object->HasParent()) return;
    unsigned shape = 0;
    AttrByte(object, 106, shape);
    if (shape < 1 || shape > 18) return;
    Point at;
    if (StructurePoint(object, geometry, at))
        DrawSymbolGlyph({33, 154 + static_cast<int>(shape), 0}, at);
}

void Int1Proc158(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Category of radar station (value 52).
    struct Row {
        unsigned value;
        Station station;
    };
    static constexpr Row kCategories[] = {
        {1, {{33, 114, 0}, nullptr, WordOffset::None, 0}},
        {2, {{33, 115, 0}, nullptr, WordOffset::None, 0}},
        {3, {{33, 109, 0}, nullptr, WordOffset::None, 0}},
        {5, {{35, 12, 0}, "Radar Tr", WordOffset::Quarter, 0}},
    };
    unsigned category = 0;
    AttrByte(object, 52, category);
    const Station* station = &kCategories[0].station;
    for (const Row& r : kCategories)
        if (r.value == category) station = &r.station;
    OutlinedStation(context, geometry, {0, 1, kSolid}, *station);
}

void Int1Proc165(TMapContext*, GdbObject* object, MapObject* geometry) {
    // Category of water turbulence (value 54): 1 to 7 give glyphs 117 to 123.
    unsigned category = 0;
    AttrByte(object, 54, category);
    const int code = category >= 1 && category <= 7 ? 116 + static_cast<int>(category) : 116;
    StationAtFirstPoint(geometry, {{33, code, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc174(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsLine(geometry)) return;
    OutlinedStation(context, geometry, {0, 1, kDash3333},
                    {{35, 82, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc175(TMapContext*, GdbObject*, MapObject* geometry) {
    StationAtFirstPoint(geometry, {{33, 124, 0}, nullptr, WordOffset::None, 0});
}

void Int1Proc199(TMapContext*, GdbObject*, MapObject* geometry) {
    StationAtFirstPoint(geometry, {{35, 91, 14}, nullptr, WordOffset::None, 0});
}

void Int1Proc201(TMapContext*, GdbObject*, MapObject* geometry) {
    StationAtFirstPoint(geometry, {{35, 87, 0}, nullptr, WordOffset::None, 0});
}
