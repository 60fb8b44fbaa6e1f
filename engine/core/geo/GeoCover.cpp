#include "geo/GeoCover.h"

#include "geo/geoPools.h"
#include "geo/geoRectAlgebra.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace {

std::uint32_t u(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}

LGeoRect* newNode(const GeoRect& r) {
    auto* n = static_cast<LGeoRect*>(geoRectNodeAlloc());
    if (n != nullptr) {
        n->next = nullptr;
        n->r = r;
    }
    return n;
}

// A bound on the rectangles one add may handle while merging; reaching it
// means the merging does not come to an end.
constexpr long addStepLimit = 1L << 20;

} // namespace

// Rectangles still to be added, last in first out, with room for the usual
// few on the stack.
struct GeoRectStack {
    GeoRect local[16];
    int n = 0;
    std::vector<GeoRect> more;

    bool empty() const { return n == 0 && more.empty(); }
    void push(const GeoRect& r) {
        if (n < 16 && more.empty())
            local[n++] = r;
        else
            more.push_back(r);
    }
    GeoRect pop() {
        if (!more.empty()) {
            GeoRect r = more.back();
            more.pop_back();
            return r;
        }
        return local[--n];
    }
};

GeoCover& GeoCover::operator=(GeoCover&& other) noexcept {
    if (this != &other) {
        clear();
        head = other.head;
        other.head = nullptr;
    }
    return *this;
}

void GeoCover::clear() {
    while (head != nullptr) {
        LGeoRect* n = head;
        head = n->next;
        geoRectNodeFree(n);
    }
}

int GeoCover::size() const {
    int count = 0;
    for (const LGeoRect* n = head; n != nullptr; n = n->next)
        ++count;
    return count;
}

int GeoCover::append(const GeoRect& r) {
    LGeoRect* node = newNode(r);
    if (node == nullptr) return -1;
    LGeoRect** link = &head;
    while (*link != nullptr)
        link = &(*link)->next;
    *link = node;
    return 0;
}

// Adds r to the list, or takes out the one rectangle it merges with and pushes
// the pieces of their union onto `pending`. 0 done, -1 no node left.
int GeoCover::addOne(const GeoRect& r, GeoRectStack& pending) {
    const int degeneracy = geoRectDegeneracy(r);
    const bool isHalfTurn = geoRectWidth(r) == 0x80000000u;
    LGeoRect** link = &head;
    LGeoRect** insertAt = &head;
    while (*link != nullptr) {
        LGeoRect* n = *link;
        if (n->r.lat1 > r.lat2) break;
        const int fLat = geoLatFlags(geoLatRelation(r, n->r));
        const int fLon = geoLonFlags(geoLonRelation(r, n->r));
        if (fLat & fLon & grAWithinB) return 0;
        if (fLat & fLon & grBWithinA) {
            *link = n->next;
            geoRectNodeFree(n);
            continue;
        }
        const bool continues =
            geoRectDegeneracy(n->r) == degeneracy &&
            (((fLat & grOverlap) && (fLon & (grOverlap | grBEndsAtAStart | grBStartsAtAEnd))) ||
             ((fLat & (grBEndsAtAStart | grBStartsAtAEnd)) && (fLon & grSameStart) &&
              (fLon & grSameEnd)));
        // Two half turns that touch at both ends are disjoint; merging them
        // would only give back the two halves, over and over.
        const bool otherHalf = isHalfTurn && (fLon & grBEndsAtAStart) && (fLon & grBStartsAtAEnd);
        if (continues && !otherHalf) {
            const GeoRect other = n->r;
            *link = n->next;
            geoRectNodeFree(n);
            GeoRect pieces[4];
            const int count = geoRectUnion(r, other, pieces);
            for (int i = count - 1; i >= 0; --i)
                pending.push(pieces[i]);
            return 0;
        }
        if (n->r.lat1 < r.lat1 || (n->r.lat1 == r.lat1 && n->r.lon1 < r.lon1)) insertAt = &n->next;
        link = &n->next;
    }
    LGeoRect* node = newNode(r);
    if (node == nullptr) return -1;
    node->next = *insertAt;
    *insertAt = node;
    return 0;
}

