#include "kv71/TKV71Db.h"

#include "gdb/TGdbQuery.h"
#include "kv71/KV71CellRange.h"
#include "kv71/TKV71DbObjectIterator.h"
#include "kv71/blockIndexFile.h"
#include "kv71/cellCache.h"
#include "kv71/chartFiles.h"
#include "kv71/chartRoot.h"
#include "os/findNoCase.h"
#include "runtime/paths.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>

namespace {

int liveDatabases = 0;

// Slot of (block, level 1..7), or -1 outside the grid.
int slotOf(unsigned lon, unsigned lat, unsigned level) {
    if (level < 1 || level > 7 || lon >= KV71GridLonCount || lat < KV71GridLatFirst ||
        lat >= KV71GridLatEnd)
        return -1;
    const unsigned block = (lat - KV71GridLatFirst) / 60 * 18 + lon / 60;
    return static_cast<int>(block * 7 + level - 1);
}

bool entryBefore(const KV71CatalogEntry& a, const KV71CatalogEntry& b) {
    const KV71CellId x{a.lon, a.lat, a.level}, y{b.lon, b.lat, b.level};
    return CompareKV71CellIds(x, y) < 0;
}

} // namespace

// ---------------------------------------------------------------- database

TKV71Db::TKV71Db(TGdbDictionary& dictionary, const char* root, unsigned long memoryLimit,
                 const char*)
    : TGeoDb(dictionary) {
    catalog_ = new TCatalog(this, root, nullptr);
    start(root, memoryLimit);
}

TKV71Db::TKV71Db(TGdbDictionary& dictionary, const char* root, const char* secondRoot,
                 unsigned long memoryLimit, const char*, unsigned long options)
    : TGeoDb(dictionary) {
    options_ = static_cast<std::uint32_t>(options);
    catalog_ = new TCatalog(this, root, secondRoot);
    start(root, memoryLimit);
}

void TKV71Db::start(const char* root, unsigned long memoryLimit) {
    if (liveDatabases++ == 0)
        InitKV71CellCache(
            root, static_cast<std::uint32_t>(std::min<unsigned long>(memoryLimit, UINT32_MAX)));
}

TKV71Db::~TKV71Db() {
    if (--liveDatabases == 0) DoneKV71CellCache();
    delete catalog_;
}

int TKV71Db::LiveCount() {
    return liveDatabases;
}

int TKV71Db::openGdbQuery(TGdbQuery& query) {
    query.SetIterator(new TKV71DbObjectIterator(this, &query));
    return 0;
}

GeoCover TKV71Db::getCover(GeoRect& rect, unsigned long scale) {
    GeoCover result;
    const int level = getLevel(scale);
    if (level < 0) return result;
    KV71CellRange range;
    if (InitKV71CellRange(range, rect, static_cast<unsigned>(level)) != 0) return result;
    for (KV71CellId id = NextKV71Cell(range); id.level != KV71NoLevel; id = NextKV71Cell(range)) {
        if (id.level == 0) {
            result.add(KV71CellRect(id));
            continue;
        }
        const KV71CatalogEntry* entry = catalog_->Lookup(id);
        if (!entry || entry->cover.empty()) continue;
        for (const LGeoRect* r = entry->cover.head; r; r = r->next)
            result.add(r->r);
    }
    return result;
}

int TKV71Db::getLevel(unsigned long scale) {
    for (int level = 0; level < KV71LevelCount; ++level)
        if (KV71Levels[level].scale <= scale) return level;
    return -1;
}

unsigned long TKV71Db::getScale(int level) {
    return KV71Levels[std::clamp(level, 0, KV71LevelCount - 1)].scale;
}

int TKV71Db::flush() {
    catalog_->Reset();
    FlushKV71CellCache(nullptr, 0);
    return 0;
}

// ---------------------------------------------------------------- catalogue

TKV71Db::TCatalog::TCatalog(TKV71Db* owner, const char* root, const char* secondRoot)
    : owner_(owner), root_(newPath(root, nullptr)), secondRoot_(newPath(secondRoot, nullptr)) {}

TKV71Db::TCatalog::~TCatalog() {
    delete[] root_;
    delete[] secondRoot_;
}

void TKV71Db::TCatalog::Reset() {
    TOS::TLocker::TLock guard(&lock_);
    for (Slot& slot : slots_) {
        slot.entries.clear(); // each entry's cover returns its rectangles
        slot.entries.shrink_to_fit();
        slot.state = State::notRead;
    }
}

bool TKV71Db::TCatalog::loadBlock(unsigned block) {
    // The chart root must be there to be searched; otherwise the block stays
    // unread and a later look-up tries again.
    std::error_code ec;
    const std::string root = root_ ? root_ : "";
    const std::string local = os::findNoCase(localChartPath(root.empty() ? "." : root.c_str()));
    if (local.empty() || !std::filesystem::is_directory(local, ec)) return false;

    const unsigned lonIndex = block % 18 * 60, latIndex = block / 18 * 60 + KV71GridLatFirst;
    const std::string folder = KV71BlockFolder(lonIndex, latIndex);
    const std::string path = root + folder + "/" + folder + ".INF";
    std::vector<KV71BlockCell> cells;
    ReadKV71BlockIndex(path.c_str(), cells); // a missing or unreadable file lists nothing

    for (KV71BlockCell& cell : cells) {
        const int slot = slotOf(cell.id.lon, cell.id.lat, cell.id.level);
        // A cell that lies outside this block could never be looked up here.
        if (slot < 0 || static_cast<unsigned>(slot) / 7 != block || cell.cover.empty()) continue;
        Slot& s = slots_[slot];
        KV71CatalogEntry entry{cell.id.lon, cell.id.lat, cell.id.level, 0, std::move(cell.cover)};
        entry.rectCount = static_cast<std::uint16_t>(std::min(entry.cover.size(), 65535));
        s.entries.push_back(std::move(entry));
    }
    for (unsigned level = 1; level <= 7; ++level) {
        Slot& s = slots_[block * 7 + level - 1];
        std::sort(s.entries.begin(), s.entries.end(), entryBefore);
        s.state = s.entries.empty() ? State::noData : State::loaded;
    }
    return true;
}

const KV71CatalogEntry* TKV71Db::TCatalog::Lookup(const KV71CellId& id) {
    const int slot = slotOf(id.lon, id.lat, id.level);
    if (slot < 0) return nullptr;
    TOS::TLocker::TLock guard(&lock_);
    Slot& s = slots_[slot];
    if (s.state == State::notRead && !loadBlock(static_cast<unsigned>(slot) / 7)) return nullptr;
    if (s.state != State::loaded) return nullptr;
    const KV71CatalogEntry key{id.lon, id.lat, id.level, 0, GeoCover()};
    auto it = std::lower_bound(s.entries.begin(), s.entries.end(), key, entryBefore);
    if (it == s.entries.end() || entryBefore(key, *it)) return nullptr;
    return &*it;
}

// ---------------------------------------------------------------- flat

extern "C" {

TKV71Db* new__TKV71Db(TGdbDictionary*, const char*, const char*, unsigned long, const char*) {
    return nullptr;
}

void delete__TKV71Db(TKV71Db* db) {
    delete db;
}

int TKV71Db__openGdbQuery(TKV71Db* db, TGdbQuery* query) {
    return db && query ? db->openGdbQuery(*query) : -1;
}
}
