#include "gdb/GdbObject.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbMultyQuery.h"
#include "gdb/TGdbObjectIterator.h"
#include "gdb/TGdbQuery.h"
#include "gdb/TGeoDb.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class LabelObject : public GdbObject {
  public:
    int label = 0;
    int GetLabel() override { return label; }
};

// A scripted iterator: objects (labels) by priority layer, walked layer by
// layer in the formula's order, calling the query's layer hooks as a
// database iterator does (-1 ends, 1 pauses before the layer's first
// object). It records what the query asked of it.
class ScriptIterator : public TGdbObjectIterator {
  public:
    ScriptIterator(TGeoDb* db, TGdbQuery* query, std::map<int, std::vector<int>> layers)
        : TGdbObjectIterator(db, query), layers_(std::move(layers)) {}

    std::vector<std::string> calls;
    int initAnswer = 0;
    GeoRect firstRect{};
    unsigned long scale = 0;

    int init(GeoCover& cover, unsigned long s) override {
        calls.push_back("init");
        firstRect = cover.head ? cover.head->r : GeoRect{};
        scale = s;
        resetPriorityLayers(0, 255);
        return initAnswer;
    }
    int done() override {
        calls.push_back("done");
        return 0;
    }
    int setFormula(const void* formula) override {
        calls.push_back("setFormula");
        const auto* f = static_cast<const TGdbFormula*>(formula);
        SetDescending(f->ascending == 0);
        return 0;
    }
    int resetPriorityLayers(int, int) override {
        if (layers_.empty()) return -1;
        firstLayer_ = IsDescending() ? layers_.rbegin()->first : layers_.begin()->first;
        lastLayer_ = IsDescending() ? layers_.begin()->first : layers_.rbegin()->first;
        currentLayer_ = IsDescending() ? firstLayer_ + 1 : firstLayer_ - 1;
        index_ = -1;
        return 0;
    }
    GdbObject* nextGdbObject() override {
        for (;;) {
            if (index_ < 0) { // enter the next layer holding objects
                auto it = IsDescending() ? layers_.lower_bound(currentLayer_)
                                         : layers_.upper_bound(currentLayer_);
                if (IsDescending()) {
                    if (it == layers_.begin()) return end();
                    --it;
                } else if (it == layers_.end()) {
                    return end();
                }
                currentLayer_ = it->first;
                index_ = 0;
                const int hook = query_ ? query_->preprocessPriorityLayer(currentLayer_) : 0;
                if (hook == -1) return end();
                if (hook == 1) return nullptr;
            }
            const std::vector<int>& objects = layers_[currentLayer_];
            if (index_ < static_cast<int>(objects.size())) {
                object_.label = objects[index_++];
                return &object_;
            }
            index_ = -1;
            if (query_ && query_->postprocessPriorityLayer(currentLayer_) == -1) return end();
        }
    }

  private:
    GdbObject* end() {
        currentLayer_ = IsDescending() ? -1000 : 1000;
        return nullptr;
    }
    std::map<int, std::vector<int>> layers_;
    int index_ = -1;
    LabelObject object_;
};

// A database whose queries get a ScriptIterator; it refuses queries when
// told to, and maps level n to scale 1000 * (n + 1).
class ScriptDb : public TGeoDb {
  public:
    ScriptDb(TGdbDictionary& d, std::map<int, std::vector<int>> layers, bool accept = true)
        : TGeoDb(d), layers_(std::move(layers)), accept_(accept) {}
    ScriptIterator* last = nullptr;
    int initAnswer = 0;
    int openGdbQuery(TGdbQuery& query) override {
        if (!accept_) return -1;
        last = new ScriptIterator(this, &query, layers_);
        last->initAnswer = initAnswer;
        query.SetIterator(last);
        return 0;
    }
    unsigned long getScale(int level) override { return 1000ul * (level + 1); }

  private:
    std::map<int, std::vector<int>> layers_;
    bool accept_;
};

