#include "gdb/GdbObject.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGeoDb.h"
#include "geo/GeoCover.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Registries of 16: the 17th member gets slot -1; a freed slot goes to the
// next one created (the lowest free slot), and the count follows.
template <class T, class Make> void checkRegistry(T** registry, int& count, Make make) {
    std::vector<std::unique_ptr<T>> made;
    while (count < 16)
        made.push_back(make());
    std::unique_ptr<T> extra = make();
    EXPECT_EQ(extra->GetSlot(), -1);
    EXPECT_EQ(count, 16);

    // Free two slots; the next two take the lower one first.
    T* low = made[0].get();
    T* high = made[1].get();
    const int lowSlot = std::min(low->GetSlot(), high->GetSlot());
    const int highSlot = std::max(low->GetSlot(), high->GetSlot());
    made[1].reset();
    made[0].reset();
    EXPECT_EQ(count, 14);
    EXPECT_EQ(registry[lowSlot], nullptr);
    made[0] = make();
    made[1] = make();
    EXPECT_EQ(made[0]->GetSlot(), lowSlot);
    EXPECT_EQ(made[1]->GetSlot(), highSlot);
    EXPECT_EQ(registry[highSlot], made[1].get());

    // An unlisted member leaves the registry alone when it goes.
    extra.reset();
    EXPECT_EQ(count, 16);
}

TEST(GdbRegistries, SixteenSlotsLowestFreeFirst) {
    checkRegistry(TGdbDictionary::apGdbDict, TGdbDictionary::nGdbDict,
                  [] { return std::make_unique<TGdbDictionary>("d", "x"); });
    TGdbDictionary dictionary(nullptr, nullptr);
    checkRegistry(TGeoDb::pGdbList, TGeoDb::nGdbNum,
                  [&] { return std::make_unique<TGeoDb>(dictionary); });
}

TEST(GdbBaseClasses, AnswerNothingKnown) {
    TGdbDictionary dictionary("name", "charts\\dict");
    EXPECT_STREQ(dictionary.GetName(), "name");
    EXPECT_STREQ(dictionary.GetPath(), "charts/dict/");
    EXPECT_EQ(TGdbDictionary(nullptr, nullptr).GetName(), nullptr);
    char acronym[] = "BOYLAT";
    EXPECT_EQ(dictionary.GetObjectNum(), 0);
    EXPECT_EQ(dictionary.GetObjectLabel(acronym), -1);
    EXPECT_EQ(dictionary.GetObjectCode(1), nullptr);
    EXPECT_EQ(dictionary.GetAttrLabel(acronym), -1);
    EXPECT_EQ(dictionary.GetAttrValueName(1, 1), nullptr);

    TGeoDb db(dictionary);
    EXPECT_EQ(db.GetDictionary(), &dictionary);
    GeoRect world{0, -0x40000000, 0, 0x40000000};
    EXPECT_TRUE(db.getCover(world, 50000).empty());
    EXPECT_EQ(db.getLevel(50000), -1);
    EXPECT_EQ(db.getScale(3), 0ul);
    EXPECT_EQ(db.flush(), 0);
    EXPECT_EQ(db.newGdbObjectIterator(), nullptr);

    GdbObject object(&db);
    char buf[8] = "x";
    EXPECT_EQ(object.Print(buf, sizeof buf, 0), 0);
    EXPECT_EQ(object.PrintName(buf, sizeof buf, 0), 0);
    EXPECT_EQ(object.GetDispFlags(), -1);
    EXPECT_EQ(object.GetInfoPages(), -1);
    EXPECT_EQ(object.clone(), nullptr);
    EXPECT_EQ(object.GetMetrics(nullptr, 0), 0ul);
    EXPECT_EQ(object.FirstChild(), nullptr);
    TGdbAttr attr(&db);
    EXPECT_EQ(attr.GetDispFlags(), -1);
    EXPECT_EQ(attr.GetValue(buf, 1), 0);
}

// An object that records what the flat functions pass on.
class RecordingObject : public GdbObject {
  public:
    unsigned long printFlags = 0;
    GeoRect window{};
    int Print(char*, unsigned, unsigned long flags) override {
        printFlags = flags;
        return 7;
    }
    MapObject* newMapObject(Map* map, GeoRect& w, MapObject* reuse) override {
        window = w;
        return reuse ? reuse : reinterpret_cast<MapObject*>(map);
    }
    int HasChilds() override { return 1; }
};

TEST(GdbFlatFunctions, ForwardAndRefuseNull) {
    RecordingObject object;
    char buf[4];
    EXPECT_EQ(GdbObject__Print(&object, buf, sizeof buf), 7);
    EXPECT_EQ(object.printFlags, 0xFFFFFFFBul);
    EXPECT_EQ(GdbObject__HasChilds(&object), 1);

    auto* map = reinterpret_cast<Map*>(&object); // never dereferenced
    EXPECT_EQ(GdbObject__newMapObject(&object, map, -10, 50, 20, 60.5, 1, nullptr),
              reinterpret_cast<MapObject*>(map));
    EXPECT_EQ(object.window.lon1, deg2nrm(-10));
    EXPECT_EQ(object.window.lat1, deg2nrm(50));
    EXPECT_EQ(object.window.lon2, deg2nrm(20));
    EXPECT_EQ(object.window.lat2, deg2nrm(60.5));
    GdbObject__newMapObject(&object, map, -0.5, 0.25, 1, 1.5, 0, nullptr);
    EXPECT_EQ(object.window.lon1, rad2nrm(-0.5));
    EXPECT_EQ(object.window.lat2, rad2nrm(1.5));

    EXPECT_EQ(GdbObject__newMapObject(&object, nullptr, 0, 0, 1, 1, 1, nullptr), nullptr);
    EXPECT_EQ(GdbObject__newMapObject(nullptr, map, 0, 0, 1, 1, 1, nullptr), nullptr);
    EXPECT_EQ(GdbObject__Print(nullptr, buf, sizeof buf), 0);
    EXPECT_EQ(GdbObject__GetAttr(nullptr, 1), nullptr);
    EXPECT_EQ(GdbObject__HasParent(nullptr), 0);
    EXPECT_EQ(GdbObject__HasChilds(nullptr), 0);
    EXPECT_EQ(GdbObject__FirstChild(nullptr), nullptr);
    EXPECT_EQ(GdbObject__NextChild(nullptr), nullptr);
    EXPECT_EQ(TGdbAttr__GetValue(nullptr, buf, 1), 0);
}

} // namespace
