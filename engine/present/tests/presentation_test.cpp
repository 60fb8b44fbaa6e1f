// The presentation library: its two look-up table loaders, the choice of the
// procedure table (built in, plug-in), procedure swapping and the font check;
// and the shape of the built-in tables.
#include "procedureKit.h"

#include "graphics/GraphicsFonts.h"
#include "presentation/TPresLib.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace {

// A dictionary of the given object and attribute counts.
class CountedDictionary : public TGdbDictionary {
  public:
    CountedDictionary(int objects, int attributes)
        : TGdbDictionary("counted", nullptr), objects_(objects), attributes_(attributes) {}
    int GetObjectNum() const override { return objects_; }
    int GetAttrNum() const override { return attributes_; }

  private:
    int objects_, attributes_;
};

constexpr const char* kNoLines = "; nothing\n";

// A presentation library without procedures over the two files as given
// (null: no such file), or the int it throws.
struct Built {
    std::unique_ptr<CountedDictionary> dictionary;
    std::unique_ptr<TPresLib> library;
    std::optional<int> thrown;
};
Built build(const char* objlut, const char* attrlut, int objects = 20, int attributes = 20) {
    const kit::TempFolder folder;
    if (objlut) folder.write("OBJLUT.DIC", objlut);
    if (attrlut) folder.write("ATTRLUT.DIC", attrlut);
    Built b;
    b.dictionary = std::make_unique<CountedDictionary>(objects, attributes);
    try {
        b.library = std::make_unique<TPresLib>(b.dictionary.get(), nullptr, folder.path().c_str());
    } catch (int code) {
        b.thrown = code;
    }
    return b;
}

struct ObjectCase {
    const char* what;
    std::string file;
    int objects;
    // Expected: the int thrown, or record `code` as {maskA, maskB, small, large}.
    int thrown;
    unsigned code;
    std::array<std::uint32_t, 4> record;
};

TEST(ObjectLookupTable, LinesGiveRecordsOrFailTheTable) {
    const std::string longLine = "LABEL|12|" + std::string(2000, '0') + "1|1";
    const std::string longComment = "; " + std::string(1100, 'x') + "X|13|1|1|7|3";
    const std::vector<ObjectCase> cases{
        {"all fields", "LABEL|12|101|0011|5|2\n", 20, 0, 12, {5, 12, 2, 5}},
        {"masks only", "LABEL|12|1|1\n", 20, 0, 12, {1, 1, 0, 0}},
        {"a later line sets the info pages only",
         "LABEL|12|0|11|7|3\nLABEL|12|1\n",
         20,
         0,
         12,
         {1, 3, 3, 7}},
        {"blanks before numbers, other characters in masks",
         "  LABEL| 12 |1 0 1 1| x1|  9 |\t10\n",
         20,
         0,
         12,
         {13, 1, 10, 9}},
        {"only 32 digits count",
         "L|3|" + std::string(32, '0') + "1111|1\n",
         20,
         0,
         3,
         {0, 1, 0, 0}},
        {"code equal to the count", "L|20|1|1\n", 20, 0, 20, {1, 1, 0, 0}},
        {"comments and empty lines", "; L|5|1|1\n   ;L|5|1\n\n   \n", 20, 0, 5, {0, 0, 0, 0}},
        {"CR LF line ends", "L|5|1|11|1000|10\r\nL|6|1\r\n", 20, 0, 5, {1, 3, 10, 1000}},
        {"a long line is one line", longLine + "\n", 20, 0, 12, {0, 1, 0, 0}},
        {"a long comment stays a comment", longComment + "\nL|1|1|1\n", 20, 0, 13, {0, 0, 0, 0}},
        {"large number above 1000", "LABEL|12|1|1|1001\n", 20, 10, 0, {}},
        {"small number above 10", "LABEL|12|1|1|5|11\n", 20, 10, 0, {}},
        {"code above the count", "L|21|1|1\n", 20, 10, 0, {}},
        {"a line without '|'", "L|1|1|1\nnothing here\n", 20, 10, 0, {}},
        {"no '|' after the code", "L|12\n", 20, 10, 0, {}},
        {"object count 0", "L|1|1|1\n", 0, 10, 0, {}},
    };
    for (const ObjectCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Built b = build(c.file.c_str(), kNoLines, c.objects);
        if (c.thrown) {
            EXPECT_EQ(b.thrown, c.thrown);
            continue;
        }
        ASSERT_TRUE(b.library) << "threw " << b.thrown.value_or(0);
        const GdbObjectLookup* r = b.library->objectLookup(c.code);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->maskA, c.record[0]);
        EXPECT_EQ(r->maskB, c.record[1]);
        EXPECT_EQ(r->reserved[0], c.record[2]);
        EXPECT_EQ(r->reserved[1], c.record[3]);
        EXPECT_EQ(b.library->objectLookup(unsigned(c.objects) + 1), nullptr);
    }
    EXPECT_EQ(build(nullptr, kNoLines).thrown, 10) << "a missing file";
}

