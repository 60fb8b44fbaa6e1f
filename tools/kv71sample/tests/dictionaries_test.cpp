// The project's dictionaries under data/dict, loaded with the engine's own
// loaders: they must name every object code the built-in drawing procedures
// serve and give every attribute those procedures read the format they read
// it in.
#include "kv71/dictionaryTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string dictDir = std::string(DATA_DIR) + "/dict/";

class ProjectDictionaries : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string a = dictDir + "KV71ATTR.DIC", o = dictDir + "KV71OBJ.DIC",
                    h = dictDir + "HOSOURCE.DIC";
        try {
            sourcesLoaded = InitKV71Dictionary(a.data(), o.data(), h.data());
        } catch (const char* text) {
            FAIL() << text;
        }
    }
    void TearDown() override { DoneKV71Dictionary(); }
    int sourcesLoaded = 0;
};

// Object codes with a built-in drawing procedure: 1 to 221 except these.
std::set<unsigned> drawnCodes() {
    const std::set<unsigned> empty{178, 179, 180, 181, 182, 183, 184, 186, 189, 190, 195, 204,
                                   206, 207, 208, 209, 210, 211, 213, 214, 215, 216, 219, 220};
    std::set<unsigned> codes;
    for (unsigned c = 1; c <= 221; ++c)
        if (!empty.count(c)) codes.insert(c);
    return codes;
}

TEST_F(ProjectDictionaries, EveryDrawnObjectCodeHasAClassAndNoOtherCodeHasOne) {
    EXPECT_EQ(sourcesLoaded, 1);
    const auto codes = drawnCodes();
    ASSERT_EQ(codes.size(), 197u);
    std::set<std::string> acronyms;
    for (unsigned c = 0; c < GetObjNum(); ++c) {
        const KV71ObjectClass* k = GetObjDescr(c);
        ASSERT_NE(k, nullptr);
        if (!codes.count(c)) {
            EXPECT_EQ(k->acronym[0], 0) << "code " << c << " has no procedure";
            continue;
        }
        EXPECT_EQ(std::strlen(k->acronym), 6u) << c;
        EXPECT_TRUE(acronyms.insert(k->acronym).second) << "acronym " << k->acronym << " twice";
        EXPECT_NE(k->primitives, 0) << c;
        ASSERT_NE(k->name, nullptr) << c;
        EXPECT_GT(std::strlen(k->name), 0u) << c;
    }
    EXPECT_EQ(GetObjNum(), 222u);
    EXPECT_EQ(acronyms.size(), codes.size());
}

TEST_F(ProjectDictionaries, AttributesHaveTheFormatTheirReadersExpect) {
    struct Expect {
        KV71AttributeFormat format;
        std::vector<unsigned> codes;
    };
    // One byte; a 16-bit number (tenths where the reader scales it); a 32-bit
    // float; text; three bytes and text; a counted byte list.
    const std::vector<Expect> table{
        {aBYTE, {6,  7,  9,   10,  16,  19,  22,  24,  27,  29,  32,  36,  37, 39,
                 40, 41, 44,  51,  52,  54,  56,  57,  58,  60,  61,  63,  69, 84,
                 91, 92, 103, 105, 106, 112, 124, 134, 135, 138, 142, 147, 181}},
        {aWORD10, {86, 100, 101, 115, 116}},
        {aFLOAT, {66, 67, 73, 85, 113, 130}},
        {aSTRING, {62, 72, 78, 80, 87, 111, 129, 133}},
        {aCMPLX, {139}},
        {aLIST, {3, 28, 42, 43, 48, 49, 50, 55, 59, 82, 90, 109}},
    };
    std::set<unsigned> expected;
    for (const auto& row : table)
        for (unsigned code : row.codes) {
            expected.insert(code);
            const KV71AttributeClass* a = GetAttDescr(code);
            ASSERT_NE(a, nullptr) << "attribute " << code;
            EXPECT_EQ(a->format, row.format) << "attribute " << code << " " << a->acronym;
            EXPECT_EQ(std::strlen(a->acronym), 6u) << code;
            ASSERT_GE(a->valueCount, 1u) << code;
            ASSERT_NE(a->values[0], nullptr) << "attribute " << code << " has no name";
            if (row.format == aBYTE || row.format == aLIST || row.format == aWORD10 ||
                row.format == aFLOAT) {
                EXPECT_LE(a->minimum, a->maximum) << code;
            }
        }
    // Nothing beyond what is read, and every attribute belongs to some class.
    std::set<unsigned> used;
    for (unsigned c = 0; c < GetObjNum(); ++c)
        for (unsigned i = 0; i < GetObjDescr(c)->attributeCount; ++i)
            used.insert(GetObjDescr(c)->attributes[i]);
    for (unsigned code = 0; code < GetAttNum(); ++code) {
        const bool defined = GetAttDescr(code)->acronym[0] != 0;
        EXPECT_EQ(defined, expected.count(code) == 1) << "attribute " << code;
        if (defined) {
            EXPECT_EQ(used.count(code), 1u) << "attribute " << code << " in no class";
        }
    }
}

