// A query over several databases at once: the walks of the member databases
// are merged by priority layer. Members are kept in ascending order of their
// databases' registry slots; within one layer the members take their turns
// in that order (ascending walk) or in reverse order (descending walk).
//
// Every member iterator calls this query's hooks; preprocessPriorityLayer
// pauses the member at each new layer, and next() then moves on to the
// member whose pending layer comes first (lowest in an ascending walk,
// highest in a descending one; the paused member included), so the walk
// ends only when every member has ended. A member that answers null without
// moving on to another layer is taken as ended.
#pragma once

#include "gdb/TGdbObjectIterator.h"
#include "gdb/TGdbQuery.h"

#include <list>

class TGdbMultyQuery : public TGdbQuery {
  public:
    TGdbMultyQuery();
    ~TGdbMultyQuery() override;

    // Adds a database: 0 (also when it is a member already), or -1 when it
    // does not answer queries.
    int addQuery(TGeoDb& database);
    // Gives the formula to the member of that database: its answer, or -1
    // for a null formula or a database that is no member.
    virtual int setFormula(TGeoDb& database, const void* formula);
    // Only the order (word 5) is used: 0, or -1 for a null formula or a
    // kind other than 0.
    int setFormula(const void* formula) override;
    // Sets the walk's order on this query and every member.
    void setPrioritiesOrder(int ascending);

    // Opens every member over cover; a non-null formula goes to every member
    // (and its order to this query). 1, or 0 when there is no member or a
    // member refused the walk (nothing stays open then).
    int open(GeoCover& cover, unsigned long scale, const void* formula) override;
    using TGdbQuery::open;
    // The level forms are not offered: 0.
    int open(GeoCover& cover, int level, const void* formula) override;
    int open(GeoRect& rect, int level, const void* formula) override;
    int close() override;
    GdbObject* next() override;

    // preprocessScaleLevel answers 1; preprocessPriorityLayer records the
    // layer and answers 1 (pausing the member); the rest answer 0.
    int preprocessScaleLevel(int level) override;
    int preprocessPriorityLayer(int layer) override;
    virtual int preprocessDb(TGeoDb* database);
    virtual int postprocessDb(TGeoDb* database);

    // Closes, deletes every member; the query is then invalid.
    void clear();

    // The order flag is the iterators' own bit (0x10).
    bool IsDescending() const { return (flags_ & TGdbObjectIterator::descendingFlag) != 0; }
    // The layer last announced by a member.
    int CurrentPriorityLayer() const { return currentLayer_; }
    std::size_t MemberCount() const { return members_.size(); }

  private:
    struct Member {
        TGdbObjectIterator* iterator;
        bool stalled; // answered null without moving: left out until the next open
    };
    using Members = std::list<Member>;

    void setDescending(bool descending) {
        flags_ = descending ? flags_ | TGdbObjectIterator::descendingFlag
                            : flags_ & ~TGdbObjectIterator::descendingFlag;
    }
    // The member to ask next, or end() when every member has ended.
    Members::iterator choose();

    Members members_;
    Members::iterator current_;
    int currentLayer_ = 0;
};
