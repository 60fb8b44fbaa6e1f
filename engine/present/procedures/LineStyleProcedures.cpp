// Line styles of the built-in procedures of codes 101 to 217: objects drawn
// as a line, or as an area whose visible boundary is drawn as a line. Each
// procedure either draws a plain line (prSimpleLine: colour, pen width, dash
// pattern) or assembles a styled line from the shared line element templates
// (procedures/LineElementTemplates.h), writing into each template the count
// and colour its composition names, and draws it with prComplexLine. The
// templates keep what is written: a field a composition does not write is
// what the last user left.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/LineElementTemplates.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

#include <cstring>
#include <initializer_list>

namespace {

constexpr unsigned short kSolid = 0;
constexpr unsigned short kDashed = 0x1F1F;
constexpr unsigned short kDotted = 0x9999;

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

bool reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

int typeOf(const MapObject* geometry) {
    return geometry ? geometry->type : egtEmpty;
}

// Shared template `index` as a composition names it: "template 16 × 3"
// writes the count, "(colour 14)" the colour as well; a template named
// without a count is taken as it stands.
TLineMarker& templ(int index) {
    return LineElementTemplates[static_cast<std::size_t>(index)];
}
TLineMarker& templ(int index, int count) {
    TLineMarker& t = templ(index);
    t.count = static_cast<std::int16_t>(count);
    return t;
}
TLineMarker& templ(int index, int count, int colour) {
    TLineMarker& t = templ(index, count);
    t.colour = static_cast<std::uint8_t>(colour);
    return t;
}
// Template 0 (or another) as an end marker in a colour; its count stays.
TLineMarker& endMarker(int index, int colour) {
    TLineMarker& t = templ(index);
    t.colour = static_cast<std::uint8_t>(colour);
    return t;
}

// A styled line built on the stack. A style holds at most 16 elements: a
// composition that would make it longer stops adding there.
class Composition {
  public:
    explicit Composition(TLineMarker* end = nullptr) : style_{0, 0, {}, end} {}

    Composition& add(TLineMarker& element) {
        if (style_.count < kStyleElements) style_.elements[style_.count++] = &element;
        return *this;
    }
    void setEnd(TLineMarker* end) { style_.endMarker = end; }
    void draw(TMapContext* context, MapObject* geometry) {
        prComplexLine(context, &style_, geometry);
    }

  private:
    TStyledLine style_;
};

} // namespace

void Int1Proc101(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 14, 1, kDashed);
}

void Int1Proc102(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned category = 0;
    AttrByte(object, 32, category);
    if (category == 2) {
        Composition(nullptr).add(templ(16, 1)).draw(context, geometry);
        return;
    }
    prSimpleLine(context, geometry, 0, 1, kDashed);
}

void Int1Proc106(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

void Int1Proc107(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Each value 4 (not in use) of the status list opens one more gap.
    Composition style;
    style.add(templ(16, 3));
    AttrList status;
    if (AttrListOf(object, 109, status))
        for (unsigned i = 0; i < status.count; ++i)
            if (status.values[i] == 4) style.add(templ(6, 10));
    style.draw(context, geometry);
}

void Int1Proc108(TMapContext* context, GdbObject*, MapObject* geometry) {
    Composition().add(templ(9, 4, 14)).add(templ(16, 4, 14)).draw(context, geometry);
}

void Int1Proc114(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kDashed);
}

void Int1Proc121(TMapContext* context, GdbObject*, MapObject* geometry) {
    Composition style;
    style.add(templ(25, 1));
    style.setEnd(&endMarker(1, 0));
    style.draw(context, geometry);
}

void Int1Proc122(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

void Int1Proc123(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) != egtArea) return;
    Composition style;
    style.add(templ(28, 10));
    style.setEnd(&endMarker(0, 0));
    style.draw(context, geometry);
}

void Int1Proc124(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 14, 1, kDashed);
}

void Int1Proc128(TMapContext* context, GdbObject* object, MapObject* geometry) {
    Composition style;
    style.add(templ(9, 10));
    style.setEnd(&endMarker(0, 14));
    // A glyph for every restriction of anchoring (2) or fishing (3), in
    // list order.
    AttrList restrictions;
    if (!reduced(context) && AttrListOf(object, 43, restrictions))
        for (unsigned i = 0; i < restrictions.count; ++i) {
            if (restrictions.values[i] == 2) style.add(templ(36, 1));
            if (restrictions.values[i] == 3) style.add(templ(39, 1));
        }
    char* information = nullptr;
    if (AttrText(object, 78, information) && std::strstr(information, "CABLE AREA"))
        style.add(templ(10, 10));
    style.draw(context, geometry);

    // The area's mark at the centre of gravity, for every geometry that has
    // one.
    Point centre;
    if (!geometry || !geometry->CentreOfGravity(centre)) return;
    GD_SelFont(35);
    GD_CharXY(14, centre.x, centre.y, 21);
}

