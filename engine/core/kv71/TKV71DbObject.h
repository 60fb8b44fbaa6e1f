// The chart object of KV71 databases: a light cursor over one object record
// of a loaded cell (kv71/TGeoCell.h). An iterator re-points one cursor at
// each record it hands out; children are walked through a second cursor
// that the object makes on first need; attributes through a cursor embedded
// in the object. clone() makes a TKV71DbClonedObject that keeps its cell in
// the cache.
//
// Names and formats come from the dictionary tables (kv71/dictionaryTables.h);
// display masks, attribute display names and print formats from the
// presentation's look-up tables attached to the database's dictionary
// (gdb/GdbLookupTables.h); without them the masks answer -1 and every
// attribute is shown.
//
// A cursor without a record answers 0 or null everywhere.
#pragma once

#include "gdb/GdbObject.h"
#include "kv71/TGeoCell.h"

class GdbLookupTables;

class TKV71DbObject : public GdbObject {
  public:
    // The attribute cursor of an object.
    class TAttr : public TGdbAttr {
      public:
        explicit TAttr(TKV71DbObject* owner);

        // Attribute code.
        int GetLabel() override;
        // typed 0: the address of the value bytes (in the cell, writable) is
        // written to out as a pointer; answers sizeof(void*). Otherwise by
        // the attribute's format: 1 one byte (1); 2 the tenths value as a
        // float (4); 3 and 4 the four stored bytes (4); 5 the text and its
        // zero (length + 1); 6 the three leading bytes, the text and its zero
        // (length + 4); 7 the count byte and the items (count + 1); other
        // formats 0. A null out answers the size without writing.
        int GetValue(void* out, int typed) override;
        // The attribute look-up mask; -1 without one.
        int GetDispFlags() override;
        // The display name when the look-up mask and flags both have bit 1
        // and the name is not empty, else the dictionary's descriptive name,
        // else "ACRONM(code)". A hidden attribute (look-up mask without bit
        // 0) prints nothing. Cut to size - 1 characters and terminated;
        // answers the characters written, or the full length when buf is
        // null or size 0.
        int PrintName(char* buf, unsigned size, unsigned long flags) override;
        // The value as text (see the .cpp for each format; '|' in texts is a
        // line break "\r\n"). A print format from the look-up table is used
        // only when it holds exactly one conversion that fits the value
        // (floating for tenths and floats, d or i for integers). Cut to
        // size - 1 characters and terminated; answers the full length, or
        // size - 1 when the text was cut.
        int PrintValue(char* buf, unsigned size) override;

        // Positions the cursor at the first attribute of its object: false
        // when there is none.
        bool First();
        // Moves to the following attribute: false at the end.
        bool Next();
        // Leaves the walk (no current attribute).
        void Reset() {
            index_ = -1;
            current_ = nullptr;
        }
        // Format of the current attribute (KV71AttributeFormat).
        int Format() const { return format_; }
        // The current attribute record (code, then value), or null.
        std::uint8_t* Record() const { return current_; }

      private:
        // Positions at the record starting at p with index i: false when it
        // does not lie wholly within the object's attribute bytes or its
        // code has no known format.
        bool at(std::uint8_t* p, int i);

        TKV71DbObject* owner_;
        int index_ = -1;
        std::uint8_t format_ = 0;
        std::uint8_t* current_ = nullptr;
        std::uint32_t size_ = 0; // bytes of the current record
    };

    explicit TKV71DbObject(TGeoDb* database, TGeoCell* cell = nullptr,
                           KV71ObjectRecord* record = nullptr);
    ~TKV71DbObject() override;

    // Points the cursor at another record (null for none); its child cursor
    // is deleted and its attribute walk reset.
    void SetRecord(TGeoCell* cell, KV71ObjectRecord* record);
    TGeoCell* GetCell() const { return cell_; }
    KV71ObjectRecord* GetRecord() const { return record_; }

    // A TKV71DbClonedObject on the same database, cell and record; null
    // without cell or record.
    GdbObject* clone() override;
    // The class name on its own line ("\r\n") then "name: value" per shown
    // attribute, each ended by "\r\n"; with flag bit 2 the name is followed
    // by ": " and each attribute by ", ", and only attributes whose look-up
    // mask has bit 1 are shown. Cut and terminated; answers the length, or
    // size when the text was cut.
    int Print(char* buf, unsigned size, unsigned long flags) override;
    // The class name, or "ACRONM(code)" when the class has none. Cut to
    // size - 1 characters and terminated; answers the characters written, or
    // the full length when buf is null or size 0.
    int PrintName(char* buf, unsigned size, unsigned long flags) override;
    int GetLabel() override;
    // Writes a GdbMetrics record (gdb/GdbMetrics.h) when buf is not null and
    // size suffices; answers the bytes needed. A buffer that is too small
    // gets only hasChildren, and only when the head fits.
    unsigned long GetMetrics(void* buf, unsigned long size) override;
    // Mask B / mask A of the class's object look-up entry; -1 without one.
    int GetDispFlags() override;
    int GetInfoPages() override;
    // 1 point, 2 line, 4 area; 0 for sounding sets and objects without
    // geometry.
    int GetGeometryType() override;
    TGdbAttr* GetAttr(unsigned code) override;
    TGdbAttr* FirstAttr() override;
    TGdbAttr* NextAttr() override;
    int HasParent() override;
    int HasChilds() override;
    // The cursor that made this child cursor, or null.
    GdbObject* GetParent() override;
    GdbObject* FirstChild() override;
    GdbObject* NextChild() override;
    GdbObject* ChildNumber(unsigned n) override;

    // The presentation's look-up tables, or null.
    const GdbLookupTables* Presentation() const;

  protected:
    TKV71DbObject* parent_ = nullptr;      // set in a child cursor only
    TKV71DbObject* childCursor_ = nullptr; // made on demand
    int childIndex_ = -1;                  // -1 when not walking children
    TGeoCell* cell_;
    KV71ObjectRecord* record_;
    TAttr attr_;

  private:
    // Points the child cursor at child n: the cursor, or null.
    GdbObject* child(unsigned n);
};
