// Searches and walks over the store's three file descriptions: key order
// (signed and unsigned segments, segment by segment), first and last
// records, an empty file, and the searches between keys.
#include "isamTestSupport.h"

namespace {

using namespace isamtest;

// The target of a key, taken from a record by the store's layouts.
Bytes targetOf(int key, const Bytes& r) {
    auto part = [&](std::initializer_list<std::pair<int, int>> spans) {
        Bytes k;
        for (auto [at, n] : spans)
            k.insert(k.end(), r.begin() + at, r.begin() + at + n);
        return k;
    };
    switch (key) {
    case 1:
        return part({{2, 2}, {4, 4}});
    case 2:
        return part({{2, 2}, {8, 4}, {12, 4}});
    case 3:
        return part({{4, 4}});
    default:
        return part({{2, 4}, {6, 2}});
    }
}

Bytes highest(int key) {
    switch (key) {
    case 1:
        return key1(0xFFFF, INT32_MAX);
    case 2:
        return key2(0xFFFF, INT32_MAX, INT32_MAX);
    case 3:
        return key3(INT32_MAX);
    default:
        return idNumberKey(INT32_MAX, 0xFFFF);
    }
}

struct Search {
    const char* what;
    int key;
    Bytes target;
    int op;       // 0 EQLREC, 1 GTEREC, -1 LTEREC
    int expected; // index of the record found, or -1 for none
};

struct FileCase {
    const char* name;
    isam::FileDescription (*describe)(const std::string&);
    std::vector<Bytes> records;                           // added in this order
    std::vector<std::pair<int, std::vector<int>>> orders; // key -> records in key order
    std::vector<Search> searches;
};

const int kSouth = -36000000; // 60 degrees south in store units

std::vector<FileCase> fileCases() {
    return {
        {"ID",
         idFile,
         {
             idRecord(2, 5, 100, 200),          // 0
             idRecord(2, 1, -300, 50),          // 1
             idRecord(3, 9, -600000, 0),        // 2
             idRecord(1, 7, 0, -5),             // 3
             idRecord(2, 70000, kSouth, 7),     // 4
             idRecord(5, 3, 35400000, 3000000), // 5
             idRecord(2, 4, 100, -200),         // 6
         },
         {{1, {3, 1, 6, 0, 4, 2, 5}}, {2, {3, 4, 1, 6, 0, 2, 5}}, {3, {1, 5, 6, 0, 3, 2, 4}}},
         {
             {"first of kind 2", 1, key1(2, 0), 1, 1},
             {"past the last of kind 2 is kind 3", 1, key1(2, 70001), 1, 2},
             {"below kind 3", 1, key1(3, 0), -1, 4},
             {"missing id", 1, key1(2, 2), 0, -1},
             {"exact kind and id", 1, key1(2, 70000), 0, 4},
             {"negative latitudes first", 2, key2(2, kSouth + 1, 0), 1, 1},
             {"negative longitude below positive", 2, key2(2, 100, 0), -1, 6},
             {"exact position", 2, key2(2, 100, 200), 0, 0},
             {"id between", 3, key3(6), 1, 3},
             {"id beyond the last", 3, key3(70001), 1, -1},
             {"id below the first", 3, key3(0), -1, -1},
         }},
        {"POINT",
         pointFile,
         {
             pointRecord(10, 32768), // 0
             pointRecord(10, 1),     // 1
             pointRecord(11, 0),     // 2
             pointRecord(10, 65535), // 3
             pointRecord(9, 65535),  // 4
             pointRecord(10, 0),     // 5
             pointRecord(10, 32767), // 6
         },
         {{5, {4, 5, 1, 6, 0, 3, 2}}},
         {
             {"below 1000 of object 10", 5, idNumberKey(10, 1000), -1, 1},
             {"above 2 of object 10", 5, idNumberKey(10, 2), 1, 6},
             {"32768 after 32767", 5, idNumberKey(10, 32768), 0, 0},
             {"last of object 10", 5, idNumberKey(10, 0xFFFF), -1, 3},
             {"first of object 11", 5, idNumberKey(11, 0), 1, 2},
             {"below the first", 5, idNumberKey(9, 65534), -1, -1},
             {"above the last", 5, idNumberKey(11, 1), 1, -1},
         }},
        {"INFO",
         infoFile,
         {
             infoRecord(3, 0, "a"),                    // 0
             infoRecord(1, 0, ""),                     // 1
             infoRecord(1, 1, std::string(4800, 'x')), // 2
             infoRecord(-2, 0, "before"),              // 3
         },
         {{7, {3, 1, 2, 0}}},
         {
             {"text of object 1", 7, idNumberKey(1, 0), 0, 1},
             {"after object 1", 7, idNumberKey(1, 2), 1, 0},
             {"missing text", 7, idNumberKey(2, 0), 0, -1},
         }},
    };
}

class Searches : public IsamTest {};

Bytes fixedPart(const Bytes& record, int length) {
    return Bytes(record.begin(), record.begin() + length);
}

TEST_F(Searches, KeyOrderAndSearchesOfTheThreeFiles) {
    for (const FileCase& c : fileCases()) {
        SCOPED_TRACE(c.name);
        const isam::FileDescription file = c.describe(dir());
        const int number = file.dataFileNumber;
        const int length = file.recordLength;
        ASSERT_EQ(isam::CREIFIL(file), 0);

        // An empty file finds nothing and has no current record.
        for (const auto& [key, order] : c.orders) {
            Bytes record(length);
            EXPECT_EQ(isam::GTEREC(key, lowest(key).data(), record.data()), isam::kNotFound);
            EXPECT_EQ(isam::LTEREC(key, highest(key).data(), record.data()), isam::kNotFound);
            EXPECT_EQ(isam::NXTREC(key, record.data()), isam::kNoCurrentRecord);
            EXPECT_EQ(isam::PRVREC(key, record.data()), isam::kNoCurrentRecord);
        }

        for (const Bytes& r : c.records)
            ASSERT_EQ(file.variable ? isam::ADDVREC(number, r.data(), r.size())
                                    : isam::ADDREC(number, r.data()),
                      0);

        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round == 0 ? "as written" : "after close and open");
            for (const auto& [key, order] : c.orders) {
                SCOPED_TRACE("key " + std::to_string(key));
                std::vector<Bytes> expected;
                for (int i : order)
                    expected.push_back(fixedPart(c.records[i], length));

                // Forward from the first record; the failed step past the
                // last keeps the last as current.
                EXPECT_EQ(walk(key, length), expected);
                Bytes record(length);
                EXPECT_EQ(isam::NXTREC(key, record.data()), isam::kNotFound);
                ASSERT_EQ(isam::PRVREC(key, record.data()), 0);
                EXPECT_EQ(record, expected[expected.size() - 2]);

                // Backward from the last record.
                std::vector<Bytes> backward;
                ASSERT_EQ(isam::LTEREC(key, highest(key).data(), record.data()), 0);
                do
                    backward.push_back(record);
                while (isam::PRVREC(key, record.data()) == 0);
                std::reverse(backward.begin(), backward.end());
                EXPECT_EQ(backward, expected);

                // Every record by its own key, whole through REDVREC.
                for (const Bytes& r : c.records) {
                    ASSERT_EQ(isam::EQLREC(key, targetOf(key, r).data(), record.data()), 0);
                    EXPECT_EQ(record, fixedPart(r, length));
                    if (file.variable) {
                        EXPECT_EQ(isam::GETVLEN(number), r.size());
                        Bytes whole(r.size());
                        ASSERT_EQ(isam::REDVREC(number, whole.data(), whole.size()), 0);
                        EXPECT_EQ(whole, r);
                    }
                }
            }
            for (const Search& s : c.searches) {
                SCOPED_TRACE(s.what);
                Bytes record(length, 0xEE);
                const int result = s.op == 0 ? isam::EQLREC(s.key, s.target.data(), record.data())
                                   : s.op == 1
                                       ? isam::GTEREC(s.key, s.target.data(), record.data())
                                       : isam::LTEREC(s.key, s.target.data(), record.data());
                if (s.expected < 0) {
                    EXPECT_EQ(result, isam::kNotFound);
                    EXPECT_EQ(record, Bytes(length, 0xEE));
                } else {
                    EXPECT_EQ(result, 0);
                    EXPECT_EQ(record, fixedPart(c.records[s.expected], length));
                }
            }
            ASSERT_EQ(isam::CLIFIL(file), 0);
            ASSERT_EQ(isam::OPNIFIL(file), 0);
        }
    }
}