void Int1Proc130(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

void Int1Proc132(TMapContext* context, GdbObject* object, MapObject* geometry) {
    struct Pass {
        int colour, width;
    };
    unsigned category = 0;
    AttrByte(object, 44, category);
    // The minor roads and streets (3, 6) only from scale exponent -1 on.
    const bool detailed = context && context->scaleExponent >= -1;
    auto draw = [&](std::initializer_list<Pass> passes) {
        for (const Pass& p : passes)
            prSimpleLine(context, geometry, p.colour, p.width, kSolid);
    };
    // Wide passes first, so the narrow ones lie on top.
    switch (category) {
    case 1:
        draw({{2, 9}, {11, 3}});
        break;
    case 2:
        draw({{0, 7}, {11, 3}});
        break;
    case 3:
        if (detailed) draw({{0, 3}, {3, 1}});
        break;
    case 5:
        draw({{11, 2}});
        break;
    case 6:
        if (detailed) draw({{3, 1}});
        break;
    case 51:
        draw({{2, 5}, {11, 3}, {2, 1}});
        break;
    case 52:
        draw({{0, 5}, {2, 3}});
        break;
    case 53:
    case 55:
        draw({{1, 2}});
        break;
    case 54:
        draw({{2, 5}, {11, 3}});
        break;
    default:
        draw({{13, 1}});
        break;
    }
}

void Int1Proc136(TMapContext*, GdbObject*, MapObject*) {}

void Int1Proc143(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kDotted);
}

namespace {

// Sloping ground: templates 29 and 30 once each, solid end marker.
void slopeLine(TMapContext* context, MapObject* geometry) {
    Composition style;
    style.add(templ(29, 1)).add(templ(30, 1));
    style.setEnd(&endMarker(0, 0));
    style.draw(context, geometry);
}

} // namespace

void Int1Proc144(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtLine) slopeLine(context, geometry);
}

void Int1Proc145(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtArea) slopeLine(context, geometry);
}

void Int1Proc151(TMapContext* context, GdbObject*, MapObject* geometry) {
    // Template 0 is both the first element and the end marker: one record,
    // count 200 and colour 14 for both.
    Composition style;
    style.add(templ(0, 200, 14)).add(templ(22, 1));
    style.setEnd(&endMarker(0, 14));
    style.draw(context, geometry);
}

void Int1Proc154(TMapContext* context, GdbObject*, MapObject* geometry) {
    // Template 23 keeps the count the last user left in it.
    Composition style;
    style.add(templ(0, 15, 0)).add(templ(23)).add(templ(6, 5));
    style.setEnd(&endMarker(0, 0));
    style.draw(context, geometry);
}

void Int1Proc155(TMapContext* context, GdbObject*, MapObject* geometry) {
    // Six elements over three records: the gaps and glyphs repeat the
    // counts written at their first use.
    TLineMarker& line = templ(0, 200, 14);
    TLineMarker& gap = templ(6, 3);
    TLineMarker& glyph = templ(15, 1);
    Composition().add(line).add(gap).add(glyph).add(gap).add(glyph).add(gap).draw(context,
                                                                                  geometry);
}

void Int1Proc159(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 15, 3, kSolid);
}

void Int1Proc160(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 14, 1, kDashed);
}

void Int1Proc170(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) != egtLine) return;
    Composition style;
    style.add(templ(28, 10));
    style.setEnd(&endMarker(0, 0));
    style.draw(context, geometry);
}

void Int1Proc173(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtLine) prSimpleLine(context, geometry, 0, 1, kSolid);
}

void Int1Proc177(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // The label "0" in template 7, as an interrupted line: the flags and the
    // text hold while the line is drawn and are put back afterwards.
    char label[] = "0";
    TLineMarker& text = templ(7);
    TemplateText withText(text, label);
    TemplateFlags interrupted(text, kMarkerInterrupted);
    text.colour = 0;

    Composition style;
    style.add(text);
    unsigned quality = 0;
    if (AttrByte(object, 91, quality) && quality != 1) {
        // Not surveyed: a dashed line after each label.
        style.add(templ(2, 400, 0));
        style.setEnd(&templ(0));
    } else {
        // Surveyed: a solid line with the label every 400 pixels.
        style.setEnd(&templ(0, 400, 0));
    }
    style.draw(context, geometry);
}

void Int1Proc197(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned lineStyle = 0;
    if (!AttrByte(object, 138, lineStyle)) return;
    switch (lineStyle) {
    case 2:
        prSimpleLine(context, geometry, 14, 1, kDashed);
        break;
    case 3: {
        Composition style;
        style.add(templ(12, 1)).add(templ(13, 1));
        style.setEnd(&endMarker(0, 0));
        style.draw(context, geometry);
        break;
    }
    case 4: {
        Composition style;
        style.add(templ(11, 1));
        style.setEnd(&endMarker(0, 0));
        style.draw(context, geometry);
        break;
    }
    case 5:
        prSimpleLine(context, geometry, 0, 1, kDotted);
        break;
    default: // 1, 0 and 6 or more
        prSimpleLine(context, geometry, 14, 1, kSolid);
        break;
    }
}

void Int1Proc202(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kDashed);
}

void Int1Proc217(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 2, 3, kSolid);
}
