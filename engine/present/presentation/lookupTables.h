// The look-up tables of a presentation: OBJLUT.DIC (per object class its
// information-page and display-flag masks and two numbers) and ATTRLUT.DIC
// (per attribute its display mask, value print format and display name).
//
// Both files are Windows-1252 text read line by line whatever a line's length
// (LF or CR LF). A line whose first character after leading white space is
// ';' is a comment; empty lines are skipped. Fields are separated by '|'; the
// first field is a label that is not read.
//
// A mask field is a digit string: its decimal digits up to the next '|' stand
// for bits 0, 1, 2, ... in order, "0" leaving its bit clear and any other
// digit setting it; other characters are skipped without using a bit, and only
// the first 32 digits count. So "1 0 1 1" is 13. Numbers are unsigned decimal
// with leading white space allowed; no digits read as 0; too many saturate.
//
// OBJLUT.DIC lines: LABEL|code|info pages|display flags|large|small. The code
// may be at most the object count; the large number at most 1000, the small
// number at most 10. A line may stop after the info pages or the display
// flags: the fields it leaves out keep their values. The whole table fails on
// a line without '|' or without a '|' after the code, a code above the count
// or a number out of range.
//
// ATTRLUT.DIC lines: LABEL|code|mask|(format)|display name. A line without
// '|' is skipped. The code may be at most the attribute count, else the table
// fails, as it does without a '|' after the code. The mask of a code read
// twice gathers the bits of both lines; a later format or name replaces the
// earlier one. The format is the text between the first '(' after the mask
// and the first ')' after it, when at least one character lies between; the
// display name is the text after the first '|' that follows the '(' (or,
// without one, follows the start of the fourth field) up to the next '|' or
// the line end, without white space around it; normally the fifth field.
#pragma once

#include "gdb/GdbLookupTables.h"

#include <memory>
#include <string_view>

// One attribute's look-up entry: the record the chart objects read, owning its
// two texts.
struct TAttributeLUTEntry : GdbAttrLookup {
    TAttributeLUTEntry() : GdbAttrLookup{0, nullptr, nullptr} {}
    ~TAttributeLUTEntry();
    TAttributeLUTEntry(const TAttributeLUTEntry&) = delete;
    TAttributeLUTEntry& operator=(const TAttributeLUTEntry&) = delete;

    // Replace a text with a copy of text (freeing the one held).
    void setFormat(std::string_view text);
    void setName(std::string_view text);
};

// The object table of objectCount + 1 records (codes 0 to objectCount, zero
// where no line sets them) from the file at path (found without regard to the
// case of its name); null when the count is 0, the file cannot be opened or
// read, a line fails or memory runs out.
std::unique_ptr<GdbObjectLookup[]> loadObjectLUT(const char* path, unsigned objectCount);

// The attribute table of attrCount + 1 entries from the file at path; null
// when the count is 0, the file cannot be opened or read, a line fails or
// memory runs out.
std::unique_ptr<TAttributeLUTEntry[]> loadAttributeLUT(const char* path, unsigned attrCount);