TEST_F(Searches, AWalkOfOneKindStopsAtTheNextKind) {
    const auto id = idFile(dir());
    ASSERT_EQ(isam::CREIFIL(id), 0);
    for (auto [kind, object] : {std::pair{3, 1}, {2, 8}, {1, 6}, {2, 2}, {2, 65536}, {3, 4}})
        ASSERT_EQ(isam::ADDREC(0, idRecord(kind, object, 0, object).data()), 0);
    std::vector<std::int32_t> ids;
    Bytes record(64);
    for (int r = isam::GTEREC(1, key1(2, 0).data(), record.data());
         r == 0 && getU16(&record[2]) == 2; r = isam::NXTREC(1, record.data()))
        ids.push_back(getI32(&record[4]));
    EXPECT_EQ(ids, (std::vector<std::int32_t>{2, 8, 65536}));
    EXPECT_EQ(getU16(&record[2]), 3); // the record that ended the walk
}

TEST_F(Searches, KeyNumbersAndBuffersAreChecked) {
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    Bytes record(38), target = idNumberKey(1, 1);
    for (int key : {0, 4, 6, 7, -1}) {
        EXPECT_EQ(isam::EQLREC(key, target.data(), record.data()), isam::kBadArgument) << key;
        EXPECT_EQ(isam::TFRMKEY(key, target.data()), isam::kBadArgument) << key;
    }
    EXPECT_EQ(isam::LastError(), isam::kBadArgument);
    EXPECT_EQ(isam::GTEREC(5, nullptr, record.data()), isam::kBadArgument);
    EXPECT_EQ(isam::GTEREC(5, target.data(), nullptr), isam::kBadArgument);
    // The key form is the target as it stands.
    const Bytes before = target;
    EXPECT_EQ(isam::TFRMKEY(5, target.data()), 0);
    EXPECT_EQ(target, before);
}

} // namespace
