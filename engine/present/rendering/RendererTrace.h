// A hook through which a test sees every call of the renderers with the
// records as they were at call time: what a dashed one-pixel line or a
// stroke-font glyph leaves in a recording is only its pixels, while the
// trace names the style that made them. Null (no trace) by default; the
// hook runs on the drawing thread under the renderers' caller's lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TLineMarker;

enum class RendererCallKind {
    SimpleLine,  // prSimpleLine: colour, width, style
    BoundLine,   // prBoundLine: colour, width, style
    Area,        // prArea: colour, style (the area pattern)
    ComplexLine, // prComplexLine: count, elements, end marker
    StyledLine,  // PLComplexLine called by itself: count, elements, end marker
    RoundLine,   // PLSimpleRoundLine called by itself: elements (the one element), end marker
    ComplexArea, // PLComplexArea: layout, count, elements
};

// A copy of one element; the text copied up to its zero.
struct TracedMarker {
    std::int32_t kind = 0;
    std::uint8_t flags = 0;
    std::uint8_t colour = 0;
    std::uint8_t character = 0;
    std::int8_t font = 0;
    std::int16_t count = 0;
    std::int16_t size = 0;
    bool hasText = false;
    std::string text;
};

struct RendererCall {
    RendererCallKind kind = RendererCallKind::SimpleLine;
    // The geometry type of the MapObject (-1 for the point-list renderers,
    // or without one).
    int geometryType = -1;
    int colour = 0;
    int width = 0;
    // Dash pattern of the simple lines, area pattern of prArea.
    unsigned short style = 0;
    // The style's element count as given, and copies of its elements (at
    // most 16; a null element is left out).
    int count = 0;
    std::vector<TracedMarker> elements;
    bool hasEndMarker = false;
    TracedMarker endMarker;
    // Area patterns: the layout.
    std::int32_t layout = 0;
};

typedef void (*RendererTraceHook)(const RendererCall& call, void* user);

// Installs the hook (null removes it) with the pointer it is handed back.
void setRendererTrace(RendererTraceHook hook, void* user);

// Used by the renderers: whether a hook is installed, and the copy of a
// marker.
bool rendererTraced();
void traceRendererCall(const RendererCall& call);
TracedMarker traceMarker(const TLineMarker& marker);
