// Lists of item pointers carried by pooled links: the scratch lists of the
// clippers and the map-window registry's helpers put counts and pointers in
// them without allocating per element.
#pragma once

#include "runtime/TBaseListG.h"
#include "runtime/TinyObjectAllocator.h"

template <class T> struct TGMSLink;

// A pooled link: next pointer and the item it carries. Links come from
// TMSLink::TOAllocator, started with the library.
template <> struct TGMSLink<void> {
    TGMSLink* next;
    void* item;

    static TinyObjectAllocator TOAllocator;
};
using TMSLink = TGMSLink<void>;

template <class T> class TGMListBase;

// A singly linked list (head, tail, count; the link at offset 0) of pooled
// TMSLink links, each carrying one item pointer. Items are not owned. Holds
// no lock; callers serialise.
template <> class TGMListBase<void> : public TBaseListG {
  public:
    TGMListBase() = default;
    TGMListBase(const TGMListBase&) = delete;
    TGMListBase& operator=(const TGMListBase&) = delete;

    // Appends item (null allowed) in a new link. 0, or -1 when no link can be
    // taken from the pool.
    int addTail(void* item);

    // Returns every link to the pool; the list becomes empty.
    void clear();

    // Makes this list carry the items of other, in order, null items skipped.
    // The list is cleared first. -1 when a link cannot be taken (the items
    // copied so far stay), else 0. Assigning a list to itself changes nothing
    // and gives 0.
    int assign(const TGMListBase& other);

    // The first link that carries item; null for a null item or when absent.
    TMSLink* find(const void* item) const;

    // Unlinks the first link that carries item and returns it to the pool.
    // -1 for a null item or when absent, else 0.
    int remove(const void* item);

    // The same count and the same items in the same order.
    bool operator==(const TGMListBase& other) const;
};

template <class T, int ui> class TGList;

template <> class TGList<TGMSLink<void>, 0> : public TGMListBase<void> {
  public:
    TGList() = default;
    ~TGList() {
        if (count) clear();
    }
};