int GeoCover::add(const GeoRect& r) {
    if (!geoRectValid(r)) return -1;
    GeoRectStack pending;
    pending.push(r);
    long steps = 0;
    while (!pending.empty()) {
        if (++steps > addStepLimit || addOne(pending.pop(), pending) < 0) {
            clear();
            return -1;
        }
    }
    return 0;
}

int GeoCover::addList(const LGeoRect* list) {
    for (const LGeoRect* n = list; n != nullptr; n = n->next) {
        if (add(n->r) < 0) {
            clear();
            return -1;
        }
    }
    return 0;
}

int GeoCover::add(GeoCover& other, int consume) {
    if (&other == this) return 0;
    const int result = addList(other.head);
    if (consume) other.clear();
    return result;
}

int GeoCover::sub(const GeoRect& r) {
    GeoCover result;
    for (const LGeoRect* n = head; n != nullptr; n = n->next) {
        GeoRect pieces[4];
        const int count = geoRectDifference(n->r, r, pieces);
        for (int i = 0; i < count; ++i) {
            if (result.add(pieces[i]) < 0) {
                clear();
                return -1;
            }
        }
    }
    *this = std::move(result);
    return 0;
}

int GeoCover::sub(GeoCover& other, int consume) {
    if (&other == this) {
        clear();
        return 0;
    }
    int result = 0;
    for (const LGeoRect* n = other.head; n != nullptr && result == 0; n = n->next)
        result = sub(n->r);
    if (consume) other.clear();
    return result;
}

int GeoCover::mul(const GeoRect& r) {
    GeoCover result;
    for (const LGeoRect* n = head; n != nullptr; n = n->next) {
        GeoRect pieces[2];
        const int count = geoRectIntersection(n->r, r, pieces);
        for (int i = 0; i < count; ++i) {
            if (result.add(pieces[i]) < 0) {
                clear();
                return -1;
            }
        }
    }
    *this = std::move(result);
    return 0;
}

int GeoCover::mul(GeoCover& other, int consume) {
    if (&other == this) return 0;
    GeoCover result;
    for (const LGeoRect* n = head; n != nullptr; n = n->next) {
        for (const LGeoRect* m = other.head; m != nullptr; m = m->next) {
            GeoRect pieces[2];
            const int count = geoRectIntersection(n->r, m->r, pieces);
            for (int i = 0; i < count; ++i) {
                if (result.add(pieces[i]) < 0) {
                    clear();
                    if (consume) other.clear();
                    return -1;
                }
            }
        }
    }
    *this = std::move(result);
    if (consume) other.clear();
    return 0;
}

int GeoCover::copy(const GeoCover& other) {
    if (&other == this) return 0;
    clear();
    LGeoRect** link = &head;
    for (const LGeoRect* n = other.head; n != nullptr; n = n->next) {
        LGeoRect* node = newNode(n->r);
        if (node == nullptr) {
            clear();
            return -1;
        }
        *link = node;
        link = &node->next;
    }
    return 0;
}

