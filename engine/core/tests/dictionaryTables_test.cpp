#include "kv71/dictionaryTables.h"
#include "util/reportError.h"

#include "TempDir.h"
#include "tools/kv71/DictionaryWriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

using namespace kv71write;

namespace {

std::vector<std::string> traces;
void collectTrace(const char* text) {
    traces.push_back(text);
}

// Loads the three files of dir; the error text when a loader throws, else
// "" (and the source loader's answer in *result).
std::string load(const TempDir& dir, int* result = nullptr,
                 const std::string& attr = attributeDicName, const std::string& obj = objectDicName,
                 const std::string& hos = hosDicName) {
    std::string a = dir / attr, o = dir / obj, h = dir / hos;
    try {
        const int r = InitKV71Dictionary(a.data(), o.data(), h.data());
        if (result) *result = r;
        return "";
    } catch (const char* text) {
        return text;
    }
}

std::string valueText(const KV71AttributeClass* a, unsigned v) {
    if (!a || v >= a->valueCount || !a->values[v]) return "<null>";
    return a->values[v];
}

AttributeDef colour() {
    return {"COLOUR", 75, "aLIST", "1", "13", "Colour", {{1, "white"}, {2, "black"}}};
}

DictionarySet sampleSet() {
    DictionarySet set;
    set.attributes = {
        colour(),
        {"OBJNAM", 116, "aSTRING", "", "", "Object name", {}},
        {"VALSOU", 179, "aFLOAT", "-9.5", "12000", "", {}},
        {"CATLIT", 37, "aBYTE", "0", "255", "", {}},
    };
    set.objects = {
        {"LIGHTS", 75, "P", 24, "Light", {"COLOUR", "CATLIT", "OBJNAM"}},
        {"LNDARE", 71, "pla", 5, "Land area", {"OBJNAM"}},
        {"SOUNDG", 129, "S", 31, "Sounding", {"VALSOU"}},
    };
    set.sources = {{"NO", 2, "NO,NO,graph,1", "Norwegian Hydrographic Service"},
                   {"SE", 7, "SE,SE,graph,4", "Swedish Maritime Administration"}};
    return set;
}

class DictionaryTables : public ::testing::Test {
  protected:
    void TearDown() override { DoneKV71Dictionary(); }
    TempDir dir;
};

TEST_F(DictionaryTables, LoadsWhatTheWritersWrote) {
    ASSERT_TRUE(writeDictionaries(dir.path(), sampleSet()));
    int result = -1;
    ASSERT_EQ(load(dir, &result), "");
    EXPECT_EQ(result, 1);

    ASSERT_EQ(GetAttNum(), 180u);
    const KV71AttributeClass* c = GetAttDescr(75);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->acronym, "COLOUR");
    EXPECT_EQ(c->format, aLIST);
    EXPECT_EQ(c->minimum, 1.0f);
    EXPECT_EQ(c->maximum, 13.0f);
    EXPECT_EQ(valueText(c, 0), "Colour");
    EXPECT_EQ(valueText(c, 2), "black");
    const KV71AttributeClass* v = GetAttDescr(179);
    EXPECT_EQ(v->format, aFLOAT);
    EXPECT_EQ(v->minimum, -9.5f);
    EXPECT_EQ(v->maximum, 12000.0f);
    EXPECT_EQ(v->valueCount, 0u);
    EXPECT_EQ(GetAttDescr(116)->format, aSTRING);
    EXPECT_EQ(GetAttDescr(0)->acronym[0], 0);
    EXPECT_EQ(GetAttDescr(180), nullptr);

    ASSERT_EQ(GetObjNum(), 130u);
    const KV71ObjectClass* lights = GetObjDescr(75);
    EXPECT_STREQ(lights->acronym, "LIGHTS");
    EXPECT_EQ(lights->primitives, 1);
    EXPECT_EQ(lights->priority, 24);
    EXPECT_STREQ(lights->name, "Light");
    ASSERT_EQ(lights->attributeCount, 3);
    EXPECT_EQ(std::vector<int>(lights->attributes, lights->attributes + 3),
              (std::vector<int>{75, 37, 116}));
    EXPECT_EQ(GetObjDescr(71)->primitives, 7); // "pla": lower case accepted
    EXPECT_EQ(GetObjDescr(129)->primitives, 8);
    EXPECT_EQ(GetObjDescr(130), nullptr);

