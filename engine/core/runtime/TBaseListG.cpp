#include "runtime/TBaseListG.h"

#include "runtime/printErrorMessage.h"

namespace {

void*& nextOf(void* item, unsigned ui) {
    return *reinterpret_cast<void**>(static_cast<char*>(item) + ui);
}
void*& prevOf(void* item, unsigned ui) {
    return *reinterpret_cast<void**>(static_cast<char*>(item) + ui + sizeof(void*));
}
const SortedObject& objectOf(void* item, unsigned objOff) {
    return *reinterpret_cast<const SortedObject*>(static_cast<char*>(item) + objOff);
}

// The last element e passed before the first one for which item <= e holds
// (null when item sorts first).
void* sortedPredecessor(void* head, void* item, unsigned ui, unsigned objOff) {
    const SortedObject& key = objectOf(item, objOff);
    void* prev = nullptr;
    for (void* e = head; e; e = nextOf(e, ui)) {
        if (key <= objectOf(e, objOff)) break;
        prev = e;
    }
    return prev;
}

void* findMember(void* head, void* item, unsigned ui) {
    if (!item) return nullptr;
    for (void* e = head; e; e = nextOf(e, ui)) {
        if (e == item) return e;
    }
    return nullptr;
}

} // namespace

int SortedObject::operator<=(const SortedObject&) const {
    printErrorMessage("SortedObject", "operator <=", "Abstract class!");
    return 1;
}

// ---- singly linked ----

void* TBaseListG::isMember(void* item, unsigned ui) const {
    return findMember(head, item, ui);
}

int TBaseListG::delLink(void* item, unsigned ui) {
    if (!item || !head) return -1;
    void* prev = nullptr;
    void* e = head;
    while (e && e != item) {
        prev = e;
        e = nextOf(e, ui);
    }
    if (!e) return -1;
    if (prev) {
        nextOf(prev, ui) = nextOf(e, ui);
    } else {
        head = nextOf(e, ui);
    }
    if (tail == e) tail = prev;
    --count;
    return 0;
}

void* TBaseListG::delTail(unsigned ui) {
    if (!head) return nullptr;
    void* last = tail;
    if (head == tail) {
        head = tail = nullptr;
    } else {
        void* prev = head;
        while (nextOf(prev, ui) != last)
            prev = nextOf(prev, ui);
        nextOf(prev, ui) = nullptr;
        tail = prev;
    }
    --count;
    return last;
}

int TBaseListG::insertSorted(void* item, unsigned ui, unsigned objOff) {
    if (!item) return -1;
    void* prev = sortedPredecessor(head, item, ui, objOff);
    if (!head) {
        nextOf(item, ui) = nullptr;
        head = tail = item;
        ++count;
        return 0;
    }
    if (isMember(item, ui)) return -1;
    if (!prev) {
        nextOf(item, ui) = head;
        head = item;
    } else {
        nextOf(item, ui) = nextOf(prev, ui);
        nextOf(prev, ui) = item;
        if (tail == prev) tail = item;
    }
    ++count;
    return 0;
}

int TBaseListG::insertSorted(TBaseListG& other, unsigned ui, unsigned objOff) {
    // Merging a list into itself would take and re-insert its elements forever.
    if (&other == this) return -1;
    while (other.head) {
        void* item = other.head;
        other.head = nextOf(item, ui);
        if (!other.head) other.tail = nullptr;
        --other.count;
        if (insertSorted(item, ui, objOff) != 0) return -1;
    }
    return 0;
}

// ---- doubly linked ----

void* TBaseDListG::isMember(void* item, unsigned ui) const {
    return findMember(head, item, ui);
}

int TBaseDListG::addHeadInd(void* item, unsigned ui) {
    nextOf(item, ui) = head;
    prevOf(item, ui) = nullptr;
    if (head) {
        prevOf(head, ui) = item;
    } else {
        tail = item;
    }
    head = item;
    ++count;
    return 0;
}

int TBaseDListG::addTailInd(void* item, unsigned ui) {
    nextOf(item, ui) = nullptr;
    prevOf(item, ui) = tail;
    if (tail) {
        nextOf(tail, ui) = item;
    } else {
        head = item;
    }
    tail = item;
    ++count;
    return 0;
}

int TBaseDListG::addHead(TBaseDListG& other, unsigned ui) {
    if (!other.head) return 0;
    if (other.head == head) return -1;
    if (head) {
        nextOf(other.tail, ui) = head;
        prevOf(head, ui) = other.tail;
    } else {
        tail = other.tail;
    }
    head = other.head;
    count += other.count;
    other.head = other.tail = nullptr;
    other.count = 0;
    return 0;
}

int TBaseDListG::addTail(TBaseDListG& other, unsigned ui) {
    if (!other.head) return 0;
    if (other.head == head) return -1;
    if (tail) {
        nextOf(tail, ui) = other.head;
        prevOf(other.head, ui) = tail;
    } else {
        head = other.head;
    }
    tail = other.tail;
    count += other.count;
    other.head = other.tail = nullptr;
    other.count = 0;
    return 0;
}

int TBaseDListG::insertInd(void* item, void* after, unsigned ui) {
    if (!head || after == tail) return addTailInd(item, ui);
    if (!after) return addHeadInd(item, ui);
    void* following = nextOf(after, ui);
    nextOf(item, ui) = following;
    prevOf(item, ui) = after;
    nextOf(after, ui) = item;
    prevOf(following, ui) = item;
    ++count;
    return 0;
}

int TBaseDListG::delLinkInd(void* item, unsigned ui) {
    void* next = nextOf(item, ui);
    void* prev = prevOf(item, ui);
    if (prev) {
        nextOf(prev, ui) = next;
    } else {
        head = next;
    }
    if (next) {
        prevOf(next, ui) = prev;
    } else {
        tail = prev;
    }
    nextOf(item, ui) = nullptr;
    prevOf(item, ui) = nullptr;
    --count;
    return 0;
}

void* TBaseDListG::delHead(unsigned ui) {
    void* item = head;
    if (item) delLinkInd(item, ui);
    return item;
}

void* TBaseDListG::delTail(unsigned ui) {
    void* item = tail;
    if (item) delLinkInd(item, ui);
    return item;
}

void* TBaseDListG::getItem(std::uint32_t index, unsigned ui) const {
    if (index >= count) return nullptr;
    void* e = head;
    for (std::uint32_t i = 0; i < index && e; ++i)
        e = nextOf(e, ui);
    return e;
}

int TBaseDListG::insertSorted(void* item, unsigned ui, unsigned objOff) {
    if (!item) return -1;
    if (!isMember(item, ui)) insertInd(item, sortedPredecessor(head, item, ui, objOff), ui);
    return 0;
}

int TBaseDListG::insertSorted(TBaseDListG& other, unsigned ui, unsigned objOff) {
    if (&other == this) return -1;
    while (void* item = other.delHead(ui)) {
        if (insertSorted(item, ui, objOff) != 0) return -1;
    }
    return 0;
}