GeoCover::operator GeoRect() const {
    if (head == nullptr) return GeoRect{0, 0, 0, 0};
    GeoRect box = head->r;
    bool crosses = false;
    for (const LGeoRect* n = head; n != nullptr; n = n->next) {
        box.lat1 = std::min(box.lat1, n->r.lat1);
        box.lat2 = std::max(box.lat2, n->r.lat2);
        box.lon1 = std::min(box.lon1, n->r.lon1);
        box.lon2 = std::max(box.lon2, n->r.lon2);
        // A span that ends at or beyond +180 degrees defeats signed comparison.
        if (static_cast<std::int64_t>(n->r.lon1) + geoRectWidth(n->r) > INT32_MAX) crosses = true;
    }
    if (!crosses) return box;

    // The smallest span that holds every span: the complement of the largest
    // gap between them on the circle. Positions are offsets from -180
    // degrees, so no interval needs splitting except those across 180.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    for (const LGeoRect* n = head; n != nullptr; n = n->next) {
        const std::uint64_t start = u(n->r.lon1) ^ 0x80000000u;
        const std::uint64_t end = start + geoRectWidth(n->r);
        if (end > 0x100000000u) {
            spans.emplace_back(start, 0x100000000u);
            spans.emplace_back(0, end - 0x100000000u);
        } else {
            spans.emplace_back(start, end);
        }
    }
    std::sort(spans.begin(), spans.end());
    std::uint64_t reach = spans.front().second;
    std::uint64_t bestGap = 0, gapStart = 0, gapEnd = 0;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first > reach && spans[i].first - reach > bestGap) {
            bestGap = spans[i].first - reach;
            gapStart = reach;
            gapEnd = spans[i].first;
        }
        reach = std::max(reach, spans[i].second);
    }
    // The gap across the ends of the offsets.
    const std::uint64_t wrapGap = 0x100000000u - reach + spans.front().first;
    if (reach < 0x100000000u + spans.front().first && wrapGap > bestGap) {
        bestGap = wrapGap;
        gapStart = reach;
        gapEnd = spans.front().first;
    }
    if (bestGap == 0) {
        box.lon1 = INT32_MIN;
        box.lon2 = INT32_MAX;
        return box;
    }
    box.lon1 = static_cast<std::int32_t>(static_cast<std::uint32_t>(gapEnd) ^ 0x80000000u);
    box.lon2 = static_cast<std::int32_t>(static_cast<std::uint32_t>(gapStart) ^ 0x80000000u);
    return box;
}

GeoCover GeoCover::round(std::uint32_t latMask, std::uint32_t lonMask, int mode) const {
    auto down = [](std::int32_t v, std::uint32_t mask) {
        return static_cast<std::int32_t>(u(v) & mask);
    };
    auto up = [](std::int32_t v, std::uint32_t mask) {
        return static_cast<std::int32_t>((u(v) + ~mask) & mask);
    };
    GeoCover result;
    for (const LGeoRect* n = head; n != nullptr; n = n->next) {
        const GeoRect& r = n->r;
        GeoRect g;
        if (mode == 1)
            g = {up(r.lon1, lonMask), up(r.lat1, latMask), down(r.lon2, lonMask),
                 down(r.lat2, latMask)};
        else if (mode == 2)
            g = {down(r.lon1, lonMask), down(r.lat1, latMask), up(r.lon2, lonMask),
                 up(r.lat2, latMask)};
        else
            g = {down(r.lon1, lonMask), down(r.lat1, latMask), down(r.lon2, lonMask),
                 down(r.lat2, latMask)};
        // The new width, measured from the old corners so that it can go
        // below zero or beyond the turn instead of wrapping round.
        const std::int64_t width = static_cast<std::int64_t>(geoRectWidth(r)) +
                                   static_cast<std::int32_t>(u(g.lon2) - u(r.lon2)) -
                                   static_cast<std::int32_t>(u(g.lon1) - u(r.lon1));
        if (width < 0 || g.lat1 > g.lat2) continue; // no grid cell inside
        int failed = 0;
        if (width >= 0x100000000) {
            failed |= result.add(GeoRect{0, g.lat1, INT32_MIN, g.lat2});
            failed |= result.add(GeoRect{INT32_MIN, g.lat1, 0, g.lat2});
        } else {
            failed |= result.add(g);
        }
        if (failed) {
            result.clear();
            return result;
        }
    }
    return result;
}

// Rectangle algebra.

namespace {

GeoCover fromPieces(const GeoRect* pieces, int count) {
    GeoCover c;
    for (int i = 0; i < count; ++i)
        if (c.append(pieces[i]) < 0) break; // the operators return what could be built
    return c;
}

GeoCover coverOf(const GeoRect& r) {
    GeoCover c;
    if (geoRectValid(r)) c.append(r);
    return c;
}

} // namespace