struct AttrCase {
    const char* what;
    std::string file;
    int attributes;
    int thrown;
    unsigned code;
    std::uint32_t mask;
    const char* format; // null: none
    const char* name;
};

TEST(AttributeLookupTable, LinesGiveEntriesOrFailTheTable) {
    const std::string longName = std::string(1500, 'N');
    const std::string longComment = "; " + std::string(1100, 'x') + "X|9|1||Tail";
    const std::vector<AttrCase> cases{
        {"format and name", "X|7|11|(%d m)|Depth  \n", 20, 0, 7, 3, "%d m", "Depth"},
        {"empty parentheses", "X|7|1|()|Name\n", 20, 0, 7, 1, nullptr, "Name"},
        {"mask only", "X|7|101\n", 20, 0, 7, 5, nullptr, nullptr},
        {"format only", "X|7|1|(%.1f)\n", 20, 0, 7, 1, "%.1f", nullptr},
        {"blank name", "X|7|1||   |\n", 20, 0, 7, 1, nullptr, nullptr},
        {"lines without '|' are skipped", "no bar\nX|7|1||Name\n", 20, 0, 7, 1, nullptr, "Name"},
        {"a repeated code gathers bits and replaces texts",
         "X|7|1|(%d)|First\nX|7|01|(%.1f)|Second\n", 20, 0, 7, 3, "%.1f", "Second"},
        {"code equal to the count", "X|20|1\n", 20, 0, 20, 1, nullptr, nullptr},
        {"CR LF line ends", "X|7|1||Name\r\nX|8|1\r\n", 20, 0, 7, 1, nullptr, "Name"},
        {"a long line is one line", "X|7|1||" + longName + "\n", 20, 0, 7, 1, nullptr,
         longName.c_str()},
        {"a long comment stays a comment", longComment + "\n", 20, 0, 9, 0, nullptr, nullptr},
        {"code above the count", "X|21|1\n", 20, 11, 0, 0, nullptr, nullptr},
        {"no '|' after the code", "X|7\n", 20, 11, 0, 0, nullptr, nullptr},
        {"attribute count 0", "X|1|1\n", 0, 11, 0, 0, nullptr, nullptr},
    };
    for (const AttrCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Built b = build(kNoLines, c.file.c_str(), 20, c.attributes);
        if (c.thrown) {
            EXPECT_EQ(b.thrown, c.thrown);
            continue;
        }
        ASSERT_TRUE(b.library) << "threw " << b.thrown.value_or(0);
        const GdbAttrLookup* e = b.library->attrLookup(c.code);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->mask, c.mask);
        EXPECT_STREQ(e->format, c.format);
        EXPECT_STREQ(e->name, c.name);
        EXPECT_EQ(b.library->attrLookup(unsigned(c.attributes) + 1), nullptr);
    }
    EXPECT_EQ(build(kNoLines, nullptr).thrown, 11) << "a missing file";
    // The object table comes first.
    EXPECT_EQ(build(nullptr, nullptr).thrown, 10);
}

