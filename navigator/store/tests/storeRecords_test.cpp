// The record layouts, each field at its offset and width, compared with bytes
// laid out by hand; and the conversions between store units, degrees and
// binary angles.
#include "storeTestSupport.h"

#include "geo/GeoPoint.h"

#include <cmath>
#include <limits>
#include <random>

namespace {

using namespace storetest;

// ---- ID records ---------------------------------------------------------------

struct IdCase {
    const char* name;
    IdRecord record;
    Bytes bytes;       // what Encode must give
    IdRecord readBack; // what Decode of those bytes gives
};

Bytes idBytes(std::uint16_t kind, std::int32_t id, std::int32_t lat, std::int32_t lon,
              std::uint32_t time, std::uint16_t colour, std::uint16_t length, std::uint16_t count,
              const std::string& name) {
    Bytes b(64, 0);
    PutU16(b, 2, kind);
    PutU32(b, 4, static_cast<std::uint32_t>(id));
    PutU32(b, 8, static_cast<std::uint32_t>(lat));
    PutU32(b, 12, static_cast<std::uint32_t>(lon));
    PutU32(b, 24, time);
    PutU16(b, 28, colour);
    PutU16(b, 30, length);
    PutU16(b, 32, count);
    PutText(b, 34, name);
    return b;
}

IdRecord idRecord(std::uint16_t kind, std::int32_t id, std::int32_t lat, std::int32_t lon,
                  std::int64_t time, std::uint16_t colour, std::uint16_t length,
                  std::uint16_t count, std::string name) {
    IdRecord r;
    r.kind = kind;
    r.id = id;
    r.latitude = lat;
    r.longitude = lon;
    r.timeStamp = time;
    r.colour = colour;
    r.length = length;
    r.pointCount = count;
    r.name = std::move(name);
    return r;
}

std::vector<IdCase> idCases() {
    const std::string n29(29, 'A'), n30 = std::string(29, 'B') + "C",
                                    n40 = std::string(29, 'D') + std::string(11, 'E');
    std::vector<IdCase> cases;
    auto add = [&](const char* name, IdRecord r, Bytes b, IdRecord back) {
        cases.push_back({name, std::move(r), std::move(b), std::move(back)});
    };
    auto same = [&](const char* name, IdRecord r, Bytes b) { add(name, r, std::move(b), r); };

    same("NegativeAnchor", idRecord(2, 7, -36000000, -3000001, 1700000000, 1, 12, 5, "Rute 1"),
         idBytes(2, 7, -36000000, -3000001, 1700000000, 1, 12, 5, "Rute 1"));
    // 2100-01-01, above 2^31: read back unsigned, not as a date in 1964.
    same("TimeAfter2038", idRecord(1, 3, 0, 0, 4102444800, 1, 0, 0, ""),
         idBytes(1, 3, 0, 0, 4102444800u, 1, 0, 0, ""));
    same("ColourLengthCount", idRecord(5, 4, 1, 1, 0, 6, 65535, 0, "x"),
         idBytes(5, 4, 1, 1, 0, 6, 65535, 0, "x"));
    same("EmptyName", idRecord(3, 9, 0, 0, 0, 1, 0, 0, ""), idBytes(3, 9, 0, 0, 0, 1, 0, 0, ""));
    same("Name29", idRecord(3, 9, 0, 0, 0, 1, 0, 0, n29), idBytes(3, 9, 0, 0, 0, 1, 0, 0, n29));
    add("Name30IsCut", idRecord(3, 9, 0, 0, 0, 1, 0, 0, n30),
        idBytes(3, 9, 0, 0, 0, 1, 0, 0, n30.substr(0, 29)),
        idRecord(3, 9, 0, 0, 0, 1, 0, 0, n30.substr(0, 29)));
    add("Name40IsCut", idRecord(3, 9, 0, 0, 0, 1, 0, 0, n40),
        idBytes(3, 9, 0, 0, 0, 1, 0, 0, n40.substr(0, 29)),
        idRecord(3, 9, 0, 0, 0, 1, 0, 0, n40.substr(0, 29)));
    // Windows-1252 "Bøye": the 0xF8 byte is kept as it is.
    same("Name1252", idRecord(5, 11, 0, 0, 0, 1, 0, 7, "B\xF8ye"),
         idBytes(5, 11, 0, 0, 0, 1, 0, 7, "B\xF8ye"));
    // Times outside the field are held at its ends.
    add("TimeBelow1970", idRecord(1, 3, 0, 0, -5, 1, 0, 0, ""), idBytes(1, 3, 0, 0, 0, 1, 0, 0, ""),
        idRecord(1, 3, 0, 0, 0, 1, 0, 0, ""));
    add("TimeAfter2106", idRecord(1, 3, 0, 0, std::int64_t{1} << 33, 1, 0, 0, ""),
        idBytes(1, 3, 0, 0, 0xFFFFFFFFu, 1, 0, 0, ""),
        idRecord(1, 3, 0, 0, 0xFFFFFFFFll, 1, 0, 0, ""));
    // An ID at its limits, and bytes 16..23 as another writer left them.
    IdRecord kept =
        idRecord(7, INT32_MAX, INT32_MIN, INT32_MAX, 0xFFFFFFFFll, 65535, 65535, 65535, "z");
    kept.reserved = {1, 2, 3, 4, 5, 6, 7, 0xFF};
    Bytes keptBytes =
        idBytes(7, INT32_MAX, INT32_MIN, INT32_MAX, 0xFFFFFFFFu, 65535, 65535, 65535, "z");
    PutText(keptBytes, 16, std::string("\x01\x02\x03\x04\x05\x06\x07\xFF", 8));
    same("LimitsAndBytes16To23", kept, keptBytes);
    return cases;
}

class IdLayout : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdLayout, EncodesFieldByFieldAndReadsBack) {
    const IdCase& c = GetParam();
    const IdBytes encoded = c.record.Encode();
    EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), c.bytes);
    EXPECT_EQ(IdRecord::Decode(encoded), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(Rows, IdLayout, ::testing::ValuesIn(idCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IdLayout, ReadingStopsAtTheNameNulAndIgnoresBytes0And1) {
    Bytes b = idBytes(2, 5, 0, 0, 0, 1, 0, 0, "Kurs");
    PutText(b, 34 + 5, "old name"); // left after the NUL by a shorter rename
    b[0] = 0xAA;
    b[1] = 0xBB;
    IdBytes stored;
    std::copy(b.begin(), b.end(), stored.begin());
    const IdRecord r = IdRecord::Decode(stored);
    EXPECT_EQ(r.name, "Kurs");
    // Written back, the field holds the name and zeros, and bytes 0 and 1 are 0.
    const IdBytes again = r.Encode();
    EXPECT_EQ(Bytes(again.begin(), again.end()), idBytes(2, 5, 0, 0, 0, 1, 0, 0, "Kurs"));

    // A field without any NUL reads as its 30 bytes, never beyond.
    PutText(b, 34, std::string(30, 'N'));
    std::copy(b.begin(), b.end(), stored.begin());
    EXPECT_EQ(IdRecord::Decode(stored).name, std::string(30, 'N'));
}

// ---- POINT records --------------------------------------------------------------

TEST(PointLayout, EncodesFieldByFieldAtTheirLimitsAndReadsBack) {
    struct Row {
        PointRecord record;
        std::uint32_t time;
    };
    PointRecord low;
    low.id = INT32_MIN;
    low.number = 0;
    low.latitude = -54000000;
    low.longitude = -108000000;
    low.time = 0;
    low.temperature = -32768;
    PointRecord high;
    high.id = INT32_MAX;
    high.number = 65535;
    high.latitude = 54000000;
    high.longitude = 107999999;
    high.time = 0xFFFFFFFFll;
    high.speed = 65535;
    high.course = 65535;
    high.temperature = 32767;
    high.depth = 65535;
    high.depthScale = 1;
    high.reserved = {9, 8, 7, 6, 5, 0xFE};
    for (const Row& row : {Row{low, 0}, Row{high, 0xFFFFFFFFu}}) {
        const PointRecord& p = row.record;
        SCOPED_TRACE(p.id);
        Bytes want(38, 0);
        PutU32(want, 2, static_cast<std::uint32_t>(p.id));
        PutU16(want, 6, p.number);
        PutU32(want, 8, static_cast<std::uint32_t>(p.latitude));
        PutU32(want, 12, static_cast<std::uint32_t>(p.longitude));
        PutU32(want, 16, row.time);
        PutU16(want, 20, p.speed);
        PutU16(want, 22, p.course);
        PutU16(want, 24, static_cast<std::uint16_t>(p.temperature));
        PutU16(want, 26, p.depth);
        PutU16(want, 28, p.depthScale);
        std::copy(p.reserved.begin(), p.reserved.end(), want.begin() + 30);
        const PointBytes encoded = p.Encode();
        EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), want);
        EXPECT_EQ(PointRecord::Decode(encoded), p);
    }
}

