// Styled lines composed from the shared line element templates
// (procedures/LineElementTemplates.h), as the line, area and depth
// procedures of the codes below 100 build them: each use of a template
// writes into the shared record the count (and colour) its composition
// names, and a field the composition does not name is taken as the last
// user left it. One record used twice in a style draws with the last count
// written in both places.
//
// Example: a dashed line in colour 14 with glyph 11 of font 34 every 200
// pixels, closed by a solid end marker in colour 14.
//   ComposedLine style(&TemplateColour(kTemplateSolid, 14));
//   style.add(SharedTemplate(kTemplateDash0F0F, 200, 14))
//       .add(TemplateColour(kTemplateFont34Glyph11, 14));
//   style.draw(context, geometry);
#pragma once

#include "procedures/LineElementTemplates.h"
#include "rendering/Renderers.h"

#include <cstddef>
#include <cstdint>

// The templates by content.
inline constexpr int kTemplateSolid = 0;     // solid stroke, width 1
inline constexpr int kTemplateDash0F0F = 2;  // dash 0x0F0F, width 1
inline constexpr int kTemplateDash3333 = 3;  // dash 0x3333, width 1
inline constexpr int kTemplateWideDash = 5;  // dash 0x0F0F, width 3
inline constexpr int kTemplateGap = 6;       // gap
inline constexpr int kTemplateLabelText = 7; // text in font -1
inline constexpr int kTemplatePlainText = 8; // text in font 0
inline constexpr int kTemplateFont34Glyph11 = 35;
inline constexpr int kTemplateFont34Glyph7 = 37;      // colour 14
inline constexpr int kTemplateFont34Glyph7Black = 38; // colour 0
inline constexpr int kTemplateFont34Glyph12 = 40;
inline constexpr int kTemplateAreaGlyph = 45; // upright glyph of font 35

// The template of stroke-font glyph k (1 to 25).
constexpr int VectorGlyphTemplate(int k) {
    return 8 + k;
}

// Shared template `index`, taken as it stands.
inline TLineMarker& SharedTemplate(int index) {
    return LineElementTemplates[static_cast<std::size_t>(index)];
}
// The same with its count written.
inline TLineMarker& SharedTemplate(int index, int count) {
    TLineMarker& t = SharedTemplate(index);
    t.count = static_cast<std::int16_t>(count);
    return t;
}
// The same with its count and colour written.
inline TLineMarker& SharedTemplate(int index, int count, int colour) {
    TLineMarker& t = SharedTemplate(index, count);
    t.colour = static_cast<std::uint8_t>(colour);
    return t;
}
// Shared template `index` with only its colour written (an end marker, or a
// glyph named without a count).
inline TLineMarker& TemplateColour(int index, int colour) {
    TLineMarker& t = SharedTemplate(index);
    t.colour = static_cast<std::uint8_t>(colour);
    return t;
}

// A styled line built on the stack. A style holds at most 16 elements: a
// composition that would make it longer stops adding there.
class ComposedLine {
  public:
    explicit ComposedLine(TLineMarker* end = nullptr) : style_{0, 0, {}, end} {}

    ComposedLine& add(TLineMarker& element) {
        if (style_.count < kStyleElements) style_.elements[style_.count++] = &element;
        return *this;
    }
    void setEnd(TLineMarker* end) { style_.endMarker = end; }
    int count() const { return style_.count; }
    void draw(TMapContext* context, MapObject* geometry) {
        prComplexLine(context, &style_, geometry);
    }

  private:
    TStyledLine style_;
};
