// The chart database of KV71 chart trees. It maps display scales to the
// eight scale levels (kv71/KV71CellId.h), answers which areas hold data at a
// scale (getCover), makes the object iterator of its queries, and keeps a
// catalogue of the cells of levels A..G that the block index files (.INF)
// list, read block by block on first need.
//
// The cell cache (kv71/cellCache.h) is shared by every database of the
// process: the first database sets it up, the last one takes it down.
// Create, destroy and flush databases on one thread; look-ups in the
// catalogue may come from any thread (the catalogue has its own lock).
#pragma once

#include "gdb/TGeoDb.h"
#include "kv71/KV71CellId.h"
#include "runtime/TLocker.h"

#include <cstdint>
#include <vector>

// One cell of the catalogue: its identity, the number of rectangles of its
// data cover, and that cover (binary angles).
struct KV71CatalogEntry {
    std::uint16_t lon, lat, level;
    std::uint16_t rectCount;
    GeoCover cover;
};

class TKV71Db : public TGeoDb {
  public:
    // Option bit: the object iterator loads cells by name without asking
    // the catalogue first.
    static constexpr std::uint32_t loadWithoutCatalog = 0x10000;

    class TCatalog;

    // A database on the chart tree at root (a folder path, written either
    // way: '\' or '/'). memoryLimit (bytes) raises the cell cache's budget
    // when it is larger (first database only). The last argument is not used.
    TKV71Db(TGdbDictionary& dictionary, const char* root, unsigned long memoryLimit,
            const char* unused);
    // The same with a second chart tree (null for none), which the object
    // iterator searches first, and option bits (loadWithoutCatalog).
    TKV71Db(TGdbDictionary& dictionary, const char* root, const char* secondRoot,
            unsigned long memoryLimit, const char* unused, unsigned long options);
    ~TKV71Db() override;

    // Attaches a new object iterator of KV71 queries (TKV71DbObjectIterator)
    // to the query: 0.
    int openGdbQuery(TGdbQuery& query) override;
    // The union of the data covers of the cells of the scale's level that
    // meet rect: whole cells at level Z, the catalogue's covers at A..G.
    // Empty for a scale beyond level G.
    GeoCover getCover(GeoRect& rect, unsigned long scale) override;
    // The first level 0..7 whose scale denominator is at most scale, else
    // -1: 20,000,000 gives 0, 2,500,000 gives 2, 7,500 gives 7, 7,499 -1.
    int getLevel(unsigned long scale) override;
    // Scale denominator of the level, the level clamped into 0..7.
    unsigned long getScale(int level) override;
    // Forgets the catalogue (block index files are read again on need) and
    // empties the cell cache (locked cells are freed at their last unlock).
    // Answers 0.
    int flush() override;

    TCatalog* GetCatalog() const { return catalog_; }

    // Number of live databases.
    static int LiveCount();

  private:
    void start(const char* root, unsigned long memoryLimit);

    TCatalog* catalog_ = nullptr;
};

// The catalogue of one database: for each of the 144 blocks and each level
// A..G, the cells its block index file lists, sorted by (level, longitude
// index, latitude index).
class TKV71Db::TCatalog {
  public:
    static constexpr int slotCount = 144 * 7;

    // The roots are kept as normalised folder paths ('/' appended).
    TCatalog(TKV71Db* owner, const char* root, const char* secondRoot);
    ~TCatalog();
    TCatalog(const TCatalog&) = delete;
    TCatalog& operator=(const TCatalog&) = delete;

    // The entry of a cell of level 1..7, or null (no such cell, another
    // level, or the block could not be read). Reads the cell's block index
    // file first when its block was not read yet. The entry stays valid
    // until the next Reset (that is, the database's flush).
    const KV71CatalogEntry* Lookup(const KV71CellId& id);
    // Forgets every block: the next look-up reads the files again.
    void Reset();

    const char* Root() const { return root_; }
    const char* SecondRoot() const { return secondRoot_; }
    TOS::TLocker& Locker() { return lock_; }

  private:
    enum class State : std::uint8_t { notRead, noData, loaded };
    struct Slot {
        State state = State::notRead;
        std::vector<KV71CatalogEntry> entries;
    };
    // Reads the block index file of the block: false when the chart root
    // cannot be searched (the block stays unread).
    bool loadBlock(unsigned block);

    TOS::TLocker lock_;
    TKV71Db* owner_;
    char* root_;
    char* secondRoot_;
    Slot slots_[slotCount];
};

extern "C" {
// Answers null and creates nothing (databases are built through the class).
TKV71Db* new__TKV71Db(TGdbDictionary* dictionary, const char* root, const char* secondRoot,
                      unsigned long memoryLimit, const char* unused);
// Destroys the database; null is ignored.
void delete__TKV71Db(TKV71Db* db);
// openGdbQuery of the database: 0, or -1 (also for a null argument).
int TKV71Db__openGdbQuery(TKV71Db* db, TGdbQuery* query);
}
