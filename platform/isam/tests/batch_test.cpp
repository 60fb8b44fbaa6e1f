// Batch reads of the points of one object, as the drawing pass reads them.
#include "isamTestSupport.h"

#include <set>

namespace {

using namespace isamtest;

constexpr std::size_t kEntry = 42;     // 4-byte position and a 38-byte point
constexpr std::size_t kBuffer = 21000; // 500 entries

class Batches : public IsamTest {
  protected:
    void SetUp() override {
        IsamTest::SetUp();
        ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
        // Object 50 with 1,234 points between two neighbours.
        for (int n = 1; n <= 3; ++n)
            ASSERT_EQ(isam::ADDREC(4, pointRecord(49, n).data()), 0);
        for (int n = 1234; n >= 1; --n)
            ASSERT_EQ(isam::ADDREC(4, pointRecord(50, n, -n, n).data()), 0);
        for (int n = 0; n < 3; ++n)
            ASSERT_EQ(isam::ADDREC(4, pointRecord(51, n).data()), 0);
    }

    static isam::BatchRequest request(std::int32_t id, std::uint16_t significant) {
        isam::BatchRequest q;
        q.significantLength = significant;
        const Bytes target = idNumberKey(id, 0);
        std::copy(target.begin(), target.end(), q.target.begin());
        return q;
    }
};

TEST_F(Batches, PartsOfAtMost500InPointOrder) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first batch" : "a new batch after the end");
        isam::BatchRequest q = request(50, 4);
        ASSERT_EQ(isam::TFRMKEY(5, q.target.data()), 0);
        // A guard after the buffer shows that nothing is written past it.
        Bytes buffer(kBuffer + 16, 0xCD);
        struct Part {
            std::uint32_t returned, available;
        } expected[] = {{500, 734}, {500, 234}, {234, 0}};
        int next = 1;
        std::set<std::uint32_t> positions;
        for (std::size_t part = 0; part < std::size(expected); ++part) {
            SCOPED_TRACE(part);
            const int mode = part == 0 ? isam::kBatchStart : isam::kBatchNext;
            ASSERT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, mode), 0);
            EXPECT_EQ(q.total, 1234u);
            EXPECT_EQ(q.returned, expected[part].returned);
            EXPECT_EQ(q.available, expected[part].available);
            for (std::uint32_t i = 0; i < q.returned; ++i) {
                const std::uint8_t* entry = &buffer[i * kEntry];
                positions.insert(static_cast<std::uint32_t>(getI32(entry)));
                const Bytes point(entry + 4, entry + kEntry);
                ASSERT_EQ(point, pointRecord(50, next, -next, next)) << i;
                ++next;
            }
            EXPECT_EQ(Bytes(buffer.end() - 16, buffer.end()), Bytes(16, 0xCD));
        }
        EXPECT_EQ(next, 1235);
        EXPECT_EQ(positions.size(), 1234u); // every record has a position of its own
        EXPECT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, isam::kBatchNext), isam::kNotFound);
        EXPECT_EQ(q.returned, 0u);
        EXPECT_EQ(q.available, 0u);
        EXPECT_EQ(isam::BATSET(5, nullptr, nullptr, 0, isam::kBatchEnd), 0);
        EXPECT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, isam::kBatchNext),
                  isam::kNoCurrentRecord);
    }
}

TEST_F(Batches, KeepTheirOwnPositionAndTheCurrentRecord) {
    Bytes r(38);
    ASSERT_EQ(isam::EQLREC(5, idNumberKey(49, 2).data(), r.data()), 0);
    isam::BatchRequest q = request(50, 4);
    Bytes buffer(kBuffer);
    ASSERT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, isam::kBatchStart), 0);
    // A walk and a write between two parts do not move the batch, and the
    // batch does not move the walk.
    ASSERT_EQ(isam::NXTREC(5, r.data()), 0);
    EXPECT_EQ(getU16(&r[6]), 3);
    ASSERT_EQ(isam::ADDREC(4, pointRecord(50, 2000).data()), 0);
    ASSERT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, isam::kBatchNext), 0);
    EXPECT_EQ(getU16(&buffer[4 + 6]), 501);
    EXPECT_EQ(q.total, 1234u); // counted when the batch started
    EXPECT_EQ(q.available, 234u);
    // The write made its record current; the walk goes on from it.
    ASSERT_EQ(isam::NXTREC(5, r.data()), 0);
    EXPECT_EQ(getI32(&r[2]), 51);
    EXPECT_EQ(getU16(&r[6]), 0);
    ASSERT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, isam::kBatchNext), 0);
    EXPECT_EQ(q.returned, 235u);
    EXPECT_EQ(getU16(&buffer[234 * kEntry + 4 + 6]), 2000);
    EXPECT_EQ(q.available, 0u);
    ASSERT_EQ(isam::BATSET(5, nullptr, nullptr, 0, isam::kBatchEnd), 0);
}

TEST_F(Batches, SignificantLengthsAndBuffers) {
    struct Case {
        const char* what;
        std::int32_t id;
        std::uint16_t significant;
        std::size_t size;
        int result;
        std::uint32_t returned;
    } cases[] = {
        {"the whole key", 51, 6, kBuffer, 0, 1},
        {"no key at all: every record", 50, 0, kBuffer, 0, 500},
        {"an object without points", 52, 4, kBuffer, isam::kNotFound, 0},
        {"one entry's room", 49, 4, kEntry, 0, 1},
        {"less than one entry", 49, 4, kEntry - 1, isam::kBadArgument, 0},
        {"cuts the id", 50, 3, kBuffer, isam::kBadArgument, 0},
        {"cuts the point number", 50, 5, kBuffer, isam::kBadArgument, 0},
        {"longer than the key", 50, 8, kBuffer, isam::kBadArgument, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        isam::BatchRequest q = request(c.id, c.significant);
        Bytes buffer(kBuffer);
        EXPECT_EQ(isam::BATSET(5, &q, buffer.data(), c.size, isam::kBatchStart), c.result);
        EXPECT_EQ(q.returned, c.returned);
        EXPECT_EQ(isam::BATSET(5, nullptr, nullptr, 0, isam::kBatchEnd), 0);
    }
    isam::BatchRequest q = request(50, 4);
    Bytes buffer(kBuffer);
    EXPECT_EQ(isam::BATSET(5, &q, buffer.data(), kBuffer, 2), isam::kBadArgument);
    EXPECT_EQ(isam::BATSET(5, nullptr, buffer.data(), kBuffer, isam::kBatchStart),
              isam::kBadArgument);
    EXPECT_EQ(isam::BATSET(4, &q, buffer.data(), kBuffer, isam::kBatchStart), isam::kBadArgument);
}

TEST_F(Batches, VariableFilesHaveNone) {
    ASSERT_EQ(isam::CREIFIL(infoFile(dir())), 0);
    const Bytes r = infoRecord(1, 0, "text");
    ASSERT_EQ(isam::ADDVREC(6, r.data(), r.size()), 0);
    isam::BatchRequest q = request(1, 4);
    Bytes buffer(kBuffer);
    EXPECT_EQ(isam::BATSET(7, &q, buffer.data(), kBuffer, isam::kBatchStart), isam::kBadArgument);
}

} // namespace
