#include "gdb/TGdbMultyQuery.h"

#include "gdb/TGdbFormula.h"
#include "gdb/TGdbObjectIterator.h"
#include "gdb/TGeoDb.h"

TGdbMultyQuery::TGdbMultyQuery() : current_(members_.end()) {}

TGdbMultyQuery::~TGdbMultyQuery() {
    clear();
}

int TGdbMultyQuery::addQuery(TGeoDb& database) {
    for (const Member& member : members_)
        if (member.iterator->GetDatabase() == &database) return 0;
    iterator_ = nullptr;
    const int answer = database.openGdbQuery(*this);
    TGdbObjectIterator* member = iterator_;
    iterator_ = nullptr;
    if (answer != 0 || !member) {
        delete member;
        return -1;
    }
    member->SetDescending(IsDescending());
    // After the members of equal or lower slots (an unlisted database, slot
    // -1, sorts first).
    auto at = members_.begin();
    while (at != members_.end() && at->iterator->GetDatabase()->GetSlot() <= database.GetSlot())
        ++at;
    members_.insert(at, Member{member, false});
    flags_ |= validFlag;
    return 0;
}

int TGdbMultyQuery::setFormula(TGeoDb& database, const void* formula) {
    if (!formula) return -1;
    for (const Member& member : members_)
        if (member.iterator->GetDatabase() == &database)
            return member.iterator->setFormula(formula);
    return -1;
}

int TGdbMultyQuery::setFormula(const void* formula) {
    if (!formula) return -1;
    const auto* f = static_cast<const TGdbFormula*>(formula);
    if (f->kind != 0) return -1;
    setDescending(f->ascending == 0);
    return 0;
}

void TGdbMultyQuery::setPrioritiesOrder(int ascending) {
    setDescending(!ascending);
    for (const Member& member : members_)
        member.iterator->SetDescending(!ascending);
}

int TGdbMultyQuery::open(GeoCover& cover, unsigned long scale, const void* formula) {
    if (members_.empty()) return 0;
    if (IsOpen()) close();
    cover_ = &cover;
    scale_ = static_cast<std::uint32_t>(scale);
    if (formula) setFormula(formula);
    bool allStarted = true;
    for (Member& member : members_) {
        member.stalled = false;
        if (formula) member.iterator->setFormula(formula);
        if (allStarted && member.iterator->init(cover, scale) != 0) allStarted = false;
    }
    flags_ |= openFlag;
    if (!allStarted) {
        close();
        return 0;
    }
    current_ = IsDescending() ? std::prev(members_.end()) : members_.begin();
    return 1;
}

int TGdbMultyQuery::open(GeoCover&, int, const void*) {
    return 0;
}

int TGdbMultyQuery::open(GeoRect&, int, const void*) {
    return 0;
}

int TGdbMultyQuery::close() {
    if (IsOpen()) {
        for (const Member& member : members_)
            member.iterator->done();
        releaseCover();
        cover_ = nullptr;
        flags_ &= ~openFlag;
    }
    current_ = members_.end();
    return 1;
}

TGdbMultyQuery::Members::iterator TGdbMultyQuery::choose() {
    const bool descending = IsDescending();
    auto best = members_.end();
    auto consider = [&](Members::iterator it) {
        TGdbObjectIterator* member = it->iterator;
        if (it->stalled || member->HasEnded()) return;
        if (best == members_.end()) {
            best = it;
            return;
        }
        const int layer = member->CurrentPriorityLayer();
        const int bestLayer = best->iterator->CurrentPriorityLayer();
        if (descending ? layer > bestLayer : layer < bestLayer) best = it;
    };
    if (descending) {
        for (auto it = members_.end(); it != members_.begin();)
            consider(--it);
    } else {
        for (auto it = members_.begin(); it != members_.end(); ++it)
            consider(it);
    }
    return best;
}

GdbObject* TGdbMultyQuery::next() {
    while (IsOpen() && current_ != members_.end()) {
        TGdbObjectIterator* member = current_->iterator;
        const int before = member->CurrentPriorityLayer();
        if (GdbObject* object = member->nextGdbObject()) return object;
        // The member paused at a new layer or ended: go on with the member
        // whose pending layer comes first.
        if (member->CurrentPriorityLayer() == before) current_->stalled = true;
        current_ = choose();
    }
    return nullptr;
}

int TGdbMultyQuery::preprocessScaleLevel(int) {
    return 1;
}

int TGdbMultyQuery::preprocessPriorityLayer(int layer) {
    currentLayer_ = layer;
    return 1;
}

int TGdbMultyQuery::preprocessDb(TGeoDb*) {
    return 0;
}

int TGdbMultyQuery::postprocessDb(TGeoDb*) {
    return 0;
}

void TGdbMultyQuery::clear() {
    if (IsOpen()) close();
    for (const Member& member : members_)
        delete member.iterator;
    members_.clear();
    current_ = members_.end();
    flags_ = 0;
}
