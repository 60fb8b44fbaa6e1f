#include "kv71/TKV71DbObjectIterator.h"

#include "gdb/GdbLookupTables.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "kv71/KV71CellRange.h"
#include "kv71/TKV71Db.h"
#include "kv71/cellCache.h"
#include "kv71/cellReader.h"
#include "kv71/chartRoot.h"
#include "kv71/dictionaryTables.h"
#include "runtime/TLocker.h"

#include <algorithm>

TOS::TLocker& KV71CellReaderLock() {
    static TOS::TLocker lock;
    return lock;
}

namespace {

// Layers beyond any real one, where an ended walk rests.
constexpr int endedAscending = 1000;
constexpr int endedDescending = -1000;

// Sets the chart root for the life of the object and then the root given
// as back (the database's own), also when loading throws.
class RootSwitch {
  public:
    RootSwitch(const char* root, const char* back) : back_(back) { SetKV71ChartRoot(root); }
    ~RootSwitch() { SetKV71ChartRoot(back_); }
    RootSwitch(const RootSwitch&) = delete;
    RootSwitch& operator=(const RootSwitch&) = delete;

  private:
    const char* back_;
};

bool before(const TGeoCell* a, const TGeoCell* b) {
    if (a->level != b->level) return a->level < b->level;
    if (a->lat != b->lat) return a->lat < b->lat;
    return a->lon < b->lon;
}

bool testBit(const std::vector<std::uint32_t>& set, unsigned code) {
    return code / 32 < set.size() && (set[code / 32] >> (code % 32) & 1u) != 0;
}

// Adds the codes below the object count to the set, made on first need.
void addCodes(std::vector<std::uint32_t>& set, std::uint32_t count, const std::uint32_t* codes) {
    const unsigned classes = GetObjNum();
    if (set.empty()) set.assign((classes + 31) / 32, 0u);
    for (std::uint32_t i = 0; i < count; ++i)
        if (codes[i] < classes && codes[i] / 32 < set.size())
            set[codes[i] / 32] |= 1u << (codes[i] % 32);
}

} // namespace

TKV71DbObjectIterator::TKV71DbObjectIterator(TKV71Db* database, TGdbQuery* query)
    : TGdbObjectIterator(database, query), kv71Db_(database), lookup_(nullptr), object_(database) {
    const TGdbDictionary* dictionary = database ? database->GetDictionary() : nullptr;
    lookup_ = dictionary ? dictionary->GetPresentation() : nullptr;
}

TKV71DbObjectIterator::~TKV71DbObjectIterator() {
    done();
}

void TKV71DbObjectIterator::releaseLinks() {
    object_.SetRecord(nullptr, nullptr);
    cell_ = nullptr;
    link_ = -1;
    if (links_.empty()) return;
    // Lock counts are read by evictions of loads on other threads.
    TOS::TLocker::TLock lock(&KV71CellReaderLock());
    for (TKV71CellLink& l : links_)
        UnlockKV71Cell(l.cell);
    links_.clear();
}

int TKV71DbObjectIterator::done() {
    releaseLinks();
    include_.clear();
    exclude_.clear();
    return 0;
}

int TKV71DbObjectIterator::setFormula(const void* formula) {
    if (!formula) return -1;
    const TGdbFormula& f = *static_cast<const TGdbFormula*>(formula);
    if (f.kind != 0) return -1;
    SetDescending(f.ascending == 0);
    if (f.firstLayer >= 0) formulaFirst_ = f.firstLayer;
    if (f.lastLayer >= 0) formulaLast_ = f.lastLayer;
    maskA_ = f.maskA;
    maskB_ = f.maskB;
    options_ = f.options;
    if (f.includeCount != 0 && f.include) addCodes(include_, f.includeCount, f.include);
    if (f.excludeCount != 0 && f.exclude) addCodes(exclude_, f.excludeCount, f.exclude);
    return 0;
}

bool TKV71DbObjectIterator::linkCell(char* name) {
    std::uint16_t count = 0;
    if (!LoadKV71Cell(name, count) || count == 0) return false;
    TGeoCell* cell = KV71CurrentCell();
    if (!cell || !cell->priorityIndex) return false;
    for (const TKV71CellLink& l : links_)
        if (l.cell == cell) return true;
    auto at = std::upper_bound(
        links_.begin(), links_.end(), cell,
        [](const TGeoCell* c, const TKV71CellLink& l) { return before(c, l.cell); });
    links_.insert(at, TKV71CellLink{cell, 0, 0, 0});
    LockKV71Cell(cell);
    return true;
}

int TKV71DbObjectIterator::linkPlace(char* name) {
    name[0] = '0';
    if (linkCell(name)) return 4;
    int found = 0;
    for (char variant = 'A'; variant <= 'D'; ++variant) {
        name[0] = variant;
        if (linkCell(name)) ++found;
    }
    name[0] = '0';
    return found;
}

