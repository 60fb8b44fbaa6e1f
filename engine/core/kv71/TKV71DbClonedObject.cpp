#include "kv71/TKV71DbClonedObject.h"

#include "kv71/TKV71DbObjectIterator.h"
#include "kv71/cellCache.h"
#include "runtime/TLocker.h"

#include <algorithm>

TKV71DbClonedObject::TKV71DbClonedObject(TGeoDb* database, TGeoCell* cell, KV71ObjectRecord* record,
                                         TKV71DbClonedObject* parent)
    : TKV71DbClonedObject(database, cell, record, parent, NoChildren{}) {
    std::size_t budget = maxTreeSize - 1;
    cloneChildren(budget, 0);
}

TKV71DbClonedObject::TKV71DbClonedObject(TGeoDb* database, TGeoCell* cell, KV71ObjectRecord* record,
                                         TKV71DbClonedObject* parent, NoChildren)
    : TKV71DbObject(database, cell, record), parentClone_(parent) {
    if (cell && record) {
        // Loads on other threads read lock counts when they evict.
        TOS::TLocker::TLock guard(&KV71CellReaderLock());
        LockKV71Cell(cell);
        locked_ = true;
    }
    if (parent && std::find(parent->children_.begin(), parent->children_.end(), this) ==
                      parent->children_.end())
        parent->children_.push_back(this);
}

void TKV71DbClonedObject::cloneChildren(std::size_t& budget, unsigned depth) {
    const KV71ObjectRecord* record = record_;
    if (depth >= maxTreeDepth || !cell_ || !record || !(record->flags & KV71HasChildren) ||
        !record->children)
        return;
    for (unsigned i = 0; i < record->childCount && budget > 0; ++i) {
        KV71ObjectRecord* child = record->children[i];
        if (!child || hasAncestor(child)) continue;
        --budget;
        auto* clone = new TKV71DbClonedObject(database_, cell_, child, this, NoChildren{});
        clone->cloneChildren(budget, depth + 1);
    }
}

TKV71DbClonedObject::~TKV71DbClonedObject() {
    if (parentClone_) {
        auto& siblings = parentClone_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    while (!children_.empty())
        delete children_.back(); // each leaves the list
    if (locked_) {
        TOS::TLocker::TLock guard(&KV71CellReaderLock());
        UnlockKV71Cell(cell_);
    }
}

bool TKV71DbClonedObject::hasAncestor(const KV71ObjectRecord* r) const {
    for (const TKV71DbClonedObject* c = this; c; c = c->parentClone_)
        if (c->record_ == r) return true;
    return false;
}

GdbObject* TKV71DbClonedObject::CloneParent() {
    return parentClone_;
}

GdbObject* TKV71DbClonedObject::FirstChildClone() {
    walk_ = 0;
    return NextChildClone();
}

GdbObject* TKV71DbClonedObject::NextChildClone() {
    if (walk_ >= children_.size()) return nullptr;
    return children_[walk_++];
}

GdbObject* TKV71DbClonedObject::ChildCloneNumber(unsigned n) {
    return n < children_.size() ? children_[n] : nullptr;
}