// Presentation libraries over empty look-up files in a folder of their own,
// attached to a dictionary and database of their own for drawing.
class Presentation : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        folder_.write("OBJLUT.DIC", kNoLines);
        folder_.write("ATTRLUT.DIC", kNoLines);
    }
    void TearDown() override {
        dictionary_.SetPresentation(nullptr);
        kit::ProcedureTest::TearDown();
    }
    std::unique_ptr<TPresLib> make(const char* name) {
        return std::make_unique<TPresLib>(&dictionary_, name, folder_.path().c_str());
    }
    // Copies a test plug-in into the folder under another file name.
    void plugin(const std::string& built, const std::string& as) {
        std::filesystem::copy_file(std::string(PRESENT_TEST_PLUGINS) + "/" + built,
                                   folder_.path() + as);
    }
    // Draws an object of the code through the library; answers how often
    // its geometry was asked for.
    int drawCode(TPresLib& library, int code) {
        dictionary_.SetPresentation(&library);
        kit::FakeObject object(code, &database_);
        kit::draw(object);
        dictionary_.SetPresentation(nullptr);
        return object.newMapObjectCalls();
    }

    kit::TempFolder folder_;
    CountedDictionary dictionary_{20, 20};
    TGeoDb database_{dictionary_};
};

void marker(TMapContext*, GdbObject*, MapObject*) {}
void otherMarker(TMapContext*, GdbObject*, MapObject*) {}

TEST_F(Presentation, BuiltInTableIsSharedByEveryLibraryOfItsName) {
    const auto a = make("INT1Pres");
    const auto b = make("INT1Pres");
    EXPECT_EQ(a->procCount, 256u);
    EXPECT_EQ(a->procs, Int1CondSymbProcs);
    EXPECT_EQ(a->module.handle, nullptr);
    EXPECT_STREQ(a->name.get(), "INT1Pres");
    EXPECT_EQ(a->directory.get(), folder_.path());
    EXPECT_EQ(a->reserved, -1);
    EXPECT_EQ(a->dictionary, &dictionary_);
    const CondSymbProc old = a->setSymbProcedure(86, marker);
    EXPECT_EQ(old, &Int1Proc86);
    EXPECT_EQ(b->procs[86], &marker) << "a swap through one library shows through the other";
    EXPECT_EQ(b->setSymbProcedure(86, old), &marker);
    EXPECT_EQ(Int1CondSymbProcs[86], &Int1Proc86);
}

TEST_F(Presentation, SwappingProceduresStaysWithinTheTable) {
    const auto lib = make("INT1Pres");
    std::vector<CondSymbProc> before(Int1CondSymbProcs, Int1CondSymbProcs + 256);
    EXPECT_EQ(lib->setSymbProcedure(256, marker), nullptr);
    EXPECT_EQ(lib->setSymbProcedure(-1, marker), nullptr);
    EXPECT_EQ(std::vector<CondSymbProc>(Int1CondSymbProcs, Int1CondSymbProcs + 256), before);

    EXPECT_EQ(lib->setSymbProcedure(255, marker), nullptr) << "255 was empty";
    EXPECT_EQ(Int1CondSymbProcs[255], &marker);
    EXPECT_EQ(lib->setSymbProcedure(255, otherMarker), &marker);
    EXPECT_EQ(lib->setSymbProcedure(255, nullptr), &otherMarker);
    EXPECT_EQ(std::vector<CondSymbProc>(Int1CondSymbProcs, Int1CondSymbProcs + 256), before);
}

