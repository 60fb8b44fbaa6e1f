#include "runtime/SList.h"

SSLink* SList::isMember(const SSLink* record) const {
    if (!record) return nullptr;
    for (SSLink* e = head; e; e = e->next) {
        if (e == record) return e;
    }
    return nullptr;
}

void SList::insert(SSLink* record) {
    if (!record) return;
    SSLink* prev = nullptr;
    SSLink* e = head;
    while (e && !(*record <= *e)) {
        prev = e;
        e = e->next;
    }
    if (isMember(record)) return;
    record->next = e;
    if (prev) {
        prev->next = record;
    } else {
        head = record;
    }
    if (!e) tail = record;
    ++count;
}

// Searches the record itself rather than stopping where its comparison holds:
// a record behind others that compare equal to it is still found.
int SList::extract(SSLink* record) {
    if (!record) return -1;
    SSLink* prev = nullptr;
    SSLink* e = head;
    while (e && e != record) {
        prev = e;
        e = e->next;
    }
    if (!e) return -1;
    if (prev) {
        prev->next = e->next;
    } else {
        head = e->next;
    }
    if (tail == e) tail = prev;
    --count;
    return 0;
}
