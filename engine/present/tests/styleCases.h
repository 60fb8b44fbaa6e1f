// Renderer calls written out as short lines, so that a test states what a
// procedure handed to the renderers as a table of cases (procedure,
// attributes, geometry, settings -> lines):
//   "line c14 w1 1F1F"          prSimpleLine: colour, width, dash pattern
//   "fill c15 p8"               prArea: colour, area pattern
//   "styled [e; e] end e|none"  prComplexLine: elements and end marker
//   "pattern L1 [e; e]"         PLComplexArea: layout and elements
// An element is "gap n10 c0 f1", "stroke 0F0F w1 n400 c0 f1",
// "glyph 36/8 n3 c0 f0" (font/character), "text -1 '0' n0 c0 f64" or
// "upright 35/96 c0": kind, what it draws, count, colour and flags.
#pragma once

#include "procedureKit.h"
#include "rendering/RendererTrace.h"

#include <cstdio>
#include <string>
#include <vector>

class TMapContext;
class GdbObject;
class MapObject;

namespace styles {

inline std::string describe(const TracedMarker& m) {
    char s[160];
    switch (m.kind) {
    case 0:
        std::snprintf(s, sizeof s, "gap n%d c%d f%d", m.count, m.colour, m.flags);
        break;
    case 1:
        std::snprintf(s, sizeof s, "stroke %04X w%d n%d c%d f%d",
                      unsigned(m.character | std::uint8_t(m.font) << 8), m.size & 0xFF, m.count,
                      m.colour, m.flags);
        break;
    case 2:
        std::snprintf(s, sizeof s, "glyph %d/%d n%d c%d f%d", m.font, m.character, m.count,
                      m.colour, m.flags);
        break;
    case 3:
        std::snprintf(s, sizeof s, "text %d '%s' n%d c%d f%d", m.font,
                      m.hasText ? m.text.c_str() : "", m.count, m.colour, m.flags);
        break;
    case 4:
        std::snprintf(s, sizeof s, "upright %d/%d c%d", m.font, m.character, m.colour);
        break;
    default:
        std::snprintf(s, sizeof s, "kind %d", m.kind);
        break;
    }
    return s;
}

inline std::string describe(const RendererCall& c) {
    char s[64];
    std::string elements;
    for (const TracedMarker& m : c.elements)
        elements += (elements.empty() ? "" : "; ") + describe(m);
    switch (c.kind) {
    case RendererCallKind::SimpleLine:
        std::snprintf(s, sizeof s, "line c%d w%d %04X", c.colour, c.width, unsigned(c.style));
        return s;
    case RendererCallKind::Area:
        std::snprintf(s, sizeof s, "fill c%d p%d", c.colour, unsigned(c.style));
        return s;
    case RendererCallKind::ComplexLine:
        return "styled [" + elements + "] end " +
               (c.hasEndMarker ? describe(c.endMarker) : std::string("none"));
    case RendererCallKind::ComplexArea:
        return "pattern L" + std::to_string(c.layout) + " [" + elements + "]";
    default:
        return "other renderer";
    }
}

// Every call of a trace, described.
inline std::vector<std::string> describe(const kit::Trace& trace) {
    std::vector<std::string> out;
    for (const RendererCall& c : trace.calls())
        out.push_back(describe(c));
    return out;
}

using Lines = std::vector<std::string>;

struct Case {
    const char* name;
    void (*procedure)(TMapContext*, GdbObject*, MapObject*);
    std::vector<kit::Attr> attributes;
    kit::Geometry geometry;
    Lines expected;
    kit::Settings settings{};
};

// What the procedure handed to the renderers, described, and what it drew;
// the drawing state (templates included) starts afresh for each case.
struct Outcome {
    Lines calls;
    kit::Drawing drawing;
};
inline Outcome run(const Case& c) {
    kit::resetDrawingState();
    kit::FakeObject object(100);
    for (const kit::Attr& a : c.attributes)
        object.set(a);
    object.setGeometry(c.geometry);
    kit::Trace trace;
    kit::Drawing d = kit::run(c.procedure, object, c.settings);
    return {describe(trace), d};
}
inline Lines traced(const Case& c) {
    return run(c).calls;
}

inline void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(traced(c), c.expected);
    }
}

inline kit::Settings reducedDetails() {
    kit::Settings s;
    s.details = 0x8000;
    return s;
}

} // namespace styles