    ASSERT_EQ(GetHosNum(), 8u);
    ASSERT_EQ(_nHosNum, 8u);
    EXPECT_EQ(_HosTable, GetHosDescr(0));
    EXPECT_STREQ(GetHosDescr(7)->authority, "Swedish Maritime Administration");
    EXPECT_STREQ(GetHosDescr(2)->sorind, "NO,NO,graph,1");
    EXPECT_STREQ(GetHosDescr(2)->first, "NO");
    EXPECT_EQ(GetHosDescr(3)->first, nullptr);
    EXPECT_EQ(GetHosDescr(8), nullptr);

    DoneKV71Dictionary();
    EXPECT_EQ(GetAttNum() + GetObjNum() + GetHosNum(), 0u);
    EXPECT_EQ(GetObjDescr(0), nullptr);
    EXPECT_EQ(_HosTable, nullptr);
}

TEST_F(DictionaryTables, SkipsCommentsShortAcronymsAndGaps) {
    writeFileAtomically(dir / "A.DIC", DicText()
                                           .comment("ACRONX|200|aBYTE|0|1")
                                           .blank()
                                           .line("COLOR|250|aBYTE|0|1") // five characters
                                           .line("COLOUR|1|aLIST|1|13")
                                           .line("OBJNAM|5|aSTRING")
                                           .text());
    writeFileAtomically(dir / "O.DIC", DicText().line("BOYLAT|3|P|8|Lateral buoy|COLOUR").text());
    ASSERT_EQ(load(dir, nullptr, "A.DIC", "O.DIC", "H.DIC"), "");
    ASSERT_EQ(GetAttNum(), 6u);
    for (unsigned i : {0u, 2u, 3u, 4u}) {
        EXPECT_EQ(GetAttDescr(i)->acronym[0], 0) << i;
        EXPECT_EQ(GetAttDescr(i)->values, nullptr) << i;
    }
    EXPECT_EQ(GetAttDescr(5)->minimum, 0.0f);
    EXPECT_EQ(GetObjNum(), 4u);
    EXPECT_EQ(GetObjDescr(3)->attributes[0], 1);
    EXPECT_EQ(GetHosNum(), 0u); // no source file: the load still succeeds
}

TEST_F(DictionaryTables, TextFormsOfLines) {
    const std::string longName(1500, 'n');
    const std::string longValue = std::string(1021, 'v') + "2=ghost";
    for (const TextOptions options : {TextOptions{false, true}, TextOptions{true, true},
                                      TextOptions{true, false}, TextOptions{false, false}}) {
        SCOPED_TRACE(std::to_string(options.crlf) + std::to_string(options.finalNewline));
        DoneKV71Dictionary();
        TempDir d;
        writeFileAtomically(
            d / "KV71ATTR.DIC",
            DicText().line("COLOUR|1|aLIST|1|13").line("OBJNAM|2|aSTRING").text(options));
        writeFileAtomically(
            d / "KV71ATTR.DES",
            DicText().lines({"[COLOUR]", "N=3", "1=" + longValue, "0=Colour"}).text(options));
        writeFileAtomically(d / "KV71OBJ.DIC", DicText()
                                                   .line("LNDARE|71|A|5|" + longName + "|OBJNAM")
                                                   .line("BUAARE|4|A|6|Built-up area|COLOUR")
                                                   .text(options));
        writeFileAtomically(d / "HOSOURCE.DIC",
                            DicText().line("NO|2|NO1|Kartverket").text(options));
        ASSERT_EQ(load(d), "");
        EXPECT_EQ(GetObjDescr(71)->name, longName);
        EXPECT_EQ(GetObjDescr(71)->attributes[0], 2);
        EXPECT_EQ(GetObjDescr(4)->attributes[0], 1); // last field keeps its last character
        EXPECT_EQ(valueText(GetAttDescr(1), 1), longValue);
        EXPECT_EQ(valueText(GetAttDescr(1), 2), "<null>");
        EXPECT_EQ(valueText(GetAttDescr(1), 0), "Colour");
        EXPECT_STREQ(GetHosDescr(2)->authority, "Kartverket");
    }
}

