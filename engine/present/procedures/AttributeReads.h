// How the symbology procedures read attribute values: by attribute code
// through GdbObject::GetAttr, then TGdbAttr::GetValue, copied (typed 1) or
// by reference (typed 0), never past the value's stored size (which
// GetValue(null, 1) reports).
//
// Each read answers whether the attribute gave a value and leaves `out` as
// it was otherwise, so a procedure keeps its default for an absent
// attribute:
//   unsigned category = 0;
//   float depth = 0;
//   AttrByte(object, 57, category);
//   const bool hasDepth = AttrFloat(object, 116, depth);
//
// The reads with a TGdbAttr* serve procedures that walk the attributes
// (FirstAttr, NextAttr, GetLabel); a null attribute is absent.
#pragma once

#include <cstdint>

class GdbObject;
class TGdbAttr;

// One-byte value: the first byte of the copied value.
bool AttrByte(TGdbAttr* attr, unsigned& out);
bool AttrByte(GdbObject* object, unsigned code, unsigned& out);

// Copied float (a float as stored, or a 16-bit whole number as its float):
// a value that is not four bytes, or not a finite number (not-a-number or
// infinite), counts as absent.
bool AttrFloat(TGdbAttr* attr, float& out);
bool AttrFloat(GdbObject* object, unsigned code, float& out);

// 32 bits as stored: a value that is not four bytes counts as absent.
bool AttrLong(TGdbAttr* attr, std::int32_t& out);
bool AttrLong(GdbObject* object, unsigned code, std::int32_t& out);

// The text by reference: the stored bytes themselves (writable, so a
// procedure may change a text in place without changing its length). A
// value without its terminating zero within the stored size counts as absent.
bool AttrText(TGdbAttr* attr, char*& out);
bool AttrText(GdbObject* object, unsigned code, char*& out);

// The second byte of the stored value: the second character of a text, the
// first value of a counted list. 0 when the value is shorter than two bytes
// (an empty text or list).
bool AttrSecondByte(TGdbAttr* attr, unsigned& out);
bool AttrSecondByte(GdbObject* object, unsigned code, unsigned& out);

// A counted byte list by reference: the values after the count byte, as
// many as the count says and the stored size holds.
struct AttrList {
    const std::uint8_t* values = nullptr;
    unsigned count = 0;
};
bool AttrListOf(TGdbAttr* attr, AttrList& out);
bool AttrListOf(GdbObject* object, unsigned code, AttrList& out);

// The first value of a counted list; 0 for an empty list.
bool AttrFirstOfList(GdbObject* object, unsigned code, unsigned& out);

// A packed text (three leading bytes, then a zero-terminated text), as the
// name attribute 139 holds it: flags, x and y offsets as signed bytes, and
// the text by reference (writable). A value shorter than the three bytes and
// a zero, or without the zero, counts as absent.
struct PackedText {
    std::uint8_t flags = 0;
    std::int8_t dx = 0;
    std::int8_t dy = 0;
    char* text = nullptr;
};
bool AttrPackedText(TGdbAttr* attr, PackedText& out);
bool AttrPackedText(GdbObject* object, unsigned code, PackedText& out);
