// Geographic covers: sets of geographic rectangles with union, difference,
// intersection, containment and equality.
#pragma once

#include "geo/GeoRect.h"
#include "runtime/TinyObjectAllocator.h"

#include <cstdint>

// One rectangle of a cover: a node of its singly linked list, taken from the
// pool TOAllocator (started when the library loads).
struct LGeoRect {
    LGeoRect* next;
    GeoRect r;

    static TinyObjectAllocator TOAllocator;
};

struct GeoRectStack; // pending rectangles of an add

// A set of geographic rectangles, held as a singly linked list ordered by
// lat1, then lon1 (signed). Covers built by add, sub and mul hold rectangles
// that do not overlap: adding merges or splits. (Degenerate rectangles of
// zero width or height are kept beside ordinary ones and may overlap them.)
// An empty cover has a null head.
//
// A cover owns its nodes. It moves (the source is left empty) but does not
// copy implicitly: copy() duplicates and reports failure. Results of the
// operators are returned by value and moved into the receiver.
//
// Failures: an operation that cannot take a node from the pool, or whose
// merging does not come to an end within a fixed bound, clears the cover and
// returns -1.
class GeoCover {
  public:
    GeoCover() = default;
    ~GeoCover() { clear(); }
    GeoCover(GeoCover&& other) noexcept : head(other.head) { other.head = nullptr; }
    GeoCover& operator=(GeoCover&& other) noexcept;
    GeoCover(const GeoCover&) = delete;
    GeoCover& operator=(const GeoCover&) = delete;

    // Adds the rectangle, merging it with the rectangles it overlaps or
    // continues. 0, or -1 for an invalid rectangle (cover unchanged) or a
    // failure (cover cleared).
    int add(const GeoRect& r);
    // Adds every rectangle of other; at the first failure this cover is
    // cleared and -1 returned. consume != 0 clears other afterwards. Adding a
    // cover to itself changes nothing.
    int add(GeoCover& other, int consume);
    // Replaces every rectangle by its difference with r. 0 or -1.
    int sub(const GeoRect& r);
    // Subtracts every rectangle of other (a cover minus itself is empty).
    int sub(GeoCover& other, int consume);
    // Replaces every rectangle by its intersection with r. 0 or -1.
    int mul(const GeoRect& r);
    // Becomes the union of the intersections of every pair of rectangles of
    // this cover and other.
    int mul(GeoCover& other, int consume);
    // Division is not defined on covers: return 0 and change nothing.
    int div(const GeoRect&) { return 0; }
    int div(GeoCover&, int) { return 0; }

    // Clears this cover and duplicates other's rectangles in order; -1 (this
    // cover cleared) on failure.
    int copy(const GeoCover& other);
    // Returns every node to the pool.
    void clear();

    // The bounding rectangle: the minimum lat1 and maximum lat2, and in
    // longitude the smallest span that holds every rectangle's span. When no
    // rectangle crosses 180 degrees this is the minimum lon1 and maximum lon2
    // (signed); otherwise it may cross 180 degrees. When the spans cover the
    // whole turn the longitudes are -0x80000000 and 0x7FFFFFFF. An empty
    // cover gives four zeros.
    explicit operator GeoRect() const;

    // A new cover of every rectangle snapped to the grid of the masks (a mask
    // keeps the bits of a grid line: 0xFFFF0000 is a grid of 0x10000 units),
    // added with add. Mode 1 moves lon1 and lat1 up to the grid and lon2 and
    // lat2 down (shrinks; a rectangle with no grid cell inside is dropped),
    // mode 2 moves lon2 and lat2 up and lon1 and lat1 down (widens; a span
    // that would reach the full turn becomes the two half turns), any other
    // mode moves all four down.
    GeoCover round(std::uint32_t latMask, std::uint32_t lonMask, int mode) const;

    bool empty() const { return head == nullptr; }
    // Number of rectangles.
    int size() const;

    // Appends r at the end of the list without merging or ordering (raw
    // results of the rectangle operators). 0, or -1 when no node is left.
    int append(const GeoRect& r);

    LGeoRect* head = nullptr;

  private:
    int addOne(const GeoRect& r, GeoRectStack& pending);
    int addList(const LGeoRect* list);
};

// Rectangle algebra; each result is a new cover whose rectangles are listed
// in a fixed order (not sorted, not merged further).
// Intersection: empty when either rectangle is invalid or they do not meet;
// two rectangles when b wraps round both ends of a.
GeoCover operator*(const GeoRect& a, const GeoRect& b);
// Union: one rectangle when one holds the other or they continue each other
// with equal spans on one axis; otherwise bands (the part below, the part
// above, the common band). A common band that closes the full turn is held
// as the two half turns. Rectangles of different degeneracy, or that neither
// overlap nor touch, give both.
GeoCover operator+(const GeoRect& a, const GeoRect& b);
// Difference: the part of a below b, the part above b, and what of a's span
// lies outside b's in the common latitudes. A b of zero width or height
// removes nothing from an a that has width or height.
GeoCover operator-(const GeoRect& a, const GeoRect& b);

// Cover forms: the left operand is copied (a rectangle becomes a
// one-rectangle cover) and add, sub or mul is applied with the right one.
GeoCover operator+(const GeoCover& a, const GeoCover& b);
GeoCover operator+(const GeoRect& a, const GeoCover& b);
GeoCover operator+(const GeoCover& a, const GeoRect& b);
GeoCover operator-(const GeoCover& a, const GeoCover& b);
GeoCover operator-(const GeoRect& a, const GeoCover& b);
GeoCover operator-(const GeoCover& a, const GeoRect& b);
GeoCover operator*(const GeoCover& a, const GeoCover& b);
GeoCover operator*(const GeoRect& a, const GeoCover& b);
GeoCover operator*(const GeoCover& a, const GeoRect& b);

// 1 when any rectangle of k meets r.
int operator&(const GeoCover& k, const GeoRect& r);
// 0 when either cover is empty, else 1 when any rectangle of b meets a.
int operator&(const GeoCover& a, const GeoCover& b);
// 0 for an invalid r, 1 for an empty k, else 1 when every rectangle of k lies
// within r.
int operator<=(const GeoCover& k, const GeoRect& r);
// 1 when r - k is empty.
int operator<=(const GeoRect& r, const GeoCover& k);
// 1 when a - b is empty.
int operator<=(const GeoCover& a, const GeoCover& b);
// True when both are empty, or both hold equal rectangles in the same order
// and number.
bool operator==(const GeoCover& a, const GeoCover& b);