std::vector<int> walk(TGdbQuery& q, int limit = 100) {
    std::vector<int> labels;
    while (GdbObject* o = q.next()) {
        labels.push_back(o->GetLabel());
        if (--limit == 0) break;
    }
    return labels;
}

std::string joined(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v)
        s += (s.empty() ? "" : " ") + x;
    return s;
}

TGdbDictionary dictionary("test", nullptr);
GeoRect rectA{100, 200, 300, 400};
GeoRect rectB{500, 600, 700, 800};
const TGdbFormula ascending{0, ~0u, ~0u, 0, 0, 1, 0, nullptr, 0, nullptr, 0};
const TGdbFormula descending{0, ~0u, ~0u, 0, 0, 0, 0, nullptr, 0, nullptr, 0};

TEST(GdbQuery, OpenCloseAndReopen) {
    ScriptDb db(dictionary, {{3, {31, 32}}, {5, {51}}});
    TGdbQuery q(db);
    ASSERT_TRUE(q.IsValid());
    ScriptIterator* it = db.last;
    EXPECT_EQ(q.next(), nullptr); // not open

    EXPECT_EQ(q.open(rectA, 50000ul, &ascending), 1);
    EXPECT_TRUE(q.GetFlags() & TGdbQuery::ownsCoverFlag);
    EXPECT_EQ(it->firstRect.lon1, 100);
    EXPECT_EQ(it->scale, 50000ul);
    EXPECT_EQ(walk(q), (std::vector<int>{31, 32, 51}));
    EXPECT_EQ(q.next(), nullptr);

    // Reopening closes the previous walk (and frees its own cover) first.
    EXPECT_EQ(q.open(rectB, 20000ul, nullptr), 1);
    EXPECT_EQ(joined(it->calls), "setFormula init done init");
    EXPECT_EQ(it->firstRect.lon1, 500);
    EXPECT_EQ(q.next()->GetLabel(), 31);

    // A caller's cover is not owned; the level forms use the database's scale.
    GeoCover cover;
    cover.add(rectA);
    EXPECT_EQ(q.open(cover, 2, nullptr), 1);
    EXPECT_EQ(it->scale, 3000ul);
    EXPECT_FALSE(q.GetFlags() & TGdbQuery::ownsCoverFlag);
    EXPECT_EQ(q.GetCover(), &cover);
    EXPECT_EQ(q.open(rectB, 0, nullptr), 1);
    EXPECT_EQ(it->scale, 1000ul);

    // Closing twice is harmless; the iterator is told once.
    it->calls.clear();
    EXPECT_EQ(q.close(), 1);
    EXPECT_EQ(q.close(), 1);
    EXPECT_EQ(joined(it->calls), "done");
    EXPECT_FALSE(q.IsOpen());
    EXPECT_EQ(q.next(), nullptr);
}

TEST(GdbQuery, FormulaGoesToTheIteratorOnlyWhenGiven) {
    ScriptDb db(dictionary, {{3, {31}}, {5, {51}}});
    TGdbQuery q(db);
    EXPECT_EQ(q.setFormula(nullptr), -1);
    EXPECT_TRUE(db.last->calls.empty());
    EXPECT_EQ(q.setFormula(&descending), 0);
    q.open(rectA, 1ul, nullptr);
    EXPECT_EQ(walk(q), (std::vector<int>{51, 31}));
}

TEST(GdbQuery, ConstructorsThatOpen) {
    ScriptDb db(dictionary, {{1, {11}}});
    TGdbQuery byRect(db, rectA, 7ul, &ascending);
    EXPECT_TRUE(byRect.IsOpen());
    EXPECT_EQ(db.last->scale, 7ul);
    EXPECT_EQ(walk(byRect), std::vector<int>{11});
    GeoCover cover;
    cover.add(rectB);
    TGdbQuery byCover(db, cover, 8ul, nullptr);
    EXPECT_EQ(db.last->firstRect.lon1, 500);
    EXPECT_EQ(walk(byCover), std::vector<int>{11});
}