GeoCover operator*(const GeoRect& a, const GeoRect& b) {
    GeoRect pieces[2];
    return fromPieces(pieces, geoRectIntersection(a, b, pieces));
}

GeoCover operator+(const GeoRect& a, const GeoRect& b) {
    GeoRect pieces[4];
    return fromPieces(pieces, geoRectUnion(a, b, pieces));
}

GeoCover operator-(const GeoRect& a, const GeoRect& b) {
    GeoRect pieces[4];
    return fromPieces(pieces, geoRectDifference(a, b, pieces));
}

GeoCover operator+(const GeoCover& a, const GeoCover& b) {
    GeoCover c;
    c.copy(a);
    GeoCover right;
    right.copy(b);
    c.add(right, 1);
    return c;
}

GeoCover operator+(const GeoRect& a, const GeoCover& b) {
    GeoCover c = coverOf(a);
    GeoCover right;
    right.copy(b);
    c.add(right, 1);
    return c;
}

GeoCover operator+(const GeoCover& a, const GeoRect& b) {
    GeoCover c;
    c.copy(a);
    c.add(b);
    return c;
}

GeoCover operator-(const GeoCover& a, const GeoCover& b) {
    GeoCover c;
    c.copy(a);
    for (const LGeoRect* n = b.head; n != nullptr; n = n->next)
        if (c.sub(n->r) < 0) break;
    return c;
}

GeoCover operator-(const GeoRect& a, const GeoCover& b) {
    GeoCover c = coverOf(a);
    for (const LGeoRect* n = b.head; n != nullptr; n = n->next)
        if (c.sub(n->r) < 0) break;
    return c;
}

GeoCover operator-(const GeoCover& a, const GeoRect& b) {
    GeoCover c;
    c.copy(a);
    c.sub(b);
    return c;
}

GeoCover operator*(const GeoCover& a, const GeoCover& b) {
    GeoCover c;
    c.copy(a);
    GeoCover right;
    right.copy(b);
    c.mul(right, 1);
    return c;
}

GeoCover operator*(const GeoRect& a, const GeoCover& b) {
    GeoCover c = coverOf(a);
    GeoCover right;
    right.copy(b);
    c.mul(right, 1);
    return c;
}

GeoCover operator*(const GeoCover& a, const GeoRect& b) {
    GeoCover c;
    c.copy(a);
    c.mul(b);
    return c;
}

// Cover tests.

int operator&(const GeoCover& k, const GeoRect& r) {
    for (const LGeoRect* n = k.head; n != nullptr; n = n->next)
        if (n->r & r) return 1;
    return 0;
}

int operator&(const GeoCover& a, const GeoCover& b) {
    if (a.empty() || b.empty()) return 0;
    for (const LGeoRect* n = b.head; n != nullptr; n = n->next)
        if (a & n->r) return 1;
    return 0;
}

int operator<=(const GeoCover& k, const GeoRect& r) {
    if (!geoRectValid(r)) return 0;
    for (const LGeoRect* n = k.head; n != nullptr; n = n->next)
        if (!(n->r <= r)) return 0;
    return 1;
}

int operator<=(const GeoRect& r, const GeoCover& k) {
    return (r - k).empty() ? 1 : 0;
}

int operator<=(const GeoCover& a, const GeoCover& b) {
    return (a - b).empty() ? 1 : 0;
}

bool operator==(const GeoCover& a, const GeoCover& b) {
    const LGeoRect* n = a.head;
    const LGeoRect* m = b.head;
    for (; n != nullptr && m != nullptr; n = n->next, m = m->next)
        if (n->r.lon1 != m->r.lon1 || n->r.lat1 != m->r.lat1 || n->r.lon2 != m->r.lon2 ||
            n->r.lat2 != m->r.lat2)
            return false;
    return n == nullptr && m == nullptr;
}
