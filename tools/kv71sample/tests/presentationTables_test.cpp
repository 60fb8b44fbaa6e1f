// The project's presentation look-up tables under data/dict, loaded by the
// presentation library with the project's dictionary: every class passes the
// masks of the engine's queries, every attribute has a line, and every print
// format is one the chart objects use.
#include "kv71/TKV71Dictionary.h"
#include "kv71/dictionaryTables.h"
#include "presentation/TPresLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

namespace {

const std::string dictDir = std::string(DATA_DIR) + "/dict/";

class ProjectLookupTables : public ::testing::Test {
  protected:
    void SetUp() override {
        try {
            dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", dictDir.c_str());
            presentation =
                std::make_unique<TPresLib>(dictionary.get(), "INT1Pres", dictDir.c_str());
        } catch (const char* text) {
            FAIL() << text;
        } catch (int code) {
            FAIL() << "look-up table " << code << " refused";
        }
    }
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TPresLib> presentation;
};

// Masks A and B of the drawing, information and chart-data queries.
struct Formula {
    const char* name;
    std::uint32_t maskA, maskB;
};
constexpr Formula kFormulas[] = {
    {"drawing", 15, 0xFFFFFFFF},
    {"information", 15, 0x0FFFFFFF},
    {"chart data", 0x0FFFFFFF, 0x0FFFFFFF},
};

TEST_F(ProjectLookupTables, EveryClassPassesTheQueriesMasks) {
    ASSERT_TRUE(presentation);
    int classes = 0;
    for (unsigned code = 0; code < GetObjNum(); ++code) {
        if (GetObjDescr(code)->acronym[0] == 0) continue;
        ++classes;
        const GdbObjectLookup* e = presentation->objectLookup(code);
        ASSERT_NE(e, nullptr) << code;
        for (const Formula& f : kFormulas)
            EXPECT_TRUE((e->maskA & f.maskA) && (e->maskB & f.maskB))
                << "class " << code << " fails the " << f.name << " masks";
    }
    EXPECT_EQ(classes, 197);
    EXPECT_EQ(presentation->objectLookup(GetObjNum() + 1), nullptr);
}

// Whether fmt holds exactly one conversion and it is of the given letters
// (flags, width and precision allowed).
bool oneConversionOf(const char* fmt, const char* letters) {
    int conversions = 0;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') continue;
        if (*++p == '%') continue;
        while (*p && std::strchr("-+ #0123456789.", *p))
            ++p;
        if (!*p || !std::strchr(letters, *p)) return false;
        ++conversions;
    }
    return conversions == 1;
}

TEST_F(ProjectLookupTables, EveryAttributeHasALineAndUsableFormats) {
    ASSERT_TRUE(presentation);
    const unsigned hidden[] = {134, 135, 139, 142, 181};
    for (unsigned code = 0; code < GetAttNum(); ++code) {
        const KV71AttributeClass* a = GetAttDescr(code);
        if (a->acronym[0] == 0) continue;
        const GdbAttrLookup* e = presentation->attrLookup(code);
        ASSERT_NE(e, nullptr) << code;
        const bool isHidden =
            std::find(std::begin(hidden), std::end(hidden), code) != std::end(hidden);
        EXPECT_EQ(e->mask & 1, isHidden ? 0u : 1u) << "attribute " << code;
        if (e->mask & 2) {
            EXPECT_TRUE(e->name && *e->name) << "brief attribute " << code << " has no name";
        }
        if (!e->format) continue;
        switch (a->format) {
        case aWORD10:
        case aFLOAT:
            EXPECT_TRUE(oneConversionOf(e->format, "fFeEgG")) << code << " " << e->format;
            break;
        case aLONG:
            EXPECT_TRUE(oneConversionOf(e->format, "di")) << code << " " << e->format;
            break;
        default:
            ADD_FAILURE() << "attribute " << code << " of format " << int(a->format)
                          << " ignores its format " << e->format;
        }
    }
    // The depth of a sounding prints in metres, shown briefly by name.
    const GdbAttrLookup* depth = presentation->attrLookup(116);
    ASSERT_NE(depth, nullptr);
    EXPECT_EQ(depth->mask, 3u);
    EXPECT_STREQ(depth->format, "%.1f m");
    EXPECT_STREQ(depth->name, "Depth");
}

} // namespace