TEST(GdbQuery, RefusedQueryAndRefusedWalk) {
    ScriptDb refusing(dictionary, {{1, {11}}}, false);
    TGdbQuery q(refusing);
    GeoCover cover;
    EXPECT_FALSE(q.IsValid());
    EXPECT_EQ(q.open(rectA, 1ul, nullptr), 0);
    EXPECT_EQ(q.open(cover, 1ul, nullptr), 0);
    EXPECT_EQ(q.open(rectA, 1, nullptr), 0);
    EXPECT_EQ(q.open(cover, 1, nullptr), 0);
    EXPECT_EQ(q.next(), nullptr);
    EXPECT_EQ(q.setFormula(&ascending), -1);
    EXPECT_EQ(q.close(), 1);

    // A walk the iterator refused in init answers nothing.
    ScriptDb failing(dictionary, {{1, {11}}});
    failing.initAnswer = -1;
    TGdbQuery f(failing);
    EXPECT_EQ(f.open(rectA, 1ul, nullptr), 1);
    EXPECT_EQ(f.next(), nullptr);
}

// A query whose hooks pause at every layer and end the walk at layer 5.
class PausingQuery : public TGdbQuery {
  public:
    using TGdbQuery::TGdbQuery;
    std::vector<int> entered;
    int preprocessPriorityLayer(int layer) override {
        entered.push_back(layer);
        return layer == 5 ? -1 : 1;
    }
};

TEST(GdbQuery, HooksSteerTheWalk) {
    ScriptDb db(dictionary, {{2, {21, 22}}, {3, {31}}, {5, {51}}});
    PausingQuery q(db);
    q.open(rectA, 1ul, &ascending);
    EXPECT_EQ(walk(q), std::vector<int>{});
    EXPECT_EQ(walk(q), (std::vector<int>{21, 22}));
    EXPECT_EQ(walk(q), std::vector<int>{31});
    EXPECT_EQ(walk(q), std::vector<int>{});
    EXPECT_EQ(q.entered, (std::vector<int>{2, 3, 5}));
}

TEST(GdbQuery, FlatFunctions) {
    ScriptDb db(dictionary, {{1, {11, 12}}});
    EXPECT_EQ(new__TGdbQuery(nullptr), nullptr);
    TGdbQuery* q = new__TGdbQuery(&db);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(TGdbQuery__setFormula(q, &descending), 0);
    EXPECT_EQ(TGdbQuery__open(q, -10, 50, 20, 60, 1, 50000ul, nullptr), 1);
    EXPECT_EQ(db.last->firstRect.lon1, deg2nrm(-10));
    EXPECT_EQ(db.last->firstRect.lat2, deg2nrm(60));
    EXPECT_TRUE(q->GetFlags() & TGdbQuery::ownsCoverFlag);
    EXPECT_EQ(TGdbQuery__next(q)->GetLabel(), 11);
    // Reopening through the flat function frees the previous own cover.
    EXPECT_EQ(TGdbQuery__open(q, 0.1, 0.2, 0.3, 0.4, 0, 50000ul, nullptr), 1);
    EXPECT_EQ(db.last->firstRect.lon1, rad2nrm(0.1));
    EXPECT_EQ(TGdbQuery__close(q), 1);
    delete__TGdbQuery(q);
    delete__TGdbQuery(nullptr);
    EXPECT_EQ(TGdbQuery__open(nullptr, 0, 0, 1, 1, 1, 1ul, nullptr), 0);
    EXPECT_EQ(TGdbQuery__next(nullptr), nullptr);
    EXPECT_EQ(TGdbQuery__close(nullptr), 0);
    EXPECT_EQ(TGdbQuery__setFormula(nullptr, &ascending), 0);
}

