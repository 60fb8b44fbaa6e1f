// The base of every database's object iterator. A database makes one in
// openGdbQuery and attaches it to the query, which owns it; the iterator
// calls the query's hooks as it enters and leaves priority layers and cells.
// The base operations do nothing and answer 0 (setFormula -1).
#pragma once

#include <cstdint>

class TGeoDb;
class TGdbQuery;
class GdbObject;
class GeoCover;

class TGdbObjectIterator {
  public:
    // Flag bit: priorities are walked in descending order.
    static constexpr std::uint32_t descendingFlag = 0x10;

    // query may be null: the iterator then walks without hooks.
    TGdbObjectIterator(TGeoDb* database, TGdbQuery* query) : database_(database), query_(query) {}
    virtual ~TGdbObjectIterator() = default;
    TGdbObjectIterator(const TGdbObjectIterator&) = delete;
    TGdbObjectIterator& operator=(const TGdbObjectIterator&) = delete;

    // Gathers what the walk over cover at the scale needs: 0, or -1.
    virtual int init(GeoCover& cover, unsigned long scale);
    // Releases what init gathered: 0.
    virtual int done();
    // Takes the filter of a TGdbFormula: 0, or -1 when refused.
    virtual int setFormula(const void* formula);
    virtual GdbObject* currentGdbObject();
    virtual GdbObject* firstGdbObject();
    // The next object of the walk, or null (paused by a hook or ended).
    virtual GdbObject* nextGdbObject();
    // Restarts the walk over the priority layers a..b: 0, or -1.
    virtual int resetPriorityLayers(int a, int b);

    TGeoDb* GetDatabase() const { return database_; }
    TGdbQuery* GetQuery() const { return query_; }
    // The walk's layers: first, the one being walked (or about to be
    // entered), last. A walk that ended lies beyond its last layer.
    int FirstPriorityLayer() const { return firstLayer_; }
    int CurrentPriorityLayer() const { return currentLayer_; }
    int LastPriorityLayer() const { return lastLayer_; }
    std::uint32_t GetFlags() const { return flags_; }
    bool IsDescending() const { return (flags_ & descendingFlag) != 0; }
    void SetDescending(bool descending) {
        flags_ = descending ? flags_ | descendingFlag : flags_ & ~descendingFlag;
    }
    // True when the walk went past its last layer.
    bool HasEnded() const {
        return IsDescending() ? currentLayer_ < lastLayer_ : currentLayer_ > lastLayer_;
    }

  protected:
    TGeoDb* database_;
    TGdbQuery* query_;
    int firstLayer_ = 0;
    int currentLayer_ = 0;
    int lastLayer_ = 255;
    std::uint32_t words_[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    std::uint32_t flags_ = 0;
};
