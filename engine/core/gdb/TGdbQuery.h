// A query: the objects of one database inside a geographic area at a display
// scale, filtered by a formula (TGdbFormula), handed out one at a time.
//
//   TGdbQuery query(db);
//   query.setFormula(&formula);
//   query.open(rect, 50000ul, nullptr);
//   while (GdbObject* o = query.next()) ...;
//   query.close();
//
// The query owns the database's object iterator and forwards to it; the
// iterator calls the hook operations below as it walks, so a derived query
// can observe or steer the walk. Hook results: -1 ends the walk; 1 from a
// priority-layer hook makes next() answer null at once while keeping the
// walk's position (the following next() continues inside that layer);
// other values continue.
//
// Mind the overloads: the scale forms of open take unsigned long, the level
// forms int, so pass scales as unsigned long (50000ul).
//
// An object answered by next() stays valid until the following next(),
// close() or destruction; clone() it to keep it.
#pragma once

#include "geo/GeoCover.h"

#include <cstdint>

class TGeoDb;
struct TGeoCell;
class GdbObject;
class TGdbObjectIterator;

class TGdbQuery {
  public:
    // Flag bits.
    static constexpr std::uint32_t validFlag = 1;      // the database accepted the query
    static constexpr std::uint32_t openFlag = 2;       // a walk is open
    static constexpr std::uint32_t ownsCoverFlag = 4;  // the cover was made by the query
    static constexpr std::uint32_t initFailedFlag = 8; // the iterator refused the walk

    // Each form asks the database for an iterator (openGdbQuery) and is
    // valid when it got one; the longer forms then open at once. An invalid
    // query refuses every open with 0.
    explicit TGdbQuery(TGeoDb& database);
    TGdbQuery(TGeoDb& database, GeoCover& cover, unsigned long scale, const void* formula);
    TGdbQuery(TGeoDb& database, GeoRect& rect, unsigned long scale, const void* formula);
    virtual ~TGdbQuery();
    TGdbQuery(const TGdbQuery&) = delete;
    TGdbQuery& operator=(const TGdbQuery&) = delete;

    // Opens a walk over cover (which must outlive the walk) at the scale
    // denominator; an open walk is closed first; a non-null formula is given
    // to the iterator first. 1, or 0 when the query is not valid.
    virtual int open(GeoCover& cover, unsigned long scale, const void* formula);
    // The same over a copy of rect, owned by the query.
    virtual int open(GeoRect& rect, unsigned long scale, const void* formula);
    // The same at the scale of a scale level of the database.
    virtual int open(GeoCover& cover, int level, const void* formula);
    virtual int open(GeoRect& rect, int level, const void* formula);
    // Ends the walk (the query's own cover is freed): 1, also when not open.
    virtual int close();
    // The next object, or null: not open, the walk refused, paused by a hook
    // or ended.
    virtual GdbObject* next();
    // Gives the formula to the iterator: its answer (0 accepted), or -1 for
    // a null formula or an invalid query (nothing changes then).
    virtual int setFormula(const void* formula);

    // Hooks, called by the iterator; the base answers 0 (continue).
    virtual int preprocessScaleLevel(int level);
    virtual int postprocessScaleLevel(int level);
    virtual int preprocessPriorityLayer(int layer);
    virtual int postprocessPriorityLayer(int layer);
    virtual int preprocessCell(TGeoCell* cell);
    virtual int postprocessCell(TGeoCell* cell);

    // Called by the database's openGdbQuery: the query takes the iterator
    // (a previous one is deleted).
    void SetIterator(TGdbObjectIterator* iterator);
    TGdbObjectIterator* GetIterator() const { return iterator_; }
    TGeoDb* GetDatabase() const { return database_; }
    GeoCover* GetCover() const { return cover_; }
    unsigned long GetScale() const { return scale_; }
    std::uint32_t GetFlags() const { return flags_; }
    bool IsValid() const { return (flags_ & validFlag) != 0; }
    bool IsOpen() const { return (flags_ & openFlag) != 0; }

  protected:
    // A query on no database (never valid by itself).
    TGdbQuery();
    // Frees the query's own cover, if any.
    void releaseCover();

    TGeoDb* database_ = nullptr;
    GeoCover* cover_ = nullptr;
    std::uint32_t scale_ = 0;
    std::uint32_t flags_ = 0;
    TGdbObjectIterator* iterator_ = nullptr;
};

extern "C" {
// A new query on the database (null for a null database).
TGdbQuery* new__TGdbQuery(TGeoDb* database);
// Destroys the query; null is ignored.
void delete__TGdbQuery(TGdbQuery* query);
// Opens the query over the window west, south, east, north (degrees when
// degrees is non-zero, else radians) at the scale denominator. 1, or 0 (null
// or invalid query).
int TGdbQuery__open(TGdbQuery* query, double west, double south, double east, double north,
                    int degrees, unsigned long scale, const void* formula);
int TGdbQuery__close(TGdbQuery* query);
GdbObject* TGdbQuery__next(TGdbQuery* query);
int TGdbQuery__setFormula(TGdbQuery* query, const void* formula);
}
