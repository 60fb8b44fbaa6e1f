// What a point symbol procedure drew, written out as short lines, so that a
// test states a table of cases (procedure, attributes, geometry, settings ->
// lines). First the renderers' calls, as styleCases.h writes them:
//   "line c14 w1 3333"   "fill c13 p12"   "styled [...] end ..."
// then the marks on the picture in the order drawn:
//   "35/15 c0 @60,10"         a glyph: font/code, chart colour, point
//   "-2 'Hospital' c0 @72,-2" a text: font, text, chart colour, start
//   "ellipse c14 dot r14 @-30,40"  GD_Ellipse: colour, dotted or solid,
//                             radius, centre
// Glyphs of font 34 are left out: only styled lines draw them here, and the
// trace names those.
#pragma once

#include "procedureKit.h"
#include "styleCases.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"

#include <cstdio>
#include <string>
#include <vector>

namespace symbols {

using Lines = std::vector<std::string>;

inline Point offset(Point at, int dx, int dy) {
    return Point{at.x + dx, at.y + dy};
}

inline std::string glyph(int font, int code, int colour, Point at) {
    char s[64];
    std::snprintf(s, sizeof s, "%d/%d c%d @%d,%d", font, code, colour, at.x, at.y);
    return s;
}

inline std::string text(int font, const std::string& t, int colour, Point at) {
    char s[64];
    std::snprintf(s, sizeof s, " c%d @%d,%d", colour, at.x, at.y);
    return std::to_string(font) + " '" + t + "'" + s;
}

inline std::string ellipse(int colour, bool dotted, int radius, Point at) {
    char s[80];
    std::snprintf(s, sizeof s, "ellipse c%d %s r%d @%d,%d", colour, dotted ? "dot" : "solid",
                  radius, at.x, at.y);
    return s;
}

// The chart colour of a palette index (-1 when none maps to it).
inline int chartColourOf(int paletteIndex) {
    for (int c = 0; c < 32; ++c)
        if (kit::paletteIndex(c) == paletteIndex) return c;
    return -1;
}

// The font number a text row records (fonts -2, -1, 0, 33, 34, 35).
inline int fontOfRow(int row) {
    for (int f : {-2, -1, 0, 33, 34, 35})
        if (kit::fontRow(f) == row) return f;
    return 99;
}

// The marks of a drawing, described.
inline Lines marks(const kit::Drawing& d) {
    Lines out;
    for (const kit::Call& c : d.calls()) {
        if (c.kind == "Text" && !c.points.empty()) {
            const int font = fontOfRow(c.row);
            if (font == 34) continue;
            const int colour = chartColourOf(c.colour);
            if (font >= 33) {
                out.push_back(glyph(font, c.codes.empty() ? -1 : c.codes[0], colour, c.points[0]));
            } else {
                std::string t;
                for (int code : c.codes)
                    t += static_cast<char>(code);
                out.push_back(text(font, t, colour, c.points[0]));
            }
        } else if (c.kind == "Ellipse" && !c.boxes.empty()) {
            const Rect& b = c.boxes[0];
            out.push_back(ellipse(chartColourOf(c.penColour), c.penStyle == "dot",
                                  (b.right - b.left) / 2,
                                  {(b.left + b.right) / 2, (b.top + b.bottom) / 2}));
        }
    }
    return out;
}

struct Case {
    const char* name;
    void (*procedure)(TMapContext*, GdbObject*, MapObject*);
    std::vector<kit::Attr> attributes;
    kit::Geometry geometry;
    Lines expected;
    kit::Settings settings{};
};

// The renderer calls and marks of one case, the drawing state (templates
// included) started afresh.
inline Lines drawn(const Case& c, kit::Drawing* drawing = nullptr) {
    kit::resetDrawingState();
    kit::FakeObject object(1);
    for (const kit::Attr& a : c.attributes)
        object.set(a);
    object.setGeometry(c.geometry);
    kit::Trace trace;
    kit::Drawing d = kit::run(c.procedure, object, c.settings);
    Lines out = styles::describe(trace);
    for (std::string& m : marks(d))
        out.push_back(std::move(m));
    if (drawing) *drawing = d;
    return out;
}

inline void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kit::Drawing d("", gdi::Mapping{});
        EXPECT_EQ(drawn(c, &d), c.expected) << d.log();
    }
}

// Width and height of a text in a font, as the procedures measure it.
inline int textWidth(int font, const char* t) {
    int w = 0;
    kit::record([&](TMapContext&) {
        GD_SelFont(font);
        w = GD_TextWidth(t);
    });
    return w;
}
inline int textHeight(int font, const char* t) {
    int h = 0;
    kit::record([&](TMapContext&) {
        GD_SelFont(font);
        h = GD_TextHeight(t);
    });
    return h;
}

inline kit::Settings reduced() {
    kit::Settings s;
    s.details = 0x8000;
    return s;
}

} // namespace symbols
