// TMapContext::Draw: finding the procedure, the geometry in window
// coordinates, the draw lock and the current device context.
#include "procedureKit.h"

#include "context/TMapContext.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsLayer.h"
#include "proj/newMap.h"
#include "runtime/TLocker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Another thread that takes DrawLock (and lets it go at once); joined when
// the probe goes, so the lock must be free by then.
class LockProbe {
  public:
    LockProbe()
        : thread_([this] {
              TOS::TLocker::TLock lock(&DrawLock());
              taken_.set_value();
          }),
          future_(taken_.get_future()) {}
    ~LockProbe() { thread_.join(); }
    bool takenWithin(std::chrono::milliseconds time) {
        return future_.wait_for(time) == std::future_status::ready;
    }

  private:
    std::promise<void> taken_;
    std::thread thread_;
    std::future<void> future_;
};

bool lockFreeForAnotherThread() {
    LockProbe probe;
    return probe.takenWithin(2000ms);
}

// What the last test procedure saw.
struct Seen {
    int calls = 0;
    TMapContext* context = nullptr;
    GdbObject* object = nullptr;
    kit::Geometry geometry;
    gdi::Dc* current = nullptr;
    bool lockHeld = false;
};
Seen seen;
std::unique_ptr<LockProbe> probe; // started by lookAtTheLock

kit::Geometry snapshot(const MapObject& m) {
    kit::Geometry g;
    g.type = m.type;
    g.bounds = m.bounds;
    if (m.type >= egtLine && m.pointCounts && m.points) {
        const Point* p = m.points;
        for (int i = 0; i < m.partCount; ++i) {
            g.parts.emplace_back(p, p + m.pointCounts[i]);
            p += m.pointCounts[i];
        }
    }
    return g;
}

void look(TMapContext* context, GdbObject* object, MapObject* geometry) {
    ++seen.calls;
    seen.context = context;
    seen.object = object;
    seen.geometry = snapshot(*geometry);
    seen.current = gdCurrentDc();
}

// Notes whether another thread could take the lock while the procedure runs.
void lookAtTheLock(TMapContext* context, GdbObject* object, MapObject* geometry) {
    look(context, object, geometry);
    probe = std::make_unique<LockProbe>();
    seen.lockHeld = !probe->takenWithin(100ms);
}

void throwSeven(TMapContext* context, GdbObject* object, MapObject* geometry) {
    look(context, object, geometry);
    throw 7;
}

// A window transform that moves every point by (1000, 2000).
class ShiftWin : public Map::Win {
  public:
    ShiftWin() : Win(nullptr) {}
    int Map2Win(const Point* in, Point* out, int n) override {
        for (int i = 0; i < n; ++i)
            out[i] = Point{in[i].x + 1000, in[i].y + 2000};
        return 1;
    }
    int Map2Win(const Rect* in, Rect* out, int n) override {
        for (int i = 0; i < n; ++i)
            out[i] =
                Rect{in[i].left + 1000, in[i].top + 2000, in[i].right + 1000, in[i].bottom + 2000};
        return 1;
    }
};

class MapContextDraw : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        seen = Seen{};
    }
};

std::vector<Point> shifted(std::vector<Point> points) {
    for (Point& p : points)
        p = Point{p.x + 1000, p.y + 2000};
    return points;
}

