#include "runtime/TGList.h"

#include <new>

TinyObjectAllocator TGMSLink<void>::TOAllocator;

namespace {

// A spare pool of three-pointer links, started with the library; nothing
// takes from it yet.
TinyObjectAllocator spareLinkPool;

// Starts the runtime's link pools before every start-up routine of default
// priority, so those may already take links.
__attribute__((constructor(101))) void startLinkPools() {
    CreateTinyObjectAllocator(&TMSLink::TOAllocator, sizeof(TMSLink), _nTinyObjectsPullSize,
                              nullptr, nullptr);
    CreateTinyObjectAllocator(&spareLinkPool, 3 * sizeof(void*), _nTinyObjectsPullSize, nullptr,
                              nullptr);
}

TMSLink* linkAt(void* p) {
    return static_cast<TMSLink*>(p);
}

} // namespace

int TGMListBase<void>::addTail(void* item) {
    void* memory = newTinyObject(&TMSLink::TOAllocator);
    if (!memory) return -1;
    TMSLink* link = new (memory) TMSLink{nullptr, item};
    if (tail) {
        linkAt(tail)->next = link;
    } else {
        head = link;
    }
    tail = link;
    ++count;
    return 0;
}

void TGMListBase<void>::clear() {
    TMSLink* link = linkAt(head);
    head = tail = nullptr;
    count = 0;
    while (link) {
        TMSLink* next = link->next;
        delTinyObject(&TMSLink::TOAllocator, link);
        link = next;
    }
}

int TGMListBase<void>::assign(const TGMListBase& other) {
    if (&other == this) return 0;
    clear();
    for (TMSLink* link = linkAt(other.head); link; link = link->next) {
        if (link->item && addTail(link->item) != 0) return -1;
    }
    return 0;
}

TMSLink* TGMListBase<void>::find(const void* item) const {
    if (!item) return nullptr;
    for (TMSLink* link = linkAt(head); link; link = link->next) {
        if (link->item == item) return link;
    }
    return nullptr;
}

int TGMListBase<void>::remove(const void* item) {
    TMSLink* link = find(item);
    if (!link || delLink(link, 0) != 0) return -1;
    delTinyObject(&TMSLink::TOAllocator, link);
    return 0;
}

bool TGMListBase<void>::operator==(const TGMListBase& other) const {
    if (count != other.count) return false;
    TMSLink* a = linkAt(head);
    TMSLink* b = linkAt(other.head);
    for (; a && b; a = a->next, b = b->next) {
        if (a->item != b->item) return false;
    }
    return !a && !b;
}
