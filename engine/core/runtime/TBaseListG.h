// Intrusive linked lists whose link lies inside the element at a byte offset
// given with every call (`ui`), so one set of functions serves every element
// type and no node is allocated. Sorted inserts compare the SortedObject that
// each element embeds at a second byte offset (`objOff`).
//
// Elements are passed as void* to their first byte. The lists hold no lock;
// callers serialise. An element is in at most one list per link field; the
// lists cannot tell whether an element belongs to another list.
#pragma once

#include <cstdint>

// An ordered element. Derived classes define operator<= as "this sorts at or
// before other".
class SortedObject {
  public:
    // The base form is not meant to be called: it shows "Abstract class!"
    // through printErrorMessage and answers 1.
    virtual int operator<=(const SortedObject& other) const;
    virtual ~SortedObject() = default;
};

// Singly linked: the link at offset ui is the element's next pointer.
class TBaseListG {
  public:
    void* head = nullptr;
    void* tail = nullptr;
    std::uint32_t count = 0;

    // item when it is in the list, else null (null for a null item).
    void* isMember(void* item, unsigned ui) const;

    // Unlinks item: 0, or -1 when item is null, the list empty or item absent.
    // Removing the last element makes its predecessor the tail. The removed
    // element's link is left as it was.
    int delLink(void* item, unsigned ui);

    // Removes and returns the tail (null when empty); the new tail's link
    // becomes null. Walks from the head.
    void* delTail(unsigned ui);

    // Inserts item before the first element e for which item's object
    // operator<=(e's object) holds (so it goes before elements that compare
    // equal), or at the end. -1 for a null item or one already in the list,
    // else 0.
    int insertSorted(void* item, unsigned ui, unsigned objOff);

    // Moves the elements of other into this list one by one from other's head,
    // each inserted sorted. 0 when other is empty at the end; -1 at the first
    // failed insert (an element already in this list; the rest stay in other).
    // -1 and nothing changes when other is this list.
    int insertSorted(TBaseListG& other, unsigned ui, unsigned objOff);
};

// Doubly linked: the link at offset ui is two pointers, next then previous.
class TBaseDListG {
  public:
    void* head = nullptr;
    void* tail = nullptr;
    std::uint32_t count = 0;

    // item when it is in the list, else null (null for a null item).
    void* isMember(void* item, unsigned ui) const;

    // Link item as the new head or tail. 0.
    int addHeadInd(void* item, unsigned ui);
    int addTailInd(void* item, unsigned ui);

    // Splice all of other before the head or after the tail, in constant
    // time; other becomes empty. 0; also 0 (nothing changes) when other is
    // empty; -1 and nothing changes when other's head is this list's head
    // (a list spliced onto itself).
    int addHead(TBaseDListG& other, unsigned ui);
    int addTail(TBaseDListG& other, unsigned ui);

    // Links item after `after`, a member: at the tail when the list is empty
    // or after is the tail, at the head when after is null. 0.
    int insertInd(void* item, void* after, unsigned ui);

    // Unlinks a member without searching and zeroes its two link words. 0.
    // item must be a member (not checked).
    int delLinkInd(void* item, unsigned ui);

    // Remove and return the head or tail, null when empty. The removed
    // element's link words are zeroed.
    void* delHead(unsigned ui);
    void* delTail(unsigned ui);

    // The element at 0-based index, null when index >= count.
    void* getItem(std::uint32_t index, unsigned ui) const;

    // Inserts item sorted as TBaseListG::insertSorted does. -1 for a null
    // item; an item already in the list stays where it is and gives 0.
    int insertSorted(void* item, unsigned ui, unsigned objOff);

    // Moves all of other into this list, each element inserted sorted; -1 at
    // the first failure, else 0. -1 and nothing changes when other is this
    // list.
    int insertSorted(TBaseDListG& other, unsigned ui, unsigned objOff);
};
