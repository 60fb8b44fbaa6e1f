// The look-up records a presentation gives the chart database: per object
// class its display masks, per attribute its display mask, print format and
// display name. The presentation library derives from GdbLookupTables and is
// attached to a dictionary (TGdbDictionary::SetPresentation); objects and
// iterators reach it through their database's dictionary. Tests attach their
// own tables through the same seam.
#pragma once

#include <cstdint>

// Object look-up entry of one object class.
struct GdbObjectLookup {
    std::uint32_t maskA; // information pages (GdbObject::GetInfoPages)
    std::uint32_t maskB; // display flags (GdbObject::GetDispFlags)
    std::uint32_t reserved[2];
};

// Attribute look-up entry of one attribute code.
struct GdbAttrLookup {
    std::uint32_t mask; // bit 0 shown, bit 1 shown in short prints
    const char* format; // printf format of the value, or null
    const char* name;   // display name, or null
};

class GdbLookupTables {
  public:
    virtual ~GdbLookupTables() = default;
    // The entry of an object class code, or null when the tables have none
    // (read as an all-zero entry: nothing shown).
    virtual const GdbObjectLookup* objectLookup(unsigned code) const = 0;
    // The entry of an attribute code, or null when the tables have none.
    virtual const GdbAttrLookup* attrLookup(unsigned code) const = 0;
};
