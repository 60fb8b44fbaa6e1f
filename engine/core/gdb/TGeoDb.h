// The database interface: a chart database that answers geographic queries
// by display scale. The base class answers "nothing here" everywhere, so a
// partial database still works.
//
// Every database registers itself in a process-wide registry of 16 slots,
// managed like the dictionary registry (gdb/TGdbDictionary.h). Not locked:
// create and destroy databases on one thread.
#pragma once

#include "geo/GeoCover.h"

#include <cstdint>

class TGdbDictionary;
class TGdbQuery;
class TGdbObjectIterator;

class TGeoDb {
  public:
    static constexpr int registrySize = 16;
    static TGeoDb* pGdbList[registrySize];
    static int nGdbNum;

    // The database reads names and codes through the dictionary, which must
    // outlive it.
    explicit TGeoDb(TGdbDictionary& dictionary);
    virtual ~TGeoDb();
    TGeoDb(const TGeoDb&) = delete;
    TGeoDb& operator=(const TGeoDb&) = delete;

    TGdbDictionary* GetDictionary() const { return dictionary_; }
    // Registry slot 0..15, or -1 when the registry was full.
    int GetSlot() const { return slot_; }
    // Option bits of the database (0 unless a derived database sets them).
    std::uint32_t GetOptions() const { return options_; }

    // Attaches a new object iterator of this database to the query
    // (TGdbQuery::SetIterator) and answers 0; -1 when the database cannot
    // answer queries. Base: -1.
    virtual int openGdbQuery(TGdbQuery& query);
    // Base: -1. No database of the system uses it.
    virtual int processFormula(TGdbQuery& query, const void* formula);
    // Base: null. No database of the system uses them.
    virtual TGdbObjectIterator* newGdbObjectIterator();
    virtual TGdbObjectIterator* newGdbObjectIterator(GeoCover& cover, unsigned long scale,
                                                     const void* formula);
    // The areas within rect that hold data at the scale (scale denominator,
    // e.g. 50000 for 1:50,000); the caller owns the cover. Base: empty.
    virtual GeoCover getCover(GeoRect& rect, unsigned long scale);
    // Scale level of a scale denominator, or -1. Base: -1.
    virtual int getLevel(unsigned long scale);
    // Scale denominator of a level. Base: 0.
    virtual unsigned long getScale(int level);
    // Drops what the database keeps in memory. Base: 0.
    virtual int flush();

  protected:
    std::uint32_t options_ = 0;

  private:
    int slot_ = -1;
    TGdbDictionary* dictionary_;
};
