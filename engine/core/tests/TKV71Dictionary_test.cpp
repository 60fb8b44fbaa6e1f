#include "kv71/TKV71Dictionary.h"
#include "kv71/dictionaryTables.h"

#include "TempDir.h"
#include "tools/kv71/DictionaryWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kv71write;

namespace {

DictionarySet sampleSet() {
    DictionarySet set;
    set.attributes = {
        {"COLOUR", 75, "aLIST", "1", "13", "Colour", {{1, "white"}, {2, "black"}}},
        {"OBJNAM", 116, "aSTRING", "", "", "", {}},
    };
    set.objects = {
        {"LIGHTS", 75, "P", 24, "Light", {"COLOUR", "OBJNAM"}},
        {"LNDARE", 71, "A", 5, "Land area", {"OBJNAM"}},
    };
    return set;
}

class KV71Dictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(writeDictionaries(dir.path(), sampleSet()));
        path = dir.path() + "/";
    }
    TempDir dir;
    std::string path;
};

TEST_F(KV71Dictionary, LooksUpNamesAndCodes) {
    TKV71Dictionary d("KV71Dictionary", path.c_str());
    EXPECT_STREQ(d.GetName(), "KV71Dictionary");
    EXPECT_EQ(d.GetObjectNum(), 76);
    EXPECT_EQ(d.GetAttrNum(), 117);

    char lights[] = "LIGHTS", lower[] = "lights", colour[] = "COLOUR", none[] = "NOTHIN";
    EXPECT_EQ(d.GetObjectLabel(lights), 75);
    EXPECT_EQ(d.GetObjectLabel(lower), -1);
    EXPECT_EQ(d.GetObjectLabel(none), -1);
    EXPECT_EQ(d.GetAttrLabel(colour), 75);
    EXPECT_EQ(d.GetAttrLabel(lights), -1);

    struct Text {
        const char* what;
        const char* got;
        const char* want;
    } texts[] = {
        {"object acronym", d.GetObjectCode(71), "LNDARE"},
        {"object name", d.GetObjectName(75), "Light"},
        {"object past the table", d.GetObjectCode(76), nullptr},
        {"negative object code", d.GetObjectName(-1), nullptr},
        {"unused object code", d.GetObjectName(3), nullptr},
        {"attribute acronym", d.GetAttrCode(116), "OBJNAM"},
        {"attribute name", d.GetAttrName(75), "Colour"},
        {"attribute without texts", d.GetAttrName(116), nullptr},
        {"attribute past the table", d.GetAttrCode(117), nullptr},
        {"value text", d.GetAttrValueName(75, 2), "black"},
        {"value at the text count", d.GetAttrValueName(75, 3), nullptr},
        {"negative value", d.GetAttrValueName(75, -1), nullptr},
        {"value of a code past the table", d.GetAttrValueName(200, 1), nullptr},
    };
    for (const Text& t : texts) {
        if (t.want)
            EXPECT_STREQ(t.got, t.want) << t.what;
        else
            EXPECT_EQ(t.got, nullptr) << t.what;
    }
}

TEST_F(KV71Dictionary, SharedTablesLiveUntilTheLastDictionary) {
    const int before = TKV71Dictionary::InstanceCount();
    ASSERT_EQ(before, 0);
    auto first = std::make_unique<TKV71Dictionary>("first", path.c_str());
    // The second one's directory is recorded but not read.
    auto second = std::make_unique<TKV71Dictionary>("second", "/no/such/dir/");
    EXPECT_STREQ(second->GetPath(), "/no/such/dir/");
    EXPECT_EQ(TKV71Dictionary::InstanceCount(), 2);
    EXPECT_EQ(_pSharedKV71Dict, first.get());
    EXPECT_STREQ(second->GetObjectName(75), "Light");

    first.reset();
    EXPECT_EQ(_pSharedKV71Dict, nullptr);
    EXPECT_EQ(GetObjNum(), 76u);
    EXPECT_STREQ(second->GetAttrName(75), "Colour");
    second.reset();
    EXPECT_EQ(GetObjNum(), 0u);
    EXPECT_EQ(GetAttNum(), 0u);
}

TEST_F(KV71Dictionary, LoadErrorsPropagateAndLeaveNothingLoaded) {
    const std::string empty = dir / "empty/";
    std::string text;
    try {
        TKV71Dictionary d("d", empty.c_str());
    } catch (const char* e) {
        text = e;
    }
    EXPECT_EQ(text, "ERROR: Cannot open attribute dictionary file !!!");
    EXPECT_EQ(TKV71Dictionary::InstanceCount(), 0);
    EXPECT_EQ(GetAttNum(), 0u);
    // A later dictionary on good files loads them.
    TKV71Dictionary d("d", path.c_str());
    EXPECT_EQ(d.GetObjectNum(), 76);
}

TEST_F(KV71Dictionary, FlatFunctions) {
    TKV71Dictionary* d = new__TKV71Dictionary(path.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->GetName(), "");
    char lndare[] = "LNDARE", objnam[] = "OBJNAM";
    EXPECT_EQ(TKV71Dictionary__GetObjectNum(d), 76);
    EXPECT_EQ(TKV71Dictionary__GetObjectLabel(d, lndare), 71);
    EXPECT_STREQ(TKV71Dictionary__GetObjectCode(d, 75), "LIGHTS");
    EXPECT_STREQ(TKV71Dictionary__GetObjectName(d, 71), "Land area");
    EXPECT_EQ(TKV71Dictionary__GetAttrNum(d), 117);
    EXPECT_EQ(TKV71Dictionary__GetAttrLabel(d, objnam), 116);
    EXPECT_STREQ(TKV71Dictionary__GetAttrCode(d, 75), "COLOUR");
    EXPECT_STREQ(TKV71Dictionary__GetAttrName(d, 75), "Colour");
    EXPECT_STREQ(TKV71Dictionary__GetAttrValueName(d, 75, 1), "white");
    delete__TKV71Dictionary(d);
    delete__TKV71Dictionary(nullptr);
    EXPECT_EQ(GetObjNum(), 0u);
}

} // namespace