TEST_F(ProjectDictionaries, ClassesAllowTheAttributesTheirProceduresRead) {
    const std::vector<std::pair<unsigned, std::vector<unsigned>>> table{
        {5, {103, 60, 7}},                         // cardinal beacon
        {6, {103, 60}},                            // isolated danger beacon
        {7, {103, 60, 61, 24, 84}},                // lateral beacon
        {8, {103, 60}},                            // safe water beacon
        {9, {103, 51}},                            // special-purpose beacon
        {15, {105, 7, 60, 61}},                    // cardinal buoy
        {16, {22, 60}},                            // installation buoy
        {17, {105, 60}},                           // isolated danger buoy
        {18, {105, 60, 61, 24, 84}},               // lateral buoy
        {19, {105, 60}},                           // safe water buoy
        {20, {105, 51, 60}},                       // special-purpose buoy
        {88, {60, 61}},                            // light float
        {89, {60, 61}},                            // light vessel
        {200, {105, 60, 61}},                      // buoy in general
        {203, {103, 60, 61}},                      // beacon in general
        {35, {147, 91}},                           // coastline
        {44, {66, 67}},                            // depth area
        {45, {113, 91}},                           // depth contour
        {86, {59, 58, 72, 86, 100, 101, 115, 85}}, // light
        {147, {116, 69, 92, 111}},                 // sounding
        {157, {106}},                              // topmark
        {168, {124, 116, 69, 92, 111}},            // rock
        {176, {57, 124, 116, 69, 92, 111}},        // wreck
        {198, {139, 181}},                         // place name
        {217, {84}},                               // coverage with buoyage region
    };
    for (const auto& [code, attributes] : table) {
        const KV71ObjectClass* k = GetObjDescr(code);
        ASSERT_NE(k, nullptr);
        const std::set<unsigned> allowed(k->attributes, k->attributes + k->attributeCount);
        for (unsigned a : attributes)
            EXPECT_EQ(allowed.count(a), 1u) << "class " << code << " lacks attribute " << a;
    }
}

TEST_F(ProjectDictionaries, DisplayPrioritiesFollowThePaintersOrder) {
    // Each class is drawn below the next: coverage, depth area, drying area,
    // land, area pattern, coastline, sounding, rock, buoy, light, place name.
    const std::vector<unsigned> order{217, 44, 78, 81, 169, 35, 147, 168, 18, 86, 198};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(GetObjDescr(order[i - 1])->priority, GetObjDescr(order[i])->priority)
            << order[i - 1] << " below " << order[i];
    // Contours lie above the depth areas they bound, the aggregates above
    // their members' own classes.
    EXPECT_LT(GetObjDescr(44)->priority, GetObjDescr(45)->priority);
    for (unsigned aggregate : {185u, 187u, 188u})
        EXPECT_GT(GetObjDescr(aggregate)->priority, GetObjDescr(18)->priority);
}