TEST_F(MapContextDraw, GeometryReachesTheProcedureInWindowCoordinates) {
    ShiftWin win;
    std::unique_ptr<Map> map(newMap(PRJ_MERCATOR, 50000, GeoPoint{0, 0}, 50, 50, 3780, 3780, &win));
    ASSERT_TRUE(map);
    gdi::RecordingDc dc(100, 100);
    GeoRect rect = map->window;
    TMapContext context(&dc, map.get(), rect, 0, EDetails(0), EPresMode(0));

    const std::vector<Point> a{{1, 2}, {3, 4}}, b{{5, 6}, {7, 8}, {9, 10}};
    kit::Geometry twoSoundingParts = kit::soundings(a, {10, 20});
    twoSoundingParts.parts.push_back(b);
    kit::Geometry rect2;
    rect2.type = egtRect;
    rect2.bounds = Rect{1, 2, 3, 4};
    kit::Geometry inlinePoint = kit::point(5, 6);
    inlinePoint.type = egtInlinePoint;
    kit::Geometry unknown = kit::point(5, 6);
    unknown.type = EGEOMETRYTYPE(7);
    const kit::Geometry area = kit::area({{0, 0}, {0, 10}, {10, 10}, {10, 0}});

    struct Case {
        const char* what;
        kit::Geometry given;
        Rect bounds;
        std::vector<std::vector<Point>> parts;
    };
    const std::vector<Case> cases{
        {"no geometry: untouched", kit::noGeometry(), Rect{0, 0, 0, 0}, {}},
        {"point in the bounds' first words", kit::point(5, 6), Rect{1005, 2006, 0, 0}, {}},
        {"inline point", inlinePoint, Rect{1005, 2006, 0, 0}, {}},
        {"rectangle", rect2, Rect{1001, 2002, 1003, 2004}, {}},
        {"every point of every line part",
         kit::line({a, b}),
         Rect{1001, 2002, 1009, 2010},
         {shifted(a), shifted(b)}},
        {"every point of an area", area, Rect{1000, 2000, 1010, 2010}, {shifted(area.parts[0])}},
        {"the first part only of soundings",
         twoSoundingParts,
         Rect{1001, 2002, 1003, 2004},
         {shifted(a), b}},
        {"another type: untouched", unknown, Rect{5, 6, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kit::FakeObject object(120);
        object.setGeometry(c.given);
        const CondSymbProc old = kit::chart().presentation->setSymbProcedure(120, look);
        seen = Seen{};
        context.Draw(&object);
        kit::chart().presentation->setSymbProcedure(120, old);
        ASSERT_EQ(seen.calls, 1);
        EXPECT_EQ(seen.context, &context);
        EXPECT_EQ(seen.object, &object);
        EXPECT_EQ(object.lastMap(), map.get());
        EXPECT_EQ(object.lastWindow().lon1, rect.lon1);
        EXPECT_EQ(object.lastWindow().lat2, rect.lat2);
        EXPECT_EQ(seen.geometry.type, c.given.type);
        const Rect& r = seen.geometry.bounds;
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
                  std::vector<int>({c.bounds.left, c.bounds.top, c.bounds.right, c.bounds.bottom}));
        ASSERT_EQ(seen.geometry.parts.size(), c.parts.size());
        for (std::size_t i = 0; i < c.parts.size(); ++i) {
            ASSERT_EQ(seen.geometry.parts[i].size(), c.parts[i].size());
            for (std::size_t k = 0; k < c.parts[i].size(); ++k) {
                EXPECT_EQ(seen.geometry.parts[i][k].x, c.parts[i][k].x) << i << "," << k;
                EXPECT_EQ(seen.geometry.parts[i][k].y, c.parts[i][k].y) << i << "," << k;
            }
        }
    }
}

// Tables attached by a test that are not a presentation library.
class OtherTables : public GdbLookupTables {
  public:
    const GdbObjectLookup* objectLookup(unsigned) const override { return &entry; }
    const GdbAttrLookup* attrLookup(unsigned) const override { return nullptr; }
    GdbObjectLookup entry{1, 1, {0, 0}};
};

TEST_F(MapContextDraw, ObjectsWithoutAProcedureAreNotDrawn) {
    const CondSymbProc old = kit::chart().presentation->setSymbProcedure(120, look);
    // Another thread holds the lock all along: an object that takes it would hang.
    std::promise<void> release;
    std::promise<void> holding;
    std::thread holder([&] {
        TOS::TLocker::TLock lock(&DrawLock());
        holding.set_value();
        release.get_future().wait();
    });
    holding.get_future().wait();
    bool released = false;
    for (int code : {256, 0, 222, -1}) {
        SCOPED_TRACE(code);
        kit::FakeObject object(code);
        const auto drawn =
            std::async(std::launch::async, [&] { kit::View().context(nullptr).Draw(&object); });
        if (drawn.wait_for(2000ms) != std::future_status::ready) {
            ADD_FAILURE() << "the lock was asked for";
            if (!released) release.set_value();
            released = true;
        }
        drawn.wait();
        EXPECT_EQ(object.newMapObjectCalls(), 0);
    }
    if (!released) release.set_value();
    holder.join();

    kit::FakeObject outside(120);
    outside.noMapObject();
    kit::draw(outside);
    EXPECT_EQ(outside.newMapObjectCalls(), 1);
    EXPECT_EQ(seen.calls, 0) << "nothing of the object in the view: no procedure call";

    // A dictionary whose tables are not a presentation library, or none.
    kit::FakeDictionary dictionary;
    TGeoDb database(dictionary);
    OtherTables tables;
    for (GdbLookupTables* attached :
         {static_cast<GdbLookupTables*>(&tables), static_cast<GdbLookupTables*>(nullptr)}) {
        dictionary.SetPresentation(attached);
        kit::FakeObject object(120, &database);
        kit::draw(object);
        EXPECT_EQ(object.newMapObjectCalls(), 0);
    }
    kit::FakeObject noDatabase(120, nullptr);
    kit::draw(noDatabase);
    EXPECT_EQ(noDatabase.newMapObjectCalls(), 0);
    kit::View().context(nullptr).Draw(nullptr);
    EXPECT_EQ(seen.calls, 0);
    kit::chart().presentation->setSymbProcedure(120, old);
}

TEST_F(MapContextDraw, ProcedureRunsUnderTheLockOnTheContextsDeviceContext) {
    kit::FakeObject object(120);
    object.setGeometry(kit::point(3, 4));
    gdi::RecordingDc dc(64, 64);
    kit::View view;
    TMapContext context = view.context(&dc);
    const CondSymbProc old = kit::chart().presentation->setSymbProcedure(120, lookAtTheLock);
    context.Draw(&object);
    kit::chart().presentation->setSymbProcedure(120, old);
    ASSERT_TRUE(probe);
    EXPECT_TRUE(probe->takenWithin(2000ms)) << "the lock is let go after the procedure";
    probe.reset();
    EXPECT_EQ(seen.calls, 1);
    EXPECT_TRUE(seen.lockHeld);
    EXPECT_EQ(seen.current, &dc);
    EXPECT_EQ(gdCurrentDc(), &dc) << "the context stays current";
    EXPECT_TRUE(lockFreeForAnotherThread());
}

// Draws the first child of its object through the same context.
void drawFirstChild(TMapContext* context, GdbObject* object, MapObject*) {
    ++seen.calls;
    context->Draw(object->FirstChild());
}

TEST_F(MapContextDraw, AProcedureMayDrawOtherObjects) {
    auto parent = std::make_unique<kit::FakeObject>(121);
    parent->addChild(std::make_unique<kit::FakeObject>(120));
    const CondSymbProc oldParent = kit::chart().presentation->setSymbProcedure(121, drawFirstChild);
    const CondSymbProc oldChild = kit::chart().presentation->setSymbProcedure(120, look);
    const kit::Drawing d = kit::draw(*parent);
    kit::chart().presentation->setSymbProcedure(121, oldParent);
    kit::chart().presentation->setSymbProcedure(120, oldChild);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_EQ(seen.object, &parent->child(0));
    EXPECT_EQ(parent->child(0).newMapObjectCalls(), 1);
}

// A database that answers a new geometry object instead of filling the one
// it is given.
class NewGeometryObject : public kit::FakeObject {
  public:
    using kit::FakeObject::FakeObject;
    MapObject* newMapObject(Map* map, GeoRect& window, MapObject*) override {
        return kit::FakeObject::newMapObject(map, window, nullptr);
    }
};

TEST_F(MapContextDraw, AThrowingProcedureFreesLockAndGeometry) {
    const CondSymbProc old = kit::chart().presentation->setSymbProcedure(120, throwSeven);
    kit::FakeObject filled(120);
    filled.setGeometry(kit::line({{0, 0}, {5, 5}, {9, 1}}));
    NewGeometryObject handed(120);
    handed.setGeometry(kit::area({{0, 0}, {0, 10}, {10, 10}}));
    for (GdbObject* object : {static_cast<GdbObject*>(&filled), static_cast<GdbObject*>(&handed)}) {
        std::optional<int> thrown;
        try {
            kit::View().context(nullptr).Draw(object);
        } catch (int e) {
            thrown = e;
        }
        EXPECT_EQ(thrown, 7);
        // Another thread draws on: the lock was released. The geometry's
        // arrays were freed (the address sanitizer reports a leak otherwise).
        EXPECT_TRUE(lockFreeForAnotherThread());
    }
    EXPECT_EQ(seen.calls, 2);
    EXPECT_EQ(seen.geometry.parts.size(), 1u);
    kit::chart().presentation->setSymbProcedure(120, old);
}

TEST_F(MapContextDraw, ConstructorKeepsItsArgumentsAndStartsWithoutZones) {
    gdi::RecordingDc dc(8, 8);
    kit::View view;
    GeoRect rect{1, 2, 3, 4};
    const TMapContext c(&dc, view.map(), rect, -1, EDetails(0x8000), EPresMode(1));
    EXPECT_EQ(c.map, view.map());
    EXPECT_EQ(c.reserved, 0);
    EXPECT_EQ(c.dc, &dc);
    EXPECT_EQ(std::vector<int>({c.rect.lon1, c.rect.lat1, c.rect.lon2, c.rect.lat2}),
              std::vector<int>({1, 2, 3, 4}));
    EXPECT_EQ(c.scaleExponent, -1);
    EXPECT_EQ(c.details, 0x8000);
    EXPECT_EQ(c.presMode, 1);
    EXPECT_EQ(c.depthZoneCount, 0);
    EXPECT_EQ(c.depthZones, nullptr);
}

} // namespace