TEST_F(Presentation, PluginGivesItsTable) {
    plugin("condSymb_forty.so", "FORTY.DLL");
    const auto lib = make("FORTY.DLL");
    ASSERT_NE(lib->module.handle, nullptr);
    EXPECT_EQ(lib->procCount, 40u);
    auto* calls = static_cast<int*>(dlsym(lib->module.handle, "pluginCalls"));
    ASSERT_NE(calls, nullptr);
    const int before = *calls;

    EXPECT_EQ(drawCode(*lib, 39), 1);
    EXPECT_EQ(*calls, before + 1) << "the plug-in's procedure draws code 39";
    EXPECT_EQ(drawCode(*lib, 40), 0) << "codes from 40 are not drawn";
    EXPECT_EQ(*calls, before + 1);

    EXPECT_EQ(lib->setSymbProcedure(40, marker), nullptr);
    const CondSymbProc own = lib->setSymbProcedure(39, marker);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(lib->procs[39], &marker) << "the plug-in's exported array changes in place";
    lib->setSymbProcedure(39, own);
}

TEST_F(Presentation, WithoutAUsablePluginNothingIsDrawn) {
    plugin("condSymb_zero.so", "ZERO.DLL");
    plugin("condSymb_noTable.so", "NOTABLE.DLL");
    for (const char* name : {"ZERO.DLL", "NOTABLE.DLL", "MISSING.DLL", "int1pres"}) {
        SCOPED_TRACE(name);
        const auto lib = make(name);
        EXPECT_EQ(lib->procCount, 0u);
        EXPECT_EQ(lib->procs, nullptr);
        EXPECT_EQ(lib->module.handle, nullptr);
        EXPECT_EQ(lib->setSymbProcedure(0, marker), nullptr);
        EXPECT_EQ(drawCode(*lib, 5), 0);
    }
    // Without a name there are no procedures either.
    EXPECT_EQ(make(nullptr)->procCount, 0u);
}

TEST_F(Presentation, CallersTableWithoutAName) {
    CondSymbProc table[40] = {};
    table[39] = marker;
    TPresLib lib(&dictionary_, 40, table, folder_.path().c_str());
    EXPECT_EQ(lib.name, nullptr);
    EXPECT_EQ(lib.procCount, 40u);
    EXPECT_EQ(lib.procs, table);
    EXPECT_NE(lib.objectLookup(20), nullptr);
    EXPECT_EQ(lib.setSymbProcedure(39, otherMarker), &marker);
    EXPECT_EQ(table[39], &otherMarker) << "the caller's table changes in place";
    EXPECT_EQ(lib.setSymbProcedure(40, marker), nullptr);
}

TEST_F(Presentation, MissingFontsAreReportedAfterTheTablesLoaded) {
    const kit::TempFolder noFonts;
    GD_Done();
    GD_Init(noFonts.path().c_str(), 0, 0);
    ASSERT_FALSE(gdFontsLoaded());
    try {
        make("INT1Pres");
        ADD_FAILURE() << "no exception";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Fonts are not found");
    }
    // Broken tables are reported first.
    folder_.write("OBJLUT.DIC", "no bar\n");
    EXPECT_THROW(make("INT1Pres"), int);
    GD_Done();
    GD_Init(nullptr, 0, 0);
    EXPECT_TRUE(gdFontsLoaded());
}

TEST_F(Presentation, DirectoriesOfAnyLengthAndTheCurrentOne) {
    // A directory beyond 254 characters, given without its closing '/'.
    const std::string deep = folder_.path() + std::string(200, 'd') + "/" + std::string(100, 'e');
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(folder_.path() + "OBJLUT.DIC", deep + "/objlut.dic");
    std::filesystem::copy_file(folder_.path() + "ATTRLUT.DIC", deep + "/AttrLut.Dic");
    ASSERT_GT(deep.size(), 300u);
    TPresLib far(&dictionary_, "INT1Pres", deep.c_str());
    EXPECT_EQ(std::string(far.directory.get()), deep + "/");

    // No directory: the current one.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    std::optional<int> thrown;
    try {
        TPresLib here(&dictionary_, "INT1Pres", nullptr);
        EXPECT_STREQ(here.directory.get(), "");
    } catch (int code) {
        thrown = code;
    }
    std::filesystem::current_path(previous);
    EXPECT_FALSE(thrown);
}