TEST(PointLayout, TheFinalU16AndBytes0And1AreWrittenZero) {
    PointBytes stored{};
    stored.fill(0xFF);
    const PointRecord p = PointRecord::Decode(stored);
    EXPECT_EQ(p.temperature, -1);
    EXPECT_EQ(p.time, 0xFFFFFFFFll);
    const PointBytes again = p.Encode();
    EXPECT_EQ(again[0], 0);
    EXPECT_EQ(again[1], 0);
    EXPECT_EQ(again[36], 0);
    EXPECT_EQ(again[37], 0);
    EXPECT_TRUE(
        std::all_of(again.begin() + 2, again.begin() + 36, [](auto v) { return v == 0xFF; }));
}

// ---- INFO records ---------------------------------------------------------------

TEST(InfoLayout, TheTextFollowsTheFixedPartWithoutANul) {
    for (const std::string& text : {std::string(), std::string("Ankring \xF8st"),
                                    std::string("a\0b", 3), std::string(4800, 't')}) {
        SCOPED_TRACE(text.size());
        InfoRecord r;
        r.id = -2;
        r.number = 40000;
        r.text = text;
        Bytes want(8 + text.size(), 0);
        PutU32(want, 2, static_cast<std::uint32_t>(-2));
        PutU16(want, 6, 40000);
        PutText(want, 8, text);
        EXPECT_EQ(r.Encode(), want);
        EXPECT_EQ(InfoRecord::Decode(want.data(), want.size()), r);
    }
    const Bytes shortRecord(7, 0);
    EXPECT_FALSE(InfoRecord::Decode(shortRecord.data(), shortRecord.size()));
    EXPECT_FALSE(InfoRecord::Decode(nullptr, 8));
}

