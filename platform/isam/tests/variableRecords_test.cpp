// Variable records: lengths, reads into short buffers, rewrites that grow and
// shrink, and the calls that do not fit the file.
#include "isamTestSupport.h"

namespace {

using namespace isamtest;

class VariableRecords : public IsamTest {
  protected:
    void SetUp() override {
        IsamTest::SetUp();
        ASSERT_EQ(isam::CREIFIL(infoFile(dir())), 0);
    }

    // The whole record stored under (id, 0), read as the information dialog
    // reads it: EQLREC, GETVLEN, REDVREC.
    static Bytes stored(std::int32_t id) {
        Bytes fixed(8);
        if (isam::EQLREC(7, idNumberKey(id, 0).data(), fixed.data()) != 0) return {};
        Bytes whole(isam::GETVLEN(6));
        if (isam::REDVREC(6, whole.data(), whole.size()) != 0) return {};
        return whole;
    }
};

TEST_F(VariableRecords, LengthsAreKeptWhole) {
    const std::pair<std::int32_t, std::size_t> lengths[] = {{1, 8}, {2, 9}, {3, 4808}};
    for (auto [id, length] : lengths) {
        Bytes r = infoRecord(id, 0, std::string(length - 8, 'x'));
        if (length > 9) r[length - 1] = 0xF8; // text bytes are bytes, kept as they are
        ASSERT_EQ(isam::ADDVREC(6, r.data(), r.size()), 0);
        EXPECT_EQ(isam::GETVLEN(6), length);
    }
    ASSERT_EQ(isam::CLIFIL(infoFile(dir())), 0);
    ASSERT_EQ(isam::OPNIFIL(infoFile(dir())), 0);
    for (auto [id, length] : lengths) {
        SCOPED_TRACE(length);
        const Bytes r = stored(id);
        ASSERT_EQ(r.size(), length);
        EXPECT_EQ(getI32(&r[2]), id);
        if (length > 9) {
            EXPECT_EQ(r[length - 1], 0xF8);
        }
    }
}

TEST_F(VariableRecords, AShortBufferGetsNothing) {
    const Bytes r = infoRecord(5, 0, std::string(4800, 't'));
    ASSERT_EQ(isam::ADDVREC(6, r.data(), r.size()), 0);
    Bytes buffer(r.size() + 64, 0xAB);
    for (std::size_t size : {r.size() - 1, std::size_t{8}, std::size_t{0}}) {
        EXPECT_EQ(isam::REDVREC(6, buffer.data(), size), isam::kBadArgument) << size;
        EXPECT_EQ(buffer, Bytes(r.size() + 64, 0xAB)) << size;
    }
    // A buffer larger than the record gets the record and nothing more.
    ASSERT_EQ(isam::REDVREC(6, buffer.data(), buffer.size()), 0);
    EXPECT_TRUE(std::equal(r.begin(), r.end(), buffer.begin()));
    EXPECT_EQ(Bytes(buffer.begin() + r.size(), buffer.end()), Bytes(64, 0xAB));
}

TEST_F(VariableRecords, RewritesGrowAndShrink) {
    Bytes r = infoRecord(4, 0, "a");
    ASSERT_EQ(isam::ADDVREC(6, r.data(), r.size()), 0);
    for (std::size_t length : {4808u, 8u, 100u}) {
        SCOPED_TRACE(length);
        Bytes fixed(8);
        ASSERT_EQ(isam::EQLREC(7, idNumberKey(4, 0).data(), fixed.data()), 0);
        r = infoRecord(4, 0, std::string(length - 8, static_cast<char>('a' + length % 26)));
        ASSERT_EQ(isam::RWTVREC(6, r.data(), r.size()), 0);
        EXPECT_EQ(isam::GETVLEN(6), length);
        EXPECT_EQ(stored(4), r);
    }
    ASSERT_EQ(isam::CLIFIL(infoFile(dir())), 0);
    ASSERT_EQ(isam::OPNIFIL(infoFile(dir())), 0);
    EXPECT_EQ(stored(4), r);
}

TEST_F(VariableRecords, DeletedAndRefusedRecords) {
    const Bytes a = infoRecord(1, 0, "first"), b = infoRecord(2, 0, "second");
    ASSERT_EQ(isam::ADDVREC(6, a.data(), a.size()), 0);
    ASSERT_EQ(isam::ADDVREC(6, b.data(), b.size()), 0);

    // Lengths outside the fixed part and the longest record; calls of the
    // other file kind.
    const Bytes big(isam::kMaxRecordLength + 1, 0);
    EXPECT_EQ(isam::ADDVREC(6, a.data(), 7), isam::kBadArgument);
    EXPECT_EQ(isam::ADDVREC(6, big.data(), big.size()), isam::kBadArgument);
    EXPECT_EQ(isam::ADDVREC(6, nullptr, 8), isam::kBadArgument);
    EXPECT_EQ(isam::ADDREC(6, a.data()), isam::kBadArgument);
    EXPECT_EQ(isam::DELREC(6), isam::kBadArgument);

    // A rewrite onto another record's key.
    Bytes fixed(8);
    ASSERT_EQ(isam::EQLREC(7, idNumberKey(1, 0).data(), fixed.data()), 0);
    const Bytes clash = infoRecord(2, 0, "clash");
    EXPECT_EQ(isam::RWTVREC(6, clash.data(), clash.size()), isam::kDuplicateKey);
    EXPECT_EQ(stored(1), a);
    EXPECT_EQ(stored(2), b);

    ASSERT_EQ(isam::EQLREC(7, idNumberKey(1, 0).data(), fixed.data()), 0);
    ASSERT_EQ(isam::DELVREC(6), 0);
    EXPECT_EQ(isam::GETVLEN(6), 0u);
    EXPECT_EQ(isam::LastError(), isam::kNoCurrentRecord);
    Bytes buffer(64);
    EXPECT_EQ(isam::REDVREC(6, buffer.data(), buffer.size()), isam::kNoCurrentRecord);
    EXPECT_EQ(isam::DELVREC(6), isam::kNoCurrentRecord);
    EXPECT_EQ(isam::EQLREC(7, idNumberKey(1, 0).data(), fixed.data()), isam::kNotFound);
    EXPECT_EQ(stored(2), b);
}

} // namespace