TEST(BuiltInTables, ProcedureTableHoldsTheCodeTable) {
    kit::resetDrawingState();
    const std::set<int> generic{37, 69, 74, 134, 150, 156, 161, 166};
    const std::set<int> aggregate{185, 187, 188};
    std::set<int> filled;
    for (int c = 1; c <= 177; ++c)
        filled.insert(c);
    for (int c : {185, 187, 188, 191, 192, 193, 194, 196, 197, 198,
                  199, 200, 201, 202, 203, 205, 212, 217, 218, 221})
        filled.insert(c);
    ASSERT_EQ(filled.size(), 197u);
    std::set<CondSymbProc> own;
    for (int c = 0; c < 256; ++c) {
        const CondSymbProc p = Int1CondSymbProcs[c];
        if (!filled.count(c)) {
            EXPECT_EQ(p, nullptr) << c;
        } else if (generic.count(c)) {
            EXPECT_EQ(p, &Int1ProcGeneric) << c;
        } else if (aggregate.count(c)) {
            EXPECT_EQ(p, &Int1ProcAggregate) << c;
        } else {
            ASSERT_NE(p, nullptr) << c;
            EXPECT_TRUE(own.insert(p).second) << "code " << c << " shares its procedure";
        }
    }
    EXPECT_EQ(own.size(), 186u);
    EXPECT_EQ(own.count(&Int1ProcGeneric) + own.count(&Int1ProcAggregate), 0u);
    for (auto [code, proc] : std::vector<std::pair<int, CondSymbProc>>{{1, Int1Proc1},
                                                                       {5, Int1Proc5},
                                                                       {86, Int1Proc86},
                                                                       {177, Int1Proc177},
                                                                       {200, Int1Proc200},
                                                                       {203, Int1Proc203},
                                                                       {221, Int1Proc221}})
        EXPECT_EQ(Int1CondSymbProcs[code], proc) << code;
}

TEST(BuiltInTables, SymbolElementsOneToTen) {
    kit::resetDrawingState();
    struct Row {
        int kind, font, character;
        std::array<Point, 4> anchors;
    };
    const Row rows[11] = {
        {},
        {1, 35, 49, {{{0, 4}, {0, -6}, {6, 0}, {-6, 0}}}},
        {1, 35, 86, {{{0, 8}, {0, -6}, {6, 0}, {-6, 0}}}},
        {3, 34, 4, {}},
        {1, 33, 134, {}},
        {1, 33, 112, {}},
        {1, 35, 74, {{{}, {}, {12, 0}, {}}}},
        {1, 35, 75, {{{}, {}, {12, 0}, {}}}},
        {1, 35, 76, {{{}, {}, {12, 0}, {}}}},
        {1, 35, 77, {{{}, {}, {12, 0}, {}}}},
        {1, 35, 94, {{{}, {}, {12, -6}, {}}}},
    };
    EXPECT_EQ(SymbolElementTop, 10);
    for (int i = 0; i < kSymbolElementCount; ++i) {
        const SymbolElement& e = SymbolElements[i];
        const Row expected = i <= 10 ? rows[i] : Row{};
        EXPECT_EQ(e.kind, expected.kind) << i;
        EXPECT_EQ(e.font, expected.font) << i;
        EXPECT_EQ(e.character, expected.character) << i;
        for (int a = 0; a < 4; ++a) {
            EXPECT_EQ(e.anchors[a].x, expected.anchors[std::size_t(a)].x) << i << " anchor " << a;
            EXPECT_EQ(e.anchors[a].y, expected.anchors[std::size_t(a)].y) << i << " anchor " << a;
        }
    }
}

} // namespace