TEST(ObjectKinds, NamesOfTheSixKindsAndNoneForOthers) {
    const std::vector<std::pair<int, const char*>> names{{1, "TRACK"},  {2, "RUTE"}, {3, "LINJE"},
                                                         {5, "SYMBOL"}, {6, "SONE"}, {7, "FELT"}};
    for (auto [kind, name] : names)
        EXPECT_STREQ(ObjectKindName(kind), name) << kind;
    for (int kind : {0, 4, 8, 65535, -1})
        EXPECT_EQ(ObjectKindName(kind), nullptr) << kind;
}

// ---- Store units ----------------------------------------------------------------

TEST(StoreUnits, ToBinaryAnglesAsDeg2nrmOfTheDegrees) {
    const std::vector<std::pair<std::int32_t, std::uint32_t>> rows{
        {0, 0},
        {54000000, 0x40000000u},   // 90 N
        {-54000000, 0xC0000000u},  // 90 S
        {108000000, 0x80000000u},  // 180 E
        {-108000000, 0x80000000u}, // 180 W
        {216000000, 0},            // a full turn
        {6000000, 119304647u},     // 10 E, rounded up from .111
        {1, 20u},                  // 19.88 units
    };
    for (auto [units, angle] : rows) {
        EXPECT_EQ(static_cast<std::uint32_t>(StoreUnitsToBinaryAngle(units)), angle) << units;
        EXPECT_EQ(StoreUnitsToBinaryAngle(units), deg2nrm(units / 600000.0L)) << units;
    }
    // Every store value agrees with the engine's rounding of its degrees.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 200000; ++i) {
        const std::int32_t units = any(random);
        ASSERT_EQ(StoreUnitsToBinaryAngle(units), deg2nrm(units / 600000.0L)) << units;
    }
}

TEST(StoreUnits, FromBinaryAnglesAndDegreesTruncateTowardZero) {
    const std::vector<std::pair<std::int32_t, std::int32_t>> angles{
        {119304647, 5999999},   // 10 E is 9.99999998 degrees: truncated
        {-119304647, -5999999}, // and toward zero in the west
        {0x40000000, 54000000},
        {INT32_MIN, -108000000},
        {8388608, 421875}, // exactly 0.703125 degrees: no unit lost to rounding
        {19, 0},
        {-19, 0},
    };
    for (auto [angle, units] : angles)
        EXPECT_EQ(BinaryAngleToStoreUnits(angle), units) << angle;

    const std::vector<std::pair<double, std::int32_t>> degrees{
        {10.0, 6000000},   {-60.5, -36300000}, {-0.0000001, 0},
        {std::nan(""), 0}, {1e10, INT32_MAX},  {-1e10, INT32_MIN},
    };
    for (auto [d, units] : degrees)
        EXPECT_EQ(DegreesToStoreUnits(d), units) << d;
    EXPECT_DOUBLE_EQ(StoreUnitsToDegrees(-36300000), -60.5);
}

} // namespace
