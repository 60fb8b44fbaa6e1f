// A sorted singly linked list of records that carry their own link and their
// own order.
#pragma once

#include <cstdint>

// A record of an SList. Derived records define operator<= as "this sorts at
// or before other".
class SSLink {
  public:
    SSLink* next = nullptr;

    virtual int operator<=(const SSLink& other) const = 0;
    virtual ~SSLink() = default;
};

// Ascending by the records' operator<=; a record goes before the records that
// compare equal to it. Holds no lock; callers serialise. Owns nothing.
class SList {
  public:
    SSLink* head = nullptr;
    SSLink* tail = nullptr;
    std::uint32_t count = 0;

    // record when it is in the list, else null (null for a null record).
    SSLink* isMember(const SSLink* record) const;

    // Links record before the first member m for which record <= m holds, or
    // at the end. A null record or one already in the list changes nothing.
    void insert(SSLink* record);

    // Unlinks record: 0, or -1 when it is null or not in the list. The
    // removed record's next pointer is left as it was.
    int extract(SSLink* record);
};