int TKV71DbObjectIterator::init(GeoCover& cover, unsigned long scale) {
    if (!links_.empty()) done();
    if (!kv71Db_) return -1;
    const int level = kv71Db_->getLevel(scale);
    if (level < 0 || level >= KV71LevelCount) return -1;
    TKV71Db::TCatalog* catalog = kv71Db_->GetCatalog();
    const char* root = catalog ? catalog->Root() : KV71ChartRoot();
    const char* second = catalog ? catalog->SecondRoot() : nullptr;
    const bool everyCell = level == 0 || (kv71Db_->GetOptions() & TKV71Db::loadWithoutCatalog) != 0;
    for (const LGeoRect* r = cover.head; r; r = r->next) {
        KV71CellRange range;
        if (InitKV71CellRange(range, r->r.lon1, r->r.lat1, r->r.lon2, r->r.lat2,
                              static_cast<unsigned>(level)) != 0)
            continue;
        for (KV71CellId id = NextKV71Cell(range); id.level != KV71NoLevel;
             id = NextKV71Cell(range)) {
            char name[12];
            if (!KV71CellName(id, name)) continue;
            if (second) {
                TOS::TLocker::TLock lock(&KV71CellReaderLock());
                RootSwitch toSecond(second, root);
                if (linkPlace(name) > 3) continue;
            }
            const KV71CatalogEntry* entry = everyCell || !catalog ? nullptr : catalog->Lookup(id);
            if (everyCell || (entry && !entry->cover.empty())) {
                TOS::TLocker::TLock lock(&KV71CellReaderLock());
                linkPlace(name);
            }
        }
    }
    return resetPriorityLayers(0, 255);
}

int TKV71DbObjectIterator::resetPriorityLayers(int a, int b) {
    // A reset that finds no layer leaves the walk ended, not where it was.
    endWalk();
    if (links_.empty()) return -1;
    int lo = std::min(a, b), hi = std::max(a, b);
    int low = 65535, high = 0;
    for (const TKV71CellLink& l : links_) {
        low = std::min<int>(low, l.cell->lowPriority);
        high = std::max<int>(high, l.cell->highPriority);
    }
    lo = std::max(lo, low);
    hi = std::min(hi, high);
    if (lo > hi) return -1;
    if (IsDescending()) {
        firstLayer_ = hi;
        lastLayer_ = lo;
        currentLayer_ = hi + 1;
    } else {
        firstLayer_ = lo;
        lastLayer_ = hi;
        currentLayer_ = lo - 1;
    }
    return 0;
}

bool TKV71DbObjectIterator::enterLayer(TKV71CellLink& link) const {
    const TGeoCell* c = link.cell;
    const int p = currentLayer_, low = c->lowPriority, high = c->highPriority;
    if (!c->priorityIndex || low > high || p < low || p > high) return false;
    const int below = p == low ? 0 : static_cast<int>(c->priorityIndex[p - low - 1]);
    const int upTo = static_cast<int>(c->priorityIndex[p - low]);
    if (below == upTo) return false;
    if (IsDescending()) {
        link.start = upTo - 1;
        link.end = below - 1;
    } else {
        link.start = below;
        link.end = upTo;
    }
    link.current = link.start;
    return true;
}

int TKV71DbObjectIterator::findLink(std::size_t i) {
    for (; i < links_.size(); ++i)
        if (enterLayer(links_[i])) return static_cast<int>(i);
    return -1;
}

bool TKV71DbObjectIterator::accepts(const KV71ObjectRecord* record) const {
    if ((record->flags & KV71HasParent) != 0 && (options_ & childrenOption) == 0) return false;
    const unsigned code = record->classCode;
    if (!include_.empty() && !testBit(include_, code)) return false;
    if (!exclude_.empty() && testBit(exclude_, code)) return false;
    if (lookup_) {
        const GdbObjectLookup* e = code < GetObjNum() ? lookup_->objectLookup(code) : nullptr;
        if (!e || (e->maskA & maskA_) == 0 || (e->maskB & maskB_) == 0) return false;
    }
    return true;
}

GdbObject* TKV71DbObjectIterator::endWalk() {
    currentLayer_ = IsDescending() ? endedDescending : endedAscending;
    link_ = -1;
    cell_ = nullptr;
    object_.SetRecord(nullptr, nullptr);
    return nullptr;
}

GdbObject* TKV71DbObjectIterator::nextGdbObject() {
    const int step = IsDescending() ? -1 : 1;
    object_.SetRecord(nullptr, nullptr);
    for (;;) {
        if (link_ < 0) {
            // Enter the next layer that has objects in some cell.
            if (links_.empty()) return endWalk();
            do {
                currentLayer_ += step;
                if (HasEnded()) return endWalk();
                link_ = findLink(0);
            } while (link_ < 0);
            if (query_) {
                const int r = query_->preprocessPriorityLayer(currentLayer_);
                if (r == -1) return endWalk();
                if (r == 1) return nullptr;
            }
        }
        // A hook may have closed the walk (the query's close): then it ends.
        if (link_ < 0 || static_cast<std::size_t>(link_) >= links_.size()) return endWalk();
        if (links_[static_cast<std::size_t>(link_)].cell != cell_) {
            cell_ = links_[static_cast<std::size_t>(link_)].cell;
            if (query_ && query_->preprocessCell(cell_) == -1) return endWalk();
            if (link_ < 0 || static_cast<std::size_t>(link_) >= links_.size()) return endWalk();
        }
        TKV71CellLink& link = links_[static_cast<std::size_t>(link_)];
        while (link.current != link.end) {
            KV71ObjectRecord* record = link.cell->sorted[link.current];
            link.current += step;
            if (accepts(record)) {
                object_.SetRecord(link.cell, record);
                return &object_;
            }
        }
        if (query_ && query_->postprocessCell(cell_) == -1) return endWalk();
        link_ = findLink(static_cast<std::size_t>(link_) + 1);
        if (link_ >= 0) continue;
        if (query_) {
            const int r = query_->postprocessPriorityLayer(currentLayer_);
            if (r == -1) return endWalk();
            if (r == 1) return nullptr;
        }
    }
}

GdbObject* TKV71DbObjectIterator::currentGdbObject() {
    return object_.GetRecord() ? &object_ : nullptr;
}

GdbObject* TKV71DbObjectIterator::firstGdbObject() {
    return nullptr;
}