TEST_F(DictionaryTables, MalformedLinesGiveTheirMessages) {
    struct Case {
        const char* file; // 'A', 'O' or 'H'
        std::string line;
        std::string error;
    } cases[] = {
        {"O", "BOYLAT|3|PX|8|Buoy", "ERROR: LoadObjTable : Object(BOYLAT): Invalid geometric X"},
        {"O", "BOYLAT|3|P", "ERROR: LoadObjTable : Object(BOYLAT): Primitive Missing "},
        {"O", "BOYLAT|3", "ERROR: LoadObjTable : Object(BOYLAT): Primitive Missing "},
        {"O", "BOYLAT|3|P|256|Buoy",
         "ERROR: LoadObjTable : Object(BOYLAT): Illegal Display Priority 256"},
        {"O", "BOYLAT|3|P|-1|Buoy",
         "ERROR: LoadObjTable : Object(BOYLAT): Illegal Display Priority -1"},
        {"O", "BOYLAT|3|P|99999999999999999999|Buoy",
         "ERROR: LoadObjTable : Object(BOYLAT): Illegal Display Priority 99999999999999999999"},
        {"O", "BOYLAT|3|P|8", "ERROR: LoadObjTable : Object(BOYLAT): Class name is absent "},
        {"O", "BOYLAT|3|P|8|Buoy|NOSUCH",
         "ERROR: LoadObjTable : Object(BOYLAT): Unknown attribute:  NOSUCH"},
        {"O", "BOYLAT|3|P|8|Buoy|COLOR",
         "ERROR: LoadObjTable : Object(BOYLAT): Unknown attribute:  COLOR"},
        {"A", "CATLIT|3|aTEXT",
         "ERROR: LoadAttTable : Attribute(CATLIT): Unknown KV71 attribute format specifier:  "
         "aTEXT"},
        {"A", "CATLIT|3",
         "ERROR: LoadAttTable : Attribute(CATLIT): Unknown KV71 attribute format specifier:  "},
        {"A", "CATLIT|3|aBYTE",
         "ERROR: LoadAttTable : Attribute(CATLIT): Min value to attribute(3) missing "},
        {"A", "CATLIT|3|aWORD10|1",
         "ERROR: LoadAttTable : Attribute(CATLIT): Max value to attribute(3) missing "},
        {"H", "NO|3", "ERROR: LoadHosTable : Object(NO): SORIND Code Missing "},
        {"H", "NO|3|NO1", "ERROR: LoadHosTable : Object(NO): Authority Name Missing "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DoneKV71Dictionary();
        TempDir d;
        DicText attributes, objects, sources;
        attributes.line("COLOUR|1|aLIST|1|13");
        if (c.file[0] != 'O') objects.line("BOYLAT|3|P|8|Buoy");
        (c.file[0] == 'A' ? attributes : c.file[0] == 'O' ? objects : sources).line(c.line);
        writeFileAtomically(d / attributeDicName, attributes.text());
        writeFileAtomically(d / objectDicName, objects.text());
        writeFileAtomically(d / hosDicName, sources.text());
        EXPECT_EQ(load(d), c.error);
    }
    DoneKV71Dictionary();
    TempDir empty;
    EXPECT_EQ(load(empty), "ERROR: Cannot open attribute dictionary file !!!");
    EXPECT_EQ(load(empty, nullptr, "."), "ERROR: Cannot open attribute dictionary file !!!");
    writeFileAtomically(empty / attributeDicName, std::string("COLOUR|1|aLIST|1|13\n"));
    EXPECT_EQ(load(empty), "ERROR: Cannot open object dictionary file !!!");
}

TEST_F(DictionaryTables, LinesThatCannotBeStoredAreSkippedWithATrace) {
    writeFileAtomically(dir / attributeDicName, DicText()
                                                    .line("COLOUR|1|aLIST|1|13")
                                                    .line("HUGEAT|2147483647|aBYTE|0|1")
                                                    .line("NOCODE")
                                                    .line("NEGATV|-4|aBYTE|0|1")
                                                    .text());
    writeFileAtomically(
        dir / objectDicName,
        DicText().line("BOYLAT|3|P|8|Buoy|COLOUR").line("BIGOBJ|256|P|8|Too big").text());
    writeFileAtomically(
        dir / hosDicName,
        DicText().line("NO|2|NO1|Kartverket").line("XX|65536|X|Too big").line("YY").text());
    traces.clear();
    const TraceHook previous = setTraceMessageHook(&collectTrace);
    EXPECT_EQ(load(dir), "");
    setTraceMessageHook(previous);
    EXPECT_EQ(GetAttNum(), 2u);
    EXPECT_EQ(GetObjNum(), 4u);
    EXPECT_EQ(GetHosNum(), 3u);
    // One line per file: how many were skipped, and the first of them.
    EXPECT_EQ(traces, (std::vector<std::string>{
                          "KV71ATTR.DIC: 3 lines skipped, code missing or outside 0..255 "
                          "(first: HUGEAT)\n",
                          "KV71OBJ.DIC: 1 line skipped, code missing or outside 0..255 "
                          "(first: BIGOBJ)\n",
                          "HOSOURCE.DIC: 2 lines skipped, code missing or outside 0..65535 "
                          "(first: XX)\n",
                      }));
}

// Object files that cannot serve the cells: a file without a single class is
// refused and the tables loaded before stay; classes beyond the one-byte codes
// are skipped with one line that counts them.
TEST_F(DictionaryTables, ObjectFilesWithoutUsableClasses) {
    std::string manyClasses;
    for (int code = 0; code < 70000; ++code)
        manyClasses +=
            "CLS" + std::to_string(100 + code % 900) + "|" + std::to_string(code) + "|P|1|Class\n";
    struct Case {
        const char* what;
        std::string objects;
        const char* error; // "" when the load succeeds
        const char* trace; // "" when nothing is traced
        unsigned classes;  // GetObjNum() afterwards
    } cases[] = {
        {"every code out of range", "BIGOBJ|256|P|8|Big\nNEGOBJ|-1|P|8|Negative\n",
         "ERROR: LoadObjTable : No object class in the file",
         "KV71OBJ.DIC: 2 lines skipped, code missing or outside 0..255 (first: BIGOBJ)\n", 130},
        {"only comments and short acronyms", "* BOYLAT|3|P|8|Buoy\n\nBOYLT|3|P|8|Buoy\n",
         "ERROR: LoadObjTable : No object class in the file", "", 130},
        {"70,000 classes", manyClasses, "",
         "KV71OBJ.DIC: 69744 lines skipped, code missing or outside 0..255 (first: CLS356)\n", 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeDictionaries(dir.path(), sampleSet()));
        ASSERT_EQ(load(dir), "");
        ASSERT_EQ(GetObjNum(), 130u);
        TempDir bad;
        writeFileAtomically(bad / objectDicName, c.objects);
        traces.clear();
        const TraceHook previous = setTraceMessageHook(&collectTrace);
        std::string error;
        try {
            LoadObjTable((bad / objectDicName).c_str());
        } catch (const char* text) {
            error = text;
        }
        setTraceMessageHook(previous);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(traces,
                  *c.trace ? std::vector<std::string>{c.trace} : std::vector<std::string>{});
        EXPECT_EQ(GetObjNum(), c.classes);
        if (*c.error) {
            EXPECT_STREQ(GetObjDescr(75)->name, "Light");
        }
    }
}

TEST_F(DictionaryTables, RepeatedCodesKeepTheLastLine) {
    writeFileAtomically(dir / attributeDicName,
                        DicText().line("COLOUR|1|aLIST|1|13").line("COLPAT|1|aLIST|1|6").text());
    writeFileAtomically(
        dir / objectDicName,
        DicText().line("BOYLAT|3|P|8|Buoy|COLPAT").line("BOYCAR|3|P|9|Cardinal buoy").text());
    writeFileAtomically(dir / hosDicName, DicText().line("NO|2|A|B").line("SE|2|C|D").text());
    ASSERT_EQ(load(dir), "");
    EXPECT_STREQ(GetAttDescr(1)->acronym, "COLPAT");
    EXPECT_STREQ(GetObjDescr(3)->acronym, "BOYCAR");
    EXPECT_EQ(GetObjDescr(3)->attributeCount, 0);
    EXPECT_EQ(GetObjDescr(3)->attributes, nullptr);
    EXPECT_STREQ(GetHosDescr(2)->first, "SE");
}

TEST_F(DictionaryTables, FailedLoadKeepsThePreviousTables) {
    ASSERT_TRUE(writeDictionaries(dir.path(), sampleSet()));
    ASSERT_EQ(load(dir), "");
    TempDir bad;
    writeFileAtomically(bad / objectDicName, DicText()
                                                 .line("BOYLAT|3|P|8|Buoy")
                                                 .line("BOYCAR|300|P|9|Far")
                                                 .line("BADPRI|4|P|x9")
                                                 .text());
    writeFileAtomically(bad / attributeDicName,
                        DicText().line("COLOUR|1|aLIST|1|13").line("BADFMT|4|aNONE").text());
    writeFileAtomically(bad / hosDicName, DicText().line("NO|2").text());
    const std::string o = bad / objectDicName, a = bad / attributeDicName, h = bad / hosDicName;
    for (const auto& [loader, path] :
         std::vector<std::pair<int, std::string>>{{0, a}, {1, o}, {2, h}}) {
        try {
            if (loader == 0) LoadAttTable(path.c_str());
            if (loader == 1) LoadObjTable(path.c_str());
            if (loader == 2) LoadHosTable(path.c_str());
            ADD_FAILURE() << "no error from loader " << loader;
        } catch (const char*) {
        }
    }
    EXPECT_EQ(GetAttNum(), 180u);
    EXPECT_EQ(valueText(GetAttDescr(75), 1), "white");
    EXPECT_EQ(GetObjNum(), 130u);
    EXPECT_STREQ(GetObjDescr(75)->name, "Light");
    EXPECT_EQ(GetHosNum(), 8u);
    EXPECT_STREQ(GetHosDescr(7)->first, "SE");
    // A source file that cannot be opened empties its table.
    EXPECT_EQ(LoadHosTable((dir / "NONE.DIC").c_str()), 0);
    EXPECT_EQ(GetHosNum(), 0u);
    EXPECT_EQ(_HosTable, nullptr);
}

TEST_F(DictionaryTables, ValueDescriptionBlocks) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> want; // texts of COLOUR's values 0.., "<null>" for none
    } cases[] = {
        {{"[COLOUR]", "N=3", "0=Colour", "1=white", "1=black"}, {"Colour", "white", "<null>"}},
        {{"[COLOUR]", "N 2", "1=  red"}, {"<null>", "red"}},
        {{"  [COLOUR]", "* note", "; note", "", "N=2", "  1=green"}, {"<null>", "green"}},
        {{"[COLOUR]", "1=white"}, {}},         // no count line: block closed
        {{"[COLOUR]", "N=0", "0=Colour"}, {}}, // count 0: closed
        {{"[COLOUR]", "Nx3", "0=Colour"}, {}},
        {{"[COLOUR]", "N=4000000000", "0=Colour"}, {}},
        {{"[COLOUR]", "N=2", "1=", "1=red"}, {"<null>", "red"}}, // empty text ignored
        {{"[COLOUR]", "N=2", "2=red", "9=red", "1 red", "1=blue"}, {"<null>", "blue"}},
        {{"[COLOUR]", "N=3", "1=red", "x", "2=blue"}, {"<null>", "red", "<null>"}},
        {{"[COLOUR]", "N=2", "1=red", "[COLOUR]", "N=3", "2=blue"}, {"<null>", "red"}},
        {{"[NOSUCH]", "N=2", "1=red", "[COLOUR]", "N=2", "1=blue"}, {"<null>", "blue"}},
        {{"[COLOURS]", "N=2", "1=red"}, {}},
        {{"[COLOR]", "N=2", "1=red"}, {}},
        {{"[CATLIT]", "N=2", "1=steady", "[COLOUR]", "N=2", "1=blue"}, {"<null>", "blue"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines[0] + " " + c.lines[1] + (c.lines.size() > 2 ? " " + c.lines[2] : ""));
        DoneKV71Dictionary();
        TempDir d;
        // The description file is found whatever the case of its name.
        writeFileAtomically(d / "kv71attr.Des", DicText().lines(c.lines).text());
        writeFileAtomically(
            d / "kv71attr.dic",
            DicText().line("COLOUR|1|aLIST|1|13").line("CATLIT|2|aBYTE|0|9").text());
        writeFileAtomically(d / "kv71obj.dic", std::string("BOYLAT|3|P|8|Buoy\n"));
        ASSERT_EQ(load(d, nullptr, "KV71ATTR.DIC", "KV71OBJ.DIC"), "");
        const KV71AttributeClass* a = GetAttDescr(1);
        ASSERT_EQ(a->valueCount, c.want.size());
        for (unsigned v = 0; v < c.want.size(); ++v)
            EXPECT_EQ(valueText(a, v), c.want[v]) << v;
    }
}

TEST_F(DictionaryTables, NumbersReadTheSameUnderADecimalCommaLocale) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    writeFileAtomically(
        dir / attributeDicName,
        DicText().line("VALSOU|1|aFLOAT|-0.25|1e3").line("HEIGHT|2|aFLOAT|1,5|3.").text());
    writeFileAtomically(dir / objectDicName, DicText().line("SOUNDG|1|S|31|Sounding").text());
    const std::string error = load(dir);
    std::setlocale(LC_ALL, old.c_str());
    ASSERT_EQ(error, "");
    EXPECT_EQ(GetAttDescr(1)->minimum, -0.25f);
    EXPECT_EQ(GetAttDescr(1)->maximum, 1000.0f);
    EXPECT_EQ(GetAttDescr(2)->minimum, 1.0f); // "1,5" reads as 1, as in "C"
    EXPECT_EQ(GetAttDescr(2)->maximum, 3.0f);
}

} // namespace
