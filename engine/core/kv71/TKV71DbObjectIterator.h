// The object iterator of KV71 databases: TKV71Db::openGdbQuery attaches one
// to each query.
//
// init gathers the cells of the query's scale level that cover the query's
// area, loading them through the cell cache and locking them there until
// done; nextGdbObject then walks the objects of all gathered cells priority
// layer by priority layer, ascending (the default) or descending as the
// formula asks, filtered by the formula, calling the query's hooks on the way:
//   preprocessPriorityLayer(p)  when the walk enters a layer that has objects
//                               in some gathered cell;
//   preprocessCell(cell)        when the walk goes on in another cell than the
//                               one of the previous object (the current cell
//                               is not reset between layers);
//   postprocessCell(cell)       when a cell's objects of the layer are done;
//   postprocessPriorityLayer(p) when the layer is done.
// Any hook answering -1 ends the walk. A layer hook answering 1 makes
// nextGdbObject answer null at once; the following call goes on from there
// (the pre-layer hook is not called again for that layer). Without a query
// the walk runs without hooks. The scale-level hooks are not called.
//
// Within a layer the cells come in the order of the cell list: by level,
// then latitude index, then longitude index; within a cell the objects in
// file order (ascending) or its reverse (descending).
//
// An iterator belongs to one thread. Its cells cannot be evicted while
// linked; cell loading in init and the release of the cells in done hold the
// process-wide cell-reader lock, so iterators on several threads share the
// cell cache.
#pragma once

#include "gdb/TGdbObjectIterator.h"
#include "kv71/KV71CellId.h"
#include "kv71/TKV71DbObject.h"

#include <cstdint>
#include <vector>

class TKV71Db;
class GdbLookupTables;

namespace TOS {
class TLocker;
}

// The process-wide lock held around every find-or-load of a cell (and the
// switch of the chart root that goes with it).
TOS::TLocker& KV71CellReaderLock();

// One gathered cell and the range of its priority-sorted object table that
// the walk is in: indices from start towards end (end excluded), current the
// next one to look at.
struct TKV71CellLink {
    TGeoCell* cell;
    int start;
    int current;
    int end;
};

class TKV71DbObjectIterator : public TGdbObjectIterator {
  public:
    // Option bits of the formula that the iterator reads.
    static constexpr std::uint32_t childrenOption = 1; // also return child objects

    // query may be null (a walk without hooks). The presentation's look-up
    // tables are taken from the database's dictionary now.
    TKV71DbObjectIterator(TKV71Db* database, TGdbQuery* query);
    ~TKV71DbObjectIterator() override;

    // Gathers the cells of the scale level of the scale denominator that
    // cover the rectangles of cover (see the .cpp for where cells are looked
    // for), then resetPriorityLayers(0, 255): its answer, or -1 when the
    // scale has no level. A previous walk is released first.
    int init(GeoCover& cover, unsigned long scale) override;
    // Unlocks and forgets every gathered cell, forgets the current object and
    // frees the include and exclude sets; masks, order and options stay. 0.
    int done() override;
    // Takes a TGdbFormula: order (word 5: non-zero ascending, 0 descending),
    // first and last layer when >= 0 (kept, not used by the walk), masks A
    // and B, options, and adds the listed class codes (those below the
    // dictionary's object count) to the include and exclude sets; the sets
    // only grow until done. 0, or -1 for a null formula or kind other than 0
    // (nothing changes then).
    int setFormula(const void* formula) override;
    // The object handed out last, or null.
    GdbObject* currentGdbObject() override;
    // Always null: the walk starts with nextGdbObject.
    GdbObject* firstGdbObject() override;
    // The next object of the walk (owned by the iterator, re-pointed at each
    // step), or null: paused by a layer hook, or the walk ended (then null
    // until the next init or resetPriorityLayers).
    GdbObject* nextGdbObject() override;
    // Restarts the walk over layers min(a, b)..max(a, b), narrowed to the
    // priorities present in the gathered cells, in the formula's order. 0, or
    // -1 when no cell is gathered or no layer is left (the walk is then
    // ended).
    int resetPriorityLayers(int a, int b) override;

    // State, for tests and callers that inspect the walk.
    const std::vector<TKV71CellLink>& Links() const { return links_; }
    std::uint32_t MaskA() const { return maskA_; }
    std::uint32_t MaskB() const { return maskB_; }
    std::uint32_t Options() const { return options_; }
    int FormulaFirstLayer() const { return formulaFirst_; }
    int FormulaLastLayer() const { return formulaLast_; }
    bool HasIncludeSet() const { return !include_.empty(); }
    bool HasExcludeSet() const { return !exclude_.empty(); }

  private:
    // Finds or loads the named cell under the current chart root (the
    // caller holds the cell-reader lock) and links it: true when it was
    // found with objects.
    bool linkCell(char* name);
    // Loads the base cell, or when it is absent each of its variants A..D;
    // answers how many were linked, 4 for the base cell.
    int linkPlace(char* name);
    // Sets the link's range for the current layer: false when it has no
    // objects there.
    bool enterLayer(TKV71CellLink& link) const;
    // The first link from index i on that has objects in the current layer,
    // with its range set, or -1.
    int findLink(std::size_t i);
    // Whether the record passes the formula's filters.
    bool accepts(const KV71ObjectRecord* record) const;
    // Ends the walk: null.
    GdbObject* endWalk();
    void releaseLinks();

    TKV71Db* kv71Db_;
    const GdbLookupTables* lookup_;
    TKV71DbObject object_;
    std::vector<TKV71CellLink> links_; // sorted by level, latitude, longitude
    int link_ = -1;                    // index of the current link, or -1
    TGeoCell* cell_ = nullptr;         // the walk's current cell
    int formulaFirst_ = 0;
    int formulaLast_ = 255;
    std::uint32_t maskA_ = 0xFFFFFFFFu;
    std::uint32_t maskB_ = 0xFFFFFFFFu;
    std::vector<std::uint32_t> include_; // bit per class code, empty for none
    std::vector<std::uint32_t> exclude_;
    std::uint32_t options_ = 0;
};