TEST_F(ProjectDictionaries, PrimitivesGiveEveryDrawnClassADisplayCategory) {
    // The drawing pass files classes under the low four bits of their
    // primitives; only the aggregates carry no geometry of their own.
    for (unsigned c : drawnCodes()) {
        const unsigned category = GetObjDescr(c)->primitives & 15;
        if (c == 185 || c == 187 || c == 188) {
            EXPECT_EQ(GetObjDescr(c)->primitives, 16) << c;
        } else {
            EXPECT_NE(category, 0u) << c;
        }
    }
    EXPECT_EQ(GetObjDescr(44)->primitives, 4);  // depth area: area only
    EXPECT_EQ(GetObjDescr(45)->primitives, 2);  // contour: line only
    EXPECT_EQ(GetObjDescr(147)->primitives, 9); // soundings: point and sounding set
    EXPECT_EQ(GetObjDescr(86)->primitives, 1);  // light: point
}

TEST_F(ProjectDictionaries, EnumerationsHaveValueNamesAndSourcesAreListed) {
    const std::vector<std::tuple<unsigned, unsigned, const char*>> table{
        {24, 1, "port-hand"},
        {24, 2, "starboard-hand"},
        {105, 4, "pillar"},
        {59, 3, "red"},
        {84, 1, "IALA A"},
        {124, 3, "always under water"},
        {57, 2, "dangerous wreck"},
        // Two-colour buoys and beacons: the first colour of the pattern is
        // drawn as the lower half.
        {60, 7, "yellow over black"},
        {60, 9, "black over yellow"},
        {60, 16, "red over green"},
        {60, 17, "green over red"},
    };
    for (const auto& [code, value, text] : table) {
        const KV71AttributeClass* a = GetAttDescr(code);
        ASSERT_LT(value, a->valueCount) << code;
        ASSERT_NE(a->values[value], nullptr) << code << "=" << value;
        EXPECT_STREQ(a->values[value], text);
    }
    ASSERT_EQ(GetHosNum(), 3u);
    for (unsigned i : {1u, 2u}) {
        const KV71HosEntry* s = GetHosDescr(i);
        ASSERT_NE(s->authority, nullptr);
        EXPECT_NE(std::strstr(s->authority, i == 1 ? "Synthetic" : "GSHHG"), nullptr);
    }
}

TEST_F(ProjectDictionaries, VegetationValuesNameTheGlyphsOfTheirAreaPattern) {
    // Attribute 55's values as the vegetation pattern (code 169) draws them.
    const std::vector<std::pair<unsigned, const char*>> names{
        {1, "grass"},           {4, "deciduous wood"}, {5, "coniferous wood"},
        {6, "wood in general"}, {7, "mangroves"},      {11, "reeds"},
    };
    const KV71AttributeClass* a = GetAttDescr(55);
    ASSERT_NE(a, nullptr);
    for (const auto& [value, text] : names) {
        ASSERT_LT(value, a->valueCount);
        ASSERT_NE(a->values[value], nullptr) << value;
        EXPECT_STREQ(a->values[value], text);
    }
}

TEST_F(ProjectDictionaries, SmallCraftFacilitiesNameTheGlyphsTheyAreDrawnWith) {
    // Attribute 50's values as the small craft facility (code 146) draws them.
    const std::vector<std::pair<unsigned, const char*>> names{
        {1, "visitor's berth"},   {2, "nautical club"},
        {6, "public inn"},        {7, "restaurant"},
        {12, "water tap"},        {13, "fuel station"},
        {14, "electricity"},      {17, "launderette"},
        {18, "public toilets"},   {19, "post box"},
        {20, "public telephone"}, {21, "refuse bin"},
        {22, "car park"},         {23, "parking for boats and trailers"},
        {24, "caravan site"},     {25, "camping site"},
    };
    const KV71AttributeClass* a = GetAttDescr(50);
    ASSERT_NE(a, nullptr);
    for (const auto& [value, text] : names) {
        ASSERT_LT(value, a->valueCount);
        ASSERT_NE(a->values[value], nullptr) << value;
        EXPECT_STREQ(a->values[value], text);
    }
}

} // namespace