TEST(GdbMultyQuery, MergesMembersByLayer) {
    // Databases made in slot order: a before b.
    ScriptDb a(dictionary, {{10, {101, 102}}, {12, {121}}});
    ScriptDb b(dictionary, {{10, {103}}, {11, {111}}, {15, {151}}});
    ASSERT_LT(a.GetSlot(), b.GetSlot());

    struct Case {
        const TGdbFormula* formula;
        std::vector<int> want;
    } cases[] = {
        {&ascending, {101, 102, 103, 111, 121, 151}},
        // Descending: within a layer the members go from the last slot back.
        {&descending, {151, 121, 111, 103, 101, 102}},
    };
    for (const Case& c : cases) {
        TGdbMultyQuery q;
        EXPECT_EQ(q.addQuery(b), 0); // added out of slot order
        EXPECT_EQ(q.addQuery(a), 0);
        EXPECT_EQ(q.addQuery(a), 0); // already a member
        EXPECT_EQ(q.MemberCount(), 2u);
        EXPECT_EQ(q.open(rectA, 1ul, c.formula), 1);
        EXPECT_EQ(walk(q), c.want) << (c.formula == &ascending ? "ascending" : "descending");
        EXPECT_EQ(q.next(), nullptr);
    }
}

TEST(GdbMultyQuery, OneMemberWalksToTheEnd) {
    ScriptDb a(dictionary, {{1, {11}}, {4, {41, 42}}, {9, {91}}});
    for (int ascendingOrder : {1, 0}) {
        TGdbMultyQuery q;
        q.addQuery(a);
        q.setPrioritiesOrder(ascendingOrder);
        EXPECT_EQ(q.open(rectA, 1ul, nullptr), 1);
        EXPECT_EQ(walk(q), ascendingOrder ? (std::vector<int>{11, 41, 42, 91})
                                          : (std::vector<int>{91, 41, 42, 11}));
        EXPECT_EQ(q.CurrentPriorityLayer(), ascendingOrder ? 9 : 1);
    }
}

TEST(GdbMultyQuery, RefusalsAndLimits) {
    TGdbMultyQuery empty;
    GeoCover cover;
    EXPECT_FALSE(empty.IsValid());
    EXPECT_EQ(empty.open(rectA, 1ul, nullptr), 0);
    EXPECT_EQ(empty.next(), nullptr);

    ScriptDb refusing(dictionary, {{1, {11}}}, false);
    EXPECT_EQ(empty.addQuery(refusing), -1);
    EXPECT_EQ(empty.MemberCount(), 0u);

    ScriptDb a(dictionary, {{1, {11}}});
    ScriptDb failing(dictionary, {{1, {12}}});
    failing.initAnswer = -1;
    TGdbMultyQuery q;
    q.addQuery(a);
    EXPECT_EQ(q.setFormula(failing, &ascending), -1); // no member
    EXPECT_EQ(q.setFormula(a, nullptr), -1);
    EXPECT_EQ(q.setFormula(a, &ascending), 0);
    TGdbFormula wrongKind = ascending;
    wrongKind.kind = 1;
    EXPECT_EQ(q.setFormula(&wrongKind), -1);
    EXPECT_EQ(q.open(cover, 3, nullptr), 0); // level forms are not offered
    EXPECT_EQ(q.open(rectA, 3, nullptr), 0);

    q.addQuery(failing);
    ScriptIterator* failingMember = failing.last;
    EXPECT_EQ(q.open(rectA, 1ul, nullptr), 0);
    EXPECT_FALSE(q.IsOpen());
    EXPECT_EQ(joined(failingMember->calls), "init done");
    EXPECT_EQ(q.next(), nullptr);

    q.clear();
    EXPECT_FALSE(q.IsValid());
    EXPECT_EQ(q.MemberCount(), 0u);
}

// An iterator that answers null without ever moving on does not hold the
// walk up.
TEST(GdbMultyQuery, StuckMemberEndsItsPart) {
    class StuckDb : public TGeoDb {
      public:
        using TGeoDb::TGeoDb;
        int openGdbQuery(TGdbQuery& query) override {
            query.SetIterator(new TGdbObjectIterator(this, &query));
            return 0;
        }
    } stuck(dictionary);
    ScriptDb a(dictionary, {{1, {11}}});
    TGdbMultyQuery q;
    q.addQuery(a);
    q.addQuery(stuck);
    q.open(rectA, 1ul, &ascending);
    EXPECT_EQ(walk(q), std::vector<int>{11});
}

} // namespace
