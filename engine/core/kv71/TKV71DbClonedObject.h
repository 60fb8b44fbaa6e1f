// The copy of a KV71 chart object that GdbObject::clone gives: it keeps its
// cell locked in the cell cache (so the cell outlives the iteration, a cache
// flush included) and mirrors the object's children as a tree of clones.
// Delete it through GdbObject's virtual destructor; its child clones go with
// it and the cell is unlocked. The cell's lock count changes under the
// process-wide cell-reader lock, so clones may come and go while walks on
// other threads load cells.
#pragma once

#include "kv71/TKV71DbObject.h"

#include <vector>

class TKV71DbClonedObject : public TKV71DbObject {
  public:
    // With cell and record: locks the cell and clones every child the
    // record points at (a child that is already an ancestor is left out, so
    // a cycle cannot recurse; one tree holds at most maxTreeSize clones and
    // maxTreeDepth levels below the first).
    // A parent gets the clone appended to its children.
    TKV71DbClonedObject(TGeoDb* database, TGeoCell* cell, KV71ObjectRecord* record,
                        TKV71DbClonedObject* parent);
    static constexpr std::size_t maxTreeSize = 65536;
    static constexpr unsigned maxTreeDepth = 64;
    ~TKV71DbClonedObject() override;

    // The clone tree: parent clone, child clones by walk or by number; null
    // at the ends.
    virtual GdbObject* CloneParent();
    virtual GdbObject* FirstChildClone();
    virtual GdbObject* NextChildClone();
    virtual GdbObject* ChildCloneNumber(unsigned n);
    std::size_t ChildCloneCount() const { return children_.size(); }

  private:
    struct NoChildren {};
    TKV71DbClonedObject(TGeoDb* database, TGeoCell* cell, KV71ObjectRecord* record,
                        TKV71DbClonedObject* parent, NoChildren);
    // Clones the record's children below this clone while budget lasts.
    void cloneChildren(std::size_t& budget, unsigned depth);
    bool hasAncestor(const KV71ObjectRecord* record) const;

    TKV71DbClonedObject* parentClone_;
    std::vector<TKV71DbClonedObject*> children_;
    std::size_t walk_ = 0;
    bool locked_ = false;
};
