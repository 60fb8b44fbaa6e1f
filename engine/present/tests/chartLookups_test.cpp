// The presentation library's look-up records read by the chart objects of the
// sample chart: the object masks filter queries, the attribute entries name
// and format what is printed.
#include "procedureKit.h"

#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "geo/GeoPoint.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/dictionaryTables.h"
#include "presentation/TPresLib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string dictDir = std::string(DATA_DIR) + "/dict/";
const std::string chartRoot = std::string(DATA_DIR) + "/sample/kv71";
constexpr int kDepthArea = 44;

// Look-up files giving every class masks 1 and 1, but the depth areas an
// information-page mask of infoPages; DRVAL1 a brief name and format, DRVAL2
// hidden.
std::unique_ptr<TPresLib> presentation(TKV71Dictionary& dictionary, const kit::TempFolder& folder,
                                       int infoPages) {
    std::string objlut = "; test\n";
    for (int code = 0; code < dictionary.GetObjectNum(); ++code)
        if (const char* acronym = dictionary.GetObjectCode(code); acronym && *acronym)
            objlut += std::string(acronym) + "|" + std::to_string(code) + "|" +
                      (code == kDepthArea ? std::to_string(infoPages) : "1") + "|1\n";
    folder.write("OBJLUT.DIC", objlut);
    folder.write("ATTRLUT.DIC", "DRVAL1|66|11|(%.2f metres)|Least depth\r\n"
                                "DRVAL2|67|0\r\n");
    return std::make_unique<TPresLib>(&dictionary, "INT1Pres", folder.path().c_str());
}

// Counts the depth areas a drawing query returns over the sample; keeps the
// brief and full prints of the first with attribute 66.
struct Walk {
    int depthAreas = 0;
    std::string name, value, brief, full;
};
Walk walk(TKV71Dictionary& dictionary, TPresLib& lib) {
    dictionary.SetPresentation(&lib); // before the query is made
    TKV71Db db(dictionary, chartRoot.c_str(), 16u << 20, nullptr);
    const TGdbFormula drawing{0, 15, 0xFFFFFFFF, -1, -1, 1, 0, nullptr, 0, nullptr, 0};
    TGdbQuery query(db);
    GeoRect region{deg2nrm(4.5), deg2nrm(60.0), deg2nrm(6.0), deg2nrm(61.0)};
    Walk w;
    EXPECT_EQ(query.open(region, 50000ul, &drawing), 1);
    while (GdbObject* o = query.next()) {
        if (o->GetLabel() != kDepthArea) continue;
        ++w.depthAreas;
        TGdbAttr* a = o->GetAttr(66);
        if (!a || !w.name.empty()) continue;
        char buf[256];
        a->PrintName(buf, sizeof buf, 0xFFFFFFFF);
        w.name = buf;
        a->PrintValue(buf, sizeof buf);
        w.value = buf;
        o->Print(buf, sizeof buf, 0xFFFFFFFF);
        w.brief = buf;
        o->Print(buf, sizeof buf, 0xFFFFFFFB);
        w.full = buf;
    }
    query.close();
    dictionary.SetPresentation(nullptr);
    return w;
}

TEST(SampleChartLookups, ObjectMasksFilterAndAttributeEntriesPrint) {
    TKV71Dictionary dictionary("KV71Dictionary", dictDir.c_str());
    const kit::TempFolder hidden, shown;
    const auto hiding = presentation(dictionary, hidden, 0);
    const auto showing = presentation(dictionary, shown, 1);

    EXPECT_EQ(walk(dictionary, *hiding).depthAreas, 0) << "information pages 0 fail the drawing";
    const Walk w = walk(dictionary, *showing);
    EXPECT_GT(w.depthAreas, 0);
    ASSERT_FALSE(w.name.empty()) << "no depth area with attribute 66 in the sample";
    EXPECT_EQ(w.name, "Least depth");
    EXPECT_NE(w.value.find(" metres"), std::string::npos) << w.value;
    EXPECT_EQ(w.value.find('.'), w.value.size() - 10) << "two decimals: " << w.value;
    EXPECT_EQ(w.brief.find("Least depth: "), w.brief.find(": ") + 2) << w.brief;
    EXPECT_EQ(w.brief.find("DRVAL2"), std::string::npos) << w.brief;
    EXPECT_NE(w.full.find("Depth range value 1, metres: " + w.value), std::string::npos) << w.full;
    EXPECT_EQ(w.full.find("Depth range value 2"), std::string::npos)
        << "a hidden attribute: " << w.full;
}

// The stored size of a value as a chart cell lays it out after its code.
std::size_t storedSize(const std::uint8_t* v, int format) {
    switch (format) {
    case aBYTE:
        return 1;
    case aWORD10:
        return 2;
    case aLONG:
    case aFLOAT:
        return 4;
    case aSTRING:
        return std::strlen(reinterpret_cast<const char*>(v)) + 1;
    case aCMPLX:
        return 3 + std::strlen(reinterpret_cast<const char*>(v) + 3) + 1;
    case aLIST:
        return v[0] + 1u;
    }
    return 0;
}

TEST(SampleChartLookups, FakeObjectsReadTheirAttributesAsChartObjectsDo) {
    TKV71Dictionary dictionary("KV71Dictionary", dictDir.c_str());
    TKV71Db db(dictionary, chartRoot.c_str(), 16u << 20, nullptr);
    TGdbQuery query(db);
    GeoRect region{deg2nrm(4.5), deg2nrm(60.0), deg2nrm(6.0), deg2nrm(61.0)};
    ASSERT_EQ(query.open(region, 20000ul, nullptr), 1);
    std::set<int> formats;
    while (GdbObject* o = query.next()) {
        for (TGdbAttr* a = o->FirstAttr(); a; a = o->NextAttr()) {
            const int code = a->GetLabel();
            const int format = GetAttDescr(unsigned(code))->format;
            std::uint8_t* stored = nullptr;
            a->GetValue(&stored, 0);
            const std::size_t size = storedSize(stored, format);
            kit::FakeObject fake(o->GetLabel());
            fake.set(kit::rawAttr(unsigned(code), KV71AttributeFormat(format),
                                  std::vector<std::uint8_t>(stored, stored + size)));
            TGdbAttr* f = fake.GetAttr(unsigned(code));
            ASSERT_NE(f, nullptr);
            const int n = a->GetValue(nullptr, 1);
            ASSERT_EQ(f->GetValue(nullptr, 1), n) << "attribute " << code;
            std::vector<std::uint8_t> real(std::size_t(n) + 1), faked(std::size_t(n) + 1);
            a->GetValue(real.data(), 1);
            f->GetValue(faked.data(), 1);
            EXPECT_EQ(real, faked) << "attribute " << code;
            formats.insert(format);
        }
    }
    query.close();
    // The sample holds every format the procedures read but aLONG.
    EXPECT_EQ(formats, (std::set<int>{aBYTE, aWORD10, aFLOAT, aSTRING, aCMPLX, aLIST}));
}

} // namespace
