// The current record: walks that delete or renumber as they go, searches and
// writes that fail, and writes that would duplicate a key.
#include "isamTestSupport.h"

#include <functional>

namespace {

using namespace isamtest;

class CurrentRecord : public IsamTest {
  protected:
    void SetUp() override {
        IsamTest::SetUp();
        ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
        ASSERT_EQ(isam::CREIFIL(idFile(dir())), 0);
    }

    // Points (id, number) with the number also as speed, to tell records apart.
    static void addPoints(std::int32_t id, std::initializer_list<int> numbers) {
        for (int n : numbers)
            ASSERT_EQ(isam::ADDREC(4, pointRecord(id, n, 0, 0, n).data()), 0);
    }

    // (id, number, speed) of every point in key order.
    static std::vector<std::tuple<int, int, int>> points() {
        std::vector<std::tuple<int, int, int>> found;
        for (const Bytes& r : walk(5, 38))
            found.emplace_back(getI32(&r[2]), getU16(&r[6]), getU16(&r[20]));
        return found;
    }
};

using Points = std::vector<std::tuple<int, int, int>>;

TEST_F(CurrentRecord, DeletingWhileWalkingGoesOnWithTheNextRecord) {
    struct Case {
        const char* what;
        int deleteEvery; // delete points whose number % deleteEvery == 1 % deleteEvery
        Points left;
    } cases[] = {
        {"every other",
         2,
         {{6, 1, 1}, {7, 2, 2}, {7, 4, 4}, {7, 6, 6}, {7, 8, 8}, {7, 10, 10}, {8, 1, 1}}},
        {"the whole object", 1, {{6, 1, 1}, {8, 1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        addPoints(6, {1});
        addPoints(7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        addPoints(8, {1});
        Bytes r(38);
        for (int found = isam::GTEREC(5, idNumberKey(7, 0).data(), r.data());
             found == 0 && getI32(&r[2]) == 7; found = isam::NXTREC(5, r.data())) {
            if (getU16(&r[6]) % c.deleteEvery == 1 % c.deleteEvery) {
                ASSERT_EQ(isam::DELREC(4), 0);
                // The deleted record is no longer there to rewrite or delete.
                EXPECT_EQ(isam::DELREC(4), isam::kNoCurrentRecord);
                EXPECT_EQ(isam::RWTREC(4, r.data()), isam::kNoCurrentRecord);
            }
        }
        EXPECT_EQ(points(), c.left);
        // Empty the file for the next case.
        while (isam::GTEREC(5, lowest(5).data(), r.data()) == 0)
            ASSERT_EQ(isam::DELREC(4), 0);
    }
}

TEST_F(CurrentRecord, RenumberingWalksGoOnFromTheNewKey) {
    addPoints(19, {1, 2});
    addPoints(20, {1, 2, 3, 4, 5});
    addPoints(21, {1});
    Bytes r(38);

    // Insert after point 3 of object 20: from the last point down, each
    // number k above 3 becomes k + 1, then the new point 4 is added.
    ASSERT_EQ(isam::LTEREC(5, idNumberKey(20, 1000).data(), r.data()), 0);
    EXPECT_EQ(getU16(&r[6]), 5); // the object's last point
    std::vector<int> renumbered;
    for (int found = 0; found == 0 && getI32(&r[2]) == 20 && getU16(&r[6]) > 3;
         found = isam::PRVREC(5, r.data())) {
        renumbered.push_back(getU16(&r[6]));
        putU16(r, 6, static_cast<std::uint16_t>(getU16(&r[6]) + 1));
        ASSERT_EQ(isam::RWTREC(4, r.data()), 0);
    }
    EXPECT_EQ(renumbered, (std::vector<int>{5, 4}));
    ASSERT_EQ(isam::ADDREC(4, pointRecord(20, 4, 0, 0, 99).data()), 0);
    EXPECT_EQ(points(), (Points{{19, 1, 1},
                                {19, 2, 2},
                                {20, 1, 1},
                                {20, 2, 2},
                                {20, 3, 3},
                                {20, 4, 99},
                                {20, 5, 4},
                                {20, 6, 5},
                                {21, 1, 1}}));

    // Delete point 2: the points above it move down one number each.
    ASSERT_EQ(isam::EQLREC(5, idNumberKey(20, 2).data(), r.data()), 0);
    ASSERT_EQ(isam::DELREC(4), 0);
    while (isam::NXTREC(5, r.data()) == 0 && getI32(&r[2]) == 20) {
        putU16(r, 6, static_cast<std::uint16_t>(getU16(&r[6]) - 1));
        ASSERT_EQ(isam::RWTREC(4, r.data()), 0);
    }
    EXPECT_EQ(points(), (Points{{19, 1, 1},
                                {19, 2, 2},
                                {20, 1, 1},
                                {20, 2, 3},
                                {20, 3, 99},
                                {20, 4, 4},
                                {20, 5, 5},
                                {21, 1, 1}}));

    // A point moved past the end of its object: the next record is the next
    // object's, the previous one is the object's new last but one.
    ASSERT_EQ(isam::EQLREC(5, idNumberKey(20, 1).data(), r.data()), 0);
    putU16(r, 6, 9);
    ASSERT_EQ(isam::RWTREC(4, r.data()), 0);
    Bytes next(38), previous(38);
    ASSERT_EQ(isam::NXTREC(5, next.data()), 0);
    EXPECT_EQ(getI32(&next[2]), 21);
    ASSERT_EQ(isam::EQLREC(5, idNumberKey(20, 9).data(), r.data()), 0);
    ASSERT_EQ(isam::PRVREC(5, previous.data()), 0);
    EXPECT_EQ(getU16(&previous[6]), 5);
}

TEST_F(CurrentRecord, FailedSearchesAndKeyTestsLeaveTheCurrentRecord) {
    addPoints(1, {1, 2, 3, 4, 5});
    Bytes scratch(38);
    const std::pair<const char*, std::function<int()>> calls[] = {
        {"EQLKEY found", [] { return isam::EQLKEY(5, idNumberKey(1, 4).data()) == 0 ? 0 : -1; }},
        {"EQLKEY missing",
         [] { return isam::EQLKEY(5, idNumberKey(1, 9).data()) == isam::kNotFound ? 0 : -1; }},
        {"EQLREC missing",
         [&] {
             return isam::EQLREC(5, idNumberKey(1, 9).data(), scratch.data()) == isam::kNotFound
                        ? 0
                        : -1;
         }},
        {"GTEREC beyond the last",
         [&] {
             return isam::GTEREC(5, idNumberKey(2, 0).data(), scratch.data()) == isam::kNotFound
                        ? 0
                        : -1;
         }},
        {"LTEREC below the first",
         [&] {
             return isam::LTEREC(5, idNumberKey(1, 0).data(), scratch.data()) == isam::kNotFound
                        ? 0
                        : -1;
         }},
        {"ADDREC of a duplicate",
         [] { return isam::ADDREC(4, pointRecord(1, 5).data()) == isam::kDuplicateKey ? 0 : -1; }},
    };
    for (const auto& [what, call] : calls) {
        SCOPED_TRACE(what);
        Bytes r(38);
        ASSERT_EQ(isam::GTEREC(5, idNumberKey(1, 2).data(), r.data()), 0);
        EXPECT_EQ(call(), 0);
        ASSERT_EQ(isam::NXTREC(5, r.data()), 0);
        EXPECT_EQ(getU16(&r[6]), 3);
        // The current record is still the one to rewrite.
        ASSERT_EQ(isam::GTEREC(5, idNumberKey(1, 2).data(), r.data()), 0);
        EXPECT_EQ(call(), 0);
        putU16(r, 20, 77);
        ASSERT_EQ(isam::RWTREC(4, r.data()), 0);
        ASSERT_EQ(isam::EQLREC(5, idNumberKey(1, 2).data(), r.data()), 0);
        EXPECT_EQ(getU16(&r[20]), 77);
        putU16(r, 20, 2);
        ASSERT_EQ(isam::RWTREC(4, r.data()), 0);
    }
    EXPECT_EQ(points(), (Points{{1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {1, 4, 4}, {1, 5, 5}}));
}

TEST_F(CurrentRecord, RecordCallsWithoutACurrentRecord) {
    addPoints(1, {1});
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    Bytes r = pointRecord(1, 1, 5, 5);
    EXPECT_EQ(isam::RWTREC(4, r.data()), isam::kNoCurrentRecord);
    EXPECT_EQ(isam::DELREC(4), isam::kNoCurrentRecord);
    EXPECT_EQ(isam::NXTREC(5, r.data()), isam::kNoCurrentRecord);
    EXPECT_EQ(isam::PRVREC(5, r.data()), isam::kNoCurrentRecord);
    EXPECT_EQ(isam::LastError(), isam::kNoCurrentRecord);
    EXPECT_EQ(points(), (Points{{1, 1, 1}}));
}

TEST_F(CurrentRecord, WritesThatWouldDuplicateAKeyChangeNothing) {
    const Bytes a = idRecord(2, 1, 10, 10), b = idRecord(2, 3, 20, 20);
    ASSERT_EQ(isam::ADDREC(0, a.data()), 0);
    ASSERT_EQ(isam::ADDREC(0, b.data()), 0);
    struct Case {
        const char* what;
        Bytes record;
    } collisions[] = {
        {"kind and id, and id", idRecord(2, 3, 30, 30)},
        {"kind and position", idRecord(2, 5, 20, 20)},
        {"id only", idRecord(1, 3, 40, 40)},
    };
    Bytes r(64);
    for (const Case& c : collisions) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(isam::ADDREC(0, c.record.data()), isam::kDuplicateKey);
        EXPECT_EQ(isam::LastError(), isam::kDuplicateKey);
        ASSERT_EQ(isam::EQLREC(3, key3(1).data(), r.data()), 0);
        EXPECT_EQ(isam::RWTREC(0, c.record.data()), isam::kDuplicateKey);
        // Both records as they were, and record a still current.
        EXPECT_EQ(walk(3, 64), (std::vector<Bytes>{a, b}));
        ASSERT_EQ(isam::EQLREC(3, key3(1).data(), r.data()), 0);
        EXPECT_EQ(isam::RWTREC(0, c.record.data()), isam::kDuplicateKey);
        ASSERT_EQ(isam::NXTREC(3, r.data()), 0);
        EXPECT_EQ(r, b);
    }

    // A new object at a taken position moves east one unit at a time until
    // its key 2 is free.
    for (auto [id, expectedLongitude] : {std::pair{6, 21}, std::pair{7, 22}}) {
        Bytes c = idRecord(2, id, 20, 20);
        int tries = 0;
        while (isam::ADDREC(0, c.data()) == isam::kDuplicateKey && tries++ < 10)
            putI32(c, 12, getI32(&c[12]) + 1);
        ASSERT_EQ(isam::EQLREC(3, key3(id).data(), r.data()), 0);
        EXPECT_EQ(getI32(&r[12]), expectedLongitude);
    }
}

} // namespace
