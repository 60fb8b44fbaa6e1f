// Aggregates (codes 185, 187 and 188): a structure such as a buoy or beacon
// with its members (lights, topmarks, other marks). The structure is drawn
// last, on top of its members, which attach at its anchors.
#include "procedures/Int1Procs.h"
#include "procedures/StructureAnchors.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "procedures/AttributeReads.h"
#include "procedures/CondSymbProcs.h"
#include "proj/MapObject.h"

#include <memory>

namespace {

struct Anchor {
    int x, y, w;
};

// Top anchor and half width of a beacon (codes 5 to 9) by its shape.
Anchor beaconAnchor(unsigned shape) {
    switch (shape) {
    case 1:
        return {0, 12, 3};
    case 2:
        return {0, 13, 3};
    case 3:
        return {0, 19, 5};
    case 4:
        return {0, 13, 8};
    default:
        return {0, 8, 5};
    }
}

// The same for buoys (codes 15 to 20); shapes 0 and above 8 have none.
bool buoyAnchor(unsigned shape, Anchor& out) {
    static constexpr Anchor shapes[9] = {{0, 0, 0},  {2, 13, 0},  {3, 13, 9},
                                         {0, 13, 9}, {2, 16, 8},  {2, 17, 6},
                                         {0, 13, 9}, {0, 12, 11}, {2, 15, 8}};
    if (shape < 1 || shape > 8) return false;
    out = shapes[shape];
    return true;
}

} // namespace

int ComputeStructureAnchors(GdbObject* structure) {
    for (Point& p : StructureAnchors)
        p = Point{0, 0};
    if (!structure) return 0;
    const int code = structure->GetLabel();
    Anchor a{0, 0, 0};
    bool found = true;
    if (code == 200 || code == 203) {
        a = {0, 8, 5};
    } else if (code == 201) {
        a = {0, 5, 4};
    } else if (code == 158) {
        a = {0, 18, 4};
    } else if (code == 88 || code == 89) {
        a = {0, 16, 11};
    } else if (code >= 5 && code <= 9) {
        unsigned shape = 0;
        AttrByte(structure, 103, shape);
        a = beaconAnchor(shape);
    } else if (code >= 15 && code <= 20) {
        unsigned shape = code == 20 ? 3 : code == 16 ? 0 : 4;
        AttrByte(structure, 105, shape);
        found = buoyAnchor(shape, a);
    } else {
        found = false;
    }
    if (found) {
        StructureAnchors[0] = Point{a.x, a.y};
        StructureAnchors[2] = Point{a.w, 0};
        StructureAnchors[3] = Point{-a.w, 0};
    }
    return code;
}

void Int1ProcAggregate(TMapContext* context, GdbObject* object, MapObject*) {
    if (!context || !object) return;
    GdbObject* structure = object->FirstChild();
    if (!structure) return;

    // Only a structure with geometry in the pass's rectangle is drawn; the
    // geometry serves as that test alone.
    MapObject local(egtPoint, -1);
    MapObject* geometry = structure->newMapObject(context->map, context->rect, &local);
    // A database that answers a new object hands it over.
    std::unique_ptr<MapObject> own(geometry && geometry != &local ? geometry : nullptr);
    if (!geometry) return;

    // The structure walked to by FirstChild changes with NextChild: keep a copy.
    std::unique_ptr<GdbObject> copy(structure->clone());
    if (!copy) return;

    ComputeStructureAnchors(copy.get());
    LightStackCount = 0;
    for (GdbObject* member = object->NextChild(); member; member = object->NextChild())
        context->Draw(member);
    context->Draw(copy.get());
}
