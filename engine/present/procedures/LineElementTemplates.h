// The shared line elements of the built-in procedures: one table of 46
// TLineMarker records that lives as long as the library. Procedures put
// pointers to these records into the styles they build on their stack and,
// before drawing, write the count (and where their composition says so the
// colour or character) into the records they use. What one procedure writes
// stays for the next: a procedure that uses a record without writing a field
// gets what the last user left. Everything runs under DrawLock.
//
// The records, by index:
//   0, 1       solid strokes of width 1 and 3
//   2 to 5     dashed strokes 0x0F0F, 0x3333, 0x5555 (width 1), 0x0F0F (width 3)
//   6          a gap
//   7, 8       a text in font -1 (labels) and font 0: no text of their own
//   9 to 33    stroke-font glyphs 1 to 25 (font 36), turned to the line
//   34 to 44   outline glyphs of font 34 turned to the line
//   45         an upright glyph 7 of font 35, the element of one-glyph patterns
//
// Two rules keep a finished call's state from leaking into the next: a
// procedure that points template 7 or 8 at its own text clears the text
// again before it returns (TemplateText does both), and one that changes a
// template's flags puts them back (TemplateFlags).
//
// Example: a dashed line in colour 14 with a glyph every 150 pixels.
//   TLineMarker* t = LineElementTemplates.data();
//   t[2].count = 150; t[2].colour = 14; t[34].count = 1;
//   TStyledLine style{0, 2, {&t[2], &t[34]}, &t[0]};
//   prComplexLine(context, &style, geometry);
#pragma once

#include "rendering/LineStyles.h"

#include <array>

inline constexpr int kLineElementTemplateCount = 46;

extern std::array<TLineMarker, kLineElementTemplateCount> LineElementTemplates;

// Puts every record back to its contents at library load (for tests that
// need a known start).
void RestoreLineElementTemplates();

// Points a text template at text for the scope: its character field gets
// the text's length (up to 255) and its text pointer the text; both are
// cleared (0, null) when the scope ends.
class TemplateText {
  public:
    TemplateText(TLineMarker& element, char* text);
    ~TemplateText();
    TemplateText(const TemplateText&) = delete;
    TemplateText& operator=(const TemplateText&) = delete;

  private:
    TLineMarker& element_;
};

// Sets a template's flags for the scope and puts the old flags back when it
// ends.
class TemplateFlags {
  public:
    TemplateFlags(TLineMarker& element, std::uint8_t flags);
    ~TemplateFlags();
    TemplateFlags(const TemplateFlags&) = delete;
    TemplateFlags& operator=(const TemplateFlags&) = delete;

  private:
    TLineMarker& element_;
    std::uint8_t saved_;
};
