#include "proj/TLMapWin.h"

#include <mutex>
#include <new>

TinyObjectAllocator TLMapWin::TOAllocator; // zero until started

namespace {

// The registry: a singly linked list of entries (head, tail, count). A
// std::mutex is constant-initialised, so it is usable from load on.
struct Registry {
    TLMapWin* head = nullptr;
    TLMapWin* tail = nullptr;
    std::uint32_t count = 0;
};
constinit Registry registry;
constinit std::mutex registryLock;

__attribute__((constructor)) void startMapWinPool() {
    CreateTinyObjectAllocator(&TLMapWin::TOAllocator, sizeof(TLMapWin), 8, nullptr, nullptr);
}

TLMapWin* findEntry(const Map::Win* win) {
    for (TLMapWin* e = registry.head; e; e = e->next)
        if (static_cast<const Map::Win*>(e) == win) return e;
    return nullptr;
}

} // namespace

Map::Win* acquireMapWin(Map* m) {
    if (!m) return nullptr;
    std::lock_guard<std::mutex> guard(registryLock);
    for (TLMapWin* e = registry.head; e; e = e->next)
        if (e->map == m) {
            ++e->count;
            return e;
        }
    void* slot = newTinyObject(&TLMapWin::TOAllocator);
    if (!slot) return nullptr;
    TLMapWin* e = new (slot) TLMapWin(m);
    if (registry.tail)
        registry.tail->next = e;
    else
        registry.head = e;
    registry.tail = e;
    ++registry.count;
    return e;
}

TLMapWin* isMapWinRegistered(const Map::Win* win) {
    if (!win) return nullptr;
    std::lock_guard<std::mutex> guard(registryLock);
    return findEntry(win);
}

int releaseMapWin(Map::Win* win) {
    if (!win) return 0;
    TLMapWin* gone = nullptr;
    {
        std::lock_guard<std::mutex> guard(registryLock);
        TLMapWin* prev = nullptr;
        TLMapWin* e = registry.head;
        while (e && static_cast<Map::Win*>(e) != win) {
            prev = e;
            e = e->next;
        }
        if (!e) return 0;
        if (--e->count > 0) return 1;
        if (prev)
            prev->next = e->next;
        else
            registry.head = e->next;
        if (registry.tail == e) registry.tail = prev;
        --registry.count;
        gone = e;
    }
    gone->map = nullptr; // the map outlives its entry
    gone->~TLMapWin();
    delTinyObject(&TLMapWin::TOAllocator, gone);
    return 1;
}

std::uint32_t registeredMapWinCount() {
    std::lock_guard<std::mutex> guard(registryLock);
    return registry.count;
}
